// Progress shows on standard error only when it is a terminal.
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "support/file_bytes.h"
#include "support/run_program.h"
#include "support/temp_dir.h"
#include "vexa_t/logger_sim_process.h"

namespace vexa {
namespace {

class VexaTProgressTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteBytes(book_, ReadBytes(DEMO_PHONE_BOOK));
    arguments_ = {"--book", book_, "--port", sim_.path(), "--id", "41", "backup", "-o", file_};
  }

  TempDir folder_;
  const std::string book_ = folder_.File("addressbook.xml");
  const std::string file_ = folder_.File("backup.cfg");
  LoggerSimProcess sim_;
  std::vector<std::string> arguments_;
};

TEST_F(VexaTProgressTest, ATerminalSeesEachCommandAndTheLineIsClearedAfter) {
  int terminal = -1;
  const pid_t child = forkpty(&terminal, nullptr, nullptr, nullptr);
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::vector<char*> argv{const_cast<char*>(VEXA_T_PROGRAM)};
    for (std::string& argument : arguments_) argv.push_back(argument.data());
    argv.push_back(nullptr);
    execv(VEXA_T_PROGRAM, argv.data());
    _exit(127);
  }
  std::string seen;
  for (;;) {
    pollfd ready{terminal, POLLIN, 0};
    char buffer[512];
    if (poll(&ready, 1, 10'000) <= 0) break;
    const ssize_t count = read(terminal, buffer, sizeof buffer);
    if (count <= 0) break;
    seen.append(buffer, static_cast<std::size_t>(count));
  }
  int status = 0;
  waitpid(child, &status, 0);
  close(terminal);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << seen;
  EXPECT_NE(seen.find("\rReading Status, 1 of 4"), std::string::npos) << seen;
  EXPECT_NE(seen.find("\rReading #3, 4 of 4"), std::string::npos) << seen;
  EXPECT_NE(seen.find("\r\x1b[KStation: 000041"), std::string::npos) << seen;
}

TEST_F(VexaTProgressTest, AScriptGetsNoProgress) {
  const ProgramRun run = RunProgram(VEXA_T_PROGRAM, arguments_, {});
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_EQ(run.err, "");
}

}  // namespace
}  // namespace vexa
