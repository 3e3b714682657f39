#include "pages/page_sender.h"

namespace vexa {
namespace {

// Refusals for a current device that lacks a phone number or a password.
struct MissingFieldTexts {
  const char* phone;
  const char* enquiry_password;
  const char* setup_password;
};

constexpr MissingFieldTexts kNullTexts = {"Device Phone Number is NULL ,please Edit Phone Book!",
                                          "Device QueryPassword is NULL ,please Edit Phone Book!",
                                          "Device SetupPassword is NULL ,please Edit Phone Book!"};
constexpr MissingFieldTexts kEmptyTexts = {
    "Device Phone Number is empty ,please Edit Phone Book!",
    "Device QueryPassword is empty ,please Edit Phone Book!",
    "Device SetupPassword is empty ,please Edit Phone Book!"};

bool Refuse(const PageContext& context, const char* text) {
  context.notifier.Show(text);
  return false;
}

// The checks every page starts with: the port, the command in flight, the device ID.
bool CheckConnectedAndIdle(const PageContext& context, const PhoneBookEntry& device) {
  if (!context.port.IsPortOpen()) return Refuse(context, "Before Setup Command ,please Connect!");
  if (context.exchange.busy()) return Refuse(context, "Command is in progress...");
  if (device.id.empty()) {
    return Refuse(context, "Before Setup Command ,please Select Device ID!");
  }
  return true;
}

bool CheckPasswords(const PageContext& context, const PhoneBookEntry& device,
                    const MissingFieldTexts& texts) {
  if (device.enquiry_password.empty()) return Refuse(context, texts.enquiry_password);
  if (device.setup_password.empty()) return Refuse(context, texts.setup_password);
  return true;
}

}  // namespace

bool CheckReadyForSetup(const PageContext& context, MissingFieldWording wording) {
  const MissingFieldTexts& texts = wording == MissingFieldWording::kNull ? kNullTexts : kEmptyTexts;
  const PhoneBookEntry device = context.phone_book.GetCurrentDevice();
  if (!CheckConnectedAndIdle(context, device)) return false;
  if (device.phone.empty()) return Refuse(context, texts.phone);
  return CheckPasswords(context, device, texts);
}

bool CheckSetupPreconditions(const PageContext& context) {
  const PhoneBookEntry device = context.phone_book.GetCurrentDevice();
  if (!CheckConnectedAndIdle(context, device)) return false;
  if (device.phone.empty()) return Refuse(context, kNullTexts.phone);
  if (device.phone == "NULL") {
    context.notifier.Show("command success");
    return true;
  }
  return CheckPasswords(context, device, kNullTexts);
}

bool RecordAndSend(const PageContext& context, const std::string& command, int code,
                   int record_code) {
  context.command_buffer.RecordCommand(record_code, command);
  return context.exchange.SendCommand(command, code);
}

}  // namespace vexa
