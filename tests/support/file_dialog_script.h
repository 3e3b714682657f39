#pragma once

#include <QApplication>
#include <QEvent>
#include <QFileDialog>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <functional>
#include <utility>
#include <vector>

namespace vexa {

// Plays the engineer at the file dialogs the code under test opens: the n-th dialog
// shown gets the n-th step. A dialog shown after the last step is cancelled, so that
// a test never hangs on one.
class FileDialogScript : public QObject {
 public:
  using Step = std::function<void(QFileDialog&)>;

  explicit FileDialogScript(std::vector<Step> steps) : steps_(std::move(steps)) {
    qApp->installEventFilter(this);
  }
  ~FileDialogScript() override { qApp->removeEventFilter(this); }

  // Types `name` into the name box and presses Enter there.
  static Step Type(const QString& name) {
    return [name](QFileDialog& dialog) {
      QLineEdit* box = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
      box->setText(name);
      QTest::keyClick(box, Qt::Key_Return);
    };
  }
  static Step Cancel() {
    return [](QFileDialog& dialog) { dialog.reject(); };
  }
  // What the name box shows when the dialog opens, then cancels.
  static Step ReadName(QString& shown) {
    return [&shown](QFileDialog& dialog) {
      shown = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text();
      dialog.reject();
    };
  }

  std::size_t shown() const { return shown_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* dialog = qobject_cast<QFileDialog*>(watched);
    if (dialog != nullptr && event->type() == QEvent::Show) {
      // Once the dialog runs its own loop.
      QTimer::singleShot(0, this, [this, guard = QPointer<QFileDialog>(dialog)] {
        if (!guard) return;
        const std::size_t step = shown_++;
        if (step < steps_.size()) {
          steps_[step](*guard);
        } else {
          guard->reject();
        }
      });
    }
    return false;
  }

 private:
  std::vector<Step> steps_;
  std::size_t shown_ = 0;
};

}  // namespace vexa
