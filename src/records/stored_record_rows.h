#pragma once

#include <string_view>

#include "records/record_table.h"

namespace vexa {

// The rows of a reply of stored records: each "#STD:" record gives one row per
// sample, headed "STD" and stamped from the record's first moment on at its
// logging interval, with each quantity's samples in a column of its own. Count
// is left to the list.
RecordTable StoredRecordRows(std::string_view reply);

}  // namespace vexa
