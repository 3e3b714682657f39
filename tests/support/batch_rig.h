#pragma once

#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "batch/batch_setup.h"
#include "link/command_exchange.h"
#include "link/main_window_commands.h"
#include "link/read_all.h"
#include "link/serial_port.h"
#include "sim/simulator_session.h"
#include "support/file_bytes.h"
#include "support/phone_book_text.h"
#include "support/task_loop.h"
#include "support/temp_dir.h"

namespace vexa::testing {

// The serial port as the exchange sees it, with a record of every write and
// the means to make one write fail or to act just before one.
class RigPort : public Port {
 public:
  struct Write {
    std::string bytes;
    TaskLoop::Clock::time_point at;
  };

  explicit RigPort(Port& port) : port_(port) {}
  bool IsPortOpen() const override { return port_.IsPortOpen(); }
  bool WritePort(std::string_view bytes) override {
    const int number = static_cast<int>(attempts_++);
    if (before_write) before_write(number);
    if (number == fail_write) return false;
    writes.push_back({std::string(bytes), TaskLoop::Clock::now()});
    return port_.WritePort(bytes);
  }
  void ExpectReply(ReplyComplete complete) override { port_.ExpectReply(std::move(complete)); }

  int fail_write = -1;                    // this attempt, counted from 0, fails
  std::function<void(int)> before_write;  // gets the attempt's number
  std::vector<Write> writes;              // what went out

 private:
  Port& port_;
  std::size_t attempts_ = 0;
};

// The batch page's objects without Qt, on the test's thread, against the
// simulated logger over a real pseudo-terminal: the window's command timer is
// a timer of the task loop, started and stopped as the window does it.
class BatchRig : public ExchangeListener, public BatchView {
 public:
  struct Burst {
    std::size_t size;
    TaskLoop::Clock::time_point at;  // when the receive thread handed it over
  };

  // `tick` stands for the window's 100 ms: tests shorten it so that a silent
  // logger's 401 ticks pass quickly.
  explicit BatchRig(sim::SimulatorOptions options,
                    std::chrono::milliseconds tick = std::chrono::milliseconds(100))
      : tick_(tick) {
    WriteBytes(folder.File("addressbook.xml"),
               PhoneBook(Record({"000041", "+491701000041", "135791", "246802"})));
    phone_book.LoadEntries();
    phone_book.SelectCurrentDevice("000041");
    exchange.set_device_id("000041");
    simulator = sim::SimulatorSession::Start(std::move(options));
    if (simulator && serial_port.InitPort(simulator->slave_path(), 9600) == 1) {
      serial_port.OpenPort();
    }
  }
  ~BatchRig() override { serial_port.ClosePort(); }

  bool connected() const { return serial_port.IsPortOpen(); }

  // Runs the loop until the run has ended and the worker is gone.
  bool RunBatch(std::chrono::milliseconds timeout) {
    return loop.RunUntil([this] { return setup.run().ended && !setup.running(); }, timeout);
  }

  // ExchangeListener: the window's part.
  void BatchResult(const std::string& status_text) override {
    results.push_back({status_text.size(), TaskLoop::Clock::now()});
    setup.BatchResult(status_text);
  }
  void CommandFinished(const FinishedCommand& finished) override {
    read_all.CommandFinished(finished);
  }
  void ProgressChanged() override {
    if (!exchange.progress().visible) {
      loop.StopTimer();
    } else if (!loop.TimerActive()) {
      loop.StartTimer(tick_, [this] {
        if (!exchange.Tick()) loop.StopTimer();
      });
    }
  }

  TaskLoop loop;
  TempDir folder;
  RecordingNotifier notifier;
  PhoneBookStore phone_book{folder.File("addressbook.xml"), notifier};
  CommandBuffer buffer;
  SetupLog setup_log{folder.File("SetupLog.txt")};
  std::unique_ptr<sim::SimulatorSession> simulator;
  std::vector<Burst> bursts;   // on the loop's thread, in order
  std::vector<Burst> results;  // when each step's result came
  SerialPort serial_port{[this](std::string burst) {
    const auto at = TaskLoop::Clock::now();
    loop.Post([this, burst = std::move(burst), at] {
      bursts.push_back({burst.size(), at});
      exchange.OnReceived(burst);
    });
  }};
  RigPort port{serial_port};
  CommandExchange exchange{port, phone_book, buffer, setup_log, notifier, *this};
  MainWindowCommands commands{exchange, phone_book, notifier, *this};
  ReadAll read_all{commands, exchange, phone_book};
  BatchSetup setup{exchange,   buffer,
                   phone_book, port,
                   notifier,   read_all,
                   *this,      [this](std::function<void()> task) {
                     loop.Post(std::move(task)); }};

 private:
  std::chrono::milliseconds tick_;
};

}  // namespace vexa::testing
