#pragma once

#include <map>
#include <string>
#include <vector>

namespace vexa {

// What reading a reply records: by command code, the setup commands that would
// give another logger the settings the reply reports, each with the setup
// password in front; and the codes whose earlier entries the reply rules out.
struct RecordedCommands {
  std::map<int, std::string> commands;
  std::vector<int> dropped;

  // Takes `other`'s commands (replacing any under the same code) and drops.
  void Add(const RecordedCommands& other) {
    for (const auto& [code, command] : other.commands) commands[code] = command;
    dropped.insert(dropped.end(), other.dropped.begin(), other.dropped.end());
  }

  bool operator==(const RecordedCommands&) const = default;
};

}  // namespace vexa
