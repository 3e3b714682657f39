#include "protocol/command_envelope.h"

namespace vexa {

std::string FormatCommand(std::string_view format, std::initializer_list<std::string_view> args) {
  std::string command;
  command.reserve(format.size() + 32);
  auto next_arg = args.begin();
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == 's') {
      // A format with more fields than arguments leaves the rest empty.
      if (next_arg != args.end()) command += *next_arg++;
      ++i;
    } else {
      command += format[i];
    }
  }
  return command;
}

bool IsParameterGroupReply(std::string_view reply, int group) {
  const std::string marker = "#STC" + std::to_string(group) + ":";
  return !reply.empty() && reply.back() == '#' && reply.find(marker) != std::string_view::npos;
}

bool IsStatusReply(std::string_view reply) {
  return !reply.empty() && reply.back() == '#' && reply.find("STA:") != std::string_view::npos;
}

}  // namespace vexa
