#include "xml/xml_document.h"

#include <algorithm>
#include <utility>

#include "xml/latin1_utf8.h"
#include "xml/whole_file.h"
#include "xml/xml_escape.h"
#include "xml/xml_lexer.h"

namespace vexa {
namespace {

constexpr std::string_view kDeclaration = "<?xml?>\r\n";
constexpr std::string_view kDeclarationStart = "<?xml";

bool StartsWithDeclaration(std::string_view text) {
  return text.starts_with(kDeclarationStart) && text.size() > kDeclarationStart.size() &&
         (IsXmlSpace(text[kDeclarationStart.size()]) || text[kDeclarationStart.size()] == '?');
}

// No declaration, or one without an encoding, means UTF-8 as well.
bool DeclaresUtf8(std::string_view text) {
  if (text.starts_with(kUtf8ByteOrderMark)) text.remove_prefix(kUtf8ByteOrderMark.size());
  std::string_view encoding;
  if (StartsWithDeclaration(text)) {
    const std::string_view declaration = text.substr(0, text.find("?>"));
    ScanAttributes(declaration, kDeclarationStart.size(), [&](const AttributeSpan& attribute) {
      if (declaration.substr(attribute.name, attribute.name_length) != "encoding") return true;
      encoding = declaration.substr(attribute.value, attribute.value_length);
      return false;
    });
  }
  constexpr std::string_view kUtf8 = "utf-8";
  return encoding.empty() ||
         (encoding.size() >= kUtf8.size() &&
          std::equal(kUtf8.begin(), kUtf8.end(), encoding.begin(), [](char a, char b) {
            return a == (b >= 'A' && b <= 'Z' ? static_cast<char>(b - 'A' + 'a') : b);
          }));
}

std::string EmptyElementText(std::string_view name, bool space_flag) {
  std::string text = "<";
  text += name;
  text += space_flag ? " />\r\n" : "/>\r\n";
  return text;
}

constexpr std::size_t kLineBreak = 2;  // CR LF after every element written

}  // namespace

bool XmlDocument::LoadFile(const std::string& path) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) return false;
  if (DeclaresUtf8(bytes)) bytes = Utf8ToLatin1(bytes);
  Parse(std::move(bytes));
  return true;
}

bool XmlDocument::SaveFile(const std::string& path) const {
  if (DeclaresUtf8(text_)) return ReplaceFileAtomically(path, Latin1ToUtf8(text_));
  return ReplaceFileAtomically(path, text_);
}

bool XmlDocument::Parse(std::string text) {
  text_ = std::move(text);
  index_ = IndexXml(text_);
  parent_ = kNoElement;
  current_ = kNoElement;
  declaration_current_ = false;
  return index_.well_formed;
}

bool XmlDocument::InsertDeclaration() {
  if (StartsWithDeclaration(text_)) return false;
  Splice(0, 0, kDeclaration);
  parent_ = kNoElement;
  current_ = kNoElement;
  declaration_current_ = true;
  return true;
}

bool XmlDocument::AddElement(std::string_view name, bool space_flag) {
  if (!IsXmlName(name)) return false;
  if (current_ != kNoElement) {
    const XmlElement& current = index_.elements[current_];
    return InsertNew(name, space_flag, AfterLineBreak(current.end), current_, current.next);
  }
  const int last = index_.LastChild(parent_);
  if (last != kNoElement) {
    return InsertNew(name, space_flag, AfterLineBreak(index_.elements[last].end), last, kNoElement);
  }
  return InsertIntoChildless(name, space_flag);
}

bool XmlDocument::InsertElement(std::string_view name, bool space_flag) {
  if (!IsXmlName(name)) return false;
  if (current_ != kNoElement) {
    const XmlElement& current = index_.elements[current_];
    return InsertNew(name, space_flag, current.start, current.previous, current_);
  }
  const int first = index_.FirstChild(parent_);
  if (first != kNoElement) {
    return InsertNew(name, space_flag, index_.elements[first].start, kNoElement, first);
  }
  return InsertIntoChildless(name, space_flag);
}

