#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "link/command_exchange.h"
#include "pages/page_context.h"
#include "support/fake_port.h"
#include "support/file_bytes.h"
#include "support/find_control.h"
#include "support/phone_book_text.h"
#include "support/temp_dir.h"

namespace vexa::testing {

// What the main window hands on of the exchange's notices, for the tests that
// need it: the end of each command and a batch step's result.
class HandingListener : public ExchangeListener {
 public:
  void BatchResult(const std::string& status_text) override {
    if (batch_result) batch_result(status_text);
  }
  void CommandFinished(const FinishedCommand& finished) override {
    if (command_finished) command_finished(finished);
  }

  std::function<void(const std::string&)> batch_result;
  std::function<void(const FinishedCommand&)> command_finished;
};

// The objects the main window hands to a page, over a fake port, with a phone
// book of loggers that each lack something. Logger 000041 is selected.
class PageTest : public ::testing::Test {
 protected:
  PageTest() {
    WriteBytes(book_path_, PhoneBook(Record({"000041", "+491701000041", "135791", "246802"}) +
                                     Record({"000042", "NULL", "", ""}) +
                                     Record({"000043", "", "135791", "246802"}) +
                                     Record({"000044", "+491701000044", "", "246802"}) +
                                     Record({"000045", "+491701000045", "135791", ""}) +
                                     Record({"000046", "+491701000046", "135791", "111111"})));
    phone_book.LoadEntries();
    SelectDevice("000041");
  }

  void SelectDevice(const std::string& id) {
    phone_book.SelectCurrentDevice(id);
    exchange.set_device_id(id);
  }

  // Ends the command in flight, as a refused setting does.
  void EndCommand() {
    exchange.OnReceived("SET fail!");
    while (exchange.Tick()) {
    }
  }

  // Presses the button; returns what went out and the code it is pending
  // under ("" when nothing did), and ends the command again.
  std::string Press(QAbstractButton* button) {
    port.writes.clear();
    QTest::mouseClick(button, Qt::LeftButton);
    const std::string sent =
        port.writes.empty() ? "" : LastWrite() + " " + std::to_string(PendingCode());
    if (exchange.busy()) EndCommand();
    return sent;
  }

  // The last text written to the port and the code it was sent under.
  std::string LastWrite() const { return port.writes.empty() ? "" : port.writes.back(); }
  int PendingCode() const { return exchange.state().pending_code; }
  std::string Recorded(int code) const {
    const auto found = command_buffer.Entries().find(code);
    return found == command_buffer.Entries().end() ? "<none>" : found->second;
  }

 private:
  TempDir dir_;
  std::string book_path_ = dir_.File("addressbook.xml");
  std::string log_path_ = dir_.File("SetupLog.txt");

 protected:
  RecordingNotifier notifier;
  PhoneBookStore phone_book{book_path_, notifier};
  CommandBuffer command_buffer;
  SetupLog setup_log{log_path_};
  FakePort port;
  HandingListener listener;
  CommandExchange exchange{port, phone_book, command_buffer, setup_log, notifier, listener};
  PageContext context{exchange, phone_book, command_buffer, port, notifier};
};

// A page of this type over the objects above, shown at its size in the device
// sheet and active, so that its fields feel the cursor leave.
template <typename Page>
class ShownPageTest : public PageTest {
 protected:
  ShownPageTest() {
    page.resize(997, 586);
    page.show();
    QApplication::setActiveWindow(&page);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&page));
  }

  template <typename Widget>
  Widget* Find(const QString& name) {
    return FindControl<Widget>(&page, name);
  }

  Page page{context, nullptr};
};

}  // namespace vexa::testing
