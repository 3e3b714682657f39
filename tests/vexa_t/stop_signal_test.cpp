// vexa-t told to stop while it waits for a logger: the port is closed, its
// lock file gone, and the process ends by that signal.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "link/port_lock.h"
#include "support/file_bytes.h"
#include "support/temp_dir.h"
#include "vexa_t/logger_sim_process.h"

namespace vexa {
namespace {

using namespace std::chrono_literals;

bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(10ms);
  }
  return true;
}

class VexaTStopTest : public ::testing::TestWithParam<int> {};

TEST_P(VexaTStopTest, ClosesThePortAndEndsByTheSignal) {
  TempDir folder;
  const std::string book = folder.File("addressbook.xml");
  WriteBytes(book, ReadBytes(DEMO_PHONE_BOOK));
  LoggerSimProcess sim({"--silent"});
  const std::filesystem::path lock =
      std::filesystem::path(kUucpLockDir) /
      ("LCK.." + std::filesystem::path(sim.path()).filename().string());

  const pid_t child = fork();
  if (child == 0) {
    execl(VEXA_T_PROGRAM, VEXA_T_PROGRAM, "--book", book.c_str(), "--port", sim.path().c_str(),
          "--id", "41", "status", nullptr);
    _exit(127);
  }
  ASSERT_TRUE(WaitFor([&] { return std::filesystem::exists(lock); }, 10s)) << lock;
  kill(child, GetParam());
  int status = 0;
  ASSERT_TRUE(WaitFor([&] { return waitpid(child, &status, WNOHANG) == child; }, 10s));
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == GetParam());
  EXPECT_FALSE(std::filesystem::exists(lock));
}

INSTANTIATE_TEST_SUITE_P(StopSignals, VexaTStopTest, ::testing::Values(SIGTERM, SIGINT),
                         [](const auto& info) { return std::string(sigabbrev_np(info.param)); });

}  // namespace
}  // namespace vexa
