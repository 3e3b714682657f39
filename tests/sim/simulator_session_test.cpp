#include "sim/simulator_session.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/resource.h>
#include <unistd.h>

#include <string>
#include <thread>
#include <vector>

#include "sim/reply_rules.h"

namespace vexa::sim {
namespace {

using namespace std::chrono_literals;
using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

// The slave side as the program opens it; its line settings are left as the
// simulator made them.
class Slave {
 public:
  explicit Slave(const std::string& path) : fd_(open(path.c_str(), O_RDWR | O_NOCTTY)) {}
  ~Slave() {
    if (fd_ >= 0) close(fd_);
  }
  bool ok() const { return fd_ >= 0; }
  int fd() const { return fd_; }

  void Write(const std::string& bytes) {
    ASSERT_EQ(write(fd_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }

  // Bursts as the program reads them, split by `gap` without bytes; stops at
  // `count` bursts or after `limit`.
  std::vector<std::string> ReadBursts(std::size_t count, milliseconds limit = 3s,
                                      milliseconds gap = 100ms) {
    std::vector<std::string> bursts;
    std::string current;
    auto last_byte = Clock::now();
    const auto deadline = Clock::now() + limit;
    while (bursts.size() < count && Clock::now() < deadline) {
      pollfd readable{fd_, POLLIN, 0};
      if (poll(&readable, 1, 10) > 0 && (readable.revents & POLLIN) != 0) {
        char buffer[1024];
        const ssize_t n = read(fd_, buffer, sizeof buffer);
        if (n <= 0) break;
        current.append(buffer, static_cast<std::size_t>(n));
        last_byte = Clock::now();
      } else if (!current.empty() && Clock::now() - last_byte >= gap) {
        bursts.push_back(std::move(current));
        current.clear();
      }
    }
    if (!current.empty()) bursts.push_back(std::move(current));
    return bursts;
  }

 private:
  int fd_;
};

// CPU time this process has used, all threads together.
milliseconds ProcessCpuTime() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const auto total = [](const timeval& t) { return t.tv_sec * 1000 + t.tv_usec / 1000; };
  return milliseconds(total(usage.ru_utime) + total(usage.ru_stime));
}

TEST(SimulatorSession, ServesTheFirstLoggerOnTheCable) {
  auto session = SimulatorSession::Start({});
  ASSERT_NE(session, nullptr);
  Slave slave(session->slave_path());
  ASSERT_TRUE(slave.ok());

  slave.Write("135791#STATUS#");
  auto bursts = slave.ReadBursts(1);
  ASSERT_EQ(bursts.size(), 1u);
  EXPECT_TRUE(bursts[0].starts_with("#STA:000041,T;")) << bursts[0];
  EXPECT_EQ(bursts[0].back(), '#');
  // Nothing follows: the reply is not echoed back into the simulator.
  EXPECT_TRUE(slave.ReadBursts(1, 300ms).empty());

  // The whole memory in one burst, far more than one read of the port.
  slave.Write("135791#REDEEM261201000099#");
  bursts = slave.ReadBursts(1);
  ASSERT_EQ(bursts.size(), 1u);
  EXPECT_GT(bursts[0].size(), 1024u);
  EXPECT_EQ(bursts[0].back(), '#');
}

// One logger after another on the same cable, each as it left the factory.
TEST(SimulatorSession, PlugsInTheNextLoggerAfterTheLast) {
  auto session = SimulatorSession::Start({.faults = {.set_fail = true}});
  ASSERT_NE(session, nullptr);
  Slave slave(session->slave_path());
  ASSERT_TRUE(slave.ok());
  const auto station = [&slave] {
    slave.Write("135791#CHEACK1#");
    const auto bursts = slave.ReadBursts(1);
    return bursts.empty() ? std::string() : bursts[0].substr(0, 12);
  };

  EXPECT_EQ(station(), "#STC1:000041");
  EXPECT_EQ(session->PlugInNextLogger(), "000042");
  EXPECT_EQ(station(), "#STC1:000042");
  slave.Write("246802#SA:1#");
  EXPECT_EQ(slave.ReadBursts(1), std::vector<std::string>{"SET fail!"});  // faults stay
  EXPECT_EQ(session->PlugInNextLogger(), "000043");
  EXPECT_EQ(session->PlugInNextLogger(), "000041");
  EXPECT_EQ(station(), "#STC1:000041");

  auto modem = SimulatorSession::Start({.gsm = true});
  ASSERT_NE(modem, nullptr);
  EXPECT_EQ(modem->PlugInNextLogger(), "");
}

// Another PC changes the logger; the program on the line hears nothing of it
// until it reads the logger again.
TEST(SimulatorSession, ACommandFromElsewhereChangesTheLoggerSilently) {
  auto session = SimulatorSession::Start({});
  ASSERT_NE(session, nullptr);
  Slave slave(session->slave_path());
  ASSERT_TRUE(slave.ok());
  EXPECT_EQ(session->CommandFromElsewhere("246802#SA:5#"), "Set success!");
  EXPECT_EQ(session->CommandFromElsewhere("135791#SA:1#"), "Password is error!");
  EXPECT_TRUE(slave.ReadBursts(1, 300ms).empty());
  slave.Write("135791#CHEACK1#");
  const auto bursts = slave.ReadBursts(1);
  ASSERT_EQ(bursts.size(), 1u);
  EXPECT_NE(bursts[0].find(";SA:5;"), std::string::npos) << bursts[0];

  auto modem = SimulatorSession::Start({.gsm = true});
  ASSERT_NE(modem, nullptr);
  EXPECT_EQ(modem->CommandFromElsewhere("246802#SA:5#"), "");
}

TEST(SimulatorSession, GsmRouteSendsEchoConfirmationAndParts) {
  auto session = SimulatorSession::Start({.gsm = true, .part_delay = 200ms});
  ASSERT_NE(session, nullptr);
  Slave slave(session->slave_path());
  ASSERT_TRUE(slave.ok());

  const std::string line = "AT+BJSD=13,+491701000042,135791#STATUS#\r\n";
  slave.Write(line);
  const auto bursts = slave.ReadBursts(4);
  ASSERT_EQ(bursts.size(), 4u);
  EXPECT_EQ(bursts[0], line);  // carriage return and line feed pass unchanged
  EXPECT_EQ(bursts[1], "message send");
  testing::ProgramReassembly reassembly;
  EXPECT_EQ(reassembly.Add(bursts[2]), "");
  const std::string reply = reassembly.Add(bursts[3]);
  EXPECT_TRUE(reply.starts_with("#STA:000042,T;L:")) << reply;
  EXPECT_EQ(reply.back(), '#');
}

TEST(SimulatorSession, FaultsChangeWhileRunning) {
  auto session = SimulatorSession::Start({.faults = {.password_error = true}});
  ASSERT_NE(session, nullptr);
  Slave slave(session->slave_path());
  ASSERT_TRUE(slave.ok());

  slave.Write("135791#CHEACK3#");
  EXPECT_EQ(slave.ReadBursts(1), std::vector<std::string>{"Password is error!"});
  session->set_faults({});
  slave.Write("135791#CHEACK3#");
  const auto bursts = slave.ReadBursts(1);
  ASSERT_EQ(bursts.size(), 1u);
  EXPECT_TRUE(bursts[0].starts_with("#STC3:000041;"));
  session->set_faults({.silent = true});
  slave.Write("135791#CHEACK3#");
  EXPECT_TRUE(slave.ReadBursts(1, 400ms).empty());
}

TEST(SimulatorSession, WaitsQuietlyWhileNoProgramHoldsTheLine) {
  auto session = SimulatorSession::Start({});
  ASSERT_NE(session, nullptr);
  // Before any open and after a close the master reports a hang-up; the
  // serving thread must sleep through it, not spin.
  const auto cpu_before = ProcessCpuTime();
  std::this_thread::sleep_for(300ms);
  {
    Slave slave(session->slave_path());
    ASSERT_TRUE(slave.ok());
    slave.Write("135791#CHECKVR%");
    EXPECT_EQ(slave.ReadBursts(1), std::vector<std::string>{"Vexa-T V2.13 Build 260105"});
  }
  std::this_thread::sleep_for(600ms);
  EXPECT_LT(ProcessCpuTime() - cpu_before, 100ms);

  // The line is served again when the program comes back.
  Slave again(session->slave_path());
  ASSERT_TRUE(again.ok());
  again.Write("246802#SA:1#");
  EXPECT_EQ(again.ReadBursts(1), std::vector<std::string>{"Set success!"});
}

TEST(SimulatorSession, DisappearHangsUpTheLine) {
  auto session = SimulatorSession::Start({});
  ASSERT_NE(session, nullptr);
  Slave slave(session->slave_path());
  ASSERT_TRUE(slave.ok());
  session->Disappear();
  pollfd line{slave.fd(), POLLIN, 0};
  ASSERT_EQ(poll(&line, 1, 1000), 1);
  EXPECT_NE(line.revents & (POLLHUP | POLLERR), 0);
  char byte;
  EXPECT_LE(read(slave.fd(), &byte, 1), 0);
  EXPECT_EQ(write(slave.fd(), "x", 1), -1);
}

TEST(SimulatorSession, NeedsALogger) {
  EXPECT_EQ(SimulatorSession::Start({.loggers = {}}), nullptr);
}

}  // namespace
}  // namespace vexa::sim
