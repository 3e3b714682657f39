#pragma once

#include <cstddef>
#include <map>
#include <string>

#include "settings/recorded_commands.h"

namespace vexa {

// The setup commands the pages built, by command code, in ascending code order:
// what the batch page replays and a configuration file saves.
class CommandBuffer {
 public:
  // Stores the text under the code, replacing an earlier one; empty texts too.
  void RecordCommand(int code, std::string text) { entries_[code] = std::move(text); }
  // Stores what a reply records and removes the entries it rules out.
  void Record(const RecordedCommands& recorded) {
    for (const auto& [code, command] : recorded.commands) RecordCommand(code, command);
    for (int code : recorded.dropped) Remove(code);
  }
  void Remove(int code) { entries_.erase(code); }
  void Clear() { entries_.clear(); }
  std::size_t Count() const { return entries_.size(); }
  const std::map<int, std::string>& Entries() const { return entries_; }

 private:
  std::map<int, std::string> entries_;
};

}  // namespace vexa
