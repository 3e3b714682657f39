#pragma once

#include <ctime>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "batch/batch_row.h"

namespace vexa {

// What applying a configuration file to a logger may send beyond the safe
// defaults: a file never renames the logger, nor sets its clock to a time
// long past.
struct ApplyOptions {
  bool auto_station_id = false;  // the file's station ID plus one, as the batch page counts
  bool with_station_id = false;  // the file's station ID as it stands
  bool with_time = false;        // the PC's current time in place of the file's
};

enum class LeftOutReason {
  kStationId,  // without auto or explicit station ID
  kDateTime,   // without "with time"
};

// "a file does not rename the logger it is applied to", "a file's date and
// time are out of date": why a setting of the file was not sent.
std::string_view LeftOutText(LeftOutReason reason);

struct LeftOutSetting {
  int code = 0;
  std::string object;  // the batch list's Object and Parameters
  std::string parameters;
  LeftOutReason reason = LeftOutReason::kStationId;
};

struct ApplyPlan {
  std::vector<BatchRow> rows;  // to send, in code order, each "Ready"
  std::vector<LeftOutSetting> left_out;
};

// From a file's recorded commands (code -> command, password first): the rows
// a batch replays, listed as the batch list lists them with `setup_password`
// in front, the station ID and the date and time only as `options` allow (the
// time then as of `now`), and what was left out and why.
ApplyPlan PlanApply(const std::map<int, std::string>& file_commands,
                    std::string_view setup_password, ApplyOptions options, std::time_t now);

}  // namespace vexa
