#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vexa {

inline constexpr int kNoElement = -1;

// One element of a document's text. Offsets are absolute; lengths are relative to
// `start`, so an edit elsewhere only has to move `start` and `end`.
struct XmlElement {
  std::size_t start = 0;           // the "<" of the start tag
  std::size_t end = 0;             // just past the end tag, or past the start tag if empty
  std::size_t name_length = 0;     //
  std::size_t tag_length = 0;      // the start tag, "<" to ">" inclusive
  std::size_t end_tag_length = 0;  // 0 when written "<name/>" or when the end tag is missing
  bool empty_form = false;         // written "<name/>" or "<name />"
  int parent = kNoElement;         // kNoElement at the top level
  int first_child = kNoElement;
  int last_child = kNoElement;
  int previous = kNoElement;
  int next = kNoElement;
};

// The element tree of a text, with what its scan found wrong.
struct XmlIndex {
  std::vector<XmlElement> elements;  // in the order of their start tags
  int first_top = kNoElement;
  int last_top = kNoElement;
  std::string diagnostics;  // problems separated by ", "
  bool well_formed = false;

  int& FirstChild(int parent) {
    return parent == kNoElement ? first_top : elements[parent].first_child;
  }
  int& LastChild(int parent) {
    return parent == kNoElement ? last_top : elements[parent].last_child;
  }
  // Puts element `i` under `parent` between the siblings `previous` and `next`
  // (either kNoElement at the ends).
  void Link(int i, int parent, int previous, int next);
  // Takes element `i`, with everything inside it, out of the tree.
  void Unlink(int i);
};

// Scans `text` for elements, end tags, comments, CDATA sections, processing
// instructions and a document type declaration. A text that is not well formed is
// indexed as far as the scan got; every element in the index nests inside its parent.
XmlIndex IndexXml(std::string_view text);

}  // namespace vexa
