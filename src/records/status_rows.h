#pragma once

#include <string_view>

#include "records/record_table.h"

namespace vexa {

// The list for a status reply: the base columns, one column per reading, and
// one row headed "STA" with the logger's current readings. Count is left to
// the list.
RecordTable StatusRows(std::string_view reply);

}  // namespace vexa
