// The pages put into the command buffer exactly what the settings core says a
// reply records, so the command line reads a logger as the window does.
#include "page_fixture.h"
#include "pages/analog/analog_channel_page.h"
#include "pages/device_setup/device_setup_page.h"
#include "pages/inputs/input_channel_page.h"
#include "pages/relays/relay_output_page.h"
#include "settings/group_commands.h"
#include "support/group2_reply.h"
#include "support/logger_replies.h"

namespace vexa::testing {
namespace {

class RecordedSettingsTest : public PageTest {
 protected:
  RecordedSettingsTest() {
    SelectDevice("000046");  // records carry the selected device's setup password
    exchange.device_context().digital_input_count = 15;
    exchange.device_context().relay_count = 2;
    analog_.FirstStatusReply();
    inputs_.FirstStatusReply();
    relays_.FirstStatusReply();
  }

  CTarvoKSet1Dlg device_setup_{context};
  CTarvoKSet2Dlg1 analog_{context, nullptr};
  CTarvoKSet3Dlg inputs_{context, nullptr};
  CTarvoKSet4Dlg relays_{context, nullptr};
};

TEST_F(RecordedSettingsTest, ReadingTheThreeGroupsRecordsWhatTheCoreRecords) {
  command_buffer.RecordCommand(11015, "246802#XX:1#");  // ruled out by IA:1
  device_setup_.ReadGroup1Reply(kGroup1Reply);
  relays_.ReadGroup1Reply(kGroup1Reply);
  analog_.ReadGroup2Reply(kGroup2Reply);
  inputs_.ReadGroup2Reply(kGroup2Reply);
  relays_.ReadGroup3Reply(kGroup3Reply);

  CommandBuffer core;
  core.RecordCommand(11015, "246802#XX:1#");
  for (int group : {1, 2, 3}) {
    const char* reply = group == 1 ? kGroup1Reply : group == 2 ? kGroup2Reply : kGroup3Reply;
    core.Record(GroupCommands(group, reply, "111111", 2));
  }
  EXPECT_EQ(command_buffer.Entries(), core.Entries());
  EXPECT_EQ(command_buffer.Count(), 7u + 16u + 2u);
}

}  // namespace
}  // namespace vexa::testing
