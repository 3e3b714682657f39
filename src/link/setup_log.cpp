#include "link/setup_log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>

#include "link/local_time.h"

namespace vexa {
namespace {

constexpr mode_t kOwnerOnly = 0600;

std::filesystem::path TemporaryDirectory() {
  std::error_code error;
  std::filesystem::path directory = std::filesystem::temp_directory_path(error);
  return error ? std::filesystem::path("/tmp") : directory;
}

bool WriteAll(int fd, const std::string& text) {
  std::size_t written = 0;
  while (written < text.size()) {
    const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    written += static_cast<std::size_t>(n);
  }
  return true;
}

// Why the file could not be opened, in the engineer's words where the cause is ours.
std::string OpenFailure(int error) {
  switch (error) {
    case ELOOP:
      return "it is a symbolic link";
    case ENXIO:  // a pipe that no program reads, or a socket
      return "it is not a plain file (a folder, pipe or device)";
    default:
      return std::strerror(error);
  }
}

// Appends `line` to the open file if it is safe to hold passwords; the reason if not.
std::string AppendIfPrivate(int fd, const std::string& line) {
  struct stat info {};
  if (::fstat(fd, &info) != 0) return std::strerror(errno);
  if (!S_ISREG(info.st_mode)) return "it is not a plain file (a folder, pipe or device)";
  if (info.st_uid != ::geteuid()) return "it belongs to another user";
  if (info.st_nlink != 1) return "it has more than one link";
  // An older or hand-made file of ours may be readable by others: narrowed first.
  if ((info.st_mode & 0777) != kOwnerOnly && ::fchmod(fd, kOwnerOnly) != 0) {
    return std::string("its permissions cannot be narrowed to the owner: ") + std::strerror(errno);
  }
  if (!WriteAll(fd, line)) return std::strerror(errno);
  return {};
}

}  // namespace

SetupLog::SetupLog() : path_(TemporaryDirectory() / "SetupLog.txt") {}

std::optional<std::string> SetupLog::Append(std::string_view command, std::time_t now) {
  std::string line = FormatLocalTime("%Y-%m-%d %H:%M:%S", now);
  line += "  ";
  line += command;
  line += "\r\n";
  // Never follow a link planted in the shared temporary directory, never wait on a pipe.
  const int fd = ::open(
      path_.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC,
      kOwnerOnly);
  std::string reason;
  if (fd < 0) {
    reason = OpenFailure(errno);
  } else {
    reason = AppendIfPrivate(fd, line);
    ::close(fd);
  }
  if (reason.empty()) return std::nullopt;
  return "Setup log " + path_.string() + " not written: " + reason;
}

}  // namespace vexa
