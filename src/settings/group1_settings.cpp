#include "settings/group1_settings.h"

#include <charconv>
#include <system_error>

#include "protocol/command_envelope.h"
#include "settings/setting_codes.h"

namespace vexa {
namespace {

constexpr std::size_t kNotFound = std::string_view::npos;

// Up to `count` characters from `start`; fewer, or none, when the reply ends first.
std::string Mid(std::string_view reply, std::size_t start, std::size_t count = kNotFound) {
  return start < reply.size() ? std::string(reply.substr(start, count)) : std::string();
}

// The value from `start` up to the first ";" after the key at `position`;
// nothing when there is no such ";".
std::optional<std::string> ValueUpToSemicolon(std::string_view reply, std::size_t position,
                                              std::size_t start) {
  const std::size_t end = reply.find(';', position + 1);
  if (end == kNotFound) return std::nullopt;
  return start < end ? std::string(reply.substr(start, end - start)) : std::string();
}

// The control centre number runs up to the first "," after the key; a "," that
// lies beyond the field's ";" belongs to another field, so the key is ignored then.
std::optional<SmsUploadSetting> ReadSmsUpload(std::string_view reply, std::size_t position) {
  const std::size_t comma = reply.find(',', position + 1);
  if (comma == kNotFound || comma > reply.find(';', position + 1)) return std::nullopt;
  const std::size_t start = position + 3;
  return SmsUploadSetting{start < comma ? std::string(reply.substr(start, comma - start)) : "",
                          Mid(reply, comma + 1, 1)};
}

}  // namespace

Group1Settings ReadGroup1Settings(std::string_view reply) {
  Group1Settings settings;
  if (const std::size_t at = reply.find("#STC1:"); at != kNotFound) {
    settings.station_id = Mid(reply, at + 6, 6);
  }
  if (const std::size_t at = reply.find("TM:"); at != kNotFound) {
    settings.date_time = Mid(reply, at + 3, 10);
  }
  if (const std::size_t at = reply.find("PS:"); at != kNotFound) {
    settings.enquiry_password = Mid(reply, at + 3, 6);
    settings.setup_password = Mid(reply, at + 10, 6);
  }
  if (const std::size_t at = reply.find("SA:"); at != kNotFound) {
    settings.logging_interval_code = Mid(reply, at + 3, 1);
  }
  if (const std::size_t at = reply.find("CP:"); at != kNotFound) {
    settings.sms_upload = ReadSmsUpload(reply, at);
  }
  if (const std::size_t at = reply.find("AP1:"); at != kNotFound) {
    settings.alarm_phone1 = ValueUpToSemicolon(reply, at, at + 4);
  }
  if (const std::size_t at = reply.find("AP2:"); at != kNotFound) {
    settings.alarm_phone2 = ValueUpToSemicolon(reply, at, at + 4);
  }
  if (const std::size_t at = reply.find("ER:"); at != kNotFound) {
    settings.module_status =
        ModuleStatus{Mid(reply, at + 3, 1) == "0", Mid(reply, at + 4, 1) == "0"};
  }
  if (const std::size_t at = reply.find("IA:"); at != kNotFound) {
    settings.ia_flag = Mid(reply, at + 3, 1);
  }
  if (const std::size_t at = reply.find("XH:"); at != kNotFound) {
    if (const auto quality = ValueUpToSemicolon(reply, at, at + 3)) {
      settings.signal_bar = SignalBarValue(*quality);
    }
  }
  return settings;
}

std::string StationIdCommand(std::string_view password, std::string_view station_id) {
  return FormatCommand("%s#ST:%s#", {password, station_id});
}

std::string DateTimeCommand(std::string_view password, std::string_view date_time) {
  return FormatCommand("%s#TM:%s#", {password, date_time});
}

std::string LoggingIntervalCommand(std::string_view password, std::string_view code) {
  return FormatCommand("%s#SA:%s#", {password, code});
}

std::string SmsUploadCommand(std::string_view password, std::string_view number,
                             std::string_view interval_code) {
  return FormatCommand("%s#CP:%s!,%s#", {password, number, interval_code});
}

std::string AlarmPhoneCommand(std::string_view password, int slot, std::string_view number) {
  return FormatCommand(slot == 1 ? "%s#AP1:%s!#" : "%s#AP2:%s!#", {password, number});
}

int AlarmPhoneCode(int slot) {
  return slot == 1 ? kAlarmPhone1Code : kAlarmPhone2Code;
}

RecordedCommands DeviceSetupCommands(const Group1Settings& settings,
                                     std::string_view setup_password) {
  RecordedCommands recorded;
  auto& commands = recorded.commands;
  if (settings.station_id) {
    commands[kStationIdCode] = StationIdCommand(setup_password, *settings.station_id);
  }
  if (settings.date_time) {
    commands[kDateTimeCode] = DateTimeCommand(setup_password, *settings.date_time);
  }
  if (settings.logging_interval_code) {
    commands[kLoggingIntervalCode] =
        LoggingIntervalCommand(setup_password, *settings.logging_interval_code);
  }
  if (settings.sms_upload && !settings.sms_upload->number.empty()) {
    commands[kSmsUploadCode] = SmsUploadCommand(setup_password, settings.sms_upload->number,
                                                settings.sms_upload->interval_code);
  }
  int slot = 1;
  for (const auto& number : {settings.alarm_phone1, settings.alarm_phone2}) {
    if (number && !number->empty()) {
      commands[AlarmPhoneCode(slot)] = AlarmPhoneCommand(setup_password, slot, *number);
    }
    ++slot;
  }
  // The IA flag tells which of two entries a loaded configuration may hold no
  // longer applies to this logger.
  if (settings.ia_flag == "1") recorded.dropped.push_back(11015);
  if (settings.ia_flag == "0") recorded.dropped.push_back(11014);
  return recorded;
}

int SignalBarValue(std::string_view quality) {
  long long q = 0;
  const auto parsed = std::from_chars(quality.data(), quality.data() + quality.size(), q);
  if (parsed.ec == std::errc::result_out_of_range) return quality.front() == '-' ? 0 : 100;
  if (q <= 0 || q == 99) return 0;
  return q >= 30 ? 100 : static_cast<int>(q * 100 / 30);
}

}  // namespace vexa
