#include "records/quantity_columns.h"

#include <algorithm>
#include <cstdio>

#include "protocol/reply_field.h"
#include "records/channel_column_name.h"

namespace vexa {
namespace {

constexpr int kFieldNumbers = 60;
constexpr std::size_t kInputStates = 9;

std::vector<std::string> Split(std::string_view value, QuantityValues values) {
  if (values == QuantityValues::kOne) return {std::string(value)};
  std::vector<std::string> parts;
  for (;;) {
    const auto bar = value.find('|');
    parts.emplace_back(value.substr(0, bar));
    if (bar == std::string_view::npos) return parts;
    value.remove_prefix(bar + 1);
  }
}

// "A13", "K03", "O01": a field's key without its ":", and the caption of a state.
std::string Name(char letter, int n) {
  char name[16];
  std::snprintf(name, sizeof name, "%c%02d", letter, n);
  return name;
}

int MeasuredWidth(const std::string& caption) {
  for (const char* wide : {"Humidity", "Temperature", "Instant Flow Rate"}) {
    if (caption.find(wide) != std::string::npos) return 120;
  }
  return 60;
}

void AddFields(std::string_view text, char letter, int kind, QuantityValues values,
               std::vector<Quantity>& quantities) {
  for (int n = 0; n < kFieldNumbers; ++n) {
    if (letter == 'A' && n >= 1 && n <= 6) continue;
    const std::string name = Name(letter, n);
    const std::string value = ReplyField(text, name + ":").value;
    if (value.empty()) continue;
    std::string caption = ChannelColumnName(n, kind);
    if (caption.empty()) caption = name;
    const int width = kind == kAnalogField ? MeasuredWidth(caption) : 80;
    quantities.push_back(
        {{name, caption, width, false, ColumnKind::kMeasured}, Split(value, values)});
  }
}

// One column per state character at `positions` of the samples, captioned
// with `letter` and the position's index plus `first_number`, while a sample
// reaches that far.
void AddStates(const std::vector<std::string>& samples, const std::vector<std::size_t>& positions,
               char letter, int first_number, int width, std::vector<Quantity>& quantities) {
  for (std::size_t i = 0; i < positions.size(); ++i) {
    const std::string caption = Name(letter, static_cast<int>(i) + first_number);
    Quantity state{{caption, caption, width, false, ColumnKind::kState}, {}};
    bool shown = false;
    for (const std::string& sample : samples) {
      const bool inside = positions[i] < sample.size();
      state.values.push_back(inside ? sample.substr(positions[i], 1) : std::string());
      shown = shown || inside;
    }
    // Positions grow with i: once no sample reaches one, none reaches the next.
    if (!shown) return;
    quantities.push_back(std::move(state));
  }
}

// Inputs K00 to K04 are the first five characters, K05 to K08 the characters
// from the twelfth on.
void AddInputStates(std::string_view text, QuantityValues values,
                    std::vector<Quantity>& quantities) {
  const std::string value = ReplyField(text, "K01:").value;
  if (value.empty()) return;
  std::vector<std::size_t> positions;
  for (std::size_t i = 0; i < kInputStates; ++i) positions.push_back(i <= 4 ? i : i + 6);
  AddStates(Split(value, values), positions, 'K', 0, 40, quantities);
}

// Relays O01 on, one character each.
void AddRelayStates(std::string_view text, QuantityValues values,
                    std::vector<Quantity>& quantities) {
  const std::string value = ReplyField(text, "O01:").value;
  if (value.empty()) return;
  const std::vector<std::string> samples = Split(value, values);
  std::size_t longest = 0;
  for (const std::string& sample : samples) longest = std::max(longest, sample.size());
  std::vector<std::size_t> positions;
  for (std::size_t i = 0; i < longest; ++i) positions.push_back(i);
  AddStates(samples, positions, 'O', 1, 50, quantities);
}

}  // namespace

std::vector<Quantity> ReadQuantities(std::string_view text, QuantityValues values) {
  std::vector<Quantity> quantities;
  AddFields(text, 'A', kAnalogField, values, quantities);
  AddFields(text, 'P', kPulseField, values, quantities);
  AddInputStates(text, values, quantities);
  AddRelayStates(text, values, quantities);
  // A status shows the readings listed above only; a record also its supply voltage.
  if (values == QuantityValues::kOne) return quantities;
  const std::string supply = ReplyField(text, ";V:").value;
  if (!supply.empty()) {
    quantities.push_back({{"V", "V", 60, false, ColumnKind::kMeasured}, Split(supply, values)});
  }
  return quantities;
}

}  // namespace vexa
