// The window program itself, started as the engineer's desktop would, and told
// to stop as a session's end or a Ctrl+C does.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>

#include "support/file_bytes.h"
#include "support/phone_book_text.h"
#include "support/temp_dir.h"

namespace vexa::testing {
namespace {

using namespace std::chrono_literals;

// True once the process catches `signal`, as its /proc status tells.
bool Catches(pid_t pid, int signal) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with("SigCgt:")) {
      return (std::stoull(line.substr(7), nullptr, 16) >> (signal - 1) & 1) != 0;
    }
  }
  return false;
}

// The signal that ended the process, -1 for a plain exit, 0 while it runs on
// after `timeout` (it is then killed).
int EndingSignal(pid_t pid, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  int status = 0;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      return 0;
    }
    std::this_thread::sleep_for(10ms);
  }
  return WIFSIGNALED(status) ? WTERMSIG(status) : -1;
}

class StopSignalTest : public ::testing::TestWithParam<int> {};

// Even with a message box open over the window: a damaged phone book is told at start.
TEST_P(StopSignalTest, EndsTheWindowProgramByThatSignal) {
  TempDir folder;
  WriteBytes(folder.File("addressbook.xml"), PhoneBook("<Records ID=\"0000").substr(0, 60));
  const pid_t child = fork();
  if (child == 0) {
    if (chdir(folder.path().c_str()) == 0) execl(VEXA_T_SETUP_PROGRAM, VEXA_T_SETUP_PROGRAM, nullptr);
    _exit(127);
  }
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  while (!Catches(child, GetParam()) && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(10ms);
  }
  std::this_thread::sleep_for(500ms);  // the window and its message box are up
  kill(child, GetParam());
  EXPECT_EQ(EndingSignal(child, 10s), GetParam());
}

INSTANTIATE_TEST_SUITE_P(StopSignals, StopSignalTest, ::testing::Values(SIGTERM, SIGINT, SIGHUP),
                         [](const auto& info) { return std::string(sigabbrev_np(info.param)); });

}  // namespace
}  // namespace vexa::testing
