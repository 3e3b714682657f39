#include "vexa_t/report.h"

#include <algorithm>

#include "vexa_t/json_writer.h"
#include "xml/latin1_utf8.h"

namespace vexa {
namespace {

std::string Text(const Value& value) {
  if (const auto* text = std::get_if<std::string>(&value)) return *text;
  if (const auto* number = std::get_if<long long>(&value)) return std::to_string(*number);
  if (const auto* yes = std::get_if<bool>(&value)) return *yes ? "yes" : "no";
  return {};
}

void Write(JsonWriter& json, const Value& value) {
  if (const auto* text = std::get_if<std::string>(&value)) return json.String(*text);
  if (const auto* number = std::get_if<long long>(&value)) return json.Number(*number);
  if (const auto* yes = std::get_if<bool>(&value)) return json.Bool(*yes);
  json.Null();
}

// The columns lined up two blanks apart; the last one is not padded.
std::string TableText(const Table& table) {
  std::vector<std::size_t> widths;
  for (const Column& column : table.columns) widths.push_back(column.title.size());
  std::vector<std::vector<std::string>> cells;
  for (const auto& row : table.rows) {
    auto& line = cells.emplace_back();
    for (std::size_t i = 0; i < row.size() && i < widths.size(); ++i) {
      line.push_back(Text(row[i]));
      widths[i] = std::max(widths[i], line.back().size());
    }
  }
  const auto line_of = [&widths](const std::vector<std::string>& texts) {
    std::string line;
    for (std::size_t i = 0; i < texts.size(); ++i) {
      line += texts[i];
      if (i + 1 < texts.size()) line.append(widths[i] - texts[i].size() + 2, ' ');
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    return line + "\n";
  };
  std::string text = table.title.empty() ? "" : table.title + ":\n";
  std::vector<std::string> titles;
  for (const Column& column : table.columns) titles.push_back(column.title);
  text += line_of(titles);
  for (const auto& line : cells) text += line_of(line);
  return text;
}

}  // namespace

void Report::Add(std::string key, std::string label, Value value) {
  fields.push_back({std::move(key), std::move(label), std::move(value)});
}

Table& Report::AddTable(std::string key, std::string title, std::vector<Column> columns) {
  return tables.emplace_back(Table{std::move(key), std::move(title), std::move(columns), {}});
}

std::string ReportText(const Report& report) {
  if (!report.text_output.empty()) return report.text_output;
  std::vector<std::string> blocks;
  std::string fields;
  for (const Field& field : report.fields) fields += field.label + ": " + Text(field.value) + "\n";
  if (!fields.empty()) blocks.push_back(fields);
  for (const Table& table : report.tables) {
    if (!table.rows.empty()) blocks.push_back(TableText(table));
  }
  std::string notes;
  for (const std::string& note : report.notes) notes += note + "\n";
  if (!notes.empty()) blocks.push_back(notes);
  std::string text;
  for (const std::string& block : blocks) text += (text.empty() ? "" : "\n") + block;
  return Latin1ToUtf8(text);
}

std::string ReportJson(const Report& report) {
  JsonWriter json;
  json.BeginObject();
  json.Key("command");
  json.String(report.command);
  for (const Field& field : report.fields) {
    json.Key(field.key);
    Write(json, field.value);
  }
  for (const Table& table : report.tables) {
    json.Key(table.key);
    json.BeginArray();
    for (const auto& row : table.rows) {
      json.BeginObject();
      for (std::size_t i = 0; i < row.size() && i < table.columns.size(); ++i) {
        json.Key(table.columns[i].key);
        Write(json, row[i]);
      }
      json.EndObject();
    }
    json.EndArray();
  }
  json.Key("notes");
  json.BeginArray();
  for (const std::string& note : report.notes) json.String(note);
  json.EndArray();
  json.Key("exit_status");
  json.Number(report.exit_status);
  if (!report.error.empty()) {
    json.Key("error");
    json.String(report.error);
  }
  json.EndObject();
  return json.text();
}

}  // namespace vexa
