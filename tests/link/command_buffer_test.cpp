#include "link/command_buffer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vexa {
namespace {

using ::testing::ElementsAre;
using ::testing::Pair;

TEST(CommandBufferTest, KeepsOneTextPerCodeInAscendingOrder) {
  CommandBuffer buffer;
  buffer.RecordCommand(14021, "246802#O2:1#");
  buffer.RecordCommand(11002, "246802#ST:000041#");
  buffer.RecordCommand(0, "");
  buffer.RecordCommand(11002, "246802#ST:000042#");
  EXPECT_EQ(buffer.Count(), 3u);
  EXPECT_THAT(buffer.Entries(), ElementsAre(Pair(0, ""), Pair(11002, "246802#ST:000042#"),
                                            Pair(14021, "246802#O2:1#")));
}

TEST(CommandBufferTest, RemoveAndClear) {
  CommandBuffer buffer;
  buffer.RecordCommand(11005, "246802#SA:3#");
  buffer.RecordCommand(11007, "246802#CP:+4917!,2#");
  buffer.Remove(11005);
  buffer.Remove(99999);  // absent: nothing happens
  EXPECT_THAT(buffer.Entries(), ElementsAre(Pair(11007, "246802#CP:+4917!,2#")));
  buffer.Clear();
  EXPECT_EQ(buffer.Count(), 0u);
}

}  // namespace
}  // namespace vexa
