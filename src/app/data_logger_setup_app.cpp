#include "app/data_logger_setup_app.h"

#include "app/app_images.h"
#include "app/data_logger_setup_dlg.h"
#include "app/message_box_notifier.h"

CDataLoggerSetupApp::CDataLoggerSetupApp(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(QStringLiteral("Vexa-T_Setup"));
  setApplicationVersion(QStringLiteral("1.0.1"));
  // Ties the window to the installed menu entry and its icon.
  setDesktopFileName(QStringLiteral("vexa-t-setup"));
  setWindowIcon(AppIcon());
}

int CDataLoggerSetupApp::Run() {
  // Message boxes open over whichever window is active: the main window or a dialog of it.
  MessageBoxNotifier notifier(nullptr);
  CDataLoggerSetupDlg window(notifier, "./addressbook.xml");
  window.show();
  return exec();
}
