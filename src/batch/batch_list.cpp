#include "batch/batch_list.h"

#include <algorithm>
#include <cstdio>

#include "batch/auto_station_id.h"
#include "settings/setting.h"
#include "settings/setting_codes.h"

namespace vexa {
namespace {

std::string RowNumber(std::size_t position) {
  char number[16];
  std::snprintf(number, sizeof number, "%02zu", position);
  return number;
}

bool ValidRow(const std::vector<BatchRow>& rows, int row) {
  return row >= 0 && static_cast<std::size_t>(row) < rows.size();
}

}  // namespace

std::string WithSetupPassword(std::string command, std::string_view setup_password) {
  if (!setup_password.empty() && command.compare(0, kPasswordLength, setup_password) != 0) {
    command.replace(0, std::min(kPasswordLength, command.size()), setup_password);
  }
  return command;
}

void BatchList::Refresh(const CommandBuffer& buffer, std::string_view setup_password,
                        bool checked) {
  rows_.clear();
  for (const auto& [code, text] : buffer.Entries()) {
    if (text.empty()) continue;
    if (code == kBandCommandCode && !band_command_listed_) continue;
    std::string command = WithSetupPassword(text, setup_password);
    Setting setting = SettingOf(code, command);
    rows_.push_back({RowNumber(rows_.size() + 1),
                     {},
                     std::move(command),
                     code,
                     std::move(setting.object),
                     std::move(setting.parameters),
                     checked});
  }
}

void BatchList::SetChecked(int row, bool checked) {
  if (ValidRow(rows_, row)) rows_[row].checked = checked;
}

void BatchList::SetAllChecked(bool checked) {
  for (BatchRow& row : rows_) row.checked = checked;
}

void BatchList::DeleteRows(std::vector<int> rows) {
  // From the back, so that the indices still to go stay valid.
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
    if (ValidRow(rows_, *row)) rows_.erase(rows_.begin() + *row);
  }
}

std::vector<int> BatchList::QueueChecked(bool auto_station_id) {
  std::vector<int> queued;
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    BatchRow& row = rows_[i];
    if (!row.checked) continue;
    if (auto_station_id && row.code == kStationIdCode) {
      if (auto next = NextStationId(row.command)) {
        row.command = std::move(next->command);
        row.parameters = std::move(next->number);
      }
    }
    row.status = kStatusReady;
    queued.push_back(static_cast<int>(i));
  }
  return queued;
}

void BatchList::SetStatus(int row, std::string status) {
  if (ValidRow(rows_, row)) rows_[row].status = std::move(status);
}

void BatchList::SetCommand(int row, std::string command) {
  if (!ValidRow(rows_, row)) return;
  BatchRow& changed = rows_[row];
  Setting setting = SettingOf(changed.code, command);
  changed.command = std::move(command);
  changed.object = std::move(setting.object);
  changed.parameters = std::move(setting.parameters);
}

}  // namespace vexa
