// The program started as a user starts it, through its real binary.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/run_program.h"

namespace vexa::testing {
namespace {

const std::string kProgram = VEXA_T_SETUP_PROGRAM;

// A session without a display: Qt would pick its usual window system and fail.
const std::vector<std::string> kNoDisplay = {"PATH=/usr/bin:/bin"};

TEST(StartUpTest, HelpAndVersionAnswerWithoutADisplay) {
  const ProgramRun help = RunProgram(kProgram, {"--help"}, kNoDisplay);
  EXPECT_EQ(help.exit_status, 0);
  EXPECT_EQ(help.out.rfind("Usage: vexa-t-setup [--help | --version]\n", 0), 0u) << help.out;
  EXPECT_NE(help.out.find("--version"), std::string::npos);
  EXPECT_EQ(help.err, "");

  // The first of the two counts, wherever it stands among Qt's options.
  const ProgramRun version =
      RunProgram(kProgram, {"-style", "fusion", "--version", "--help"}, kNoDisplay);
  EXPECT_EQ(version.exit_status, 0);
  EXPECT_EQ(version.out, "vexa-t-setup (Vexa-T_Setup) 1.0.1\n");
  EXPECT_EQ(version.err, "");
}

TEST(StartUpTest, NoDisplaySaysSoPlainlyAndFails) {
  struct Case {
    std::vector<std::string> environment;
    std::string first_line;
  };
  const std::vector<Case> cases = {
      {kNoDisplay, "vexa-t-setup: cannot open a display: DISPLAY is not set.\n"},
      {{"PATH=/usr/bin:/bin", "DISPLAY="},
       "vexa-t-setup: cannot open a display: DISPLAY is not set.\n"},
      // A display number no X server serves.
      {{"PATH=/usr/bin:/bin", "DISPLAY=:64999"},
       "vexa-t-setup: cannot open the display \":64999\".\n"},
  };
  for (const Case& c : cases) {
    const ProgramRun run = RunProgram(kProgram, {}, c.environment);
    EXPECT_EQ(run.exit_status, 1) << c.environment.back();
    EXPECT_NE(run.err.find(c.first_line), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("needs a graphical session"), std::string::npos) << run.err;
    // Qt's own advice, which blames the installation.
    EXPECT_EQ(run.err.find("Reinstalling"), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
  }
}

TEST(StartUpTest, AnArgumentNeitherQtNorTheProgramTakesIsRefused) {
  // The test program's own temporary folder keeps Qt's run-time files out of the real one.
  const ProgramRun run = RunProgram(
      kProgram, {"-platform", "offscreen", "addressbook.xml"},
      {"PATH=/usr/bin:/bin", "TMPDIR=" + std::filesystem::temp_directory_path().string()});
  EXPECT_EQ(run.exit_status, 2);
  EXPECT_NE(run.err.find("vexa-t-setup: unknown argument addressbook.xml\n"
                         "Try 'vexa-t-setup --help'.\n"),
            std::string::npos)
      << run.err;
  EXPECT_EQ(run.out, "");
}

}  // namespace
}  // namespace vexa::testing
