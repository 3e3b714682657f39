#include "xml/whole_file.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <system_error>
#include <utility>

namespace vexa {
namespace {

namespace fs = std::filesystem;

constexpr mode_t kOwnerOnly = 0600;
// A temporary file this old belongs to a save that was killed: a live save writes
// its file in well under a second.
constexpr std::time_t kStaleSeconds = 10 * 60;
// Enough for years of damaged files; past it something else is wrong.
constexpr int kMaxBackups = 1000;

// A file's folder and name, split once.
struct Target {
  fs::path folder;
  std::string name;
};

// The name as given, never followed through a link; a full path, so that the engineer
// can find what is kept whatever folder the program runs in.
std::optional<Target> NamedTarget(const fs::path& path) {
  std::error_code error;
  const fs::path full = fs::absolute(path, error);
  if (error || !full.has_filename()) return std::nullopt;
  return Target{full.parent_path(), full.filename().string()};
}

bool IsLink(const std::string& path) {
  struct stat info {};
  return lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

// The file a save replaces: a symbolic link is followed, but only to a file that
// exists; a save must never create a file wherever a link happens to point.
std::optional<Target> ReplacedTarget(const std::string& path) {
  if (!IsLink(path)) return NamedTarget(path);
  std::error_code error;
  const fs::path target = fs::canonical(path, error);
  if (error) return std::nullopt;
  return NamedTarget(target);
}

std::string TemporaryPrefix(const Target& target) {
  return "." + target.name + ".";
}

// What mkostemp makes of ".<name>.XXXXXX": six letters or digits after the prefix.
bool IsTemporaryOf(const std::string& entry, const Target& target) {
  const std::string prefix = TemporaryPrefix(target);
  if (entry.size() != prefix.size() + 6 || entry.compare(0, prefix.size(), prefix) != 0) {
    return false;
  }
  for (std::size_t i = prefix.size(); i < entry.size(); ++i) {
    const char c = entry[i];
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) {
      return false;
    }
  }
  return true;
}

// Removes what killed saves of this name left behind: only our own regular files of
// the save's pattern, and only old ones, so a save running elsewhere keeps its file.
void RemoveStaleTemporaries(const Target& target) {
  std::error_code error;
  fs::directory_iterator entry(target.folder, error);
  const std::time_t now = std::time(nullptr);
  for (; !error && entry != fs::directory_iterator(); entry.increment(error)) {
    if (!IsTemporaryOf(entry->path().filename().string(), target)) continue;
    struct stat info {};
    if (lstat(entry->path().c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
        info.st_uid == geteuid() && now - info.st_mtime > kStaleSeconds) {
      unlink(entry->path().c_str());
    }
  }
}

// The number n of "<name>.<n>.bak", or 0 when the entry is no such copy.
int BackupNumber(const std::string& entry, const Target& target) {
  const std::string prefix = target.name + ".";
  constexpr std::string_view kSuffix = ".bak";
  if (entry.size() <= prefix.size() + kSuffix.size() ||
      entry.compare(0, prefix.size(), prefix) != 0 || !entry.ends_with(kSuffix)) {
    return 0;
  }
  const std::string_view digits(entry.data() + prefix.size(),
                                entry.size() - prefix.size() - kSuffix.size());
  int number = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
  return error == std::errc() && end == digits.data() + digits.size() ? number : 0;
}

// The lowest numbered plain copy beside the target that holds exactly `bytes`, so that
// damage that did not change is kept once, however often the program starts.
std::optional<std::string> FindCopyOf(const Target& target, std::string_view bytes) {
  std::optional<std::string> found;
  int lowest = 0;
  std::error_code error;
  fs::directory_iterator entry(target.folder, error);
  for (; !error && entry != fs::directory_iterator(); entry.increment(error)) {
    const int number = BackupNumber(entry->path().filename().string(), target);
    if (number <= 0 || (found && number > lowest)) continue;
    struct stat info {};
    std::string copy;
    if (lstat(entry->path().c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
        static_cast<std::size_t>(info.st_size) == bytes.size() &&
        ReadWholeFile(entry->path().string(), copy) && copy == bytes) {
      found = entry->path().string();
      lowest = number;
    }
  }
  return found;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// Writes `bytes` to a new temporary file beside the target, owner-only while it is
// written, then given `mode` and flushed to disk. Its path, or empty on failure.
std::string WriteTemporary(const Target& target, std::string_view bytes, mode_t mode) {
  RemoveStaleTemporaries(target);
  std::string temporary = (target.folder / (TemporaryPrefix(target) + "XXXXXX")).string();
  const int fd = mkostemp(temporary.data(), O_CLOEXEC);  // exclusive
  if (fd < 0) return {};
  // mkostemp's 0600 is narrowed further by the umask; set it whole.
  bool ok = fchmod(fd, kOwnerOnly) == 0 && WriteAll(fd, bytes) &&
            (mode == kOwnerOnly || fchmod(fd, mode) == 0) && fsync(fd) == 0;
  ok = close(fd) == 0 && ok;
  if (ok) return temporary;
  unlink(temporary.c_str());
  return {};
}

// Makes a rename durable; a folder that cannot be synced changes nothing, the new file
// is in place either way.
void SyncFolder(const fs::path& folder) {
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::string& bytes) {
  // Without O_NONBLOCK a pipe would wait for a writer for ever.
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info {};
  bool ok = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  std::string read_bytes;
  if (ok) read_bytes.reserve(static_cast<std::size_t>(info.st_size));
  char buffer[65536];
  while (ok) {
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      ok = got == 0;
      break;
    }
    read_bytes.append(buffer, static_cast<std::size_t>(got));
  }
  close(fd);
  if (ok) bytes = std::move(read_bytes);
  return ok;
}

bool ReplaceFileAtomically(const std::string& path, std::string_view bytes) {
  const std::optional<Target> target = ReplacedTarget(path);
  if (!target) return false;
  const fs::path target_path = target->folder / target->name;
  struct stat old_file {};
  mode_t mode = kOwnerOnly;
  if (stat(target_path.c_str(), &old_file) == 0) {
    if (!S_ISREG(old_file.st_mode)) return false;
    mode = old_file.st_mode & 07777;
  }
  const std::string temporary = WriteTemporary(*target, bytes, mode);
  if (temporary.empty()) return false;
  if (rename(temporary.c_str(), target_path.c_str()) != 0) {
    unlink(temporary.c_str());
    return false;
  }
  SyncFolder(target->folder);
  return true;
}

std::optional<std::string> KeepBackupCopy(const std::string& path, std::string_view bytes) {
  const std::optional<Target> target = NamedTarget(path);
  if (!target) return std::nullopt;
  if (std::optional<std::string> kept = FindCopyOf(*target, bytes)) return kept;
  return CreateUnderNewName(
      path, bytes, [&](int n) { return target->name + "." + std::to_string(n) + ".bak"; },
      kMaxBackups);
}

std::optional<std::string> CreateUnderNewName(const std::string& path, std::string_view bytes,
                                              const std::function<std::string(int n)>& name,
                                              int tries) {
  const std::optional<Target> target = NamedTarget(path);
  if (!target) return std::nullopt;
  const std::string temporary = WriteTemporary(*target, bytes, kOwnerOnly);
  if (temporary.empty()) return std::nullopt;
  for (int n = 1; n <= tries; ++n) {
    const fs::path created = target->folder / name(n);
    if (renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, created.c_str(), RENAME_NOREPLACE) == 0) {
      SyncFolder(target->folder);
      return created.string();
    }
    if (errno != EEXIST) break;
  }
  unlink(temporary.c_str());
  return std::nullopt;
}

std::optional<std::string> LinkTarget(const std::string& path) {
  if (!IsLink(path)) return std::nullopt;
  std::error_code error;
  fs::path target = fs::canonical(path, error);
  if (error) {
    // Gone or looping: name what the link says, taken from the link's folder.
    target = fs::read_symlink(path, error);
    if (error) return std::nullopt;
    if (target.is_relative()) target = fs::absolute(fs::path(path).parent_path() / target, error);
  }
  return target.lexically_normal().string();
}

SaveTarget LookAtSaveTarget(const std::string& path,
                            const std::function<bool(const std::string& file)>& ours) {
  SaveTarget target;
  target.linked = IsLink(path);
  std::error_code error;
  const fs::path full = fs::absolute(path, error);
  target.file = target.linked ? LinkTarget(path).value_or(path) : error ? path : full.string();
  struct stat info {};
  if (stat(target.file.c_str(), &info) != 0) {
    if (target.linked) target.refusal = ReplaceRefusal::kLinkToNothing;
    return target;
  }
  target.exists = true;
  if (!S_ISREG(info.st_mode)) {
    target.refusal = ReplaceRefusal::kNotPlainFile;
  } else if (target.linked && !ours(target.file)) {
    target.refusal = ReplaceRefusal::kLinkToForeign;
  } else if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 ||
             faccessat(AT_FDCWD, target.file.c_str(), W_OK, AT_EACCESS) != 0) {
    // No write bit stops root too: a file marked read-only stays as it is.
    target.refusal = ReplaceRefusal::kReadOnly;
  }
  return target;
}

}  // namespace vexa
