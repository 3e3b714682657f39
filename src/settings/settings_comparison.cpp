#include "settings/settings_comparison.h"

#include <charconv>
#include <system_error>

#include "protocol/reply_field.h"
#include "settings/read_back.h"
#include "settings/setting_codes.h"

namespace vexa {
namespace {

// A command without its password, "#KEY:a,b,c#", taken apart.
struct CommandFields {
  std::string key;
  std::vector<std::string> values;
};

CommandFields FieldsOf(std::string_view command) {
  if (command.starts_with('#')) command.remove_prefix(1);
  if (command.ends_with('#')) command.remove_suffix(1);
  const std::size_t colon = command.find(':');
  if (colon == std::string_view::npos) return {std::string(command), {}};
  return {std::string(command.substr(0, colon)), SplitValue(command.substr(colon + 1))};
}

// Which values of a command are quantities: every value of an AD record,
// time lapse and logging interval, the interval after the SMS centre number.
// Station IDs, phone numbers, mode digits and source bits stay texts, where
// "0234" and "234" are not the same.
bool IsQuantity(std::string_view key, std::size_t index) {
  if (key.starts_with("AD") || key.starts_with("OT") || key == "SA") return true;
  return key == "CP" && index == 1;
}

// A plain decimal number: an optional "-", digits, at most one ".".
std::optional<double> Number(std::string_view text) {
  if (text.empty() || text.find_first_not_of("-.0123456789") != std::string_view::npos) {
    return std::nullopt;
  }
  double value = 0;
  const auto [end, error] =
      std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

bool SameValue(std::string_view key, std::size_t index, const std::string& logger,
               const std::string& file) {
  if (logger == file) return true;
  if (!IsQuantity(key, index)) return false;
  const auto a = Number(logger);
  const auto b = Number(file);
  return a && b && *a == *b;
}

bool SameCommand(std::string_view logger, std::string_view file) {
  const CommandFields a = FieldsOf(logger);
  const CommandFields b = FieldsOf(file);
  if (a.key != b.key || a.values.size() != b.values.size()) return false;
  for (std::size_t i = 0; i < a.values.size(); ++i) {
    if (!SameValue(a.key, i, a.values[i], b.values[i])) return false;
  }
  return true;
}

// A reply records no empty alarm phone, so one switched off reads back as none.
bool ReadsBackAsNone(const Setting& setting) {
  const bool alarm_phone = setting.code == kAlarmPhone1Code || setting.code == kAlarmPhone2Code;
  return alarm_phone && FieldsOf(setting.command).values == std::vector<std::string>{"!"};
}

Agreement Compare(int code, const std::optional<Setting>& logger,
                  const std::optional<Setting>& file, ComparisonOptions options) {
  if (!CanBeReadBack(code)) return Agreement::kCannotBeReadBack;
  if (!logger) return ReadsBackAsNone(*file) ? Agreement::kSame : Agreement::kOnlyInFile;
  if (!file) return Agreement::kOnlyOnLogger;
  if (code == kStationIdCode && options.auto_station_id) return Agreement::kSame;
  return SameCommand(logger->command, file->command) ? Agreement::kSame : Agreement::kDiffers;
}

std::optional<Setting> Find(const std::map<int, std::string>& commands, int code) {
  const auto found = commands.find(code);
  if (found == commands.end() || found->second.empty()) return std::nullopt;
  return SettingOf(code, found->second);
}

}  // namespace

std::string_view AgreementText(Agreement agreement) {
  switch (agreement) {
    case Agreement::kSame:
      return "same";
    case Agreement::kDiffers:
      return "differs";
    case Agreement::kOnlyOnLogger:
      return "only on the logger";
    case Agreement::kOnlyInFile:
      return "only in the file";
    case Agreement::kCannotBeReadBack:
      return "cannot be read back";
  }
  return {};
}

std::vector<SettingComparison> CompareSettings(const std::map<int, std::string>& logger,
                                               const std::map<int, std::string>& file,
                                               ComparisonOptions options) {
  std::map<int, SettingComparison> compared;
  for (const auto* side : {&logger, &file}) {
    for (const auto& [code, command] : *side) {
      if (command.empty() || compared.contains(code)) continue;
      SettingComparison& entry = compared[code];
      entry.code = code;
      entry.logger = Find(logger, code);
      entry.file = Find(file, code);
      entry.agreement = Compare(code, entry.logger, entry.file, options);
    }
  }
  std::vector<SettingComparison> result;
  for (auto& [code, entry] : compared) result.push_back(std::move(entry));
  return result;
}

}  // namespace vexa
