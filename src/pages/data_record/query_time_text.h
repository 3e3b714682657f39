#pragma once

#include <string>

namespace vexa {

// What a stored-records query asks for: the moment to start from, as year
// (two digits), month, day, hour and minute, then the number of records.
std::string QueryTimeText(int year, int month, int day, int hour, int minute, int record_count);

}  // namespace vexa
