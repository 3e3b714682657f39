#include "app/message_box_notifier.h"

#include <QApplication>
#include <QMessageBox>

namespace {

QMessageBox::Icon ToQt(vexa::MessageIcon icon) {
  switch (icon) {
    case vexa::MessageIcon::kError:
      return QMessageBox::Critical;
    case vexa::MessageIcon::kWarning:
      return QMessageBox::Warning;
    case vexa::MessageIcon::kInformation:
      return QMessageBox::Information;
    case vexa::MessageIcon::kNone:
      break;
  }
  return QMessageBox::NoIcon;
}

QString Caption(const std::string& caption) {
  return caption.empty() ? QStringLiteral("Vexa-T_Setup") : QString::fromLatin1(caption);
}

}  // namespace

void MessageBoxNotifier::Show(const std::string& text, const std::string& caption,
                              vexa::MessageIcon icon) {
  QMessageBox box(ToQt(icon), Caption(caption), QString::fromLatin1(text), QMessageBox::Ok,
                  Parent());
  box.exec();
}

bool MessageBoxNotifier::AskOkCancel(const std::string& text, const std::string& caption,
                                     vexa::MessageIcon icon) {
  QMessageBox box(ToQt(icon), Caption(caption), QString::fromLatin1(text),
                  QMessageBox::Ok | QMessageBox::Cancel, Parent());
  return box.exec() == QMessageBox::Ok;
}

QWidget* MessageBoxNotifier::Parent() const {
  return parent_ ? parent_ : QApplication::activeWindow();
}
