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

}  // namespace

SetupLog::SetupLog() : path_(TemporaryDirectory() / "SetupLog.txt") {}

std::optional<std::string> SetupLog::Append(std::string_view command, std::time_t now) {
  std::string reason;
  // Never follow a link planted in the shared temporary directory: the log holds passwords.
  const int fd = ::open(path_.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC,
                        S_IRUSR | S_IWUSR);
  if (fd < 0) {
    reason = std::strerror(errno);
  } else {
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid() ||
        info.st_nlink != 1) {
      reason = "not a regular file of this user with one link";
    } else {
      std::string line = FormatLocalTime("%Y-%m-%d %H:%M:%S", now);
      line += "  ";
      line += command;
      line += "\r\n";
      if (!WriteAll(fd, line)) reason = std::strerror(errno);
    }
    ::close(fd);
  }
  if (reason.empty() || warned_) return std::nullopt;
  warned_ = true;
  return "Setup log " + path_.string() + " not written: " + reason;
}

}  // namespace vexa
