// Renders the Analog Channel page filled from the simulated logger's "#2"
// reply into a PNG file, for the documentation: analog_channel_screenshot <file.png>
#include <QApplication>
#include <QPixmap>
#include <filesystem>

#include "link/command_exchange.h"
#include "pages/analog/analog_channel_page.h"
#include "sim/simulated_logger.h"

namespace {

class ClosedPort : public vexa::Port {
 public:
  bool IsPortOpen() const override { return false; }
  bool WritePort(std::string_view) override { return false; }
};

}  // namespace

int main(int argc, char* argv[]) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (argc != 2) return 2;

  const auto scratch = std::filesystem::temp_directory_path();
  vexa::RecordingNotifier notifier;
  vexa::PhoneBookStore phone_book((scratch / "vexa-screenshot-book.xml").string(), notifier);
  vexa::CommandBuffer command_buffer;
  vexa::SetupLog setup_log(scratch / "vexa-screenshot-log.txt");
  ClosedPort port;
  vexa::ExchangeListener listener;
  vexa::CommandExchange exchange(port, phone_book, command_buffer, setup_log, notifier, listener);

  CTarvoKSet2Dlg1 page({exchange, phone_book, command_buffer, port, notifier}, nullptr);
  page.resize(997, 586);  // the page's place inside the device tab sheet
  vexa::sim::SimulatedLogger logger(vexa::sim::DemoLoggers().front());
  page.FirstStatusReply();
  page.ReadGroup2Reply(logger.Handle("135791#CHEACK2#"));
  page.TickCalibrationState();
  page.show();
  return page.grab().save(argv[1]) ? 0 : 1;
}
