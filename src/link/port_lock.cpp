#include "link/port_lock.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

#include "link/device_holders.h"

namespace vexa {
namespace {

struct Holder {
  pid_t pid = 0;       // 0 when the file names no process
  int read_error = 0;  // why the file could not be read; 0 when it could
};

// The PID a lock file names: ASCII digits after optional blanks, followed by
// nothing or a blank (some programs add their name and user). Nothing when there
// is no lock file.
std::optional<Holder> LockHolder(const std::filesystem::path& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) return std::nullopt;
    return Holder{0, errno};
  }
  char text[64] = {};
  const ssize_t count = read(fd, text, sizeof text - 1);
  const int read_error = count < 0 ? errno : 0;
  close(fd);
  if (read_error != 0) return Holder{0, read_error};
  const std::size_t size = count > 0 ? static_cast<std::size_t>(count) : 0;
  std::size_t at = 0;
  while (at < size && (text[at] == ' ' || text[at] == '\t')) ++at;
  long long pid = 0;
  const std::size_t digits = at;
  while (at < size && std::isdigit(static_cast<unsigned char>(text[at])) && pid <= 0x7fffffff) {
    pid = pid * 10 + (text[at++] - '0');
  }
  const bool ends = at == size || std::isspace(static_cast<unsigned char>(text[at]));
  if (at == digits || !ends || pid <= 0 || pid > 0x7fffffff) return Holder{};
  return Holder{static_cast<pid_t>(pid), 0};
}

bool IsAlive(pid_t pid) {
  return pid > 0 && (kill(pid, 0) == 0 || errno == EPERM);
}

std::filesystem::path LockFilePath(const std::filesystem::path& lock_dir,
                                   const std::string& device_path) {
  const std::size_t slash = device_path.rfind('/');
  return lock_dir / ("LCK.." + device_path.substr(slash == std::string::npos ? 0 : slash + 1));
}

}  // namespace

std::string LockFileHolder(const std::filesystem::path& lock_dir, const std::string& device_path) {
  const auto holder = LockHolder(LockFilePath(lock_dir, device_path));
  return holder && IsAlive(holder->pid) ? DescribeProcess(holder->pid) : std::string();
}

std::string PortLock::Take(const std::filesystem::path& lock_dir, const std::string& device_path) {
  Release();
  const std::filesystem::path path = LockFilePath(lock_dir, device_path);
  // Twice: a stale lock removed here may be taken by another program meanwhile.
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (const auto holder = LockHolder(path)) {
      if (holder->read_error != 0) {
        return "the lock file " + path.string() + " cannot be read (" +
               std::strerror(holder->read_error) + ")";
      }
      if (IsAlive(holder->pid)) {
        return DescribeProcess(holder->pid) + " holds it (lock file " + path.string() + ")";
      }
      if (unlink(path.c_str()) != 0 && errno != ENOENT) {
        return "the stale lock file " + path.string() + " cannot be removed (" +
               std::strerror(errno) + ")";
      }
    }
    // Written aside and linked in, so that no one reads a half-written lock.
    std::string temporary = (lock_dir / "LTMP.XXXXXX").string();
    const int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) return {};
    char text[16];
    const int length = std::snprintf(text, sizeof text, "%10d\n", static_cast<int>(getpid()));
    const bool written = fchmod(fd, 0644) == 0 && write(fd, text, length) == length;
    close(fd);
    const int linked = written ? link(temporary.c_str(), path.c_str()) : -1;
    const int link_error = errno;
    unlink(temporary.c_str());
    if (linked == 0) {
      path_ = path;
      return {};
    }
    if (!written || link_error != EEXIST) return {};
  }
  return "another program keeps taking its lock file " + path.string();
}

void PortLock::Release() {
  if (path_.empty()) return;
  const auto holder = LockHolder(path_);
  if (holder && holder->pid == getpid()) unlink(path_.c_str());
  path_.clear();
}

}  // namespace vexa
