#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "link/command_buffer.h"
#include "link/command_codes.h"

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

// Records the setup commands that would give another logger these settings,
// with `setup_password` in front, and drops the entry that the IA flag rules out.
void RecordGroup1Commands(const Group1Settings& settings, std::string_view setup_password,
                          CommandBuffer& buffer);

// The signal bar for a GSM signal quality: 0 and 99 (unknown) show nothing,
// 30 and above show a full bar.
int SignalBarValue(std::string_view quality);

}  // namespace vexa
