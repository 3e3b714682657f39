#include "csv/csv_file.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "xml/latin1_utf8.h"

namespace vexa {
namespace {

bool IsDigit(char c) {
  return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// The digits at `at` onwards; how many there were.
std::size_t SkipDigits(std::string_view text, std::size_t& at) {
  const std::size_t from = at;
  while (at < text.size() && IsDigit(text[at])) ++at;
  return at - from;
}

// A plain decimal number, signed or not, with or without a fraction and exponent.
bool IsNumber(std::string_view field) {
  std::size_t at = 0;
  if (at < field.size() && (field[at] == '+' || field[at] == '-')) ++at;
  const std::size_t whole = SkipDigits(field, at);
  std::size_t fraction = 0;
  if (at < field.size() && field[at] == '.') {
    ++at;
    fraction = SkipDigits(field, at);
  }
  if (whole == 0 && fraction == 0) return false;
  if (at < field.size() && (field[at] == 'e' || field[at] == 'E')) {
    ++at;
    if (at < field.size() && (field[at] == '+' || field[at] == '-')) ++at;
    if (SkipDigits(field, at) == 0) return false;
  }
  return at == field.size();
}

// A spreadsheet runs a cell that starts with one of these as a formula.
bool StartsLikeAFormula(std::string_view field) {
  return !field.empty() && std::string_view("=+-@").find(field.front()) != std::string_view::npos;
}

std::string CsvField(std::string field) {
  // Texts the logger or the engineer wrote must never run: kept as text.
  if (StartsLikeAFormula(field) && !IsNumber(field)) field.insert(0, 1, '\'');
  if (field.find_first_of(",\"\r\n") == std::string::npos) return field;
  std::string quoted = "\"";
  for (const char c : field) {
    quoted += c;
    if (c == '"') quoted += '"';
  }
  return quoted + '"';
}

bool EndsWithCsv(const std::string& file) {
  constexpr std::string_view kSuffix = ".csv";
  if (file.size() < kSuffix.size()) return false;
  return std::equal(
      kSuffix.begin(), kSuffix.end(), file.end() - kSuffix.size(),
      [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

}  // namespace

std::string CsvText(const CsvRows& rows) {
  std::string text;
  for (const auto& row : rows) {
    for (std::size_t i = 0; i < row.size(); ++i) {
      if (i > 0) text += ',';
      text += CsvField(row[i]);
    }
    text += "\r\n";
  }
  return Latin1ToUtf8(text);
}

SaveTarget CsvSaveTarget(const std::string& path) {
  return LookAtSaveTarget(path, EndsWithCsv);
}

bool SaveCsvFile(const std::string& path, const CsvRows& rows) {
  if (CsvSaveTarget(path).refusal != ReplaceRefusal::kNone) return false;
  return ReplaceFileAtomically(path, CsvText(rows));
}

}  // namespace vexa
