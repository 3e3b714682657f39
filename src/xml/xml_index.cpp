#include "xml/xml_index.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <string>

#include "xml/xml_lexer.h"

namespace vexa {

void XmlIndex::Link(int i, int parent, int previous, int next) {
  XmlElement& element = elements[i];
  element.parent = parent;
  element.previous = previous;
  element.next = next;
  (previous == kNoElement ? FirstChild(parent) : elements[previous].next) = i;
  (next == kNoElement ? LastChild(parent) : elements[next].previous) = i;
}

void XmlIndex::Unlink(int i) {
  const XmlElement& element = elements[i];
  (element.previous == kNoElement ? FirstChild(element.parent) : elements[element.previous].next) =
      element.next;
  (element.next == kNoElement ? LastChild(element.parent) : elements[element.next].previous) =
      element.previous;
}

namespace {

// A hostile text can hold millions of faults; the diagnostic keeps the first ones.
constexpr int kMaxProblems = 100;

class Indexer {
 public:
  explicit Indexer(std::string_view text) : text_(text) {}

  XmlIndex Run() {
    if (std::all_of(text_.begin(), text_.end(), IsXmlSpace)) {
      Problem({"Empty document"});
    } else {
      std::size_t pos = 0;
      while (pos < text_.size()) {
        const void* lt = std::memchr(text_.data() + pos, '<', text_.size() - pos);
        if (lt == nullptr) break;
        pos = Markup(static_cast<const char*>(lt) - text_.data());
      }
      EndOpenElements();
      if (index_.first_top == kNoElement) {
        Problem({"No root element"});
      } else if (index_.elements[index_.first_top].next != kNoElement) {
        Problem({"Root element has sibling"});
      }
    }
    index_.well_formed = problems_ == 0;
    return std::move(index_);
  }

 private:
  // Each scanner takes the offset of a "<" and returns where the scan goes on.
  std::size_t Markup(std::size_t lt) {
    const std::string_view rest = text_.substr(lt);
    if (rest.size() < 2) return Unterminated("Element tag", lt);
    if (rest[1] == '/') return EndTag(lt);
    if (rest[1] == '?') return SkipTo(lt, 2, "?>", "Processing instruction");
    if (rest.starts_with("<!--")) return SkipTo(lt, 4, "-->", "Comment");
    if (rest.starts_with("<!-")) return Incorrect("Comment", lt);
    if (rest.starts_with("<![CDATA[")) return SkipTo(lt, 9, "]]>", "CDATA Section");
    if (rest.starts_with("<![")) return Incorrect("CDATA Section", lt);
    if (rest.starts_with("<!DOCTYPE")) return Doctype(lt);
    if (IsNameStart(rest[1])) return StartTag(lt);
    return Incorrect("Element tag", lt);
  }

  std::size_t StartTag(std::size_t lt) {
    const std::size_t name_end = NameEnd(text_, lt + 1);
    const std::size_t stop =
        ScanAttributes(text_, name_end, [](const AttributeSpan&) { return true; }).stop;
    std::size_t gt = stop;
    if (gt < text_.size() && text_[gt] == '/') ++gt;
    if (gt >= text_.size() || text_[gt] != '>') {
      // Skip the broken tag but keep its element, as far as its ">".
      gt = text_.find('>', stop);
      if (gt == std::string_view::npos) return Unterminated("Element tag", lt);
      Problem({"Incorrect Element tag at offset ", std::to_string(lt)});
    }
    XmlElement element;
    element.start = lt;
    element.end = gt + 1;
    element.name_length = name_end - lt - 1;
    element.tag_length = gt + 1 - lt;
    element.empty_form = text_[gt - 1] == '/';
    const int i = static_cast<int>(index_.elements.size());
    index_.elements.push_back(element);
    const int parent = open_.empty() ? kNoElement : open_.back();
    index_.Link(i, parent, index_.LastChild(parent), kNoElement);
    if (!element.empty_form) open_.push_back(i);
    return gt + 1;
  }

  std::size_t EndTag(std::size_t lt) {
    const std::size_t name_end = NameEnd(text_, lt + 2);
    std::size_t gt = name_end;
    while (gt < text_.size() && IsXmlSpace(text_[gt])) ++gt;
    if (name_end == lt + 2 || !IsNameStart(text_[lt + 2]) || gt >= text_.size() ||
        text_[gt] != '>') {
      gt = text_.find('>', lt + 2);
      if (gt == std::string_view::npos) return Unterminated("End tag", lt);
      Problem({"Incorrect End tag at offset ", std::to_string(lt)});
      return gt + 1;
    }
    const std::string_view name = text_.substr(lt + 2, name_end - lt - 2);
    if (open_.empty()) {
      Problem({"No start tag for end tag '", name, "' at offset ", std::to_string(lt)});
      return gt + 1;
    }
    XmlElement& open = index_.elements[open_.back()];
    const std::string_view open_name = text_.substr(open.start + 1, open.name_length);
    if (name != open_name) {
      Problem({"End tag '", name, "' at offset ", std::to_string(lt), " does not match start tag '",
               open_name, "' at offset ", std::to_string(open.start)});
    }
    // Even a wrong end tag closes the innermost element: the index stays nested and
    // every end tag costs the same.
    open.end = gt + 1;
    open.end_tag_length = gt + 1 - lt;
    open_.pop_back();
    return gt + 1;
  }

  std::size_t SkipTo(std::size_t lt, std::size_t opening, std::string_view closing,
                     const char* construct) {
    const std::size_t found = text_.find(closing, lt + opening);
    if (found == std::string_view::npos) return Unterminated(construct, lt);
    return found + closing.size();
  }

  // The internal subset may hold ">" in brackets and in quoted literals.
  std::size_t Doctype(std::size_t lt) {
    char quote = 0;
    int depth = 0;
    for (std::size_t pos = lt + 9; pos < text_.size(); ++pos) {
      const char c = text_[pos];
      if (quote != 0) {
        if (c == quote) quote = 0;
      } else if (c == '"' || c == '\'') {
        quote = c;
      } else if (c == '[') {
        ++depth;
      } else if (c == ']') {
        depth = std::max(depth - 1, 0);
      } else if (c == '>' && depth == 0) {
        return pos + 1;
      }
    }
    return Unterminated("DOCTYPE", lt);
  }

  void EndOpenElements() {
    while (!open_.empty()) {
      XmlElement& open = index_.elements[open_.back()];
      Problem({"Element '", text_.substr(open.start + 1, open.name_length), "' at offset ",
               std::to_string(open.start), " not ended"});
      open.end = text_.size();
      open_.pop_back();
    }
  }

  std::size_t Unterminated(const char* construct, std::size_t lt) {
    Problem({construct, " at offset ", std::to_string(lt), " unterminated"});
    return text_.size();
  }

  // The "<" is read as text and the scan goes on after it.
  std::size_t Incorrect(const char* construct, std::size_t lt) {
    Problem({"Incorrect ", construct, " at offset ", std::to_string(lt)});
    return lt + 1;
  }

  // Pieces rather than one text, so that faults past the limit cost no formatting.
  void Problem(std::initializer_list<std::string_view> pieces) {
    if (problems_ < kMaxProblems) {
      if (problems_ > 0) index_.diagnostics += ", ";
      for (const std::string_view piece : pieces) index_.diagnostics += piece;
    }
    ++problems_;
  }

  std::string_view text_;
  XmlIndex index_;
  std::vector<int> open_;  // elements whose end tag is still to come, innermost last
  int problems_ = 0;
};

}  // namespace

XmlIndex IndexXml(std::string_view text) {
  return Indexer(text).Run();
}

}  // namespace vexa
