#include "settings/comparison_review.h"

#include <algorithm>

#include "settings/setting_codes.h"

namespace vexa {

std::string StateText(Agreement agreement, std::string_view side) {
  if (agreement == Agreement::kOnlyInFile) return "only in the " + std::string(side);
  return std::string(AgreementText(agreement));
}

std::string ComparisonSummary(const std::vector<SettingComparison>& comparisons,
                              std::string_view side) {
  const auto count = [&](Agreement agreement) {
    return std::to_string(std::count_if(
        comparisons.begin(), comparisons.end(),
        [agreement](const SettingComparison& c) { return c.agreement == agreement; }));
  };
  std::string summary = count(Agreement::kSame) + " the same, " + count(Agreement::kDiffers) +
                        " differ, " + count(Agreement::kOnlyInFile) + " " +
                        StateText(Agreement::kOnlyInFile, side) + ", " +
                        count(Agreement::kCannotBeReadBack) + " cannot be read back";
  if (const std::string on_logger = count(Agreement::kOnlyOnLogger); on_logger != "0") {
    summary += ", " + on_logger + " only on the logger";
  }
  return summary;
}

bool CanBeWritten(const SettingComparison& comparison) {
  return comparison.file.has_value();
}

bool ProposedForWriting(const SettingComparison& comparison) {
  return comparison.agreement == Agreement::kDiffers && comparison.code != kStationIdCode;
}

}  // namespace vexa
