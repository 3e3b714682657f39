#include "vexa_t/book_commands.h"

#include <filesystem>

#include "link/device_holders.h"
#include "link/port_lock.h"
#include "link/port_name.h"
#include "phonebook/entry_rules.h"
#include "vexa_t/exit_status.h"

namespace vexa {
namespace {

Report Failed(Report report, int exit_status, std::string error) {
  report.exit_status = exit_status;
  report.error = std::move(error);
  return report;
}

// One line of standard input without its line end.
std::optional<std::string> ReadLine(std::istream& input) {
  std::string line;
  if (!std::getline(input, line)) return std::nullopt;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

// The phone book page's checks of a new entry; empty when it passes.
std::string EntryError(const PhoneBookEntry& entry) {
  if (!IsAllDigits(entry.id) || entry.id.size() > kIdDigits) {
    return "the ID must be up to six digits, not '" + entry.id + "'";
  }
  if (!IsPhoneNumber(entry.phone)) {
    return "the phone number must be a '+' or a digit, then digits only, not '" + entry.phone + "'";
  }
  if (entry.phone.size() > kPhoneMaxLength) return "the phone number has more than 19 digits";
  for (const std::string* password : {&entry.enquiry_password, &entry.setup_password}) {
    if (password->size() != kPasswordDigits || !IsAllDigits(*password)) {
      return "each password must be six digits, one line each on standard input "
             "(the enquiry password, then the setup password)";
    }
  }
  return {};
}

}  // namespace

Report PhoneBookCommand(const Invocation& invocation, PhoneBookStore& store,
                        const RecordingNotifier& messages, std::istream& input) {
  const std::string& action = invocation.operands.front();
  Report report{.command = "phonebook"};
  const std::optional<std::string> problem = store.FileProblem();
  if (action == "list") {
    if (problem)
      return Failed(report, kExitFile, "the phone book " + store.path() + " " + *problem);
    store.LoadEntries();
    Table& table = report.AddTable("entries", "", {{"id", "ID"}, {"phone", "Phone"}});
    for (const PhoneBookEntry& entry : store.entries())
      table.rows.push_back({entry.id, entry.phone});
    return report;
  }
  // A file that is there but no phone book is never overwritten from here.
  if (problem && std::filesystem::exists(store.path())) {
    return Failed(report, kExitFile,
                  "the phone book " + store.path() + " " + *problem +
                      ": mend it or name another with --book");
  }
  if (!problem) store.LoadEntries();
  PhoneBookEntry entry;
  entry.id = PaddedId(invocation.operands[1]);
  if (action == "remove") {
    if (!store.EntryExists(entry.id)) {
      return Failed(report, kExitUsage, "the phone book holds no entry " + entry.id);
    }
    if (!store.DeleteEntry(entry)) {
      return Failed(report, kExitFile, "the phone book could not be saved: " + messages.Last());
    }
    report.Add("removed", "Removed", entry.id);
    return report;
  }
  entry.phone = invocation.operands[2];
  entry.enquiry_password = ReadLine(input).value_or("");
  entry.setup_password = ReadLine(input).value_or("");
  if (const std::string error = EntryError(entry); !error.empty()) {
    return Failed(report, kExitUsage, error);
  }
  if (store.EntryExists(entry.id)) {
    return Failed(report, kExitUsage,
                  "the phone book already holds an entry " + entry.id + ": remove it first");
  }
  if (!store.AddEntry(entry)) {
    return Failed(report, kExitFile, "the phone book could not be saved: " + messages.Last());
  }
  report.Add("added", "Added", entry.id);
  report.Add("phone", "Phone", entry.phone);
  return report;
}

Report PortsCommand() {
  Report report{.command = "ports"};
  Table& table = report.AddTable(
      "ports", "",
      {{"port", "Port"}, {"device", "Device"}, {"present", "Present"}, {"held_by", "Held by"}});
  for (const std::string& name : PortList()) {
    const std::string device = PortDevicePath(name);
    if (device.empty()) {
      table.rows.push_back({name, nullptr, true, nullptr});
      continue;
    }
    std::error_code error;
    const bool present = std::filesystem::exists(device, error);
    // A program that has it open, or one whose lock file claims it.
    std::string holders = present ? DeviceHolders(device) : std::string();
    if (present && holders.empty()) holders = LockFileHolder(kUucpLockDir, device);
    table.rows.push_back(
        {name, device, present, holders.empty() ? Value(nullptr) : Value(holders)});
  }
  return report;
}

}  // namespace vexa
