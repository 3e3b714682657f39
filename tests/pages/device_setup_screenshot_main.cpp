// Renders the Device Setup page after a sample "#1" reply into a PNG file,
// for the documentation: device_setup_screenshot <file.png>
#include <QApplication>
#include <QPixmap>
#include <filesystem>

#include "link/command_exchange.h"
#include "pages/device_setup/device_setup_page.h"

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

  CTarvoKSet1Dlg page({exchange, phone_book, command_buffer, port, notifier});
  page.resize(997, 586);  // the page's place inside the device tab sheet
  page.ReadGroup1Reply(
      "#STC1:000041;TM:2612091430;PS:135791,246802;SA:3;CP:+491701234567,2;"
      "AP1:+491709876543;AP2:;ER:01;IA:1;XH:21;OUT1:0010;OUT2:0005;#");
  page.ShowInfo("BJ-GSM TEST OK CSQ:21");
  page.show();
  return page.grab().save(argv[1]) ? 0 : 1;
}