bool XmlDocument::RemoveElement() {
  if (current_ == kNoElement) return false;
  const XmlElement& current = index_.elements[current_];
  const int previous = current.previous;
  index_.Unlink(current_);
  Splice(current.start, AfterLineBreak(current.end), {});
  current_ = previous;
  declaration_current_ = false;
  return true;
}

bool XmlDocument::FindElement(std::string_view name) {
  int i = current_ != kNoElement ? index_.elements[current_].next : index_.FirstChild(parent_);
  for (; i != kNoElement; i = index_.elements[i].next) {
    const XmlElement& element = index_.elements[i];
    if (name.empty() || Slice(element.start + 1, element.name_length) == name) {
      current_ = i;
      declaration_current_ = false;
      return true;
    }
  }
  return false;
}

bool XmlDocument::EnterElement() {
  if (current_ == kNoElement) return false;
  parent_ = current_;
  current_ = kNoElement;
  declaration_current_ = false;
  return true;
}

bool XmlDocument::LeaveElement() {
  if (parent_ == kNoElement) return false;
  current_ = parent_;
  parent_ = index_.elements[current_].parent;
  declaration_current_ = false;
  return true;
}

std::string XmlDocument::AttributeName(int index) const {
  const std::optional<Tag> tag = CurrentTag();
  std::string name;
  if (!tag || index < 0) return name;
  ScanAttributes(tag->text, tag->name_end, [&](const AttributeSpan& attribute) {
    if (index-- > 0) return true;
    name = tag->text.substr(attribute.name, attribute.name_length);
    return false;
  });
  return name;
}

std::string XmlDocument::GetAttribute(std::string_view name) const {
  const std::optional<Tag> tag = CurrentTag();
  std::string value;
  if (!tag) return value;
  ScanAttributes(tag->text, tag->name_end, [&](const AttributeSpan& attribute) {
    if (tag->text.substr(attribute.name, attribute.name_length) != name) return true;
    value = UnescapeXml(tag->text.substr(attribute.value, attribute.value_length));
    return false;
  });
  return value;
}

bool XmlDocument::SetAttribute(std::string_view name, std::string_view value) {
  const std::optional<Tag> tag = CurrentTag();
  if (!tag || !IsXmlName(name)) return false;
  std::optional<AttributeSpan> found;
  const AttributeScan scan =
      ScanAttributes(tag->text, tag->name_end, [&](const AttributeSpan& attribute) {
        if (tag->text.substr(attribute.name, attribute.name_length) != name) return true;
        found = attribute;
        return false;
      });
  const std::string escaped = EscapeXml(value);
  std::size_t from = tag->offset + scan.after_last;
  std::size_t to = from;
  std::string replacement;
  if (found) {
    from = tag->offset + found->value;
    to = from + found->value_length;
    replacement = escaped;
  } else {
    replacement.append(" ").append(name).append("=\"").append(escaped).append("\"");
  }
  Splice(from, to, replacement);
  if (tag->element != kNoElement) {
    XmlElement& element = index_.elements[tag->element];
    element.tag_length = element.tag_length + replacement.size() - (to - from);
  }
  return true;
}

std::optional<XmlDocument::Tag> XmlDocument::CurrentTag() const {
  if (declaration_current_) {
    const std::size_t close = text_.find("?>");
    const std::size_t length = close == std::string::npos ? text_.size() : close + 2;
    return Tag{0, Slice(0, length), kDeclarationStart.size(), kNoElement};
  }
  if (current_ == kNoElement) return std::nullopt;
  const XmlElement& element = index_.elements[current_];
  const std::string_view text = Slice(element.start, element.tag_length);
  return Tag{element.start, text, std::min(element.name_length + 1, text.size()), current_};
}

// Offsets in the index never pass the end of the text, but after edits of a text
// that was not well formed lengths may; every view of the text is cut to fit.
std::string_view XmlDocument::Slice(std::size_t offset, std::size_t length) const {
  return std::string_view(text_).substr(std::min(offset, text_.size()), length);
}

