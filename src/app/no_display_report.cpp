#include "app/no_display_report.h"

#include <QString>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// For the display named by DISPLAY (null when it is not set).
std::string NoDisplayMessage(const char* display) {
  const std::string what = display == nullptr || *display == '\0'
                               ? "a display: DISPLAY is not set"
                               : "the display \"" + std::string(display) + "\"";
  return "vexa-t-setup: cannot open " + what +
         ".\n"
         "The program shows a window and needs a graphical session: start it on the\n"
         "desktop, or log in with X forwarding (ssh -X) to show it on your own screen.\n";
}

// Qt's only fatal message while it starts is the failure to reach the window
// system; everything else is printed as Qt would print it.
void ReportNoDisplay(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (type != QtFatalMsg) {
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
    return;
  }
  std::fputs(NoDisplayMessage(std::getenv("DISPLAY")).c_str(), stderr);
  std::fflush(stderr);
  // Qt is half started: leave without running its destructors.
  std::_Exit(1);
}

}  // namespace

NoDisplayReport::NoDisplayReport() : previous_(qInstallMessageHandler(ReportNoDisplay)) {}

NoDisplayReport::~NoDisplayReport() {
  qInstallMessageHandler(previous_);
}
