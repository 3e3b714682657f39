#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "settings/settings_comparison.h"

namespace vexa {

// How a review of the logger against a set of commands (the batch list, a
// snapshot) shows the comparison; `side` names that set ("list", "snapshot").

// "same", "differs", "only on the logger", "only in the <side>", "cannot be read back".
std::string StateText(Agreement agreement, std::string_view side);

// "30 the same, 2 differ, 1 only in the list, 4 cannot be read back", and
// ", 3 only on the logger" when there are such.
std::string ComparisonSummary(const std::vector<SettingComparison>& comparisons,
                              std::string_view side);

// True when the review may write the setting: the side has a command for it.
bool CanBeWritten(const SettingComparison& comparison);

// The settings a review offers checked: those that differ, but the station ID,
// since writing it renames the logger, which the engineer must choose.
bool ProposedForWriting(const SettingComparison& comparison);

}  // namespace vexa
