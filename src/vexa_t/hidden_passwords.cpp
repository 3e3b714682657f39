#include "vexa_t/hidden_passwords.h"

#include "settings/setting_codes.h"

namespace vexa {
namespace {

constexpr std::string_view kHidden = "******";
constexpr std::string_view kModemPrefix = "AT+BJSD=";

// Hides the password in front of the command that starts at `command` (up to
// its first "#"); nothing without one.
void HideCommandPassword(std::string& text, std::size_t command) {
  const std::size_t mark = text.find('#', command);
  if (mark != std::string::npos) text.replace(command, mark - command, kHidden);
}

// In the modem's form the command follows the length and the phone number.
void HideModemCommandPassword(std::string& text) {
  const std::size_t prefix = text.find(kModemPrefix);
  if (prefix == std::string::npos) return;
  const std::size_t first = text.find(',', prefix);
  const std::size_t second = first == std::string::npos ? first : text.find(',', first + 1);
  if (second != std::string::npos) HideCommandPassword(text, second + 1);
}

// Each value of every "PS:" field, up to its ";" or "#".
void HidePasswordFields(std::string& text) {
  for (std::size_t key = text.find("PS:"); key != std::string::npos;
       key = text.find("PS:", key + 3)) {
    std::size_t at = key + 3;
    while (at < text.size()) {
      const std::size_t end = text.find_first_of(",;#\r\n", at);
      const std::size_t stop = end == std::string::npos ? text.size() : end;
      text.replace(at, stop - at, kHidden);
      at += kHidden.size();
      if (at >= text.size() || text[at] != ',') break;
      ++at;
    }
  }
}

}  // namespace

std::string HideSentPasswords(std::string_view written) {
  std::string text(written);
  if (text.find(kModemPrefix) != std::string::npos) {
    HideModemCommandPassword(text);
  } else {
    HideCommandPassword(text, 0);
  }
  HidePasswordFields(text);
  return text;
}

std::string HideReceivedPasswords(std::string_view received) {
  std::string text(received);
  HideModemCommandPassword(text);
  HidePasswordFields(text);
  return text;
}

Setting ShownSetting(const Setting& setting) {
  if (setting.code != kPasswordsCode) return setting;
  std::string command = setting.command;
  HidePasswordFields(command);
  return SettingOf(setting.code, std::string(kPasswordLength, '*') + command);
}

std::string ShownParameters(int code, const std::string& parameters) {
  if (code != kPasswordsCode) return parameters;
  std::string shown = parameters;
  for (char& c : shown) {
    if (c != ' ' && c != ',') c = '*';
  }
  return shown;
}

}  // namespace vexa
