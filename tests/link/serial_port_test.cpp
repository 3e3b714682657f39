#include "link/serial_port.h"

#include <fcntl.h>
#include <gmock/gmock.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "link/device_holders.h"
#include "link/pty_pair.h"
#include "support/file_bytes.h"
#include "support/temp_dir.h"

namespace vexa {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::chrono::milliseconds CpuTime() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec));
}

// Descriptors of this process on `path` that a started program would not inherit.
int CloseOnExecDescriptorsOn(const std::string& path) {
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
    std::error_code error;
    if (std::filesystem::read_symlink(entry.path(), error) != path) continue;
    count += (fcntl(std::stoi(entry.path().filename().string()), F_GETFD) & FD_CLOEXEC) != 0;
  }
  return count;
}

template <typename Condition>
bool WaitUntil(Condition condition, std::chrono::milliseconds timeout = 2s) {
  const auto deadline = Clock::now() + timeout;
  while (!condition()) {
    if (Clock::now() > deadline) return false;
    std::this_thread::sleep_for(1ms);
  }
  return true;
}

class SerialPortTest : public ::testing::Test {
 protected:
  void Open(unsigned baud_rate = 9600) {
    ASSERT_EQ(port_.InitPort(pty_.slave_path(), baud_rate), 1);
    ASSERT_EQ(port_.OpenPort(), 1);
    ASSERT_TRUE(port_.IsPortOpen());
  }

  // The texts received so far, once there are `count` of them or `timeout` has passed.
  std::vector<std::string> WaitForBursts(std::size_t count,
                                         std::chrono::milliseconds timeout = 3s) {
    std::unique_lock lock(mutex_);
    arrived_.wait_for(lock, timeout, [&] { return bursts_.size() >= count; });
    return bursts_;
  }

  termios LineSettings() const {
    termios tio{};
    tcgetattr(pty_.master(), &tio);  // on a master, this reads the slave's settings
    return tio;
  }

  // The device went away: the thread ends once, without spinning, and writes fail.
  void ExpectLostOnce(std::chrono::milliseconds cpu_before) {
    ASSERT_TRUE(WaitUntil([&] { return lost_calls_ > 0; }));
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(lost_calls_, 1);
    EXPECT_FALSE(port_.IsPortOpen());
    EXPECT_FALSE(port_.WritePort("#STATUS#"));
    EXPECT_LT(CpuTime() - cpu_before, 200ms);
    const auto start = Clock::now();
    EXPECT_EQ(port_.ClosePort(), 1);
    EXPECT_LT(Clock::now() - start, 200ms);
  }

  // The lock file of the pseudo-terminal's slave side.
  std::filesystem::path LockFile() const {
    return lock_dir_.path() /
           ("LCK.." + std::filesystem::path(pty_.slave_path()).filename().string());
  }

  PtyPair pty_;
  TempDir lock_dir_;
  std::mutex mutex_;
  std::condition_variable arrived_;
  std::vector<std::string> bursts_;
  std::vector<Clock::time_point> arrivals_;  // when each burst was handed over
  std::atomic<int> lost_calls_{0};
  SerialPort port_{[this](std::string burst) {
                     std::lock_guard lock(mutex_);
                     bursts_.push_back(std::move(burst));
                     arrivals_.push_back(Clock::now());
                     arrived_.notify_all();
                   },
                   [this] { ++lost_calls_; }, lock_dir_.path()};
};

// A lock file's text as terminal programs write it.
std::string LockText(pid_t pid) {
  char text[16];
  std::snprintf(text, sizeof text, "%10d\n", static_cast<int>(pid));
  return text;
}

// The PID of a process that has ended.
pid_t GonePid() {
  const pid_t child = fork();
  if (child == 0) _exit(0);
  waitpid(child, nullptr, 0);
  return child;
}

