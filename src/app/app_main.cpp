#include <cstdio>
#include <optional>

#include "app/command_line.h"
#include "app/data_logger_setup_app.h"
#include "app/no_display_report.h"

int main(int argc, char* argv[]) {
  switch (ReadStartRequest(argc, argv)) {
    case StartRequest::kHelp:
      std::fputs(HelpText().c_str(), stdout);
      return 0;
    case StartRequest::kVersion:
      std::fputs(VersionText().c_str(), stdout);
      return 0;
    case StartRequest::kWindow:
      break;
  }
  std::optional<CDataLoggerSetupApp> app;
  {
    const NoDisplayReport report;
    app.emplace(argc, argv);
  }
  // Qt has taken its own options out of the arguments; anything left is a mistake.
  if (argc > 1) {
    std::fputs(UnknownArgumentText(argv[1]).c_str(), stderr);
    return 2;
  }
  return app->Run();
}
