#pragma once

#include <ctime>
#include <string>
#include <vector>

#include "batch/batch_row.h"
#include "link/command_buffer.h"
#include "xml/whole_file.h"

namespace vexa {

// A configuration file (".cfg"): the batch list saved as XML, so that a setup
// prepared once can be replayed on loggers later.

// The path as chosen, with ".cfg" appended unless it holds ".cfg" anywhere.
std::string ConfigFilePath(std::string path);

// What saving a configuration to `path` would change: a link there may lead
// only to an existing configuration file.
SaveTarget ConfigSaveTarget(const std::string& path);

// Writes every row, the last first, after the time of saving; an unchecked
// row leaves an element without attributes. Replaces the file atomically:
// false, the old file untouched, when that fails or ConfigSaveTarget refuses.
bool SaveConfigFile(const std::string& path, const std::vector<BatchRow>& rows,
                    std::time_t saved_at);
// The bytes SaveConfigFile writes.
std::string ConfigFileText(const std::vector<BatchRow>& rows, std::time_t saved_at);

enum class ConfigLoad {
  kLoaded,
  kUnreadable,     // the file cannot be read
  kNotWellFormed,  // not XML
  kNoRoot,         // XML, but no configuration
  kNoCommands,     // a configuration without records, or only unchecked ones
};

struct ConfigLoadResult {
  ConfigLoad outcome = ConfigLoad::kUnreadable;
  int records = 0;
};

// Replaces the buffer by the file's commands, taking each record's second and
// third attribute by position as command and code. The buffer is changed only
// when the file is a configuration that holds at least one command.
ConfigLoadResult LoadConfigFile(const std::string& path, CommandBuffer& buffer);

}  // namespace vexa