TEST(SerialPortRateTest, KeepsTheSlowRatesAndUses9600Otherwise) {
  SerialPort port([](std::string) {});
  EXPECT_EQ(port.baud_rate(), 0u);
  for (const auto& [asked, used] : {std::pair{300u, 9600u},
                                    {1200u, 1200u},
                                    {2400u, 2400u},
                                    {4800u, 4800u},
                                    {9600u, 9600u},
                                    {115200u, 9600u}}) {
    ASSERT_EQ(port.InitPort("/dev/ttyS0", asked), 1);
    EXPECT_EQ(port.baud_rate(), used) << asked;
  }
}

TEST_F(SerialPortTest, OpensRaw8N1AtTheRateAndReleasesTheDevice) {
  pty_.Send("old\n");  // waiting before the port is opened
  ASSERT_TRUE(WaitUntil([&] { return pty_.SlaveQueued() > 0; }));
  Open(300);

  const termios tio = LineSettings();
  EXPECT_EQ(cfgetospeed(&tio), B9600);
  EXPECT_EQ(cfgetispeed(&tio), B9600);
  EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
  EXPECT_EQ(tio.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
  EXPECT_EQ(tio.c_cflag & (CLOCAL | CREAD), static_cast<tcflag_t>(CLOCAL | CREAD));
  EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ECHONL | ISIG | IEXTEN), 0u);
  EXPECT_EQ(tio.c_iflag & (ICRNL | INLCR | IGNCR | ISTRIP | IXON | IXOFF), 0u);
  EXPECT_EQ(tio.c_oflag & OPOST, 0u);
  EXPECT_EQ(pty_.SlaveQueued(), 0);  // opening discarded what was waiting
  EXPECT_EQ(CloseOnExecDescriptorsOn(pty_.slave_path()), 1);

  ASSERT_EQ(port_.ClosePort(), 1);
  EXPECT_EQ(CloseOnExecDescriptorsOn(pty_.slave_path()), 0);

  Open(4800);
  const termios slow = LineSettings();
  EXPECT_EQ(cfgetospeed(&slow), B4800);
  EXPECT_THAT(WaitForBursts(1, 300ms), IsEmpty());
}

TEST_F(SerialPortTest, WithoutAUsableDeviceNothingOpens) {
  EXPECT_FALSE(port_.IsPortOpen());
  EXPECT_FALSE(port_.WritePort("#STATUS#"));
  EXPECT_EQ(port_.OpenPort(), 0);
  EXPECT_EQ(port_.ClosePort(), 0);

  for (const char* path : {"/dev/no-such-port", "/dev/null"}) {  // absent; not a terminal
    ASSERT_EQ(port_.InitPort(path, 9600), 1);
    EXPECT_EQ(port_.OpenPort(), 0) << path;
    EXPECT_FALSE(port_.IsPortOpen());
    EXPECT_FALSE(port_.WritePort("#STATUS#"));
    EXPECT_EQ(port_.ClosePort(), 1);
    EXPECT_EQ(port_.ClosePort(), 0);
  }
}

TEST_F(SerialPortTest, ASecondOpenOfTheSameDeviceFailsUntilTheFirstCloses) {
  Open();
  SerialPort second([](std::string) {});
  ASSERT_EQ(second.InitPort(pty_.slave_path(), 9600), 1);
  EXPECT_EQ(second.OpenPort(), 0);
  EXPECT_FALSE(second.IsPortOpen());

  EXPECT_TRUE(port_.WritePort("#1#"));
  EXPECT_EQ(pty_.Receive(3, 1s), "#1#");

  ASSERT_EQ(port_.ClosePort(), 1);
  EXPECT_EQ(second.OpenPort(), 1);
  EXPECT_TRUE(second.WritePort("#2#"));
  EXPECT_EQ(pty_.Receive(3, 1s), "#2#");
}

