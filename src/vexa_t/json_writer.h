#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vexa {

// Writes one JSON document, indented by two blanks a level. Texts are taken in
// the program's code page, ISO-8859-1, and written as UTF-8, escaped where
// JSON requires it. The caller keeps the nesting right: a key before each
// value of an object, every begin ended.
class JsonWriter {
 public:
  void BeginObject();
  void EndObject();
  void BeginArray();
  void EndArray();
  void Key(std::string_view key);
  void String(std::string_view latin1);
  void Number(long long number);
  void Bool(bool value);
  void Null();

  // The document so far, with a final line end once it is whole.
  const std::string& text() const { return text_; }

 private:
  struct Level {
    char end;
    bool empty = true;
  };

  // Before a value: its comma and line within an array, nothing after a key.
  void BeforeValue();
  void Begin(char open, char close);
  void End();
  void NewLine();
  void Quoted(std::string_view latin1);

  std::string text_;
  std::vector<Level> levels_;
  bool after_key_ = false;
};

}  // namespace vexa
