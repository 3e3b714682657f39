#include "link/local_time.h"

namespace vexa {

std::string FormatLocalTime(const char* format, std::time_t when) {
  std::tm local{};
  localtime_r(&when, &local);
  char text[128];
  const std::size_t length = std::strftime(text, sizeof text, format, &local);
  return std::string(text, length);
}

}  // namespace vexa
