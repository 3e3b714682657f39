#include "link/device_holders.h"

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>

namespace vexa {

namespace {

// Whether process `pid` has a descriptor on the character device `device`.
bool HasOpen(const std::filesystem::path& process, dev_t device) {
  std::error_code error;  // a process that ended meanwhile, or another user's
  for (std::filesystem::directory_iterator fd(process / "fd", error), end; !error && fd != end;
       fd.increment(error)) {
    struct stat opened {};
    if (stat(fd->path().c_str(), &opened) == 0 && S_ISCHR(opened.st_mode) &&
        opened.st_rdev == device) {
      return true;
    }
  }
  return false;
}

}  // namespace

std::string DescribeProcess(pid_t pid) {
  std::string text = "process " + std::to_string(pid);
  std::string name;
  std::ifstream comm("/proc/" + std::to_string(pid) + "/comm");
  if (std::getline(comm, name) && !name.empty()) text += " (" + name + ")";
  return text;
}

std::string DeviceHolders(const std::string& device_path) {
  struct stat device {};
  if (stat(device_path.c_str(), &device) != 0 || !S_ISCHR(device.st_mode)) return {};
  std::set<pid_t> holders;
  std::error_code error;
  for (std::filesystem::directory_iterator process("/proc", error), end; !error && process != end;
       process.increment(error)) {
    const std::string name = process->path().filename().string();
    char* digits_end = nullptr;
    const long pid = std::strtol(name.c_str(), &digits_end, 10);
    if (digits_end == name.c_str() || *digits_end != '\0') continue;
    if (HasOpen(process->path(), device.st_rdev)) holders.insert(static_cast<pid_t>(pid));
  }
  std::string text;
  for (const pid_t pid : holders) text += (text.empty() ? "" : ", ") + DescribeProcess(pid);
  return text;
}
}  // namespace vexa
