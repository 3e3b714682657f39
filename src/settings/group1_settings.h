#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "settings/recorded_commands.h"

namespace vexa {

struct SmsUploadSetting {
  std::string number;
  std::string interval_code;  // one character, possibly empty
};

struct ModuleStatus {
  bool gsm_module_ok = false;
  bool sim_card_ok = false;
};

// What a reply to "#1" tells the Device Setup page. A key the reply lacks, or
// whose value has no ";" after it where the value runs up to one, stays unset.
struct Group1Settings {
  std::optional<std::string> station_id;
  std::optional<std::string> date_time;
  std::optional<std::string> enquiry_password;  // set together with setup_password
  std::optional<std::string> setup_password;
  std::optional<std::string> logging_interval_code;
  std::optional<SmsUploadSetting> sms_upload;
  std::optional<std::string> alarm_phone1;
  std::optional<std::string> alarm_phone2;
  std::optional<ModuleStatus> module_status;
  std::optional<std::string> ia_flag;
  std::optional<int> signal_bar;  // 0..100
};

// Reads the first occurrence of each key at its fixed offsets.
Group1Settings ReadGroup1Settings(std::string_view reply);

// The Device Setup page's setup commands, each with `password` in front. The
// page sends them from its fields and records them from a reply alike.
std::string StationIdCommand(std::string_view password, std::string_view station_id);
std::string DateTimeCommand(std::string_view password, std::string_view date_time);
std::string LoggingIntervalCommand(std::string_view password, std::string_view code);
std::string SmsUploadCommand(std::string_view password, std::string_view number,
                             std::string_view interval_code);
// `slot` is 1 or 2; an empty number switches that alarm phone off.
std::string AlarmPhoneCommand(std::string_view password, int slot, std::string_view number);
// The code an alarm phone's command is sent and recorded under.
int AlarmPhoneCode(int slot);

// The commands that would give another logger these settings, with
// `setup_password` in front, and the entry that the IA flag rules out. Empty
// numbers are not recorded.
RecordedCommands DeviceSetupCommands(const Group1Settings& settings,
                                     std::string_view setup_password);

// The signal bar for a GSM signal quality: 0 and 99 (unknown) show nothing,
// 30 and above show a full bar.
int SignalBarValue(std::string_view quality);

}  // namespace vexa
