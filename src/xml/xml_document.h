#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "xml/xml_index.h"

namespace vexa {

// The program's small XML facility: the document is kept as text with an index
// of its elements, and walked and changed through a current position, like a
// cursor. Only attribute values carry data; element content is never used.
//
// Positions: the current parent (none = top level) and the current element (may
// be none). Edits change the text in place and move the offsets of the index, so
// no edit costs a new scan.
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
  bool IsWellFormed() const { return index_.well_formed; }
  // Problems found by the last parse, separated by ", ".
  const std::string& Diagnostics() const { return index_.diagnostics; }
  const std::string& Text() const { return text_; }

  // Puts "<?xml?>" and CR LF at the top and makes it the node that SetAttribute
  // changes, the positions at the top level with no current element. False when
  // the text already starts with a declaration.
  bool InsertDeclaration();
  // Writes "<name/>" (or "<name />" with the space flag) and CR LF after the
  // current element, or as the last child of the current parent when there is
  // none; it becomes the current element. False for a text that is not a name.
  bool AddElement(std::string_view name, bool space_flag = false);
  // As AddElement, but before the current element, or as the first child.
  bool InsertElement(std::string_view name, bool space_flag = false);
  // Removes the current element with its line break; the element before it, or
  // none, becomes current.
  bool RemoveElement();
  // The next sibling after the current element (or, without one, the first child
  // of the current parent onwards) named exactly `name`, any name when empty.
  bool FindElement(std::string_view name = {});
  bool EnterElement();
  bool LeaveElement();
  // Attributes of the current element, or of the declaration just inserted.
  std::string AttributeName(int index) const;
  std::string GetAttribute(std::string_view name) const;
  bool SetAttribute(std::string_view name, std::string_view value);

 private:
  // The start tag that the attribute operations work on.
  struct Tag {
    std::size_t offset = 0;    // of its "<" in the text
    std::string_view text;     // the tag, "<" to ">"
    std::size_t name_end = 0;  // within `text`
    int element = kNoElement;  // kNoElement for the declaration
  };
  std::optional<Tag> CurrentTag() const;
  std::string_view Slice(std::size_t offset, std::size_t length) const;
  std::size_t AfterLineBreak(std::size_t offset) const;

  bool InsertNew(std::string_view name, bool space_flag, std::size_t offset, int previous,
                 int next);
  bool InsertIntoChildless(std::string_view name, bool space_flag);
  int AppendElement(std::size_t offset, std::size_t length, std::size_t name_length);
  void Link(int i, int previous, int next);
  // Replaces text_[from, to) and moves every offset of the index behind it.
  void Splice(std::size_t from, std::size_t to, std::string_view replacement);

  std::string text_;
  XmlIndex index_;
  int parent_ = kNoElement;
  int current_ = kNoElement;
  bool declaration_current_ = false;
};

}  // namespace vexa
