#pragma once

#include <string_view>

#include "settings/recorded_commands.h"

namespace vexa {

// What a reply to "#1", "#2" or "#3" (`group`) records, all pages' commands
// together, with `setup_password` in front: exactly what the window's pages
// put into the command buffer when the reply reaches them. The relay records
// need `relay_count`, the length of the first status reply's "O01:" value.
RecordedCommands GroupCommands(int group, std::string_view reply, std::string_view setup_password,
                               int relay_count);

}  // namespace vexa
