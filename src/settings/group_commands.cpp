#include "settings/group_commands.h"

#include "settings/group1_settings.h"
#include "settings/group2_records.h"
#include "settings/operation_modes.h"
#include "settings/relay_settings.h"

namespace vexa {

RecordedCommands GroupCommands(int group, std::string_view reply, std::string_view setup_password,
                               int relay_count) {
  RecordedCommands recorded;
  if (reply.empty()) return recorded;
  if (group == 1) {
    recorded.Add(DeviceSetupCommands(ReadGroup1Settings(reply), setup_password));
    recorded.Add(TimeLapseCommands(reply, setup_password, relay_count));
  } else if (group == 2) {
    recorded.Add(AnalogChannelCommands(ReadGroup2Records(reply), setup_password));
    recorded.Add(DigitalChannelCommands(reply, setup_password));
  } else if (group == 3) {
    recorded.Add(AssociationCommands(reply, setup_password, relay_count));
  }
  return recorded;
}

}  // namespace vexa
