#include "app/data_logger_setup_app.h"

int main(int argc, char* argv[]) {
  CDataLoggerSetupApp app(argc, argv);
  return app.Run();
}
