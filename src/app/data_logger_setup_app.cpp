#include "app/data_logger_setup_app.h"

#include <QSocketNotifier>
#include <memory>

#include "app/app_images.h"
#include "app/data_logger_setup_dlg.h"
#include "app/message_box_notifier.h"
#include "process/process_setup.h"

CDataLoggerSetupApp::CDataLoggerSetupApp(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(QStringLiteral("Vexa-T_Setup"));
  setApplicationVersion(QStringLiteral("1.0.1"));
  // Ties the window to the installed menu entry and its icon.
  setDesktopFileName(QStringLiteral("vexa-t-setup"));
  setWindowIcon(AppIcon());
}

int CDataLoggerSetupApp::Run() {
  vexa::SetUpProcess();
  // A stop signal ends the event loop, so that the window closes its port (and
  // removes its lock file) before the process ends.
  int stop_signal = 0;
  std::unique_ptr<QSocketNotifier> stop;
  if (vexa::StopSignalDescriptor() >= 0) {
    stop = std::make_unique<QSocketNotifier>(vexa::StopSignalDescriptor(), QSocketNotifier::Read);
    connect(stop.get(), &QSocketNotifier::activated, this, [&stop_signal] {
      stop_signal = vexa::TakeStopSignal();
      if (stop_signal != 0) quit();
    });
  }
  int result = 0;
  {
    // Message boxes open over whichever window is active: the main window or a dialog of it.
    MessageBoxNotifier notifier(nullptr);
    CDataLoggerSetupDlg window(notifier, "./addressbook.xml");
    window.show();
    result = exec();
  }
  if (stop_signal != 0) vexa::EndByStopSignal(stop_signal);
  return result;
}
