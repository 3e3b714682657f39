// logger-sim through its real binary.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/run_program.h"

namespace vexa::sim {
namespace {

const std::string kProgram = LOGGER_SIM_PROGRAM;

TEST(LoggerSimTest, HelpAndVersionAnswerAndEnd) {
  const ProgramRun help = RunProgram(kProgram, {"--help"}, {});
  EXPECT_EQ(help.exit_status, 0);
  EXPECT_EQ(help.out.rfind("Usage: logger-sim [options]\n", 0), 0u) << help.out;
  EXPECT_EQ(help.err, "");

  const ProgramRun version = RunProgram(kProgram, {"--version"}, {});
  EXPECT_EQ(version.exit_status, 0);
  EXPECT_EQ(version.out, "logger-sim (Vexa-T_Setup) 1.0.1\n");
}

TEST(LoggerSimTest, AWrongArgumentIsRefusedWithTheUsage) {
  for (const auto& arguments : std::vector<std::vector<std::string>>{
           {"--bogus"}, {"--late-ms"}, {"--late-ms", "soon"}, {"--station-id", "41"}}) {
    const ProgramRun run = RunProgram(kProgram, arguments, {});
    EXPECT_EQ(run.exit_status, 2) << arguments.front();
    EXPECT_EQ(run.err.rfind("logger-sim: ", 0), 0u) << run.err;
    EXPECT_NE(run.err.find("Usage: logger-sim"), std::string::npos);
    EXPECT_EQ(run.out, "");
  }
}

}  // namespace
}  // namespace vexa::sim
