#include "phonebook/phone_book_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <thread>

namespace vexa {
namespace {

// Another program holds the lock only while it saves, well under this.
constexpr auto kWait = std::chrono::seconds(2);
constexpr auto kRetry = std::chrono::milliseconds(5);
// The lock holds nothing, so everyone who shares the folder may open it.
constexpr mode_t kLockMode = 0644;

std::string LockPath(const std::string& path) {
  const std::filesystem::path given(path);
  return (given.parent_path() / ("." + given.filename().string() + ".lock")).string();
}

}  // namespace

std::optional<PhoneBookLock> PhoneBookLock::Take(const std::string& path) {
  // Never through a link, never a pipe or device waited on.
  const int fd =
      open(LockPath(path).c_str(),
           O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, kLockMode);
  if (fd < 0) return std::nullopt;
  struct stat info {};
  if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
    const auto deadline = std::chrono::steady_clock::now() + kWait;
    for (;;) {
      if (flock(fd, LOCK_EX | LOCK_NB) == 0) return PhoneBookLock(fd);
      if (errno == EINTR) continue;
      if (errno != EWOULDBLOCK || std::chrono::steady_clock::now() >= deadline) break;
      std::this_thread::sleep_for(kRetry);
    }
  }
  close(fd);
  return std::nullopt;
}

PhoneBookLock::PhoneBookLock(PhoneBookLock&& other) noexcept : fd_(other.fd_) {
  other.fd_ = -1;
}

PhoneBookLock::~PhoneBookLock() {
  // Closing the only descriptor releases the lock.
  if (fd_ >= 0) close(fd_);
}

}  // namespace vexa
