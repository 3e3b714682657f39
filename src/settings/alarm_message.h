#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "settings/alarm_rows.h"
#include "settings/recorded_commands.h"

namespace vexa {

// The logger keeps at most this many bytes of alarm text per source.
inline constexpr std::size_t kAlarmTextLimit = 14;

// Why a row's setting cannot go out, as its error message says it: a checked
// box needs a text, and no text may exceed the limit, even one not sent.
std::optional<std::string> AlarmContentError(const AlarmRow& row, bool text_message,
                                             std::string_view content);

// The Set command: the content with its byte length when "Text Message" is
// checked, the flag alone when it is not. The content goes out as typed.
std::string AlarmSetCommand(const AlarmRow& row, std::string_view setup_password, bool text_message,
                            std::string_view content);
std::string AlarmReadCommand(const AlarmRow& row, std::string_view enquiry_password);

// What a read reply shows in the row: "1," or "0," sets the box and goes, any
// other start leaves the box and the text whole. The logger's "ALRM!" (and on
// the power source its "ALM!") is spelled out.
struct AlarmReplyView {
  std::optional<bool> text_message;
  std::string content;
};
AlarmReplyView ReadAlarmReply(const AlarmRow& row, std::string_view reply);

// The Set command that gives another logger the setting a read reply reports,
// with `setup_password` in front, under the row's Set code: the logger's own
// text, not the spelled-out one the page shows, so that it reads back the same.
// Nothing for a reply that starts with neither flag.
RecordedCommands AlarmTextCommands(const AlarmRow& row, std::string_view reply,
                                   std::string_view setup_password);

}  // namespace vexa
