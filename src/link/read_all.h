#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "link/command_exchange.h"
#include "link/exchange_listener.h"
#include "link/main_window_commands.h"
#include "phonebook/phone_book_store.h"
#include "settings/recorded_commands.h"

namespace vexa {

// The command of a read-all that goes out, one of `total`.
struct ReadAllStep {
  int number = 0;  // 1 to total
  int total = 0;
  std::string_view name;  // "Status", "#1", "#2", "#3"
};

// How a read-all ended and what it read.
struct ReadAllOutcome {
  bool succeeded = false;  // all four commands ended "Command Success"
  // The command that did not succeed, empty when all did; its result and text
  // as the exchange ended it. A command refused before it went out ends with
  // kResultNotSent.
  std::string_view stopped_at;
  int result = kResultSuccess;
  std::string status_text;
  std::string station_id;  // as the status reply answered; empty before it
  // What the replies to "#1" to "#3" that came record, with the current
  // device's setup password in front.
  RecordedCommands recorded;
};

// Read All: the Status, "#1", "#2" and "#3" buttons pressed one after the
// other, each going out as soon as the one before has finished, stopping at
// the first that does not succeed. Every reply reaches the exchange's listener
// as its button's does, so the pages fill as usual.
//
// The exchange's listener must hand every CommandFinished on to this object.
class ReadAll {
 public:
  static constexpr int kCommandCount = 4;
  static constexpr int kResultNotSent = -1;

  using Progress = std::function<void(const ReadAllStep& step)>;
  using Finished = std::function<void(const ReadAllOutcome& outcome)>;

  ReadAll(MainWindowCommands& commands, CommandExchange& exchange, PhoneBookStore& phone_book);

  // Sends the status query, as its button does: false when refused then (busy,
  // no device, a phone book field missing; the exchange said why) or while a
  // read-all runs. Otherwise `finished` is called once when it ends, maybe
  // before Start returns (a write that failed ends it at once); `progress`
  // before each command goes out.
  bool Start(Finished finished, Progress progress = {});
  bool running() const { return finished_ != nullptr; }
  // Forgets the read-all under way, for a caller that goes: the command in
  // flight ends as usual, but nothing follows it and no one is told.
  void Detach();

  // From the exchange's listener.
  void CommandFinished(const FinishedCommand& finished);

 private:
  // Sends command `step_` of the sequence, as its button does.
  bool SendStep();
  void End(bool succeeded, int result, std::string status_text);

  MainWindowCommands& commands_;
  CommandExchange& exchange_;
  PhoneBookStore& phone_book_;
  Finished finished_;  // set while a read-all runs
  Progress progress_;
  int step_ = 0;  // the command in flight, 0 to kCommandCount - 1
  ReadAllOutcome outcome_;
};

}  // namespace vexa
