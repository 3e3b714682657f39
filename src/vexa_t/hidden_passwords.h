#pragma once

#include <string>
#include <string_view>

#include "settings/setting.h"

namespace vexa {

// vexa-t shows no password, ever: not in its tables, not in its JSON, not in
// the traffic it logs. Each password becomes "******".

// A text written to the port: the password in front of the command (also
// inside the modem's "AT+BJSD=" form) and the values of a "PS:" field.
std::string HideSentPasswords(std::string_view written);

// A text received: the passwords of a "PS:" field (a reply to "#1") and of
// the command a modem echoes.
std::string HideReceivedPasswords(std::string_view received);

// A setting as it may be shown: a password change with its passwords hidden
// in the command and in the Parameters.
Setting ShownSetting(const Setting& setting);
// The Parameters of a command recorded under `code`, as they may be shown.
std::string ShownParameters(int code, const std::string& parameters);

}  // namespace vexa
