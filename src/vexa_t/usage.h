#pragma once

#include <string_view>

namespace vexa {

// What --help prints: every command, option and exit status.
extern const std::string_view kUsageText;

}  // namespace vexa
