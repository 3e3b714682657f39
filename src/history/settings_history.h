#pragma once

#include <ctime>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vexa {

// A logger's settings as they stood at one moment.
struct Snapshot {
  std::string path;       // its configuration file
  std::time_t taken = 0;  // when, as its name tells
  std::string time_text;  // "2026-12-10 14:30:05"
  int settings = 0;       // how many settings it holds; 0 when it cannot be read
};

struct KeepResult {
  enum class Outcome {
    kKept,
    kUnchanged,  // the newest snapshot holds the same settings
    kFailed,
  };
  Outcome outcome = Outcome::kFailed;
  std::string path;     // the new snapshot, or the newest that holds the same
  std::string failure;  // why nothing was kept, in a sentence the engineer can act on
};

// Every logger's settings, kept as configuration files (they load in the Batch
// Setup page) in "history/<station ID>/<YYYY-MM-DD_HH-MM-SS>.cfg" beside the
// phone book. Owner-only, since the commands hold the setup password; each file
// is written whole and never over an earlier one. Keeping never blocks the
// work: a failure only says why.
class SettingsHistory {
 public:
  static constexpr int kMaxSnapshots = 100;  // per logger; the oldest go

  explicit SettingsHistory(const std::string& phone_book_path);
  const std::string& folder() const { return folder_; }

  // Keeps `commands` (code -> command, password first) as logger
  // `station_id`'s settings at `now`, unless they are those of its newest
  // snapshot; the logger's clock, which always moves on, does not count. A
  // station ID other than six digits is refused: it must never become a path.
  KeepResult Keep(const std::string& station_id, const std::map<int, std::string>& commands,
                  std::time_t now) const;
  // The logger's snapshots, newest first.
  std::vector<Snapshot> List(const std::string& station_id) const;
  // A snapshot's recorded commands, or nothing when it cannot be read.
  std::optional<std::map<int, std::string>> Load(const std::string& path) const;

 private:
  std::string folder_;
};

}  // namespace vexa
