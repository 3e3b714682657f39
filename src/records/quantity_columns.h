#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "records/record_table.h"

namespace vexa {

// One quantity of a status or record, and the values of its rows.
struct Quantity {
  RecordColumn column;
  std::vector<std::string> values;
};

enum class QuantityValues {
  kOne,      // a status: one reading each
  kSamples,  // a record: the samples, separated by "|"
};

// The quantities of a status or of one record, in the order the list shows
// them: the analog fields A00 to A59 (except A01 to A06, which the logger
// uses internally), the pulse fields P00 to P59, the digital input states of
// "K01:", the relay states of "O01:", and, of a record only, its "V:" field.
// Fields with an empty value are left out.
std::vector<Quantity> ReadQuantities(std::string_view text, QuantityValues values);

}  // namespace vexa
