#include "link/modem_text.h"

namespace vexa {
namespace {

constexpr std::string_view kEcho = "AT+BJSD";
constexpr std::string_view kSent = "message send";

}  // namespace

bool HoldsModemText(std::string_view text) {
  return text.find(kEcho) != std::string_view::npos || text.find(kSent) != std::string_view::npos;
}

std::size_t ModemTextLength(std::string_view text) {
  std::size_t end = 0;
  for (;;) {
    const std::string_view rest = text.substr(end);
    if (rest.starts_with('\r') || rest.starts_with('\n')) {
      ++end;
    } else if (rest.starts_with(kEcho)) {  // the command line as the modem received it
      const std::size_t line_end = rest.find('\n');
      end = line_end == std::string_view::npos ? text.size() : end + line_end + 1;
    } else if (rest.starts_with(kSent)) {
      end += kSent.size();
    } else {
      break;
    }
  }
  // Modem text somewhere else in the burst keeps the whole burst from routing.
  return end == 0 || HoldsModemText(text.substr(end)) ? text.size() : end;
}

}  // namespace vexa
