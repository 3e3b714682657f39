#pragma once

#include <chrono>
#include <string>
#include <string_view>

#include "sim/logger_time.h"

namespace vexa::sim {

// What the logger's memory holds: every sensor sampled at the logging
// interval, kept in records of a fixed number of samples, as far back as
// `depth` from now.
struct RecordHistory {
  int interval_code =
      1;  // data logging interval: 1 five, 2 fifteen, 3 thirty, 4 sixty, 5 one minute
  int samples_per_record = 12;
  std::chrono::hours depth{72};
};

// "REDEEM": up to `count` records from the first sample at or after `from`,
// each a "#STD:" block of at most samples_per_record samples, the reply closed
// by "#"; empty when the memory holds no sample in that range.
std::string StoredRecordsReply(std::string_view station_id, const RecordHistory& history,
                               LoggerTime from, int count, LoggerTime now,
                               double humidity_upper_limit);

}  // namespace vexa::sim
