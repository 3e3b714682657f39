#include "records/stored_record_rows.h"

#include <algorithm>
#include <vector>

#include "protocol/reply_field.h"
#include "records/quantity_columns.h"
#include "records/record_time.h"

namespace vexa {
namespace {

constexpr std::string_view kRecordKey = "#STD:";

// The records of a reply, each from one "#STD:" to the next or to the end.
std::vector<std::string_view> SplitRecords(std::string_view reply) {
  std::vector<std::string_view> records;
  for (auto at = reply.find(kRecordKey); at != std::string_view::npos;) {
    const auto next = reply.find(kRecordKey, at + 1);
    records.push_back(reply.substr(at, next == std::string_view::npos ? next : next - at));
    at = next;
  }
  return records;
}

// A value read as a number: its leading digits, 0 when there are none, a
// leading "-" giving a negative number.
long Number(std::string_view value) {
  const bool negative = value.starts_with('-');
  if (negative) value.remove_prefix(1);
  long number = 0;
  for (char c : value) {
    if (c < '0' || c > '9' || number > 100'000'000) break;
    number = number * 10 + (c - '0');
  }
  return negative ? -number : number;
}

void AddRecord(std::string_view record, RecordTable& table) {
  const std::string station_value = ReplyField(record, kRecordKey).value;
  const std::string station = station_value.substr(0, station_value.find(','));
  // Every sample takes at least a character of the record: a larger count is
  // no real one, and must not make the list grow without bound.
  const long samples = std::clamp<long>(Number(ReplyField(record, ";T:").value), 0,
                                        static_cast<long>(record.size()));
  const std::chrono::seconds interval{IntervalSeconds(Number(ReplyField(record, ";D:").value))};
  const std::optional<LoggerMoment> start = RecordStart(ReplyField(record, "TM:").value);

  std::vector<Quantity> quantities = ReadQuantities(record, QuantityValues::kSamples);
  std::vector<std::size_t> columns;
  for (Quantity& quantity : quantities) {
    std::size_t column = FindColumn(table, quantity.column.id);
    if (column == table.columns.size()) table.columns.push_back(quantity.column);
    columns.push_back(column);
  }
  const std::size_t width = table.columns.size();

  for (long k = 0; k < samples; ++k) {
    std::vector<std::string> row(width);
    row[kHeaderColumn] = "STD";
    row[kStationColumn] = station;
    if (start) {
      DateTimeText stamp = ShownDateTime(*start + k * interval);
      row[kDateColumn] = std::move(stamp.date);
      row[kTimeColumn] = std::move(stamp.time);
    }
    for (std::size_t q = 0; q < quantities.size(); ++q) {
      auto& values = quantities[q].values;
      if (static_cast<std::size_t>(k) < values.size()) row[columns[q]] = std::move(values[k]);
    }
    table.rows.push_back(std::move(row));
  }
}

}  // namespace

RecordTable StoredRecordRows(std::string_view reply) {
  RecordTable table = BaseRecordTable();
  for (std::string_view record : SplitRecords(reply)) AddRecord(record, table);
  return table;
}

}  // namespace vexa