TEST_F(SerialPortTest, ADeviceHeldExclusiveElsewhereIsRefusedAndKeepsItsMode) {
  int exclusive = 1;
  ASSERT_EQ(ioctl(pty_.slave(), TIOCEXCL), 0);  // as another program would, even for root
  ASSERT_EQ(port_.InitPort(pty_.slave_path(), 9600), 1);
  EXPECT_EQ(port_.OpenPort(), 0);
  EXPECT_FALSE(port_.IsPortOpen());
  ASSERT_EQ(port_.ClosePort(), 1);
  ASSERT_EQ(ioctl(pty_.slave(), TIOCGEXCL, &exclusive), 0);
  EXPECT_EQ(exclusive, 1);
  EXPECT_FALSE(std::filesystem::exists(LockFile()));

  ASSERT_EQ(ioctl(pty_.slave(), TIOCNXCL), 0);
  Open();
  ASSERT_EQ(ioctl(pty_.slave(), TIOCGEXCL, &exclusive), 0);
  EXPECT_EQ(exclusive, 1);  // set while this port holds the device
  ASSERT_EQ(port_.ClosePort(), 1);
  ASSERT_EQ(ioctl(pty_.slave(), TIOCGEXCL, &exclusive), 0);
  EXPECT_EQ(exclusive, 0);
}

TEST_F(SerialPortTest, ALockNamingALiveProcessRefusesTheDeviceAnyOtherIsReplaced) {
  const std::string init = DescribeProcess(1);
  struct Case {
    std::string lock;  // what the lock file holds before the open
    bool opens;
  };
  for (const Case& c : {Case{LockText(1), false},                       // a process that runs
                        Case{"         1 minicom root\n", false},       // with its program and user
                        Case{LockText(GonePid()), true},                // one that ended
                        Case{"", true},                                 // no PID at all
                        Case{"garbage\n", true}, Case{"12ab\n", true},  // nor here
                        Case{std::string("\x01\0\0\0", 4), true},       // a binary PID: names none
                        Case{"99999999999999999999\n", true}}) {        // too large to be one
    WriteBytes(LockFile(), c.lock);
    ASSERT_EQ(port_.InitPort(pty_.slave_path(), 9600), 1);
    EXPECT_EQ(port_.OpenPort(), c.opens ? 1 : 0) << c.lock;
    if (c.opens) {
      EXPECT_EQ(ReadBytes(LockFile()), LockText(getpid()));
      EXPECT_EQ(port_.refusal(), "");
    } else {
      EXPECT_EQ(port_.refusal(), pty_.slave_path() + ": " + init + " holds it (lock file " +
                                     LockFile().string() + ")");
    }
    ASSERT_EQ(port_.ClosePort(), 1);
    // Ours is removed on close; another's is left alone.
    EXPECT_EQ(std::filesystem::exists(LockFile()), !c.opens) << c.lock;
    std::filesystem::remove(LockFile());
  }
}

TEST_F(SerialPortTest, ARefusalSaysWhoHoldsTheDevice) {
  const std::string us = pty_.slave_path() + ": " + DescribeProcess(getpid());
  ASSERT_EQ(flock(pty_.slave(), LOCK_EX | LOCK_NB), 0);  // as a terminal program would
  ASSERT_EQ(port_.InitPort(pty_.slave_path(), 9600), 1);
  EXPECT_EQ(port_.OpenPort(), 0);
  EXPECT_EQ(port_.refusal(), us + " has locked it");
  ASSERT_EQ(flock(pty_.slave(), LOCK_UN), 0);

  ASSERT_EQ(ioctl(pty_.slave(), TIOCEXCL), 0);
  EXPECT_EQ(port_.OpenPort(), 0);
  EXPECT_EQ(port_.refusal(), us + " holds it exclusive");
  ASSERT_EQ(ioctl(pty_.slave(), TIOCNXCL), 0);

  Open();
  EXPECT_EQ(port_.refusal(), "");
  EXPECT_EQ(port_.OpenPort(), 0);
  EXPECT_EQ(port_.refusal(), pty_.slave_path() + ": already open");
  ASSERT_EQ(port_.ClosePort(), 1);

  for (const auto& [path, reason] :
       {std::pair{"/dev/no-such-port", "no such device"}, {"/dev/null", "not a serial port"}}) {
    ASSERT_EQ(port_.InitPort(path, 9600), 1);
    EXPECT_EQ(port_.OpenPort(), 0);
    EXPECT_EQ(port_.refusal(), std::string(path) + ": " + reason);
  }
}

