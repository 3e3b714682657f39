#include "batch/verification.h"

#include "settings/read_back.h"

namespace vexa {
namespace {

constexpr std::string_view kDiffers = "Differs: ";
constexpr std::string_view kNotVerified = "not verified";

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
      return std::string(kDiffers) + comparison.logger->parameters;
    case Agreement::kOnlyInFile:
      // The written value did not stay: the logger reports none.
      return std::string(kDiffers) + "not reported";
    case Agreement::kCannotBeReadBack:
      break;
  }
  return WithNote(result, "not readable");
}

std::string UnverifiedResult(int code, std::string_view result) {
  return WithNote(result, CanBeReadBack(code) ? kNotVerified : "not readable");
}

bool WriteDidNotStay(std::string_view verification) {
  return verification.starts_with(kDiffers);
}

bool WriteUnproven(std::string_view verification) {
  return WriteDidNotStay(verification) || verification.ends_with(WithNote({}, kNotVerified));
}

}  // namespace vexa
