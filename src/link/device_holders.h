#pragma once

#include <sys/types.h>

#include <string>

namespace vexa {

// "process 1234 (minicom)", or "process 1234" when its name cannot be seen.
std::string DescribeProcess(pid_t pid);

// The processes that have this device open, described and joined by ", "; empty
// when none can be seen (another user's processes are hidden from all but root).
std::string DeviceHolders(const std::string& device_path);

}  // namespace vexa
