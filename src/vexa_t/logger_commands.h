#pragma once

#include "vexa_t/command_context.h"
#include "vexa_t/report.h"

namespace vexa {

// The commands that ask the logger, as the window's buttons ask it.
Report StatusCommand(CommandContext& context);
Report ReadCommand(CommandContext& context);  // read 1|2|3|all
Report VersionCommand(CommandContext& context);
Report RecordsCommand(CommandContext& context);
Report AlarmTextCommand(CommandContext& context);  // get N, set N TEXT, set N --off

// Sends one command with `send` and waits for its end. False, with the
// report's error and exit status set, when it was refused or did not succeed.
bool RunOne(CommandContext& context, Report& report, std::string_view what,
            const std::function<void()>& send, FinishedCommand* finished = nullptr);

// Status, "#1", "#2" and "#3" as Read All sends them, with progress. False,
// with the report's error and exit status set, when one did not succeed.
bool ReadSettings(CommandContext& context, Report& report, ReadAllOutcome& outcome);

// A table of settings (code, Object, Parameters), passwords hidden.
void AddSettingsTable(Report& report, const std::map<int, std::string>& commands);

}  // namespace vexa
