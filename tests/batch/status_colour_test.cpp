#include "batch/status_colour.h"

#include <gtest/gtest.h>

#include <string>

namespace vexa {
namespace {

TEST(StatusColour, ResultsAndVerificationsEachInTheirColour) {
  const Rgb green{0, 128, 0}, red{255, 0, 0}, blue{0, 0, 255}, black{};
  const std::pair<std::string, Rgb> cases[] = {
      {"Command Success", green},
      {"Verified", green},
      {"Command Success (not readable)", green},
      {"Command Fail ", red},
      {"Communication Error", red},
      {"Differs: 30 Minute", red},
      {"Differs: not reported", red},
      {"Command Time Out", blue},
      {"Ready", black},
      {"Not Sent", black},
      {"", black},
  };
  for (const auto& [status, colour] : cases) EXPECT_EQ(StatusColour(status), colour) << status;
}

}  // namespace
}  // namespace vexa
