#pragma once

#include <filesystem>
#include <string>

namespace vexa {

// Where terminal programs keep their lock files.
inline constexpr char kUucpLockDir[] = "/var/lock";

// The live process whose lock file in `lock_dir` holds the device, described
// ("process 1234 (minicom)"); empty when none does. Removes nothing.
std::string LockFileHolder(const std::filesystem::path& lock_dir, const std::string& device_path);

// The UUCP lock file of a serial device: "LCK..<device base name>" in the lock
// folder, holding the owner's PID as ten ASCII digits and a newline. Terminal
// programs that take no other lock on the device still keep this one.
class PortLock {
 public:
  PortLock() = default;
  ~PortLock() { Release(); }
  PortLock(const PortLock&) = delete;
  PortLock& operator=(const PortLock&) = delete;

  // Empty when the device may be used, else why not: a live process holds its
  // lock file, or a stale one (naming no live process: a PID that ended, or no
  // PID at all) cannot be removed or read. A stale lock is replaced. Where no
  // file can be written (no lock folder, no right to write there) the device is
  // not refused for that.
  std::string Take(const std::filesystem::path& lock_dir, const std::string& device_path);
  // Removes the lock file taken, if it still names this process.
  void Release();

 private:
  std::filesystem::path path_;  // the lock file this object wrote; empty when none
};

}  // namespace vexa
