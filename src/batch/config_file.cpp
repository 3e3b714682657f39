#include "batch/config_file.h"

#include <charconv>
#include <utility>
#include <vector>

#include "link/local_time.h"
#include "xml/xml_document.h"

namespace vexa {
namespace {

constexpr char kRoot[] = "DATALOG_SETUP";
constexpr char kRecord[] = "Records";
constexpr char kDateTime[] = "DateTime";
// "%X" in the C locale, spelt out: the program's locale must not change the file.
constexpr char kDateTimeFormat[] = "%m/%d/%Y %H:%M:%S";

// The leading decimal number of a code attribute; no digits read as 0.
int Code(const std::string& text) {
  int code = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), code);
  return error == std::errc() ? code : 0;
}

XmlDocument ConfigDocument(const std::vector<BatchRow>& rows, std::time_t saved_at) {
  XmlDocument document;
  document.InsertDeclaration();
  document.SetAttribute("version", "1.0");
  document.SetAttribute("encoding", "ISO-8859-1");
  document.AddElement(kRoot);
  document.EnterElement();
  // Each element goes before the one before it: the last row comes first.
  for (const BatchRow& row : rows) {
    document.InsertElement(kRecord, true);
    if (!row.checked) continue;
    document.SetAttribute("No.", row.number);
    document.SetAttribute("Command", row.command);
    document.SetAttribute("COM", std::to_string(row.code));
  }
  document.InsertElement(kDateTime, true);
  document.SetAttribute(kDateTime, FormatLocalTime(kDateTimeFormat, saved_at));
  document.LeaveElement();
  return document;
}

}  // namespace

std::string ConfigFilePath(std::string path) {
  if (path.find(".cfg") == std::string::npos) path += ".cfg";
  return path;
}

SaveTarget ConfigSaveTarget(const std::string& path) {
  return LookAtSaveTarget(path, [](const std::string& file) {
    XmlDocument document;
    return document.LoadFile(file) && document.IsWellFormed() && document.FindElement(kRoot);
  });
}

bool SaveConfigFile(const std::string& path, const std::vector<BatchRow>& rows,
                    std::time_t saved_at) {
  if (ConfigSaveTarget(path).refusal != ReplaceRefusal::kNone) return false;
  return ConfigDocument(rows, saved_at).SaveFile(path);
}

std::string ConfigFileText(const std::vector<BatchRow>& rows, std::time_t saved_at) {
  return ConfigDocument(rows, saved_at).Text();
}

ConfigLoadResult LoadConfigFile(const std::string& path, CommandBuffer& buffer) {
  XmlDocument document;
  if (!document.LoadFile(path)) return {ConfigLoad::kUnreadable};
  if (!document.IsWellFormed()) return {ConfigLoad::kNotWellFormed};
  if (!document.FindElement(kRoot)) return {ConfigLoad::kNoRoot};
  document.EnterElement();
  std::vector<std::pair<int, std::string>> records;
  bool holds_a_command = false;
  while (document.FindElement(kRecord)) {
    // By position, whatever the attributes are called.
    std::string command = document.GetAttribute(document.AttributeName(1));
    const int code = Code(document.GetAttribute(document.AttributeName(2)));
    holds_a_command = holds_a_command || !command.empty();
    records.emplace_back(code, std::move(command));
  }
  const int count = static_cast<int>(records.size());
  // Emptying the buffer for it would leave the engineer's list showing commands
  // that are gone.
  if (!holds_a_command) return {ConfigLoad::kNoCommands, count};
  buffer.Clear();
  for (const auto& [code, command] : records) buffer.RecordCommand(code, command);
  return {ConfigLoad::kLoaded, count};
}

}  // namespace vexa
