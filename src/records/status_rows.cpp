#include "records/status_rows.h"

#include "protocol/reply_field.h"
#include "records/quantity_columns.h"
#include "records/record_time.h"

namespace vexa {

RecordTable StatusRows(std::string_view reply) {
  RecordTable table = BaseRecordTable();
  const ReplyFieldValue station = ReplyField(reply, "#STA:");
  const DateTimeText stamp = StatusDateTime(ReplyField(reply, "TM:").value);
  std::vector<std::string> row = {{},
                                  station.position >= 0 ? "STA" : "",
                                  station.value.substr(0, station.value.find(',')),
                                  stamp.date,
                                  stamp.time};
  for (Quantity& quantity : ReadQuantities(reply, QuantityValues::kOne)) {
    table.columns.push_back(std::move(quantity.column));
    row.push_back(std::move(quantity.values.front()));
  }
  table.rows.push_back(std::move(row));
  return table;
}

}  // namespace vexa
