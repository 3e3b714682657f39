#pragma once

#include <string>
#include <string_view>

namespace vexa {

struct SetupCommandDescription {
  std::string name;
  std::string value;
};

// Renders a recorded setup command, without its six-character password, into
// the name and value the batch list shows.
SetupCommandDescription DescribeSetupCommand(int command_code, std::string_view command);

}  // namespace vexa
