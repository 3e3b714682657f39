#include "batch/verification.h"

#include "settings/read_back.h"

namespace vexa {
namespace {

std::string WithNote(std::string_view result, std::string_view note) {
  return std::string(result) + " (" + std::string(note) + ")";
}

}  // namespace

std::string Verification(const SettingComparison& comparison, std::string_view result) {
  switch (comparison.agreement) {
    case Agreement::kSame:
      return std::string(kVerified);
    case Agreement::kDiffers:
    case Agreement::kOnlyOnLogger:
      return "Differs: " + comparison.logger->parameters;
    case Agreement::kOnlyInFile:
      // The written value did not stay: the logger reports none.
      return "Differs: not reported";
    case Agreement::kCannotBeReadBack:
      break;
  }
  return WithNote(result, "not readable");
}

std::string UnverifiedResult(int code, std::string_view result) {
  return WithNote(result, CanBeReadBack(code) ? "not verified" : "not readable");
}

}  // namespace vexa
