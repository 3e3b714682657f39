#pragma once

#include <string>
#include <string_view>

#include "settings/settings_comparison.h"

namespace vexa {

// What reading the logger back after a run makes of a command that succeeded.
inline constexpr std::string_view kVerified = "Verified";

// The verification of a step that ended with `result` and wrote the file
// side of `comparison`, against the logger side read back: "Verified" when
// the logger reports what was written, "Differs: <what it reports>" when not,
// and for a setting no read tells the result with " (not readable)".
std::string Verification(const SettingComparison& comparison, std::string_view result);

// The verification of a step whose read-back did not come: the result with
// " (not verified)", or " (not readable)" for a setting no read tells.
std::string UnverifiedResult(int code, std::string_view result);

// A verification that shows the write did not stay ("Differs: ...").
bool WriteDidNotStay(std::string_view verification);
// A verification that does not prove a readable write: it did not stay, or
// its read-back did not come.
bool WriteUnproven(std::string_view verification);

}  // namespace vexa
