#include "history/snapshot_keeper.h"

#include "link/command_codes.h"
#include "protocol/reply_field.h"
#include "protocol/status_parse.h"
#include "settings/group_commands.h"

namespace vexa {
namespace {

constexpr int kGroups = 3;

// "#1" to "#3" pend under 10002 to 10004; 0 for any other command.
int GroupOf(int code) {
  return code >= kGroup1Code && code < kGroup1Code + kGroups ? code - kGroup1Code + 1 : 0;
}

// The logger a group reply names: its "STC1:" to "STC3:" value.
std::string ReplyStationId(int group, std::string_view reply) {
  return ReplyField(reply, "STC" + std::to_string(group) + ":").value;
}

}  // namespace

SnapshotKeeper::SnapshotKeeper(const std::string& phone_book_path, Log log)
    : history_(phone_book_path), log_(std::move(log)) {}

void SnapshotKeeper::CommandFinished(const FinishedCommand& finished,
                                     std::string_view setup_password, int relay_count,
                                     std::time_t now) {
  if (finished.result != kResultSuccess || finished.reply.empty()) return;
  if (finished.code == kSelectStatusCode || finished.code == kStatusCode) {
    on_line_ = StatusStationId(finished.reply);
    return;
  }
  const int group = GroupOf(finished.code);
  if (group == 0) return;
  // Groups of two loggers (another one plugged in meanwhile) are no snapshot.
  const std::string id = ReplyStationId(group, finished.reply);
  if (id != reading_id_) {
    reading_id_ = id;
    groups_.clear();
  }
  groups_[group] = GroupCommands(group, finished.reply, setup_password, relay_count);
  if (groups_.size() < kGroups) return;

  RecordedCommands all;
  for (const auto& [number, recorded] : groups_) all.Add(recorded);
  groups_.clear();
  read_id_ = id;
  read_ = all.commands;
  Keep(read_id_, read_, now);
}

void SnapshotKeeper::BeforeWriting(std::time_t now) {
  if (on_line_.empty() || on_line_ != read_id_ || read_.empty()) {
    Failed("The settings of " + (on_line_.empty() ? "the logger" : "logger " + on_line_) +
           " were not kept in the history before writing: they have not been read in full "
           "(Read All reads them).");
    return;
  }
  Keep(read_id_, read_, now);
}

void SnapshotKeeper::Keep(const std::string& station_id, const std::map<int, std::string>& commands,
                          std::time_t now) {
  const KeepResult kept = history_.Keep(station_id, commands, now);
  if (kept.outcome == KeepResult::Outcome::kFailed) return Failed(kept.failure);
  last_failure_.clear();
}

void SnapshotKeeper::Failed(std::string why) {
  if (why == last_failure_) return;
  last_failure_ = std::move(why);
  if (log_) log_(last_failure_);
}

}  // namespace vexa
