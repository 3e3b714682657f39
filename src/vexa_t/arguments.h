#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace vexa {

enum class Command {
  kPorts,
  kStatus,
  kRead,
  kVersion,
  kBackup,
  kDiff,
  kApply,
  kRecords,
  kAlarmText,
  kPhoneBook,
};

// The moment stored records are asked from.
struct RecordsFrom {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
};

// What the command line asks of vexa-t. Options may stand before or after the
// command; "--" ends them.
struct Invocation {
  bool help = false;
  bool version = false;

  std::string port;  // empty when none was given
  bool gsm = false;
  std::string id;  // padded to six digits as the phone book page pads it
  std::string book = "addressbook.xml";
  bool json = false;
  bool verbose = false;

  Command command = Command::kPorts;
  std::string command_name;
  std::vector<std::string> operands;  // what follows the command, options aside

  std::string output;            // -o of backup and records
  RecordsFrom from;              // --from of records
  int count = 0;                 // --count of records; 0 for the most the route allows
  int channel = 0;               // the alarm source of alarm-text, 0 to 19
  bool auto_station_id = false;  // apply, diff
  bool with_station_id = false;  // apply, diff
  bool with_time = false;        // apply, diff
  bool dry_run = false;          // apply
  bool no_verify = false;        // apply
  bool off = false;              // alarm-text set
};

// Wrong usage, said in one sentence.
struct UsageError {
  std::string message;
};

// Reads the arguments and checks that they fit the command (its operands, its
// options, a port and a logger where it needs them); --help and --version win
// over everything else.
std::variant<Invocation, UsageError> ParseArguments(const std::vector<std::string>& arguments);

}  // namespace vexa
