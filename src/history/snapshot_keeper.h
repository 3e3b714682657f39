#pragma once

#include <ctime>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "history/settings_history.h"
#include "link/exchange_listener.h"
#include "settings/recorded_commands.h"

namespace vexa {

// Keeps a logger's settings in the history as they are read and before they
// are written: once the replies to "#1", "#2" and "#3" of one logger are all
// in, however they were asked for, and again before a batch or a compare
// writes to it. Keeping never blocks the work: what cannot be kept is told
// through `log`, and the same reason only once in a row.
class SnapshotKeeper {
 public:
  using Log = std::function<void(const std::string& text)>;

  SnapshotKeeper(const std::string& phone_book_path, Log log);

  const SettingsHistory& history() const { return history_; }

  // Every command that ended; a reply to "#1" to "#3" records its settings
  // with this setup password and relay count, as the pages record them, and
  // a status reply tells which logger is on the line.
  void CommandFinished(const FinishedCommand& finished, std::string_view setup_password,
                       int relay_count, std::time_t now);
  // Before a batch or a compare writes to the logger on the line (the one
  // that last answered a status query, whichever phone book entry is
  // chosen): what it last read in full is kept, unless the history holds it
  // already.
  void BeforeWriting(std::time_t now);

 private:
  void Keep(const std::string& station_id, const std::map<int, std::string>& commands,
            std::time_t now);
  void Failed(std::string why);

  SettingsHistory history_;
  Log log_;
  // The groups read so far of the logger that answered them, by group.
  std::string reading_id_;
  std::map<int, RecordedCommands> groups_;
  // The logger that last answered a status query; empty before one did.
  std::string on_line_;
  // The last logger read in full, and what it held.
  std::string read_id_;
  std::map<int, std::string> read_;
  std::string last_failure_;
};

}  // namespace vexa
