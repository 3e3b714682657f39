#include "widgets/leave_check.h"

#include <QEvent>
#include <QFocusEvent>
#include <QObject>
#include <QWidget>

namespace vexa {
namespace {

class LeaveWatcher : public QObject {
 public:
  LeaveWatcher(QWidget* field, std::function<void()> check)
      : QObject(field), check_(std::move(check)) {
    field->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::FocusOut) {
      const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
      // A message box that another field's check opens takes the activation
      // from the field the cursor has just entered: checked then, that field
      // would be held against the wrong value still in place.
      if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) check_();
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void()> check_;
};

}  // namespace

void CheckOnLeave(QWidget* field, std::function<void()> check) {
  new LeaveWatcher(field, std::move(check));
}

}  // namespace vexa