// As a user who is not root: in a child process that became "nobody".
class OtherUserTest : public SerialPortTest {
 protected:
  void SetUp() override {
    if (geteuid() != 0) GTEST_SKIP() << "only root can act as another user";
  }
  static void BecomeNobody() {
    if (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0) _exit(2);
  }
  // Opens the device as "nobody" and prints why it was refused.
  void OpenAsNobody() {
    BecomeNobody();
    SerialPort port([](std::string) {}, {}, lock_dir_.path());
    port.InitPort(pty_.slave_path(), 9600);
    const int opened = port.OpenPort();
    std::fprintf(stderr, "%s\n", port.refusal().c_str());
    _exit(opened);
  }
};

TEST_F(OtherUserTest, APortTheUserMayNotOpenNamesTheGroupToJoin) {
  ASSERT_EQ(chown(pty_.slave_path().c_str(), 0, 20), 0);  // root:dialout, as a serial port
  ASSERT_EQ(chmod(pty_.slave_path().c_str(), 0660), 0);
  ASSERT_EQ(chmod(lock_dir_.path().c_str(), 01777), 0);
  EXPECT_EXIT(OpenAsNobody(), ::testing::ExitedWithCode(0),
              "permission denied; the user must be in the dialout group");
}

TEST_F(OtherUserTest, AStaleLockThatCannotBeRemovedNamesTheFile) {
  ASSERT_EQ(chmod(pty_.slave_path().c_str(), 0666), 0);
  ASSERT_EQ(chmod(lock_dir_.path().c_str(), 01777), 0);  // as /var/lock: only owners remove
  WriteBytes(LockFile(), LockText(GonePid()));           // root's
  EXPECT_EXIT(OpenAsNobody(), ::testing::ExitedWithCode(0),
              "the stale lock file .*LCK\\.\\..* cannot be removed \\(Operation not permitted\\)");
  EXPECT_TRUE(std::filesystem::exists(LockFile()));

  // Where the user may remove it, it is replaced.
  ASSERT_EQ(chown(LockFile().c_str(), 65534, 65534), 0);
  EXPECT_EXIT(OpenAsNobody(), ::testing::ExitedWithCode(1), "^\n$");
}

TEST_F(SerialPortTest, TheLockFileIsHeldWhileConnectedAndLeftWhenTheDeviceGoes) {
  Open();
  EXPECT_EQ(ReadBytes(LockFile()), LockText(getpid()));
  SerialPort second([](std::string) {}, {}, lock_dir_.path());
  ASSERT_EQ(second.InitPort(pty_.slave_path(), 9600), 1);
  EXPECT_EQ(second.OpenPort(), 0);
  ASSERT_EQ(second.ClosePort(), 1);
  EXPECT_TRUE(std::filesystem::exists(LockFile()));  // the refused port left ours alone

  pty_.CloseMaster();
  ASSERT_TRUE(WaitUntil([&] { return lost_calls_ > 0; }));
  ASSERT_EQ(port_.ClosePort(), 1);
  EXPECT_FALSE(std::filesystem::exists(LockFile()));
}

