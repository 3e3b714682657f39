#include "batch/batch_run.h"

#include <algorithm>

#include "batch/batch_row.h"
#include "batch/verification.h"
#include "link/local_time.h"
#include "settings/setting_codes.h"

namespace vexa {

std::string BatchRun::Summary() const {
  if (steps.empty()) return {};
  const std::string total = std::to_string(steps.size());
  if (!ended) {
    if (read_back == ReadBack::kReading) return "Reading back " + read_back_text;
    return "Sending command " + std::to_string(sent) + " of " + total;
  }
  const auto count = [this](auto member, std::string_view text) {
    return std::count_if(steps.begin(), steps.end(),
                         [&](const BatchStep& step) { return step.*member == text; });
  };
  std::string summary = std::to_string(count(&BatchStep::status, kStatusSuccess)) + " of " + total +
                        (steps.size() == 1 ? " command succeeded" : " commands succeeded");
  if (const auto not_sent = count(&BatchStep::status, kStatusNotSent)) {
    summary += ", " + std::to_string(not_sent) + " not sent";
  }
  if (read_back == ReadBack::kDone) {
    summary += ", " + std::to_string(count(&BatchStep::verification, kVerified)) + " verified";
  } else if (read_back == ReadBack::kFailed) {
    summary += ", not verified (read back: " + read_back_text + ")";
  }
  return summary;
}

std::string BatchRun::ProvisionedId() const {
  for (const BatchStep& step : steps) {
    if (step.code == kStationIdCode && step.status == kStatusSuccess) return step.parameters;
  }
  return logger_id;
}

std::vector<std::vector<std::string>> BatchRun::ReportRows() const {
  std::vector<std::vector<std::string>> rows = {
      {"Logger ID", "Time", "No.", "Object", "Parameters", "Status", "Verification"}};
  const std::string id = ProvisionedId();
  for (const BatchStep& step : steps) {
    const std::string time =
        step.finished_at != 0 ? FormatLocalTime("%Y-%m-%d %H:%M:%S", step.finished_at) : "";
    rows.push_back(
        {id, time, step.number, step.object, step.parameters, step.status, step.verification});
  }
  return rows;
}

}  // namespace vexa
