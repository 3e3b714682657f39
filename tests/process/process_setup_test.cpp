#include "process/process_setup.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "link/pty_pair.h"
#include "link/serial_port.h"
#include "phonebook/phone_book_store.h"
#include "support/file_bytes.h"
#include "support/phone_book_text.h"
#include "support/temp_dir.h"

namespace vexa {
namespace {

// Each test runs its process set-up in a child of its own, so that the test
// program keeps its signals.

// Adds entries to the phone book at `path` under a file-size limit until a save
// fails, then prints the message and whether the file kept its bytes.
[[noreturn]] void AddUntilTheLimit(const std::string& path) {
  const rlimit limit{4096, 4096};  // about twenty entries
  setrlimit(RLIMIT_FSIZE, &limit);
  SetUpProcess();
  RecordingNotifier notifier;
  PhoneBookStore store(path, notifier);
  std::string before;
  for (int id = 100; notifier.messages.empty() && id < 200; ++id) {
    before = ReadBytes(path);
    store.AddEntry(
        {"000" + std::to_string(id), "+4917010001" + std::to_string(id), "135791", "246802"});
  }
  std::fprintf(stderr, "%s; the file is %s\n", notifier.Last().c_str(),
               ReadBytes(path) == before ? "unchanged" : "changed");
  _exit(0);
}

TEST(ProcessSetup, AFileSizeLimitFailsTheSaveAndKeepsTheOldFile) {
  TempDir folder;
  const std::string path = folder.File("addressbook.xml");
  WriteBytes(path, PhoneBook(Record({"000041", "+491701000041", "135791", "246802"})));
  EXPECT_EXIT(AddUntilTheLimit(path), ::testing::ExitedWithCode(0),
              "^Cannot save the phone book file!; the file is unchanged\n$");
}

// A child that holds a port with its lock file until a stop signal comes.
class StopSignalTest : public ::testing::TestWithParam<int> {
 protected:
  // The child's PID once it holds the port.
  pid_t StartHolder(bool watches) {
    int ready[2];
    EXPECT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    if (child == 0) {
      SetUpProcess();
      SerialPort port([](std::string) {}, {}, lock_dir_.path());
      if (port.InitPort(pty_.slave_path(), 9600) != 1 || port.OpenPort() != 1) _exit(3);
      [[maybe_unused]] const ssize_t told = write(ready[1], "r", 1);
      while (!watches) pause();  // a program that never looks
      pollfd stop{StopSignalDescriptor(), POLLIN, 0};
      poll(&stop, 1, 10000);
      const int signal = TakeStopSignal();
      port.ClosePort();
      if (signal != 0) EndByStopSignal(signal);
      _exit(4);
    }
    char byte = 0;
    EXPECT_EQ(read(ready[0], &byte, 1), 1);
    close(ready[0]);
    close(ready[1]);
    return child;
  }

  // How the child ended: the signal that ended it, or -1.
  static int EndingSignal(pid_t child) {
    int status = 0;
    waitpid(child, &status, 0);
    return WIFSIGNALED(status) ? WTERMSIG(status) : -1;
  }

  std::filesystem::path LockFile() const {
    return lock_dir_.path() /
           ("LCK.." + std::filesystem::path(pty_.slave_path()).filename().string());
  }

  PtyPair pty_;
  TempDir lock_dir_;
};

TEST_P(StopSignalTest, ClosesThePortAndRemovesTheLockThenEndsByTheSignal) {
  const pid_t child = StartHolder(true);
  EXPECT_TRUE(std::filesystem::exists(LockFile()));
  kill(child, GetParam());
  EXPECT_EQ(EndingSignal(child), GetParam());
  EXPECT_FALSE(std::filesystem::exists(LockFile()));
}

TEST_P(StopSignalTest, ASecondSignalEndsAProgramThatDoesNotStop) {
  const pid_t child = StartHolder(false);
  kill(child, GetParam());
  usleep(100'000);
  EXPECT_EQ(waitpid(child, nullptr, WNOHANG), 0);  // asked, still running
  kill(child, GetParam());
  EXPECT_EQ(EndingSignal(child), GetParam());
  EXPECT_TRUE(std::filesystem::exists(LockFile()));  // stale now: the next open replaces it
}

INSTANTIATE_TEST_SUITE_P(StopSignals, StopSignalTest, ::testing::Values(SIGTERM, SIGINT, SIGHUP),
                         [](const auto& info) { return std::string(sigabbrev_np(info.param)); });

}  // namespace
}  // namespace vexa
