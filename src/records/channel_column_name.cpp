#include "records/channel_column_name.h"

#include <cstdio>

namespace vexa {
namespace {

// Fields 20 to 59 come in groups of ten, one per pulse meter 1 to 4.
std::string MeterName(const char* format, int n, int unit) {
  char text[16];
  std::snprintf(text, sizeof text, format, n / 10 - 1, unit);
  return text;
}

std::string AnalogName(int n) {
  if (n == 0) return "Humidity";
  // The wiring puts sensors 3 to 8 before sensors 1 and 2.
  if (n >= 7 && n <= 12) return "Temperature_" + std::to_string(n - 4);
  if (n == 13) return "Temperature_1";
  if (n == 14) return "Temperature_2";
  if (n < 20 || n > 59) return {};
  const int unit = n % 10;
  if (unit <= 2) return MeterName("P%d_U%d", n, unit + 1);
  if (unit <= 5) return MeterName("P%d_I%d", n, unit - 2);
  if (unit <= 8) return MeterName("P%d_FP%d", n, unit - 5);
  return MeterName("P%d_MDA", n, 0);
}

std::string PulseName(int n) {
  if (n < 20 || n > 59) return {};
  if (n % 10 == 1) return MeterName("P%d_EA+", n, 0);
  if (n % 10 == 2) return MeterName("P%d_ER+", n, 0);
  return {};
}

}  // namespace

std::string ChannelColumnName(int n, int kind) {
  if (kind == kAnalogField) return AnalogName(n);
  if (kind == kPulseField) return PulseName(n);
  return {};
}

}  // namespace vexa
