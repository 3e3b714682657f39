#include "records/record_query.h"

#include <cstdio>

namespace vexa {

std::string QueryTimeText(int year, int month, int day, int hour, int minute, int record_count) {
  std::string year_text = std::to_string(year);
  if (year_text.size() > 2) year_text.erase(0, year_text.size() - 2);
  char rest[64];
  std::snprintf(rest, sizeof rest, "%02d%02d%02d%02d%02d", month, day, hour, minute, record_count);
  return year_text + rest;
}

}  // namespace vexa
