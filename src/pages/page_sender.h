#pragma once

#include <string>
#include <string_view>

#include "pages/page_context.h"
#include "protocol/command_envelope.h"

namespace vexa {

// How a readiness refusal names a missing phone book field: most pages say
// "NULL", the alarm message and Relay Output pages say "empty".
enum class MissingFieldWording { kNull, kEmpty };

// The check a channel, data record, alarm or relay page runs before it sends:
// port open, no command in flight, a complete current device. Shows the first
// failure as a plain message box and returns false.
bool CheckReadyForSetup(const PageContext& context,
                        MissingFieldWording wording = MissingFieldWording::kNull);

// The Device Setup page's own check. A current device whose phone number is
// "NULL" passes at once, with "command success" shown and the passwords unchecked.
bool CheckSetupPreconditions(const PageContext& context);

// The current device's setup password, which every setup command starts with.
inline std::string SetupPassword(const PageContext& context) {
  return context.phone_book.GetCurrentDevice().setup_password;
}

// Fills `format` with the current device's setup password, then `args` in order.
template <typename... Args>
std::string SetupCommand(const PageContext& context, std::string_view format, const Args&... args) {
  const std::string password = SetupPassword(context);
  return FormatCommand(format, {std::string_view(password), std::string_view(args)...});
}

// Records the command under `record_code` first, so that it stays in the
// command buffer whatever becomes of the send, then sends it under `code`.
bool RecordAndSend(const PageContext& context, const std::string& command, int code,
                   int record_code);
inline bool RecordAndSend(const PageContext& context, const std::string& command, int code) {
  return RecordAndSend(context, command, code, code);
}

}  // namespace vexa
