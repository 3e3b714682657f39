#include "link/data_log_text.h"

#include "link/local_time.h"
#include "protocol/command_envelope.h"

namespace vexa {
namespace {

// Replaces a station value longer than 9 characters, starting at `from`, by its
// first 6 characters.
void ShortenValueAt(std::string& text, std::size_t from) {
  const std::size_t end = text.find(';', from);
  if (end == std::string::npos) return;
  if (end - from > 9) text.erase(from + 6, end - from - 6);
}

}  // namespace

std::string DataLogHeader(std::time_t now) {
  return FormatLocalTime("->[%m/%d/%y ]", now) + std::string(16, '-') + "Data logs" +
         std::string(71, '-');
}

std::string PrependDataLogEntry(std::string_view previous, std::string_view reply,
                                std::time_t now) {
  const std::string_view shown = reply == kInitializeDone ? "Initialization Completed!" : reply;
  std::string text = FormatLocalTime("->[%m/%d/%y %X]", now) + std::string(86, '-');
  text += "\r\n";
  text += shown;
  text += "\r\n\r\n ";
  text += previous;
  if (text.size() <= kDataLogLimit) return text;

  // Drop whole older entries from the bottom; a single huge entry is cut.
  const std::size_t boundary = text.rfind("\r\n\r\n ->[", kDataLogLimit - 8);
  text.resize(boundary != std::string::npos && boundary > 0 ? boundary + 4 : kDataLogLimit);
  return text;
}

std::string ShortenForDataLog(std::string_view text) {
  std::string copy(text);
  const bool station_reply = copy.find("STA:") != std::string::npos ||
                             copy.find("STS:") != std::string::npos ||
                             copy.find("STC") != std::string::npos;
  if (station_reply) {
    const std::size_t colon = copy.find(':');
    if (colon != std::string::npos) ShortenValueAt(copy, colon + 1);
  }
  for (std::size_t key = copy.find("STD:"); key != std::string::npos;
       key = copy.find("STD:", key + 4)) {
    ShortenValueAt(copy, key + 4);
  }
  return copy;
}

}  // namespace vexa
