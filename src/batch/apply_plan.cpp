#include "batch/apply_plan.h"

#include "batch/batch_list.h"
#include "protocol/date_time_setting.h"
#include "settings/setting_codes.h"

namespace vexa {

std::string_view LeftOutText(LeftOutReason reason) {
  switch (reason) {
    case LeftOutReason::kStationId:
      return "a file does not rename the logger it is applied to";
    case LeftOutReason::kDateTime:
      return "a file's date and time are out of date";
  }
  return {};
}

ApplyPlan PlanApply(const std::map<int, std::string>& file_commands,
                    std::string_view setup_password, ApplyOptions options, std::time_t now) {
  CommandBuffer buffer;
  for (const auto& [code, command] : file_commands) buffer.RecordCommand(code, command);
  BatchList list;
  // The file holds it because the engineer's batch listed it.
  list.IncludeBandCommand();
  list.Refresh(buffer, setup_password, true);

  ApplyPlan plan;
  for (std::size_t i = 0; i < list.rows().size(); ++i) {
    const BatchRow& row = list.rows()[i];
    const int index = static_cast<int>(i);
    if (row.code == kStationIdCode && !options.auto_station_id && !options.with_station_id) {
      plan.left_out.push_back({row.code, row.object, row.parameters, LeftOutReason::kStationId});
      list.SetChecked(index, false);
    } else if (auto current = WithDateTimeValue(row.command, DateTimeSettingValue(now))) {
      if (options.with_time) {
        list.SetCommand(index, std::move(*current));
      } else {
        plan.left_out.push_back({row.code, row.object, row.parameters, LeftOutReason::kDateTime});
        list.SetChecked(index, false);
      }
    }
  }
  for (const int row : list.QueueChecked(options.auto_station_id)) {
    plan.rows.push_back(list.rows()[row]);
  }
  return plan;
}

}  // namespace vexa
