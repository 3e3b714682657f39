#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "link/command_exchange.h"
#include "link/main_window_commands.h"
#include "support/fake_port.h"
#include "support/file_bytes.h"
#include "support/phone_book_text.h"
#include "support/temp_dir.h"

namespace vexa::testing {

// Records every notification as "<kind>:<text>".
class RecordingListener : public ExchangeListener {
 public:
  void Group1Reply(const std::string& r) override { Add("group1", r); }
  void Group2Reply(const std::string& r) override { Add("group2", r); }
  void Group3Reply(const std::string& r) override { Add("group3", r); }
  void InfoText(const std::string& r) override { Add("info", r); }
  void FirstStatusReply(const std::string& r) override { Add("first-status", r); }
  void LaterStatusReply(const std::string& r) override { Add("later-status", r); }
  void CurrentReadingsReply(const std::string& r) override { Add("readings", r); }
  void StoredRecordsReply(const std::string& r) override { Add("records", r); }
  void CalibrationReply(const std::string& r) override { Add("calibration", r); }
  void AlarmTextReply(const std::string& r) override { Add("alarm-text", r); }
  void ClearPages() override { Add("clear", ""); }
  void SelectDevicePage(int index) override { Add("page", std::to_string(index)); }
  void PhoneBookChanged() override {
    Add("phone-book", "");
    if (on_phone_book_changed) on_phone_book_changed();
  }
  void DeviceIdChanged(const std::string& id) override { Add("device-id", id); }
  void BatchRefresh(bool band) override { Add("batch-refresh", band ? "1" : "0"); }
  void BatchResult(const std::string& text) override { Add("batch-result", text); }
  void DataLogEntry(const std::string& text) override { data_log.push_back(text); }
  void CommandFinished(const FinishedCommand& finished) override {
    if (on_command_finished) on_command_finished(finished);
  }

  // The notifications other than data log entries, in order.
  std::vector<std::string> events;
  std::vector<std::string> data_log;
  // Called at each PhoneBookChanged, to look at the phone book as the page would.
  std::function<void()> on_phone_book_changed;
  // Called at each CommandFinished, as the window hands it on.
  std::function<void(const FinishedCommand&)> on_command_finished;

 private:
  void Add(const char* kind, const std::string& text) {
    events.push_back(std::string(kind) + ":" + text);
  }
};

inline constexpr char kEnquiry[] = "135791";
inline constexpr char kSetup[] = "246802";
inline constexpr char kPhone[] = "+491701000041";

// Logger 000041 in a fresh phone book, selected, with the records every exchange needs.
class LoggerFixture : public ::testing::Test {
 protected:
  LoggerFixture() {
    WriteBytes(book_path(), PhoneBook(Record({"000041", kPhone, kEnquiry, kSetup})));
    phone_book.LoadEntries();
    phone_book.SelectCurrentDevice("000041");
  }

  std::string book_path() const { return (dir.path() / "addressbook.xml").string(); }

  TempDir dir;
  RecordingNotifier notifier;
  PhoneBookStore phone_book{book_path(), notifier};
  CommandBuffer command_buffer;
  SetupLog setup_log{dir.path() / "SetupLog.txt"};
  RecordingListener listener;
};

// An exchange over a fake port.
class ExchangeTest : public LoggerFixture {
 protected:
  ExchangeTest() { exchange.set_device_id("000041"); }

  void UseGsm() { exchange.set_transport_mode(TransportMode::kGsmModem); }

  // Sends a command and answers it in one burst.
  void SendAndReply(const std::string& command, int code, const std::string& reply) {
    ASSERT_TRUE(exchange.SendCommand(command, code));
    exchange.OnReceived(reply);
  }

  // Ticks until the command has finished; returns the number of ticks.
  int TickToEnd() {
    int ticks = 1;
    while (exchange.Tick()) ++ticks;
    return ticks;
  }

  FakePort port;
  CommandExchange exchange{port, phone_book, command_buffer, setup_log, notifier, listener};
  MainWindowCommands commands{exchange, phone_book, notifier, listener};
};

}  // namespace vexa::testing
