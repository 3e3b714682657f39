#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/setting.h"

namespace vexa {

// How the logger's setting of one code stands to the file's (or what was read
// back to what was written).
enum class Agreement {
  kSame,
  kDiffers,
  kOnlyOnLogger,
  kOnlyInFile,
  kCannotBeReadBack,  // a read of "#1" to "#3" does not tell (CanBeReadBack)
};

// "same", "differs", "only on the logger", "only in the file", "cannot be read back".
std::string_view AgreementText(Agreement agreement);

struct SettingComparison {
  int code = 0;
  Agreement agreement = Agreement::kSame;
  std::optional<Setting> logger;  // absent where the logger side has none
  std::optional<Setting> file;
};

struct ComparisonOptions {
  // The batch gives each logger the next station ID, so a logger's own ID
  // never counts as a difference then.
  bool auto_station_id = false;
};

// Every code of either set of recorded commands (code -> command, password
// first; the passwords are not compared), in code order. Values compare by
// field: the numbers of AD records, time lapses and intervals as numbers
// ("20.0" equals "20.00"), everything else as written, the station ID too.
std::vector<SettingComparison> CompareSettings(const std::map<int, std::string>& logger,
                                               const std::map<int, std::string>& file,
                                               ComparisonOptions options = {});

}  // namespace vexa
