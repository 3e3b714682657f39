#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "batch/batch_row.h"
#include "link/command_buffer.h"

namespace vexa {

// The GSM band command: listed only once the page was asked to include it.
inline constexpr int kBandCommandCode = 11008;

// `command` with `setup_password` in place of its first six characters when
// they differ: another logger's password would be refused. Without a setup
// password the command keeps its own rather than being cut off.
std::string WithSetupPassword(std::string command, std::string_view setup_password);

// The rows of the batch list and the rules that build and change them.
class BatchList {
 public:
  const std::vector<BatchRow>& rows() const { return rows_; }

  // From now on the band command is listed too.
  void IncludeBandCommand() { band_command_listed_ = true; }

  // Rebuilds the rows from the buffer in code order, every row `checked`, each
  // command WithSetupPassword. Empty texts are skipped.
  void Refresh(const CommandBuffer& buffer, std::string_view setup_password, bool checked);
  void Clear() { rows_.clear(); }
  void SetChecked(int row, bool checked);
  void SetAllChecked(bool checked);
  // Removes these rows, given as indices in any order.
  void DeleteRows(std::vector<int> rows);

  // Marks every checked row "Ready" and returns their indices in list order.
  // With `auto_station_id` a station ID command first takes the next number:
  // its row shows the number and keeps the new command for the next run.
  std::vector<int> QueueChecked(bool auto_station_id);
  void SetStatus(int row, std::string status);
  // The row shows and keeps `command`, sent in place of its own.
  void SetCommand(int row, std::string command);

 private:
  std::vector<BatchRow> rows_;
  bool band_command_listed_ = false;
};

}  // namespace vexa
