#include "sim/logger_identity.h"

namespace vexa::sim {

std::vector<LoggerIdentity> DemoLoggers() {
  return {
      {"000041", "+491701000041", "135791", "246802"},
      {"000042", "+491701000042", "135791", "246802"},
      {"000043", "+491701000043", "135791", "246802"},
  };
}

}  // namespace vexa::sim
