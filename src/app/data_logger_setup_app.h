#pragma once

#include <QApplication>

// The application: shows the main window and ends when it closes.
class CDataLoggerSetupApp : public QApplication {
  Q_OBJECT

 public:
  CDataLoggerSetupApp(int& argc, char** argv);

  // Runs the main window; returns the process's exit code.
  int Run();
};
