// vexa-t: the command-line twin of Vexa-T Setup, for scripts and for many
// loggers in a row.

#include <algorithm>
#include <cctype>
#include <iostream>
#include <string>
#include <vector>

#include "link/port_name.h"
#include "process/process_setup.h"
#include "vexa_t/arguments.h"
#include "vexa_t/book_commands.h"
#include "vexa_t/config_commands.h"
#include "vexa_t/exit_status.h"
#include "vexa_t/logger_commands.h"
#include "vexa_t/usage.h"

namespace vexa {
namespace {

// "simulator" in any case is the Port list's simulator entry.
std::string PortName(const std::string& port) {
  std::string lower = port;
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower == "simulator" ? kSimulatorPortName : port;
}

Report Failed(const Invocation& invocation, int exit_status, std::string error) {
  Report report{.command = invocation.command_name};
  report.exit_status = exit_status;
  report.error = std::move(error);
  return report;
}

// The logger named by --id, from a phone book that can serve; an error when not.
std::optional<Report> CheckLogger(const Invocation& invocation, PhoneBookStore& store) {
  if (const auto problem = store.FileProblem()) {
    return Failed(invocation, kExitFile,
                  "the phone book " + store.path() + " " + *problem +
                      ": name it with --book, or add the logger with 'vexa-t phonebook add'");
  }
  store.LoadEntries();
  if (!store.EntryExists(invocation.id)) {
    return Failed(invocation, kExitUsage,
                  "the phone book " + store.path() + " holds no logger " + invocation.id +
                      ": add it with 'vexa-t phonebook add " + invocation.id + " PHONE'");
  }
  return std::nullopt;
}

Report RunOnLogger(const Invocation& invocation, PhoneBookStore& store,
                   const RecordingNotifier& messages, LoggerSession& session) {
  ProgressLine progress;
  CommandContext context{invocation, session, store, messages, progress};
  switch (invocation.command) {
    case Command::kStatus:
      return StatusCommand(context);
    case Command::kRead:
      return ReadCommand(context);
    case Command::kVersion:
      return VersionCommand(context);
    case Command::kBackup:
      return BackupCommand(context);
    case Command::kDiff:
      return DiffCommand(context);
    case Command::kApply:
      return ApplyCommand(invocation, store, &context);
    case Command::kRecords:
      return RecordsCommand(context);
    case Command::kAlarmText:
      return AlarmTextCommand(context);
    case Command::kPorts:
    case Command::kPhoneBook:
      break;
  }
  return {};
}

Report Run(const Invocation& invocation, PhoneBookStore& store, RecordingNotifier& messages) {
  switch (invocation.command) {
    case Command::kPorts:
      return PortsCommand();
    case Command::kPhoneBook:
      return PhoneBookCommand(invocation, store, messages, std::cin);
    case Command::kApply:
      if (!invocation.dry_run) break;
      // A dry run needs no logger; with one, its setup password goes in front.
      if (!invocation.id.empty()) {
        if (auto failed = CheckLogger(invocation, store)) return *failed;
        store.SelectCurrentDevice(invocation.id);
      }
      return ApplyCommand(invocation, store, nullptr);
    default:
      break;
  }
  if (auto failed = CheckLogger(invocation, store)) return *failed;
  LoggerSession session(store, messages, invocation.verbose ? &std::cerr : nullptr);
  if (const auto refusal = session.Open(PortName(invocation.port), invocation.gsm)) {
    return Failed(invocation, kExitCommunicationError,
                  "cannot use port " + invocation.port + ": " + *refusal +
                      "; 'vexa-t ports' lists the ports");
  }
  session.Select(invocation.id);
  Report report = RunOnLogger(invocation, store, messages, session);
  for (const std::string& why : session.history_notes()) report.notes.push_back(why);
  return report;
}

// One line, however many the text had.
std::string OneLine(std::string text) {
  std::replace(text.begin(), text.end(), '\n', ' ');
  return text;
}

}  // namespace
}  // namespace vexa

int main(int argc, char** argv) {
  vexa::SetUpProcess();
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  const auto parsed = vexa::ParseArguments(arguments);
  if (const auto* usage = std::get_if<vexa::UsageError>(&parsed)) {
    // A script that asked for JSON gets its document even now.
    if (std::find(arguments.begin(), arguments.end(), "--json") != arguments.end()) {
      vexa::Report report;
      report.exit_status = vexa::kExitUsage;
      report.error = usage->message;
      std::cout << vexa::ReportJson(report);
    }
    std::cerr << "vexa-t: " << usage->message << "; see 'vexa-t --help'\n";
    return vexa::kExitUsage;
  }
  const vexa::Invocation& invocation = std::get<vexa::Invocation>(parsed);
  if (invocation.help) {
    std::cout << vexa::kUsageText;
    return vexa::kExitSuccess;
  }
  if (invocation.version) {
    std::cout << "vexa-t (Vexa-T_Setup) " VEXA_VERSION "\n";
    return vexa::kExitSuccess;
  }

  vexa::RecordingNotifier messages;
  messages.answer = false;  // nobody is there to answer a question
  vexa::PhoneBookStore store(invocation.book, messages);
  const vexa::Report report = vexa::Run(invocation, store, messages);

  std::cout << (invocation.json ? vexa::ReportJson(report) : vexa::ReportText(report))
            << std::flush;
  // What the shared code told the engineer, unless the error says it already.
  for (const auto& message : messages.messages) {
    if (report.error.find(message.text) == std::string::npos) {
      std::cerr << "vexa-t: " << vexa::OneLine(message.text) << '\n';
    }
  }
  if (!report.error.empty()) std::cerr << "vexa-t: " << vexa::OneLine(report.error) << '\n';
  // A stop that came while no logger was awaited still ends the process as it asked.
  if (const int signal = vexa::TakeStopSignal()) vexa::EndByStopSignal(signal);
  return report.exit_status;
}