TEST_F(SerialPortTest, WriteSendsBytesUnchangedAndDiscardsUnreadInput) {
  Open();
  pty_.Send("stale");
  std::this_thread::sleep_for(50ms);  // read by the receive thread, its burst not yet over
  ASSERT_TRUE(port_.WritePort("AT+BJTE\r\n\xff"));
  EXPECT_EQ(pty_.SlaveQueued(), 0);
  EXPECT_EQ(pty_.Receive(10, 1s), "AT+BJTE\r\n\xff");

  pty_.Send("BJ-GSM TEST OK CSQ:21");
  EXPECT_THAT(WaitForBursts(1), ElementsAre("BJ-GSM TEST OK CSQ:21"));
}

TEST_F(SerialPortTest, AWriteThatCannotLeaveFailsAfterItsTimeOut) {
  Open();
  const std::string flood(1 << 20, 'x');  // far more than the line's queues hold; no one reads
  const auto start = Clock::now();
  EXPECT_FALSE(port_.WritePort(flood));
  EXPECT_LT(Clock::now() - start, 3s);
  EXPECT_TRUE(port_.IsPortOpen());
  EXPECT_TRUE(port_.WritePort("#1#"));
}

TEST_F(SerialPortTest, ShortGapsJoinOneTextAndALongPauseSplitsIt) {
  Open();
  pty_.Send("#STA:000041,");
  std::this_thread::sleep_for(100ms);
  pty_.Send("T;A00:45.20;\r\n");
  std::this_thread::sleep_for(100ms);
  pty_.Send("#");
  std::this_thread::sleep_for(800ms);
  pty_.Send("\xb0OK\r");
  EXPECT_THAT(WaitForBursts(2), ElementsAre("#STA:000041,T;A00:45.20;\r\n#", "\xb0OK\r"));
}

TEST_F(SerialPortTest, ManyWaitingBytesArriveAsOneText) {
  Open();
  std::string block;
  for (int i = 0; i < 3000; ++i) block += static_cast<char>('A' + i % 26);
  pty_.Send(block);
  const auto bursts = WaitForBursts(1);
  ASSERT_EQ(bursts.size(), 1u);
  EXPECT_EQ(bursts[0], block);
}

TEST_F(SerialPortTest, ZeroBytesAreDroppedWithoutCuttingTheBurst) {
  Open();
  pty_.Send(
      std::string("\0#STA:0000\0"
                  "41,T;#",
                  18));
  EXPECT_THAT(WaitForBursts(1), ElementsAre("#STA:000041,T;#"));

  pty_.Send(std::string("\0\0", 2));  // leaves nothing, so no text is delivered
  std::this_thread::sleep_for(500ms);
  pty_.Send("next");
  EXPECT_THAT(WaitForBursts(2), ElementsAre("#STA:000041,T;#", "next"));
}

// Pieces written `gap` apart: one text below the 200 ms interval, two above it.
TEST_F(SerialPortTest, ABurstEndsTwoHundredMillisecondsAfterItsLastByte) {
  Open();
  std::vector<std::string> expected;
  std::vector<Clock::duration> delays;
  for (const auto& [gap, joined] :
       {std::pair{150ms, true}, {250ms, false}, {150ms, true}, {250ms, false}, {150ms, true}}) {
    const auto first = Clock::now();
    pty_.Send("#STA:");
    std::this_thread::sleep_until(first + gap);
    // Taken before the write: the port may read the bytes before Send returns.
    const auto last_byte = Clock::now();
    pty_.Send("000041;#");
    if (joined) {
      expected.push_back("#STA:000041;#");
    } else {
      expected.insert(expected.end(), {"#STA:", "000041;#"});
    }
    ASSERT_THAT(WaitForBursts(expected.size()), ::testing::ContainerEq(expected)) << gap.count();
    std::lock_guard lock(mutex_);
    delays.push_back(arrivals_.back() - last_byte);
  }
  for (const auto delay : delays) EXPECT_GE(delay, 200ms);
  // The median, so that one late wake-up of a busy machine does not decide.
  std::sort(delays.begin(), delays.end());
  EXPECT_LE(delays[delays.size() / 2], 260ms);
}

