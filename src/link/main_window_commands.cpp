#include "link/main_window_commands.h"

#include "link/command_codes.h"
#include "protocol/command_envelope.h"

namespace vexa {

MainWindowCommands::MainWindowCommands(CommandExchange& exchange, PhoneBookStore& phone_book,
                                       Notifier& notifier, ExchangeListener& listener)
    : exchange_(exchange), phone_book_(phone_book), notifier_(notifier), listener_(listener) {}

void MainWindowCommands::SelectDevice(const std::string& id) {
  if (id.empty()) {
    notifier_.Show("Before Query Command ,please Select Device ID!");
    return;
  }
  if (exchange_.busy()) {
    notifier_.Show("Command is in progress");
    return;
  }
  if (!exchange_.port_open()) {
    notifier_.Show("First please Select Port to Connect!");
    return;
  }
  phone_book_.SelectCurrentDevice(id);
  exchange_.set_device_id(id);
  // The first status reply of the run tells the logger's input and relay counts.
  if (exchange_.status_read() || !exchange_.ValidateCommand()) return;
  exchange_.SendCommand(
      FormatCommand("%s#STATUS#", {phone_book_.GetCurrentDevice().enquiry_password}),
      kSelectStatusCode);
}

bool MainWindowCommands::ReadGroup(int group) {
  if (group < 1 || group > 3 || !exchange_.ValidateCommand()) return false;
  const std::string format = "%s#CHEACK" + std::to_string(group) + "#";
  exchange_.SendCommand(FormatCommand(format, {phone_book_.GetCurrentDevice().enquiry_password}),
                        kGroup1Code + group - 1);
  static constexpr int kPageOfGroup[] = {kDeviceSetupPage, kAnalogChannelPage, kRelayOutputPage};
  listener_.SelectDevicePage(kPageOfGroup[group - 1]);
  return true;
}

bool MainWindowCommands::ReadStatus() {
  if (!exchange_.ValidateCommand()) return false;
  exchange_.SendCommand(
      FormatCommand("%s#STATUS#", {phone_book_.GetCurrentDevice().enquiry_password}), kStatusCode);
  return true;
}

void MainWindowCommands::ReadVersion() {
  if (!exchange_.ValidateCommand()) return;
  exchange_.SendCommand(
      FormatCommand("%s#CHECKVR%", {phone_book_.GetCurrentDevice().enquiry_password}), kInfoCode);
  listener_.SelectDevicePage(kDeviceSetupPage);
}

void MainWindowCommands::Init(bool ctrl_held) {
  if (exchange_.state().transport_mode == TransportMode::kGsmModem) return;
  if (!exchange_.ValidateCommand()) return;
  if (!ctrl_held) {
    notifier_.Show("Press <Ctrl> Key + Init");
    return;
  }
  exchange_.SendCommand(FormatCommand("%s#RESET#", {phone_book_.GetCurrentDevice().setup_password}),
                        kInitCode);
  listener_.SelectDevicePage(kDeviceSetupPage);
  exchange_.device_context().humidity_calibrated = false;
}

void MainWindowCommands::Clear() {
  if (exchange_.ValidateCommand()) listener_.ClearPages();
}

bool MainWindowCommands::CheckModemReady() {
  if (!exchange_.port_open()) {
    notifier_.Show("Before Setup Command ,please Connect!");
    return false;
  }
  if (exchange_.busy()) {
    notifier_.Show("Command is in progress...");
    return false;
  }
  return true;
}

void MainWindowCommands::BatchOrModemTest() {
  if (exchange_.state().transport_mode == TransportMode::kGsmModem) {
    if (CheckModemReady()) exchange_.SendModemCommand("AT+BJTE\r\n", kInfoCode);
    return;
  }
  if (!exchange_.ValidateCommand()) return;
  listener_.SelectDevicePage(kBatchSetupPage);
  listener_.BatchRefresh(true);
}

void MainWindowCommands::ModemVersion() {
  if (exchange_.state().transport_mode != TransportMode::kGsmModem) {
    notifier_.Show("Please select GSM Modem first.");
    return;
  }
  if (CheckModemReady()) exchange_.SendModemCommand("AT+BJDS\r\n", kInfoCode);
}

}  // namespace vexa
