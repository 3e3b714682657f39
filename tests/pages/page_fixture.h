#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "link/command_exchange.h"
#include "pages/page_context.h"

namespace vexa::testing {

// A port that records what is written; it can be closed or made to fail.
class FakePort : public Port {
 public:
  bool IsPortOpen() const override { return open; }
  bool WritePort(std::string_view bytes) override {
    if (fail_writes) return false;
    writes.emplace_back(bytes);
    return true;
  }
  bool open = true;
  bool fail_writes = false;
  std::vector<std::string> writes;
};

// The objects the main window hands to a page, over a fake port, with a phone
// book of loggers that each lack something. Logger 000041 is selected.
class PageTest : public ::testing::Test {
 protected:
  PageTest() {
    std::ofstream(book_path_) << "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n"
                                 "<HEALTHCHECK>\r\n"
                              << Entry("000041", "+491701000041", "135791", "246802")
                              << Entry("000042", "NULL", "", "")
                              << Entry("000043", "", "135791", "246802")
                              << Entry("000044", "+491701000044", "", "246802")
                              << Entry("000045", "+491701000045", "135791", "")
                              << Entry("000046", "+491701000046", "135791", "111111")
                              << "</HEALTHCHECK>\r\n";
    phone_book.LoadEntries();
    SelectDevice("000041");
  }
  ~PageTest() override {
    std::filesystem::remove(book_path_);
    std::filesystem::remove(log_path_);
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

  // The last text written to the port and the code it was sent under.
  std::string LastWrite() const { return port.writes.empty() ? "" : port.writes.back(); }
  int PendingCode() const { return exchange.state().pending_code; }
  std::string Recorded(int code) const {
    const auto found = command_buffer.Entries().find(code);
    return found == command_buffer.Entries().end() ? "<none>" : found->second;
  }

 private:
  static std::string Entry(const char* id, const char* phone, const char* enquiry,
                           const char* setup) {
    return std::string("<Records ID=\"") + id + "\" Phone=\"" + phone + "\" EnquiryPassword=\"" +
           enquiry + "\" SetupPassword=\"" + setup + "\" />\r\n";
  }
  static std::filesystem::path TempFile(const char* name) {
    return std::filesystem::temp_directory_path() /
           ("vexa-pages-" + std::to_string(::getpid()) + "-" + name);
  }

  std::filesystem::path book_path_ = TempFile("addressbook.xml");
  std::filesystem::path log_path_ = TempFile("SetupLog.txt");

 protected:
  RecordingNotifier notifier;
  PhoneBookStore phone_book{book_path_.string(), notifier};
  CommandBuffer command_buffer;
  SetupLog setup_log{log_path_};
  FakePort port;
  ExchangeListener listener;
  CommandExchange exchange{port, phone_book, command_buffer, setup_log, notifier, listener};
  PageContext context{exchange, phone_book, command_buffer, port, notifier};
};

}  // namespace vexa::testing