TEST_F(SerialPortTest, AWholeReplyEndsAfterAShortGuardForItsOwnWriteOnly) {
  Open();
  const auto ends_with_mark = [](std::string_view text) { return text.ends_with('!'); };
  std::vector<Clock::duration> told, untold;
  for (int round = 0; round < 5; ++round) {
    for (const bool tell : {true, false}) {
      if (tell) port_.ExpectReply(ends_with_mark);
      ASSERT_TRUE(port_.WritePort("#1#"));
      ASSERT_EQ(pty_.Receive(3, 1s), "#1#");
      const std::size_t before = WaitForBursts(0).size();
      const auto last_byte = Clock::now();  // before the write, which the port may outrun
      pty_.Send("Set success!");
      ASSERT_EQ(WaitForBursts(before + 1).size(), before + 1);
      std::lock_guard lock(mutex_);
      EXPECT_EQ(bursts_.back(), "Set success!");
      (tell ? told : untold).push_back(arrivals_.back() - last_byte);
    }
  }
  std::sort(told.begin(), told.end());
  std::sort(untold.begin(), untold.end());
  EXPECT_GE(told.front(), 20ms);
  EXPECT_LT(told[told.size() / 2], 120ms);  // the median: one late wake-up does not decide
  EXPECT_GE(untold.front(), 200ms);         // the next write came without a rule
}

TEST_F(SerialPortTest, AFloodIsHandedOverOnceUpToItsBoundAndDroppedUntilThePause) {
  Open();
  std::string flood;
  for (std::size_t i = 0; flood.size() < 3 * kMaxBurstSize; ++i) {
    flood += "#STD:" + std::to_string(i) + ";";
  }
  pty_.Send(flood);
  std::this_thread::sleep_for(400ms);
  pty_.Send("Set success!");  // after a pause: heard again
  const auto bursts = WaitForBursts(2, 10s);
  ASSERT_EQ(bursts.size(), 2u);
  EXPECT_GE(bursts[0].size(), kMaxBurstSize);
  EXPECT_LT(bursts[0].size(), kMaxBurstSize + 1024);  // one read past the bound at most
  EXPECT_TRUE(flood.starts_with(bursts[0]));
  EXPECT_EQ(bursts[1], "Set success!");
}

TEST_F(SerialPortTest, DisconnectWhileTheLoggerSendsEndsPromptly) {
  Open();
  std::atomic<bool> sending{true};
  std::thread logger([&] {
    for (int i = 0; sending && i < 100; ++i) {
      pty_.Send("x");
      std::this_thread::sleep_for(50ms);
    }
  });
  std::this_thread::sleep_for(400ms);  // well inside one burst

  const auto start = Clock::now();
  EXPECT_EQ(port_.ClosePort(), 1);
  const auto took = Clock::now() - start;
  sending = false;
  logger.join();

  EXPECT_LT(took, 500ms);
  EXPECT_FALSE(port_.IsPortOpen());
  EXPECT_FALSE(port_.WritePort("#STATUS#"));
  EXPECT_EQ(lost_calls_, 0);
}

TEST_F(SerialPortTest, AQuietLineStaysOpenAndAHangUpEndsIt) {
  Open();
  const auto cpu_before = CpuTime();
  std::this_thread::sleep_for(300ms);
  EXPECT_TRUE(port_.IsPortOpen());
  EXPECT_EQ(lost_calls_, 0);

  pty_.CloseMaster();
  ExpectLostOnce(cpu_before);
  EXPECT_THAT(WaitForBursts(1, 0ms), IsEmpty());
}

TEST_F(SerialPortTest, AHangUpInsideABurstEndsIt) {
  Open();
  const auto cpu_before = CpuTime();
  pty_.Send("#STA:0000");
  std::this_thread::sleep_for(50ms);  // the thread now waits for the rest of the burst
  pty_.CloseMaster();
  ExpectLostOnce(cpu_before);
}

}  // namespace
}  // namespace vexa
