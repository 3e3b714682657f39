#include "batch/batch_run.h"

#include <algorithm>

#include "batch/batch_row.h"
#include "link/local_time.h"
#include "settings/setting_codes.h"

namespace vexa {

std::string BatchRun::Summary() const {
  if (steps.empty()) return {};
  const std::string total = std::to_string(steps.size());
  if (!ended) return "Sending command " + std::to_string(sent) + " of " + total;
  const auto count = [this](std::string_view status) {
    return std::count_if(steps.begin(), steps.end(),
                         [status](const BatchStep& step) { return step.status == status; });
  };
  std::string summary = std::to_string(count(kStatusSuccess)) + " of " + total +
                        (steps.size() == 1 ? " command succeeded" : " commands succeeded");
  if (const auto not_sent = count(kStatusNotSent)) {
    summary += ", " + std::to_string(not_sent) + " not sent";
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
      {"Logger ID", "Time", "No.", "Object", "Parameters", "Status"}};
  const std::string id = ProvisionedId();
  for (const BatchStep& step : steps) {
    const std::string time =
        step.finished_at != 0 ? FormatLocalTime("%Y-%m-%d %H:%M:%S", step.finished_at) : "";
    rows.push_back({id, time, step.number, step.object, step.parameters, step.status});
  }
  return rows;
}

}  // namespace vexa
