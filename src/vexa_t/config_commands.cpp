#include "vexa_t/config_commands.h"

#include <algorithm>
#include <ctime>

#include "batch/apply_plan.h"
#include "batch/batch_list.h"
#include "batch/config_file.h"
#include "batch/verification.h"
#include "link/command_buffer.h"
#include "settings/settings_comparison.h"
#include "vexa_t/exit_status.h"
#include "vexa_t/hidden_passwords.h"
#include "vexa_t/logger_commands.h"

namespace vexa {
namespace {

// Loads the file as the Batch Setup page loads it; false, with the report's
// error, when it holds no configuration.
bool LoadFile(const std::string& path, CommandBuffer& buffer, Report& report) {
  const ConfigLoadResult loaded = LoadConfigFile(path, buffer);
  std::string why;
  switch (loaded.outcome) {
    case ConfigLoad::kLoaded:
      return true;
    case ConfigLoad::kUnreadable:
      why = "cannot be read: check its name and that it may be read";
      break;
    case ConfigLoad::kNotWellFormed:
      why =
          "is damaged or no configuration file (not XML): give a file that Batch Setup or 'vexa-t "
          "backup' saved";
      break;
    case ConfigLoad::kNoRoot:
      why = "is no configuration file: give a file that Batch Setup or 'vexa-t backup' saved";
      break;
    case ConfigLoad::kNoCommands:
      why = "holds no setting to send: save a batch list with at least one checked row";
      break;
  }
  report.exit_status = kExitFile;
  report.error = path + " " + why;
  return false;
}

ApplyOptions OptionsOf(const Invocation& invocation) {
  return {.auto_station_id = invocation.auto_station_id,
          .with_station_id = invocation.with_station_id,
          .with_time = invocation.with_time};
}

// Says what the safe defaults kept back, and how to send it after all.
void NoteLeftOut(Report& report, std::string_view kept, std::string_view option_does,
                 const std::vector<LeftOutSetting>& left_out) {
  for (const LeftOutSetting& setting : left_out) {
    const bool station = setting.reason == LeftOutReason::kStationId;
    report.notes.push_back(std::string(kept) + ": " + setting.object + " " + setting.parameters +
                           " (" + std::string(LeftOutText(setting.reason)) + "; " +
                           (station ? "--with-station-id or --auto-station-id" : "--with-time") +
                           " " + std::string(option_does) + " it).");
  }
}

// The step's status as the exit status counts it: its own result first, then
// whether the read-back proved it.
ExitStatus StepExitStatus(const BatchStep& step) {
  if (step.status != kStatusSuccess) return ExitStatusOfStep(step.status);
  return WriteUnproven(step.verification) ? kExitDifference : kExitSuccess;
}

}  // namespace

Report BackupCommand(CommandContext& context) {
  const std::string path = ConfigFilePath(context.invocation.output);
  Report report{.command = "backup"};
  // Refused before the logger is asked, so that nothing is read in vain.
  if (ConfigSaveTarget(path).refusal != ReplaceRefusal::kNone) {
    report.exit_status = kExitFile;
    report.error =
        path + " may not be replaced by a configuration file: choose another -o FILE.cfg";
    return report;
  }
  ReadAllOutcome outcome;
  if (!ReadSettings(context, report, outcome)) return report;
  CommandBuffer buffer;
  buffer.Record(outcome.recorded);
  BatchList list;
  list.Refresh(buffer, context.phone_book.GetCurrentDevice().setup_password, true);
  if (!SaveConfigFile(path, list.rows(), std::time(nullptr))) {
    report.exit_status = kExitFile;
    report.error = "the configuration could not be saved to " + path +
                   ": check that the folder exists and may be written to";
    return report;
  }
  report.Add("station", "Station", outcome.station_id);
  report.Add("file", "Saved to", path);
  report.Add("count", "Settings", static_cast<long long>(list.rows().size()));
  return report;
}

Report DiffCommand(CommandContext& context) {
  const Invocation& invocation = context.invocation;
  Report report{.command = "diff"};
  CommandBuffer file;
  if (!LoadFile(invocation.operands.front(), file, report)) return report;
  ReadAllOutcome outcome;
  if (!ReadSettings(context, report, outcome)) return report;

  // The file as apply would send it, so that what apply leaves out is no difference.
  const ApplyPlan plan =
      PlanApply(file.Entries(), context.phone_book.GetCurrentDevice().setup_password,
                OptionsOf(invocation), std::time(nullptr));
  std::map<int, std::string> sent;
  for (const BatchRow& row : plan.rows) sent[row.code] = row.command;
  const auto comparisons = CompareSettings(outcome.recorded.commands, sent,
                                           {.auto_station_id = invocation.auto_station_id});

  Table& table = report.AddTable("differences", "",
                                 {{"code", "Code"},
                                  {"object", "Object"},
                                  {"agreement", "Agreement"},
                                  {"logger", "Logger"},
                                  {"file", "File"}});
  std::vector<std::string> unreadable;
  const auto left_out = [&plan](int code) {
    return std::any_of(plan.left_out.begin(), plan.left_out.end(),
                       [code](const LeftOutSetting& setting) { return setting.code == code; });
  };
  for (const SettingComparison& comparison : comparisons) {
    if (comparison.agreement == Agreement::kSame || left_out(comparison.code)) continue;
    const Setting& either = comparison.file ? *comparison.file : *comparison.logger;
    if (comparison.agreement == Agreement::kCannotBeReadBack) {
      unreadable.push_back(either.object);
      continue;
    }
    const auto shown = [&comparison](const std::optional<Setting>& side) -> Value {
      if (!side) return nullptr;
      return ShownParameters(comparison.code, side->parameters);
    };
    table.rows.push_back({static_cast<long long>(comparison.code), either.object,
                          std::string(AgreementText(comparison.agreement)),
                          shown(comparison.logger), shown(comparison.file)});
  }
  report.Add("station", "Station", outcome.station_id);
  report.Add("differences_found", "Differences", static_cast<long long>(table.rows.size()));
  NoteLeftOut(report, "Not compared", "compares", plan.left_out);
  if (!unreadable.empty()) {
    std::string names;
    for (const std::string& name : unreadable) names += (names.empty() ? "" : ", ") + name;
    report.notes.push_back("Not compared, a read does not tell them: " + names + ".");
  }
  if (!table.rows.empty()) report.exit_status = kExitDifference;
  return report;
}

Report ApplyCommand(const Invocation& invocation, PhoneBookStore& phone_book,
                    CommandContext* context) {
  Report report{.command = "apply"};
  CommandBuffer file;
  if (!LoadFile(invocation.operands.front(), file, report)) return report;
  const ApplyPlan plan = PlanApply(file.Entries(), phone_book.GetCurrentDevice().setup_password,
                                   OptionsOf(invocation), std::time(nullptr));
  NoteLeftOut(report, "Not sent", "sends", plan.left_out);
  Table& table = report.AddTable("steps", "",
                                 {{"number", "No."},
                                  {"code", "Code"},
                                  {"object", "Object"},
                                  {"parameters", "Parameters"},
                                  {"status", "Status"}});
  if (context == nullptr) {
    // The parameters of the command as it would go out (the PC's time, the next ID).
    for (const BatchRow& row : plan.rows) {
      const Setting sent = ShownSetting(SettingOf(row.code, row.command));
      table.rows.push_back(
          {row.number, static_cast<long long>(row.code), sent.object, sent.parameters, row.status});
    }
    report.notes.push_back("Dry run: nothing was sent.");
    return report;
  }
  if (plan.rows.empty()) {
    report.notes.push_back("Nothing to send.");
    return report;
  }
  LoggerSession& session = context->session;
  const RunOptions options{.verify = !invocation.no_verify, .stop_at_first_time_out = true};
  const bool started = session.Replay(plan.rows, options, [context](const BatchRun& run) {
    if (!run.ended) context->progress.Show(run.Summary());
  });
  context->progress.Clear();
  if (!started) {
    const std::string why = context->messages.Last();
    report.exit_status = kExitUsage;
    report.error = "the settings were not sent" + (why.empty() ? "" : ": " + why);
    return report;
  }
  const BatchRun& run = session.run();
  if (!invocation.no_verify) table.columns.push_back({"verification", "Verification"});
  // A failed command counts before a setting that could not be proven.
  const BatchStep* failed = nullptr;
  bool unproven = false;
  for (const BatchStep& step : run.steps) {
    std::vector<Value> row = {step.number, static_cast<long long>(step.code), step.object,
                              ShownParameters(step.code, step.parameters), step.status};
    if (!invocation.no_verify) row.push_back(step.verification);
    table.rows.push_back(std::move(row));
    const ExitStatus status = StepExitStatus(step);
    if (status == kExitDifference) {
      unproven = true;
    } else if (status != kExitSuccess && failed == nullptr) {
      failed = &step;
    }
  }
  report.Add("station", "Station", run.ProvisionedId());
  report.Add("summary", "Result", run.Summary());
  if (failed != nullptr) {
    report.exit_status = StepExitStatus(*failed);
    report.error =
        FailureText("setting " + failed->number + " (" + failed->object + ")", failed->status);
  } else if (unproven) {
    report.exit_status = kExitDifference;
    report.error =
        "the logger does not hold every setting that was sent: see the Verification column";
  }
  return report;
}

}  // namespace vexa
