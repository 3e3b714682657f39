// Arbitrary bursts under arbitrary pending codes, on both routes: neither the
// exchange nor the rule it gives the port for a reply's end may crash,
// reassembly never holds more than it received, and no page gets a status cut
// off before its end mark.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "link/command_exchange.h"
#include "link/gsm_reassembly.h"

namespace {

// Keeps the exchange's rule for the reply, which the receive thread would ask.
class NullPort : public vexa::Port {
 public:
  bool IsPortOpen() const override { return true; }
  bool WritePort(std::string_view) override { return true; }
  void ExpectReply(ReplyComplete complete) override { reply_complete = std::move(complete); }
  ReplyComplete reply_complete;
};

constexpr int kCodes[] = {10000, 10001, 10002, 10003, 10004, 10005, 10006, 10008,
                          11002, 11003, 11019, 12000, 12001, 12002, 13001, 14001,
                          15001, 16001, 19000, 19100, 17000, -1};

const std::string& BookPath() {
  static const std::string path = [] {
    char pattern[] = "/tmp/vexa-fuzz-XXXXXX";
    return std::string(::mkdtemp(pattern)) + "/addressbook.xml";
  }();
  return path;
}

// Pages only ever get a status that ends with its end mark.
class StatusCheckingListener : public vexa::ExchangeListener {
 public:
  void FirstStatusReply(const std::string& reply) override { Check(reply); }
  void LaterStatusReply(const std::string& reply) override { Check(reply); }

 private:
  static void Check(const std::string& reply) {
    if (reply.empty() || reply.back() != '#') std::abort();
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  NullPort port;
  vexa::RecordingNotifier notifier;
  vexa::PhoneBookStore phone_book(BookPath(), notifier);
  vexa::CommandBuffer buffer;
  vexa::SetupLog setup_log(std::filesystem::path(BookPath()).parent_path() / "SetupLog.txt");
  StatusCheckingListener listener;
  vexa::CommandExchange exchange(port, phone_book, buffer, setup_log, notifier, listener);
  if (data[0] & 1) exchange.set_transport_mode(vexa::TransportMode::kGsmModem);

  // Chunks: one byte picks the command code (or keeps it), one byte the burst length.
  vexa::GsmReassembly reassembly;
  std::size_t received = 0;
  for (std::size_t at = 1; at + 2 <= size;) {
    const uint8_t pick = data[at];
    const std::size_t length = std::min<std::size_t>(data[at + 1], size - at - 2);
    at += 2;
    if (pick < std::size(kCodes)) exchange.SendCommand("246802#ST:000042#", kCodes[pick]);
    if (pick == 0xff) exchange.Tick();
    const std::string burst(reinterpret_cast<const char*>(data + at), length);
    if (port.reply_complete) port.reply_complete(burst);
    exchange.OnReceived(burst);
    received += length;
    if (!reassembly.Add(burst).empty()) {
      reassembly.Reset();
      received = 0;
    }
    if (reassembly.buffered() > received) std::abort();
    at += length;
  }
  return 0;
}
