#pragma once

#include <string>

namespace vexa {

// The logger counts years from 2000 in two digits.
inline constexpr int kFirstQueryYear = 2000;
inline constexpr int kLastQueryYear = 2099;

// How many records one query may ask for: over GSM a record takes several
// short messages, so one a query.
constexpr int MostRecordsPerQuery(bool gsm) {
  return gsm ? 1 : 99;
}

// What a query asks for: the moment to start from, as year
// (two digits), month, day, hour and minute, then the number of records.
std::string QueryTimeText(int year, int month, int day, int hour, int minute, int record_count);

}  // namespace vexa
