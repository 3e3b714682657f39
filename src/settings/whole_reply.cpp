#include "settings/whole_reply.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>

#include "protocol/reply_field.h"
#include "settings/analog_records.h"

namespace vexa {
namespace {

// How the value of a field the program reads must look.
enum class Form {
  kAny,            // a marker's value (the station ID, ",T" after it in a status), a clock
  kOneValue,       // no ","
  kTwoValues,      // one ","
  kDigits,         // one or more digits
  kChannelRecord,  // the numbers of an AD record, as many as its layout has
};

// A key is upper-case letters and, for the numbered ones, digits after them.
struct KnownKey {
  std::string_view letters;
  bool numbered;
  Form form;
};

struct ReplyLayout {
  std::string_view marker;
  std::span<const KnownKey> keys;
};

// "L:" is the total length a GSM reply's first part announces.
constexpr std::array kGroup1Keys = {
    KnownKey{"STC", true, Form::kAny},      KnownKey{"L", false, Form::kDigits},
    KnownKey{"TM", false, Form::kDigits},   KnownKey{"PS", false, Form::kTwoValues},
    KnownKey{"SA", false, Form::kOneValue}, KnownKey{"CP", false, Form::kTwoValues},
    KnownKey{"AP", true, Form::kOneValue},  KnownKey{"ER", false, Form::kOneValue},
    KnownKey{"IA", false, Form::kOneValue}, KnownKey{"XH", false, Form::kOneValue},
    KnownKey{"OUT", true, Form::kDigits},
};
constexpr std::array kGroup2Keys = {
    KnownKey{"STC", true, Form::kAny},
    KnownKey{"L", false, Form::kDigits},
    KnownKey{"AD", true, Form::kChannelRecord},
    KnownKey{"PA", false, Form::kOneValue},
};
constexpr std::array kGroup3Keys = {
    KnownKey{"STC", true, Form::kAny},
    KnownKey{"L", false, Form::kDigits},
    KnownKey{"COUT", true, Form::kOneValue},
};
// The readings and the clock are shown as the logger sends them, so only the
// readings' shape counts.
constexpr std::array kStatusKeys = {
    KnownKey{"STA", false, Form::kAny},   KnownKey{"L", false, Form::kDigits},
    KnownKey{"TM", false, Form::kAny},    KnownKey{"A", true, Form::kOneValue},
    KnownKey{"P", true, Form::kOneValue}, KnownKey{"K", true, Form::kOneValue},
    KnownKey{"O", true, Form::kOneValue},
};

constexpr std::array<ReplyLayout, 4> kLayouts = {{
    {"#STC1:", kGroup1Keys},
    {"#STC2:", kGroup2Keys},
    {"#STC3:", kGroup3Keys},
    {"#STA:", kStatusKeys},
}};

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool AllDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), IsDigit);
}

// "-12.5", "100.0", "01234": digits with at most one ".", a "-" only first.
bool IsNumber(std::string_view text) {
  if (text.starts_with('-')) text.remove_prefix(1);
  const auto point = std::count(text.begin(), text.end(), '.');
  const auto digits = std::count_if(text.begin(), text.end(), IsDigit);
  return digits > 0 && point <= 1 && static_cast<std::size_t>(digits + point) == text.size();
}

// The number of a field comes after every earlier one of its kind.
bool Ascends(std::map<std::string_view, int>& last_number, std::string_view letters, int value) {
  const auto [last, first] = last_number.try_emplace(letters, value);
  if (first) return true;
  const bool ascends = value > last->second;
  last->second = value;
  return ascends;
}

bool ReadsAsRecord(int ad, std::string_view value) {
  const std::vector<std::string> fields = SplitValue(value);
  const std::size_t count = IsThreeFieldRecord(ad) ? 3 : 6;
  return fields.size() == count && std::all_of(fields.begin(), fields.end(), IsNumber);
}

bool HasForm(Form form, int number, std::string_view value) {
  // A second key inside a value: two fields ran together.
  if (form != Form::kAny && value.find(':') != std::string_view::npos) return false;
  switch (form) {
    case Form::kAny:
      return true;
    case Form::kOneValue:
      return value.find(',') == std::string_view::npos;
    case Form::kTwoValues:
      return std::count(value.begin(), value.end(), ',') == 1;
    case Form::kDigits:
      return AllDigits(value);
    case Form::kChannelRecord:
      return ReadsAsRecord(number, value);
  }
  return false;
}

const KnownKey* Find(std::span<const KnownKey> keys, std::string_view letters, bool numbered) {
  for (const KnownKey& key : keys) {
    if (key.letters == letters && key.numbered == numbered) return &key;
  }
  return nullptr;
}

// Whether a field that `layout` does not know belongs to another reply.
bool BelongsElsewhere(const ReplyLayout& layout, std::string_view letters, bool numbered) {
  for (const ReplyLayout& other : kLayouts) {
    if (other.marker != layout.marker && Find(other.keys, letters, numbered)) return true;
  }
  return false;
}

// The key of a field: upper-case letters, then the digits of a numbered one.
struct FieldKey {
  std::string_view text;
  std::string_view letters;
  bool numbered = false;
  int number = 0;
};

std::optional<FieldKey> KeyOf(std::string_view field) {
  const std::size_t colon = field.find(':');
  if (colon == std::string_view::npos) return std::nullopt;
  FieldKey key{field.substr(0, colon)};
  const auto letters_end = std::find_if_not(key.text.begin(), key.text.end(),
                                            [](char c) { return c >= 'A' && c <= 'Z'; });
  key.letters = key.text.substr(0, letters_end - key.text.begin());
  const std::string_view digits = key.text.substr(key.letters.size());
  if (key.letters.empty() || !(digits.empty() || AllDigits(digits))) return std::nullopt;
  key.numbered = !digits.empty();
  // Nine digits are more than any field's number and still fit an int.
  if (key.numbered) key.number = std::stoi(std::string(digits.substr(0, 9)));
  return key;
}

bool ReadsWhole(const ReplyLayout& layout, std::string_view reply, bool joined) {
  const std::size_t start = reply.find(layout.marker);
  if (start == std::string_view::npos) return false;
  std::string_view fields = reply.substr(start + 1);
  // Every field ends with its ";", the last one too, before the end mark.
  if (!fields.ends_with(";#")) return false;
  fields.remove_suffix(1);
  std::set<std::string_view> seen;
  std::map<std::string_view, int> last_number;  // by kind of numbered field
  while (!fields.empty()) {
    const std::string_view field = fields.substr(0, fields.find(';'));
    fields.remove_prefix(field.size() + 1);
    if (field.empty()) continue;
    const std::optional<FieldKey> key = KeyOf(field);
    if (!key || !seen.insert(key->text).second) return false;
    if (const KnownKey* known = Find(layout.keys, key->letters, key->numbered)) {
      if (!HasForm(known->form, key->number, field.substr(key->text.size() + 1))) return false;
      if (joined && key->numbered && !Ascends(last_number, key->letters, key->number)) {
        return false;
      }
    } else if (BelongsElsewhere(layout, key->letters, key->numbered)) {
      return false;
    }
  }
  return true;
}

}  // namespace

bool GroupReplyReadsWhole(int group, std::string_view reply, bool joined) {
  if (group < 1 || group > 3) return false;
  return ReadsWhole(kLayouts[group - 1], reply, joined);
}

bool StatusReplyReadsWhole(std::string_view reply, bool joined) {
  return ReadsWhole(kLayouts[3], reply, joined);
}

}  // namespace vexa
