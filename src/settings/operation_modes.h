#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/recorded_commands.h"

namespace vexa {

// The operation modes of the digital inputs travel together in one PA command.
inline constexpr int kDigitalChannelCode = 13001;

// The list rows for `input_count` digital inputs: "Digital Input_01" onwards
// for fewer than five, else "Power Source" and the inputs 01 to 04 and 11 to 14.
std::vector<std::string> DigitalChannelRows(int input_count);

// The modes row `row` may take: the power alarms on row 0, the input modes on
// rows 1 to 3, the fixed on/off channel below them, nothing from row 17 on.
std::vector<std::string_view> OperationModeChoices(int row);

// The PA value of a reply to "#2", or nothing when the reply has none.
std::optional<std::string> ReadPaValue(std::string_view reply);

// The command that sets the modes of a PA value, with `password` in front.
std::string PaCommand(std::string_view password, std::string_view pa_value);

// The command a reply to "#2" records for the digital inputs, with
// `setup_password` in front: its PA value as it came.
RecordedCommands DigitalChannelCommands(std::string_view reply, std::string_view setup_password);

// What each of `row_count` rows shows for a PA value. Nothing for a row the
// value is too short for: it stays as it was. A digit without a mode empties it.
std::vector<std::optional<std::string>> OperationModesFromPa(std::string_view pa_value,
                                                             int row_count);

// The PA value for the modes the rows show: a digit per row (none for the
// on/off channels), then "00". Nothing when a row is empty or has no code,
// or when there are no rows.
std::optional<std::string> PaValue(const std::vector<std::string>& row_texts);

}  // namespace vexa
