#include "link/port_lock.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace vexa {
namespace {

// The PID a lock file names; 0 when it names none we can read; nothing when
// there is no lock file.
std::optional<pid_t> LockHolder(const std::filesystem::path& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? std::nullopt : std::optional<pid_t>(0);
  char text[32] = {};
  const ssize_t count = read(fd, text, sizeof text - 1);
  close(fd);
  if (count <= 0) return 0;
  char* end = nullptr;
  const long pid = std::strtol(text, &end, 10);
  return end != text && pid > 0 && pid <= 0x7fffffff ? static_cast<pid_t>(pid) : 0;
}

// A holder we cannot name counts as alive: a lock is only ever taken over
// from a process known to be gone.
bool IsAlive(pid_t pid) {
  return pid <= 0 || kill(pid, 0) == 0 || errno == EPERM;
}

}  // namespace

bool PortLock::Take(const std::filesystem::path& lock_dir, const std::string& device_path) {
  Release();
  const std::size_t slash = device_path.rfind('/');
  const std::filesystem::path path =
      lock_dir / ("LCK.." + device_path.substr(slash == std::string::npos ? 0 : slash + 1));
  // Twice: a stale lock removed here may be taken by another program meanwhile.
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (const auto holder = LockHolder(path)) {
      if (IsAlive(*holder)) return false;
      unlink(path.c_str());
    }
    // Written aside and linked in, so that no one reads a half-written lock.
    std::string temporary = (lock_dir / "LTMP.XXXXXX").string();
    const int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) return true;
    char text[16];
    const int length = std::snprintf(text, sizeof text, "%10d\n", static_cast<int>(getpid()));
    const bool written = fchmod(fd, 0644) == 0 && write(fd, text, length) == length;
    close(fd);
    const int linked = written ? link(temporary.c_str(), path.c_str()) : -1;
    const int link_error = errno;
    unlink(temporary.c_str());
    if (linked == 0) {
      path_ = path;
      return true;
    }
    if (!written || link_error != EEXIST) return true;
  }
  return false;
}

void PortLock::Release() {
  if (path_.empty()) return;
  if (LockHolder(path_) == getpid()) unlink(path_.c_str());
  path_.clear();
}

}  // namespace vexa
