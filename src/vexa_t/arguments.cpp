#include "vexa_t/arguments.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <set>
#include <string_view>

#include "phonebook/entry_rules.h"
#include "records/record_query.h"
#include "settings/alarm_rows.h"

namespace vexa {
namespace {

struct CommandName {
  std::string_view name;
  Command command;
};

constexpr std::array<CommandName, 10> kCommands = {{
    {"ports", Command::kPorts},
    {"status", Command::kStatus},
    {"read", Command::kRead},
    {"version", Command::kVersion},
    {"backup", Command::kBackup},
    {"diff", Command::kDiff},
    {"apply", Command::kApply},
    {"records", Command::kRecords},
    {"alarm-text", Command::kAlarmText},
    {"phonebook", Command::kPhoneBook},
}};

// Options that belong to some commands only, and the commands they belong to.
struct CommandOption {
  std::string_view name;
  std::vector<Command> commands;
};

const std::vector<CommandOption>& CommandOptions() {
  static const std::vector<CommandOption> options = {
      {"--output", {Command::kBackup, Command::kRecords}},
      {"--from", {Command::kRecords}},
      {"--count", {Command::kRecords}},
      {"--auto-station-id", {Command::kApply, Command::kDiff}},
      {"--with-station-id", {Command::kApply, Command::kDiff}},
      {"--with-time", {Command::kApply, Command::kDiff}},
      {"--dry-run", {Command::kApply}},
      {"--no-verify", {Command::kApply}},
      {"--off", {Command::kAlarmText}},
  };
  return options;
}

std::optional<int> WholeNumber(std::string_view text) {
  int number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return {};
  return number;
}

// "YYYY-MM-DD HH:MM" within the years the logger counts.
std::optional<RecordsFrom> ReadMoment(std::string_view text) {
  if (text.size() != 16 || text[4] != '-' || text[7] != '-' || text[10] != ' ' || text[13] != ':') {
    return {};
  }
  const auto year = WholeNumber(text.substr(0, 4)), month = WholeNumber(text.substr(5, 2)),
             day = WholeNumber(text.substr(8, 2)), hour = WholeNumber(text.substr(11, 2)),
             minute = WholeNumber(text.substr(14, 2));
  if (!year || !month || !day || !hour || !minute) return {};
  const std::chrono::year_month_day date{std::chrono::year(*year),
                                         std::chrono::month(static_cast<unsigned>(*month)),
                                         std::chrono::day(static_cast<unsigned>(*day))};
  if (!date.ok() || *year < kFirstQueryYear || *year > kLastQueryYear || *hour < 0 || *hour > 23 ||
      *minute < 0 || *minute > 59) {
    return {};
  }
  return RecordsFrom{*year, *month, *day, *hour, *minute};
}

bool NeedsLogger(const Invocation& invocation) {
  switch (invocation.command) {
    case Command::kPorts:
    case Command::kPhoneBook:
      return false;
    case Command::kApply:
      return !invocation.dry_run;
    default:
      return true;
  }
}

// The operands of the command as the usage lists them; the error when they are not.
std::optional<std::string> CheckOperands(Invocation& invocation) {
  const std::vector<std::string>& operands = invocation.operands;
  const std::string& name = invocation.command_name;
  const auto count_is = [&](std::size_t count) { return operands.size() == count; };
  switch (invocation.command) {
    case Command::kPorts:
    case Command::kStatus:
    case Command::kVersion:
    case Command::kBackup:
    case Command::kRecords:
      if (!count_is(0)) return "'" + name + "' takes no operand, but got '" + operands[0] + "'";
      if (invocation.command == Command::kBackup && invocation.output.empty()) {
        return "'backup' needs the file to write: backup -o FILE.cfg";
      }
      if (invocation.command == Command::kRecords && invocation.from.year == 0) {
        return "'records' needs the moment to start from: records --from \"YYYY-MM-DD HH:MM\"";
      }
      return {};
    case Command::kRead:
      if (!count_is(1) || !(operands[0] == "1" || operands[0] == "2" || operands[0] == "3" ||
                            operands[0] == "all")) {
        return std::string("'read' needs the group to read: read 1, read 2, read 3 or read all");
      }
      return {};
    case Command::kDiff:
    case Command::kApply:
      if (!count_is(1)) return "'" + name + "' needs one configuration file: " + name + " FILE.cfg";
      return {};
    case Command::kAlarmText: {
      const bool get = !operands.empty() && operands[0] == "get" && count_is(2) && !invocation.off;
      const bool set =
          !operands.empty() && operands[0] == "set" && (invocation.off ? count_is(2) : count_is(3));
      if (!get && !set) {
        return std::string(
            "'alarm-text' needs what to do: alarm-text get N, alarm-text set N TEXT or "
            "alarm-text set N --off");
      }
      const auto channel = WholeNumber(operands[1]);
      if (!channel || operands[1].size() > 2 || AlarmRowOf(*channel) == nullptr) {
        return "the alarm source must be 00 to 19, not '" + operands[1] + "'";
      }
      invocation.channel = *channel;
      return {};
    }
    case Command::kPhoneBook: {
      const bool list = count_is(1) && operands[0] == "list";
      const bool add = count_is(3) && operands[0] == "add";
      const bool remove = count_is(2) && operands[0] == "remove";
      if (!list && !add && !remove) {
        return std::string(
            "'phonebook' needs what to do: phonebook list, phonebook add ID PHONE (the two "
            "passwords come from standard input) or phonebook remove ID");
      }
      return {};
    }
  }
  return {};
}

std::optional<std::string> CheckCommand(Invocation& invocation,
                                        const std::set<std::string_view>& command_options) {
  for (const CommandOption& option : CommandOptions()) {
    if (command_options.contains(option.name) &&
        std::find(option.commands.begin(), option.commands.end(), invocation.command) ==
            option.commands.end()) {
      return "option " + std::string(option.name) + " does not go with '" +
             invocation.command_name + "'";
    }
  }
  if (invocation.auto_station_id && invocation.with_station_id) {
    return std::string("--auto-station-id and --with-station-id exclude each other: choose one");
  }
  if (auto error = CheckOperands(invocation)) return error;
  if (NeedsLogger(invocation)) {
    if (invocation.port.empty()) {
      return std::string(
          "no port given: name one with --port (a device path, COMn, or simulator); "
          "'vexa-t ports' lists them");
    }
    if (invocation.id.empty()) {
      return std::string("no logger given: name its station ID with --id ID");
    }
  }
  if (invocation.command == Command::kRecords) {
    const int most = MostRecordsPerQuery(invocation.gsm);
    if (invocation.count == 0) invocation.count = most;
    if (invocation.count < 1 || invocation.count > most) {
      return "--count must be 1 to " + std::to_string(most) +
             (invocation.gsm ? " on the GSM route, where a record takes several messages" : "");
    }
  }
  return {};
}

}  // namespace

std::variant<Invocation, UsageError> ParseArguments(const std::vector<std::string>& arguments) {
  Invocation invocation;
  // Asked for help, the engineer gets it whatever else is wrong.
  for (const std::string& argument : arguments) {
    if (argument == "--") break;
    invocation.help = invocation.help || argument == "--help" || argument == "-h";
    invocation.version = invocation.version || argument == "--version";
  }
  if (invocation.help || invocation.version) return invocation;
  std::set<std::string_view> command_options;
  bool have_command = false;
  bool options_ended = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    const bool is_option = !options_ended && argument.size() > 1 && argument[0] == '-';
    if (!is_option) {
      if (!have_command) {
        const auto found = std::find_if(kCommands.begin(), kCommands.end(),
                                        [&](const CommandName& c) { return c.name == argument; });
        if (found == kCommands.end()) return UsageError{"unknown command '" + argument + "'"};
        invocation.command = found->command;
        invocation.command_name = argument;
        have_command = true;
      } else {
        invocation.operands.push_back(argument);
      }
      continue;
    }
    if (argument == "--") {
      options_ended = true;
      continue;
    }
    // "--name=value" or "--name value"; the short forms take theirs apart.
    std::string name = argument;
    std::optional<std::string> attached;
    if (const std::size_t equals = argument.find('=');
        argument.starts_with("--") && equals != std::string::npos) {
      name = argument.substr(0, equals);
      attached = argument.substr(equals + 1);
    }
    if (name == "-o") name = "--output";
    if (name == "-v") name = "--verbose";

    std::string* text = nullptr;
    if (name == "--port") text = &invocation.port;
    if (name == "--id") text = &invocation.id;
    if (name == "--book") text = &invocation.book;
    if (name == "--output") text = &invocation.output;
    std::string from_text, count_text;
    if (name == "--from") text = &from_text;
    if (name == "--count") text = &count_text;
    if (text != nullptr) {
      if (!attached) {
        if (i + 1 == arguments.size()) return UsageError{"option " + name + " needs a value"};
        attached = arguments[++i];
      }
      if (attached->empty()) return UsageError{"option " + name + " needs a value"};
      *text = *attached;
    } else if (attached) {
      return UsageError{"option " + name + " takes no value"};
    }

    bool* flag = nullptr;
    if (name == "--gsm") flag = &invocation.gsm;
    if (name == "--json") flag = &invocation.json;
    if (name == "--verbose") flag = &invocation.verbose;
    if (name == "--auto-station-id") flag = &invocation.auto_station_id;
    if (name == "--with-station-id") flag = &invocation.with_station_id;
    if (name == "--with-time") flag = &invocation.with_time;
    if (name == "--dry-run") flag = &invocation.dry_run;
    if (name == "--no-verify") flag = &invocation.no_verify;
    if (name == "--off") flag = &invocation.off;
    if (flag != nullptr) *flag = true;
    if (flag == nullptr && text == nullptr) return UsageError{"unknown option " + name};

    const auto owned = std::find_if(CommandOptions().begin(), CommandOptions().end(),
                                    [&](const CommandOption& o) { return o.name == name; });
    if (owned != CommandOptions().end()) command_options.insert(owned->name);

    if (name == "--id") {
      if (!IsAllDigits(invocation.id) || invocation.id.size() > kIdDigits) {
        return UsageError{"the station ID must be up to six digits, not '" + invocation.id + "'"};
      }
      invocation.id = PaddedId(invocation.id);
    } else if (name == "--from") {
      const auto moment = ReadMoment(from_text);
      if (!moment) {
        return UsageError{"--from needs a date and time \"YYYY-MM-DD HH:MM\" from the years " +
                          std::to_string(kFirstQueryYear) + " to " +
                          std::to_string(kLastQueryYear) + ", not '" + from_text + "'"};
      }
      invocation.from = *moment;
    } else if (name == "--count") {
      const auto count = WholeNumber(count_text);
      if (!count || *count < 1) {
        return UsageError{"--count needs a number of records, not '" + count_text + "'"};
      }
      invocation.count = *count;
    }
  }
  if (!have_command) return UsageError{"no command given"};
  if (auto error = CheckCommand(invocation, command_options)) return UsageError{*error};
  return invocation;
}

}  // namespace vexa
