#include "history/settings_history.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <filesystem>
#include <system_error>

#include "batch/batch_list.h"
#include "batch/config_file.h"
#include "link/command_buffer.h"
#include "link/local_time.h"
#include "settings/setting.h"
#include "settings/setting_codes.h"
#include "xml/whole_file.h"

namespace vexa {
namespace {

namespace fs = std::filesystem;

constexpr char kNameFormat[] = "%Y-%m-%d_%H-%M-%S";
constexpr std::size_t kTimeLength = 19;  // "2026-12-10_14-30-05"
constexpr std::string_view kExtension = ".cfg";
// Enough for every snapshot one second could see.
constexpr int kNamesPerSecond = 1000;

bool IsStationId(const std::string& id) {
  return id.size() == 6 && id.find_first_not_of("0123456789") == std::string::npos;
}

std::string ErrorText(int error) {
  return std::error_code(error, std::generic_category()).message();
}

// A folder of ours that only we may enter: made so when missing; one that is
// a link, another user's or no folder at all is refused. Why not, or empty.
std::string OwnerOnlyFolder(const fs::path& folder) {
  if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
    return "cannot create the folder " + folder.string() + " (" + ErrorText(errno) + ")";
  }
  struct stat info {};
  if (lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != geteuid()) {
    return folder.string() + " is not a folder of this user's";
  }
  if ((info.st_mode & 077) != 0 && chmod(folder.c_str(), 0700) != 0) {
    return "cannot make the folder " + folder.string() + " owner-only (" + ErrorText(errno) + ")";
  }
  return {};
}

// "<time>.cfg" or "<time>_<n>.cfg", with n from 2 on for a second snapshot in
// the same second.
std::string SnapshotName(const std::string& time, int n) {
  return time + (n > 1 ? "_" + std::to_string(n) : "") + std::string(kExtension);
}

// The time text and number of a snapshot's file name; nothing for any other file.
struct SnapshotNameParts {
  std::string time;
  int n = 1;
};
std::optional<SnapshotNameParts> ReadSnapshotName(const std::string& name) {
  if (name.size() < kTimeLength + kExtension.size() || !name.ends_with(kExtension)) {
    return std::nullopt;
  }
  const std::string time = name.substr(0, kTimeLength);
  for (std::size_t i = 0; i < time.size(); ++i) {
    const bool digit = time[i] >= '0' && time[i] <= '9';
    const char separator = i == 10 ? '_' : (i == 4 || i == 7 || i == 13 || i == 16) ? '-' : 0;
    if (separator != 0 ? time[i] != separator : !digit) return std::nullopt;
  }
  const std::string_view rest =
      std::string_view(name).substr(kTimeLength, name.size() - kTimeLength - kExtension.size());
  if (rest.empty()) return SnapshotNameParts{time, 1};
  int n = 0;
  const auto [end, error] = std::from_chars(rest.data() + 1, rest.data() + rest.size(), n);
  if (rest[0] != '_' || error != std::errc() || end != rest.data() + rest.size() || n < 2) {
    return std::nullopt;
  }
  return SnapshotNameParts{time, n};
}

// "2026-12-10_14-30-05" as a local time.
std::time_t TimeOfName(const std::string& time) {
  std::tm local{};
  local.tm_year = std::stoi(time.substr(0, 4)) - 1900;
  local.tm_mon = std::stoi(time.substr(5, 2)) - 1;
  local.tm_mday = std::stoi(time.substr(8, 2));
  local.tm_hour = std::stoi(time.substr(11, 2));
  local.tm_min = std::stoi(time.substr(14, 2));
  local.tm_sec = std::stoi(time.substr(17, 2));
  local.tm_isdst = -1;
  return std::mktime(&local);
}

// The settings that make two snapshots the same: every command without its
// password, but the clock, which reads differently every minute.
std::map<int, std::string> ComparedSettings(const std::map<int, std::string>& commands) {
  std::map<int, std::string> compared;
  for (const Setting& setting : SettingsOf(commands)) {
    if (setting.code != kDateTimeCode) compared[setting.code] = setting.command;
  }
  return compared;
}

// The snapshot files in a logger's folder, newest first.
std::vector<std::pair<SnapshotNameParts, fs::path>> SnapshotFiles(const fs::path& folder) {
  std::vector<std::pair<SnapshotNameParts, fs::path>> found;
  std::error_code error;
  fs::directory_iterator entry(folder, error);
  for (; !error && entry != fs::directory_iterator(); entry.increment(error)) {
    if (!entry->is_regular_file(error)) continue;
    if (auto parts = ReadSnapshotName(entry->path().filename().string())) {
      found.emplace_back(std::move(*parts), entry->path());
    }
  }
  std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
    return a.first.time != b.first.time ? a.first.time > b.first.time : a.first.n > b.first.n;
  });
  return found;
}

}  // namespace

