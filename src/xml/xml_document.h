#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vexa {

// The program's small XML facility: the document is kept as text with an index
// of its elements, and walked and changed through a current position, like a
// cursor. Only attribute values carry data; element content is never used.
//
// Positions: the current parent (none = top level), the current element (may
// be none) and, inside it, a current child.
class XmlDocument {
 public:
  // Reads the whole file; converts from UTF-8 into ISO-8859-1 ("?" for what it
  // cannot hold) when the declared encoding is empty or UTF-8, then parses.
  // False when the file cannot be read; well-formedness is IsWellFormed().
  bool LoadFile(const std::string& path);
  // Writes the whole text (back to UTF-8 when so declared), replacing the file
  // atomically; false, the old file untouched, when that fails.
  bool SaveFile(const std::string& path) const;

  // Replaces the document by `text`, indexes it and resets the positions.
  // Returns whether it is well formed.
  bool Parse(std::string text);
  bool IsWellFormed() const { return well_formed_; }
  // Problems found by the last parse, separated by ", ".
  const std::string& Diagnostics() const { return diagnostics_; }
  const std::string& Text() const { return text_; }

  bool InsertDeclaration();
  bool AddElement(std::string_view name, bool space_flag = false);
  bool InsertElement(std::string_view name, bool space_flag = false);
  bool RemoveElement();
  bool FindElement(std::string_view name = {});
  bool EnterElement();
  bool LeaveElement();
  std::string AttributeName(int index) const;
  std::string GetAttribute(std::string_view name) const;
  bool SetAttribute(std::string_view name, std::string_view value);

 private:
  // Implementation defined by xml_document.cpp.
  struct Element;
  std::string text_;
  std::string diagnostics_;
  bool well_formed_ = false;
  std::vector<Element>* unused_ = nullptr;  // replaced by the implementation
};

}  // namespace vexa
