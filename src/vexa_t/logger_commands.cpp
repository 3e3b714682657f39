#include "vexa_t/logger_commands.h"

#include "csv/csv_file.h"
#include "link/command_codes.h"
#include "protocol/command_envelope.h"
#include "protocol/status_parse.h"
#include "records/record_query.h"
#include "records/record_table.h"
#include "records/status_rows.h"
#include "records/stored_record_rows.h"
#include "settings/alarm_message.h"
#include "settings/alarm_rows.h"
#include "settings/group1_settings.h"
#include "settings/group_commands.h"
#include "settings/setting.h"
#include "vexa_t/exit_status.h"
#include "vexa_t/hidden_passwords.h"
#include "xml/latin1_utf8.h"

namespace vexa {
namespace {

PhoneBookEntry Device(const CommandContext& context) {
  return context.phone_book.GetCurrentDevice();
}

// A command the exchange refused before it went out said why through the notifier.
void Refused(CommandContext& context, Report& report, std::string_view what) {
  const std::string why = context.messages.Last();
  report.exit_status = kExitUsage;
  report.error = std::string(what) + " was not sent" + (why.empty() ? "" : ": " + why);
}

std::string ChannelText(int channel) {
  return (channel < 10 ? "0" : "") + std::to_string(channel);
}

// Sends an alarm text command under its code once the exchange accepts the logger.
std::function<void()> SendChecked(CommandContext& context, std::string command, int code) {
  return [&context, command = std::move(command), code] {
    CommandExchange& exchange = context.session.exchange();
    if (exchange.ValidateCommand()) exchange.SendCommand(command, code);
  };
}

}  // namespace

bool RunOne(CommandContext& context, Report& report, std::string_view what,
            const std::function<void()>& send, FinishedCommand* finished) {
  context.progress.Show(std::string(what) + " ...");
  const std::optional<FinishedCommand> ended = context.session.Run(send);
  context.progress.Clear();
  if (!ended) {
    Refused(context, report, what);
    return false;
  }
  if (finished != nullptr) *finished = *ended;
  if (ended->result == kResultSuccess) return true;
  report.exit_status = ExitStatusOfResult(ended->result);
  report.error = FailureText(what, ended->status_text);
  return false;
}

bool ReadSettings(CommandContext& context, Report& report, ReadAllOutcome& outcome) {
  outcome = context.session.ReadEverything([&context](const ReadAllStep& step) {
    context.progress.Show("Reading " + std::string(step.name) + ", " + std::to_string(step.number) +
                          " of " + std::to_string(step.total));
  });
  context.progress.Clear();
  if (outcome.succeeded) return true;
  if (outcome.result == ReadAll::kResultNotSent) {
    Refused(context, report, "reading " + std::string(outcome.stopped_at));
    return false;
  }
  report.exit_status = ExitStatusOfResult(outcome.result);
  report.error = FailureText("reading " + std::string(outcome.stopped_at), outcome.status_text);
  return false;
}

void AddSettingsTable(Report& report, const std::map<int, std::string>& commands) {
  Table& table = report.AddTable(
      "settings", "", {{"code", "Code"}, {"object", "Object"}, {"parameters", "Parameters"}});
  for (const Setting& setting : SettingsOf(commands)) {
    const Setting shown = ShownSetting(setting);
    table.rows.push_back({static_cast<long long>(shown.code), shown.object, shown.parameters});
  }
}

Report StatusCommand(CommandContext& context) {
  Report report{.command = "status"};
  FinishedCommand finished;
  if (!RunOne(
          context, report, "the status query",
          [&context] { context.session.commands().ReadStatus(); }, &finished)) {
    return report;
  }
  const RecordTable table = StatusRows(finished.reply);
  const std::vector<std::string>& row = table.rows.front();
  const auto cell = [&row](std::size_t column) {
    return column < row.size() ? row[column] : std::string();
  };
  report.Add("station", "Station", cell(kStationColumn));
  report.Add("time", "Logger time", cell(kDateColumn) + " " + cell(kTimeColumn));
  // The signal and the module's state come with "#1", as the Device Setup page shows them.
  FinishedCommand group1;
  if (!RunOne(
          context, report, "reading #1", [&context] { context.session.commands().ReadGroup(1); },
          &group1)) {
    return report;
  }
  const Group1Settings settings = ReadGroup1Settings(group1.reply);
  report.Add("signal_percent", "Signal (%)",
             settings.signal_bar ? Value(static_cast<long long>(*settings.signal_bar)) : nullptr);
  if (settings.module_status) {
    report.Add("gsm_module_ok", "GSM module ok", settings.module_status->gsm_module_ok);
    report.Add("sim_card_ok", "SIM card ok", settings.module_status->sim_card_ok);
  }
  Table& readings = report.AddTable("readings", "Readings",
                                    {{"id", "Quantity"}, {"name", "Name"}, {"value", "Value"}});
  for (std::size_t column = kBaseColumnCount; column < table.columns.size(); ++column) {
    readings.rows.push_back(
        {table.columns[column].id, table.columns[column].caption, cell(column)});
  }
  return report;
}

Report ReadCommand(CommandContext& context) {
  Report report{.command = "read"};
  const std::string& which = context.invocation.operands.front();
  if (which == "all") {
    ReadAllOutcome outcome;
    if (ReadSettings(context, report, outcome)) {
      report.Add("station", "Station", outcome.station_id);
      AddSettingsTable(report, outcome.recorded.commands);
    }
    return report;
  }
  // The relay settings need the relay count that the status reply tells.
  const int group = which.front() - '0';
  FinishedCommand status, read;
  if (!RunOne(
          context, report, "the status query",
          [&context] { context.session.commands().ReadStatus(); }, &status) ||
      !RunOne(
          context, report, "reading #" + which,
          [&context, group] { context.session.commands().ReadGroup(group); }, &read)) {
    return report;
  }
  report.Add("station", "Station", StatusStationId(status.reply));
  AddSettingsTable(report, GroupCommands(group, read.reply, Device(context).setup_password,
                                         context.session.exchange().device_context().relay_count)
                               .commands);
  return report;
}

Report VersionCommand(CommandContext& context) {
  Report report{.command = "version"};
  if (RunOne(context, report, "the version query",
             [&context] { context.session.commands().ReadVersion(); })) {
    report.Add("version", "Version", context.session.info_text());
  }
  return report;
}

Report RecordsCommand(CommandContext& context) {
  const Invocation& invocation = context.invocation;
  Report report{.command = "records"};
  if (!invocation.output.empty() &&
      CsvSaveTarget(invocation.output).refusal != ReplaceRefusal::kNone) {
    report.exit_status = kExitFile;
    report.error =
        invocation.output + " may not be replaced by a CSV file: choose another -o FILE.csv";
    return report;
  }
  const RecordsFrom& from = invocation.from;
  const std::string moment =
      QueryTimeText(from.year, from.month, from.day, from.hour, from.minute, invocation.count);
  const std::string command =
      FormatCommand("%s#REDEEM%s#", {Device(context).enquiry_password, moment});
  FinishedCommand finished;
  if (!RunOne(context, report, "the records query", SendChecked(context, command, kDataRecordCode),
              &finished)) {
    return report;
  }
  // Without records from that moment on the logger answers with its current
  // readings, which the Data Record page lists as they come.
  const bool stored = context.session.stored_records_came();
  RecordTable table = BaseRecordTable();
  AppendRows(table, stored ? StoredRecordRows(finished.reply) : StatusRows(finished.reply));
  std::vector<std::size_t> columns;
  for (std::size_t column = 0; column < table.columns.size(); ++column) columns.push_back(column);
  const CsvRows rows = ExportRows(table, columns);

  Table& shown = report.AddTable("records", "", {});
  for (const RecordColumn& column : table.columns)
    shown.columns.push_back({column.id, column.caption});
  // Every column is keyed by its quantity; the base columns by their caption.
  for (std::size_t column = 0; column < kBaseColumnCount; ++column) {
    shown.columns[column].key = table.columns[column].caption;
  }
  for (const auto& row : table.rows) {
    auto& values = shown.rows.emplace_back();
    for (std::size_t column = 0; column < table.columns.size(); ++column) {
      values.push_back(column < row.size() ? row[column] : std::string());
    }
  }
  if (!stored)
    report.notes.push_back(
        "No records are stored from that moment on: the list holds the current readings.");
  if (invocation.output.empty()) {
    report.text_output = CsvText(rows);
    return report;
  }
  if (!SaveCsvFile(invocation.output, rows)) {
    report.exit_status = kExitFile;
    report.error = "the records could not be saved to " + invocation.output +
                   ": check that the folder exists and may be written to";
    return report;
  }
  report.Add("file", "Saved to", invocation.output);
  report.Add("rows", "Rows", static_cast<long long>(table.rows.size()));
  return report;
}

Report AlarmTextCommand(CommandContext& context) {
  const Invocation& invocation = context.invocation;
  Report report{.command = "alarm-text"};
  const AlarmRow& row = *AlarmRowOf(invocation.channel);
  if (invocation.operands.front() == "get") {
    FinishedCommand finished;
    if (!RunOne(context, report, "reading alarm text " + ChannelText(row.channel),
                SendChecked(context, AlarmReadCommand(row, Device(context).enquiry_password),
                            AlarmReadCode(row)),
                &finished)) {
      return report;
    }
    const AlarmReplyView view = ReadAlarmReply(row, finished.reply);
    report.Add("source", "Source", std::string(row.label));
    report.Add("text_message", "Text message",
               view.text_message ? Value(*view.text_message) : Value(nullptr));
    report.Add("text", "Text", view.content);
    return report;
  }
  const bool text_message = !invocation.off;
  const std::string content = text_message ? Utf8ToLatin1(invocation.operands[2]) : std::string();
  // A character the logger's code page lacks would go out as "?".
  if (Latin1ToUtf8(content) != (text_message ? invocation.operands[2] : std::string())) {
    report.exit_status = kExitUsage;
    report.error = "the alarm text must be in Latin-1 (ISO-8859-1), not '" +
                   Utf8ToLatin1(invocation.operands[2]) + "'";
    return report;
  }
  if (const auto error = AlarmContentError(row, text_message, content)) {
    report.exit_status = kExitUsage;
    report.error = *error;
    return report;
  }
  if (RunOne(
          context, report, "setting alarm text " + ChannelText(row.channel),
          SendChecked(context,
                      AlarmSetCommand(row, Device(context).setup_password, text_message, content),
                      AlarmSetCode(row)))) {
    report.Add("text_message", "Text message", text_message);
    report.Add("text", "Text", content);
  }
  return report;
}

}  // namespace vexa
