#pragma once

#include <cctype>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vexa {

// A strict reader of the JSON the tests get, so that they can tell whether a
// document parses and look inside it. Texts stay UTF-8; \u escapes below 0x80
// only, which is all a writer of ours needs to escape.
struct Json {
  enum class Kind { kNull, kBool, kNumber, kString, kArray, kObject } kind = Kind::kNull;
  bool boolean = false;
  double number = 0;
  std::string text;
  std::vector<Json> items;
  std::map<std::string, Json> members;

  const Json& operator[](const std::string& key) const { return members.at(key); }
  const Json& operator[](std::size_t index) const { return items.at(index); }
};

class JsonReader {
 public:
  // The one value the document holds; nothing when it is no JSON.
  static std::optional<Json> Parse(std::string_view document) {
    JsonReader reader(document);
    Json value;
    if (!reader.Value(value)) return std::nullopt;
    reader.Blanks();
    if (reader.at_ != document.size()) return std::nullopt;
    return value;
  }

 private:
  explicit JsonReader(std::string_view text) : text_(text) {}

  void Blanks() {
    while (at_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[at_]))) ++at_;
  }
  bool Take(char c) {
    Blanks();
    if (at_ >= text_.size() || text_[at_] != c) return false;
    ++at_;
    return true;
  }
  bool Word(std::string_view word) {
    if (text_.substr(at_, word.size()) != word) return false;
    at_ += word.size();
    return true;
  }
  bool String(std::string& out) {
    if (!Take('"')) return false;
    while (at_ < text_.size() && text_[at_] != '"') {
      const auto c = static_cast<unsigned char>(text_[at_++]);
      if (c < 0x20) return false;
      if (c != '\\') {
        out += static_cast<char>(c);
        continue;
      }
      if (at_ >= text_.size()) return false;
      const char escape = text_[at_++];
      const std::string_view plain = "\"\\/bfnrt", meant = "\"\\/\b\f\n\r\t";
      if (const auto found = plain.find(escape); found != std::string_view::npos) {
        out += meant[found];
      } else if (escape == 'u' && at_ + 4 <= text_.size()) {
        const int code = std::stoi(std::string(text_.substr(at_, 4)), nullptr, 16);
        if (code >= 0x80) return false;
        out += static_cast<char>(code);
        at_ += 4;
      } else {
        return false;
      }
    }
    return Take('"');
  }
  bool Value(Json& value) {
    Blanks();
    if (at_ >= text_.size()) return false;
    const char c = text_[at_];
    if (c == '{') {
      value.kind = Json::Kind::kObject;
      ++at_;
      if (Take('}')) return true;
      do {
        std::string key;
        Json member;
        if (!String(key) || !Take(':') || !Value(member)) return false;
        if (!value.members.emplace(key, std::move(member)).second) return false;
      } while (Take(','));
      return Take('}');
    }
    if (c == '[') {
      value.kind = Json::Kind::kArray;
      ++at_;
      if (Take(']')) return true;
      do {
        if (!Value(value.items.emplace_back())) return false;
      } while (Take(','));
      return Take(']');
    }
    if (c == '"') {
      value.kind = Json::Kind::kString;
      return String(value.text);
    }
    if (Word("null")) return true;
    if (Word("true") || Word("false")) {
      value.kind = Json::Kind::kBool;
      value.boolean = text_[at_ - 1] == 'e' && text_[at_ - 2] == 'u';
      return true;
    }
    std::size_t used = 0;
    try {
      value.number = std::stod(std::string(text_.substr(at_)), &used);
    } catch (...) {
      return false;
    }
    value.kind = Json::Kind::kNumber;
    at_ += used;
    return used > 0;
  }

  std::string_view text_;
  std::size_t at_ = 0;
};

}  // namespace vexa
