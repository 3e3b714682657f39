// Feeds arbitrary replies to the settings core, checking what it promises:
// every recorded command starts with the password and ends with its mark, a
// set of settings agrees with itself, and a reply held to the order of its
// fields reads whole without it too.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "fuzz_check.h"
#include "settings/alarm_message.h"
#include "settings/group_commands.h"
#include "settings/settings_comparison.h"
#include "settings/whole_reply.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const int group = input.ConsumeIntegralInRange(0, 4);
  const int relay_count = input.ConsumeIntegralInRange(0, 12);
  const int channel = input.ConsumeIntegralInRange(0, 20);
  const std::string reply = input.ConsumeRemainingBytesAsString();
  const std::string password = "246802";

  vexa::RecordedCommands recorded = vexa::GroupCommands(group, reply, password, relay_count);
  if (const vexa::AlarmRow* row = vexa::AlarmRowOf(channel)) {
    recorded.Add(vexa::AlarmTextCommands(*row, reply, password));
  }
  for (const auto& [code, command] : recorded.commands) {
    Check(command.starts_with(password + "#") && command.ends_with('#'));
  }
  for (const vexa::SettingComparison& compared :
       vexa::CompareSettings(recorded.commands, recorded.commands)) {
    Check(compared.agreement == vexa::Agreement::kSame ||
          compared.agreement == vexa::Agreement::kCannotBeReadBack);
  }

  if (vexa::GroupReplyReadsWhole(group, reply, true))
    Check(vexa::GroupReplyReadsWhole(group, reply));
  if (vexa::StatusReplyReadsWhole(reply, true)) Check(vexa::StatusReplyReadsWhole(reply));
  return 0;
}