std::size_t XmlDocument::AfterLineBreak(std::size_t offset) const {
  const std::string_view rest = Slice(offset, kLineBreak);
  if (rest.starts_with("\r\n")) return offset + 2;
  if (rest.starts_with("\n")) return offset + 1;
  return offset;
}

bool XmlDocument::InsertNew(std::string_view name, bool space_flag, std::size_t offset,
                            int previous, int next) {
  const std::string text = EmptyElementText(name, space_flag);
  Splice(offset, offset, text);
  Link(AppendElement(offset, text.size() - kLineBreak, name.size()), previous, next);
  return true;
}

// The current parent has no child element yet.
bool XmlDocument::InsertIntoChildless(std::string_view name, bool space_flag) {
  if (parent_ == kNoElement)
    return InsertNew(name, space_flag, text_.size(), kNoElement, kNoElement);
  const XmlElement& parent = index_.elements[parent_];
  if (!parent.empty_form) {
    const std::size_t end_tag =
        parent.end - std::min(parent.end_tag_length, parent.end - parent.start);
    return InsertNew(name, space_flag, end_tag, kNoElement, kNoElement);
  }
  // "<parent .../>" becomes "<parent ...>", CR LF, the child, "</parent>".
  const std::size_t name_end = parent.start + 1 + parent.name_length;
  const std::size_t tag_end = parent.start + parent.tag_length;
  if (tag_end < name_end + 2 || Slice(tag_end - 2, 2) != "/>") return false;
  std::size_t cut = tag_end - 2;
  while (cut > name_end && IsXmlSpace(text_[cut - 1])) --cut;
  const std::string parent_name(Slice(parent.start + 1, parent.name_length));
  const std::string child = EmptyElementText(name, space_flag);
  const std::string replacement = ">\r\n" + child + "</" + parent_name + ">";
  Splice(cut, tag_end, replacement);
  XmlElement& rewritten = index_.elements[parent_];
  rewritten.tag_length = cut + 1 - rewritten.start;
  rewritten.end = cut + replacement.size();
  rewritten.end_tag_length = parent_name.size() + 3;
  rewritten.empty_form = false;
  Link(AppendElement(cut + 3, child.size() - kLineBreak, name.size()), kNoElement, kNoElement);
  return true;
}

int XmlDocument::AppendElement(std::size_t offset, std::size_t length, std::size_t name_length) {
  XmlElement element;
  element.start = offset;
  element.end = offset + length;
  element.name_length = name_length;
  element.tag_length = length;
  element.empty_form = true;
  index_.elements.push_back(element);
  return static_cast<int>(index_.elements.size()) - 1;
}

// Links a new element under the current parent and makes it current. Ancestors
// whose end tag is missing end where the text did; they are stretched to hold it.
void XmlDocument::Link(int i, int previous, int next) {
  index_.Link(i, parent_, previous, next);
  const std::size_t end = index_.elements[i].end;
  for (int a = parent_; a != kNoElement && index_.elements[a].end < end;
       a = index_.elements[a].parent) {
    index_.elements[a].end = end;
  }
  current_ = i;
  declaration_current_ = false;
}

void XmlDocument::Splice(std::size_t from, std::size_t to, std::string_view replacement) {
  text_.replace(from, to - from, replacement);
  const std::size_t removed = to - from;
  const std::size_t replaced_end = from + replacement.size();
  for (XmlElement& element : index_.elements) {
    // A start at the edit point belongs to what follows it, an end to what precedes it;
    // offsets inside the replaced text (only of removed elements, in a well-formed
    // text) are pulled to its edges.
    if (element.start >= to) {
      element.start = element.start - removed + replacement.size();
    } else if (element.start > from) {
      element.start = from;
    }
    if (element.end > to) {
      element.end = element.end - removed + replacement.size();
    } else if (element.end > from) {
      element.end = replaced_end;
    }
    element.end = std::max(element.end, element.start);
  }
}

}  // namespace vexa
