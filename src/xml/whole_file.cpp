#include "xml/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <utility>

namespace vexa {
namespace {

constexpr mode_t kNewFileMode = 0644;

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// Makes the rename itself durable; a folder that cannot be synced changes nothing, the
// new file is in place either way.
void SyncFolder(const std::filesystem::path& folder) {
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::string& bytes) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
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
  namespace fs = std::filesystem;
  std::error_code error;
  fs::path target = fs::weakly_canonical(path, error);
  if (error) target = path;
  if (!target.has_filename()) return false;
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  std::string temporary = (folder / ".").string();
  temporary.append(target.filename().string()).append(".XXXXXX");
  const int fd = mkostemp(temporary.data(), O_CLOEXEC);  // exclusive, mode 0600
  if (fd < 0) return false;

  struct stat old_file {};
  const mode_t mode = stat(target.c_str(), &old_file) == 0 && S_ISREG(old_file.st_mode)
                          ? old_file.st_mode & 07777
                          : kNewFileMode;
  bool ok = fchmod(fd, mode) == 0 && WriteAll(fd, bytes) && fsync(fd) == 0;
  ok = close(fd) == 0 && ok;
  ok = ok && rename(temporary.c_str(), target.c_str()) == 0;
  if (!ok) {
    unlink(temporary.c_str());
    return false;
  }
  SyncFolder(folder);
  return true;
}

}  // namespace vexa
