#include "vexa_t/json_writer.h"

#include <cstdio>

#include "xml/latin1_utf8.h"

namespace vexa {

void JsonWriter::BeginObject() {
  Begin('{', '}');
}

void JsonWriter::EndObject() {
  End();
}

void JsonWriter::BeginArray() {
  Begin('[', ']');
}

void JsonWriter::EndArray() {
  End();
}

void JsonWriter::Key(std::string_view key) {
  BeforeValue();
  Quoted(key);
  text_ += ": ";
  after_key_ = true;
}

void JsonWriter::String(std::string_view latin1) {
  BeforeValue();
  Quoted(latin1);
}

void JsonWriter::Number(long long number) {
  BeforeValue();
  text_ += std::to_string(number);
}

void JsonWriter::Bool(bool value) {
  BeforeValue();
  text_ += value ? "true" : "false";
}

void JsonWriter::Null() {
  BeforeValue();
  text_ += "null";
}

void JsonWriter::BeforeValue() {
  if (after_key_) {
    after_key_ = false;
    return;
  }
  if (levels_.empty()) return;
  if (!levels_.back().empty) text_ += ',';
  levels_.back().empty = false;
  NewLine();
}

void JsonWriter::Begin(char open, char close) {
  BeforeValue();
  text_ += open;
  levels_.push_back({close});
}

void JsonWriter::End() {
  if (levels_.empty()) return;
  const Level level = levels_.back();
  levels_.pop_back();
  if (!level.empty) NewLine();
  text_ += level.end;
  if (levels_.empty()) text_ += '\n';
}

void JsonWriter::NewLine() {
  text_ += '\n';
  text_.append(2 * levels_.size(), ' ');
}

void JsonWriter::Quoted(std::string_view latin1) {
  std::string escaped = "\"";
  for (const char c : latin1) {
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '"':
        escaped += "\\\"";
        break;
      case '\\':
        escaped += "\\\\";
        break;
      case '\n':
        escaped += "\\n";
        break;
      case '\r':
        escaped += "\\r";
        break;
      case '\t':
        escaped += "\\t";
        break;
      default:
        if (byte < 0x20 || byte == 0x7f) {
          char code[8];
          std::snprintf(code, sizeof code, "\\u%04x", byte);
          escaped += code;
        } else {
          escaped += c;
        }
    }
  }
  escaped += '"';
  text_ += Latin1ToUtf8(escaped);
}

}  // namespace vexa
