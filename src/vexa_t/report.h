#pragma once

#include <string>
#include <variant>
#include <vector>

namespace vexa {

// A value of a report: nothing, yes or no, a whole number, or a text in the
// program's code page, ISO-8859-1.
using Value = std::variant<std::nullptr_t, bool, long long, std::string>;

// One named value: "Station: 000041" in the table, "station": "000041" in JSON.
struct Field {
  std::string key;
  std::string label;
  Value value;
};

struct Column {
  std::string key;
  std::string title;
};

struct Table {
  std::string key;    // the JSON member that holds its rows
  std::string title;  // above it in the text, unless empty
  std::vector<Column> columns;
  std::vector<std::vector<Value>> rows;
};

// What one command has to say, told once and shown either as text or as one
// JSON document. Never holds a password.
struct Report {
  std::string command;
  std::vector<Field> fields{};
  std::vector<Table> tables{};
  std::vector<std::string> notes{};  // sentences for the engineer
  int exit_status = 0;
  std::string error{};  // one sentence saying what went wrong and what to do; empty when none
  // Shown as it stands in place of the fields, tables and notes (the CSV of
  // stored records); JSON still carries the tables.
  std::string text_output{};

  void Add(std::string key, std::string label, Value value);
  Table& AddTable(std::string key, std::string title, std::vector<Column> columns);
};

// The fields as "Label: value" lines, each table with its columns lined up,
// then the notes; in UTF-8 for the terminal.
std::string ReportText(const Report& report);

// The report as one JSON object: "command", the fields by key, each table as
// an array of objects by column key, "notes", "exit_status", and "error".
std::string ReportJson(const Report& report);

}  // namespace vexa
