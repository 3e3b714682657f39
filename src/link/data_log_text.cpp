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

std::string DataLogEntry(std::string_view reply, std::time_t now) {
  const std::string_view shown = reply == kInitializeDone ? "Initialization Completed!" : reply;
  std::string text = FormatLocalTime("->[%m/%d/%y %X]", now) + std::string(86, '-');
  text += "\r\n";
  text += shown;
  text += "\r\n\r\n ";
  if (text.size() > kDataLogLimit) text.resize(kDataLogLimit);
  return text;
}

std::size_t DataLogBound::Prepend(std::size_t bytes, std::size_t shown) {
  pieces_.push_front({bytes, shown});
  bytes_ += bytes;
  std::size_t removed = 0;
  while (bytes_ > kDataLogLimit && pieces_.size() > 1) {
    bytes_ -= pieces_.back().bytes;
    removed += pieces_.back().shown;
    pieces_.pop_back();
  }
  return removed;
}

void DataLogBound::Clear() {
  pieces_.clear();
  bytes_ = 0;
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
