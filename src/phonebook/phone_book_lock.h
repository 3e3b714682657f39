#pragma once

#include <optional>
#include <string>

namespace vexa {

// An exclusive lock on one phone book, held while a change reads, edits and saves the
// file, so that two programs on the same file never lose each other's changes. It is a
// flock on the empty file ".<name>.lock" beside the name given, which stays there.
class PhoneBookLock {
 public:
  // Waits a short while for the lock; nothing when it cannot be had in that time.
  static std::optional<PhoneBookLock> Take(const std::string& path);

  PhoneBookLock(PhoneBookLock&& other) noexcept;
  PhoneBookLock& operator=(PhoneBookLock&&) = delete;
  ~PhoneBookLock();

 private:
  explicit PhoneBookLock(int fd) : fd_(fd) {}

  int fd_ = -1;
};

}  // namespace vexa