SettingsHistory::SettingsHistory(const std::string& phone_book_path) {
  std::error_code error;
  const fs::path book = fs::absolute(phone_book_path, error);
  folder_ = ((error ? fs::path(phone_book_path) : book).parent_path() / "history").string();
}

KeepResult SettingsHistory::Keep(const std::string& station_id,
                                 const std::map<int, std::string>& commands,
                                 std::time_t now) const {
  KeepResult result;
  const auto failed = [&](const std::string& why) {
    result.failure =
        "The settings of logger " + station_id + " were not kept in the history: " + why + ".";
    return result;
  };
  if (!IsStationId(station_id)) return failed("a station ID has six digits");
  if (SettingsOf(commands).empty()) return failed("nothing was read");
  const fs::path logger_folder = fs::path(folder_) / station_id;
  for (const fs::path& folder : {fs::path(folder_), logger_folder}) {
    if (const std::string why = OwnerOnlyFolder(folder); !why.empty()) return failed(why);
  }

  for (const auto& [parts, newest] : SnapshotFiles(logger_folder)) {
    const auto settings = Load(newest.string());
    if (!settings) continue;  // a damaged one is no measure
    if (ComparedSettings(*settings) == ComparedSettings(commands)) {
      result.outcome = KeepResult::Outcome::kUnchanged;
      result.path = newest.string();
      return result;
    }
    break;
  }

  CommandBuffer buffer;
  for (const auto& [code, command] : commands) buffer.RecordCommand(code, command);
  BatchList list;
  list.IncludeBandCommand();
  list.Refresh(buffer, "", true);  // each command keeps its own password
  const std::string time = FormatLocalTime(kNameFormat, now);
  const auto kept = CreateUnderNewName(
      (logger_folder / SnapshotName(time, 1)).string(), ConfigFileText(list.rows(), now),
      [&](int n) { return SnapshotName(time, n); }, kNamesPerSecond);
  if (!kept) return failed("cannot write a new file in " + logger_folder.string());
  result.outcome = KeepResult::Outcome::kKept;
  result.path = *kept;

  // The new one is among them, the newest.
  const auto all = SnapshotFiles(logger_folder);
  for (std::size_t i = kMaxSnapshots; i < all.size(); ++i) unlink(all[i].second.c_str());
  return result;
}

std::vector<Snapshot> SettingsHistory::List(const std::string& station_id) const {
  if (!IsStationId(station_id)) return {};
  std::vector<Snapshot> snapshots;
  for (const auto& [parts, path] : SnapshotFiles(fs::path(folder_) / station_id)) {
    Snapshot snapshot;
    snapshot.path = path.string();
    snapshot.taken = TimeOfName(parts.time);
    snapshot.time_text = parts.time.substr(0, 10) + " " + parts.time.substr(11, 2) + ":" +
                         parts.time.substr(14, 2) + ":" + parts.time.substr(17, 2);
    if (const auto settings = Load(snapshot.path)) {
      snapshot.settings = static_cast<int>(SettingsOf(*settings).size());
    }
    snapshots.push_back(std::move(snapshot));
  }
  return snapshots;
}

std::optional<std::map<int, std::string>> SettingsHistory::Load(const std::string& path) const {
  CommandBuffer buffer;
  if (LoadConfigFile(path, buffer).outcome != ConfigLoad::kLoaded) return std::nullopt;
  return buffer.Entries();
}

}  // namespace vexa
