#include "settings/alarm_message.h"

#include <algorithm>

#include "protocol/command_envelope.h"

namespace vexa {
namespace {

// "%02d": channels and lengths both stay below 100.
std::string TwoDigits(std::size_t number) {
  return {static_cast<char>('0' + number / 10 % 10), static_cast<char>('0' + number % 10)};
}

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
  for (std::size_t at = text.find(from); at != std::string::npos;
       at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
}

// "1," or "0," first sets the box and goes; any other start leaves both.
AlarmReplyView SplitFlag(std::string_view reply) {
  AlarmReplyView view;
  if (reply.starts_with('1') || reply.starts_with('0')) {
    view.text_message = reply.front() == '1';
    reply.remove_prefix(std::min<std::size_t>(2, reply.size()));
  }
  view.content = reply;
  return view;
}

}  // namespace

std::optional<std::string> AlarmContentError(const AlarmRow& row, bool text_message,
                                             std::string_view content) {
  if (text_message && content.empty()) return std::string(row.subject) + " Content is empty!";
  if (content.size() > kAlarmTextLimit) return std::string(row.subject) + " Content over 14 byte!";
  return std::nullopt;
}

std::string AlarmSetCommand(const AlarmRow& row, std::string_view setup_password, bool text_message,
                            std::string_view content) {
  const std::string channel = TwoDigits(static_cast<std::size_t>(row.channel));
  if (!text_message) return FormatCommand("%s#SMSSET%s:%s#", {setup_password, channel, "0"});
  return FormatCommand("%s#SMSSET%s:%s,%s,%s#",
                       {setup_password, channel, "1", TwoDigits(content.size()), content});
}

std::string AlarmReadCommand(const AlarmRow& row, std::string_view enquiry_password) {
  return FormatCommand("%s#SMS:%s#",
                       {enquiry_password, TwoDigits(static_cast<std::size_t>(row.channel))});
}

AlarmReplyView ReadAlarmReply(const AlarmRow& row, std::string_view reply) {
  AlarmReplyView view = SplitFlag(reply);
  ReplaceAll(view.content, "ALRM!", "ALARM!");
  if (row.power_source) ReplaceAll(view.content, "ALM!", "ALARM!");
  return view;
}

RecordedCommands AlarmTextCommands(const AlarmRow& row, std::string_view reply,
                                   std::string_view setup_password) {
  RecordedCommands recorded;
  const AlarmReplyView view = SplitFlag(reply);
  if (view.text_message) {
    recorded.commands[AlarmSetCode(row)] =
        AlarmSetCommand(row, setup_password, *view.text_message, view.content);
  }
  return recorded;
}

}  // namespace vexa
