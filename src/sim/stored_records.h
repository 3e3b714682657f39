#pragma once

#include <string>
#include <string_view>

#include "sim/logger_time.h"

namespace vexa::sim {

// The logger's memory: one sample every five minutes (logging interval code 1)
// for the three days up to now, read back by "REDEEM".

// Up to `count` samples from the first one at or after `from`, as "#STD:"
// blocks of at most twelve samples, the reply closed by "#"; empty when the
// memory holds no sample in that range.
std::string StoredRecordsReply(std::string_view station_id, LoggerTime from, int count,
                               LoggerTime now, double humidity_upper_limit);

}  // namespace vexa::sim
