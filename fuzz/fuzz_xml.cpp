// Parses arbitrary bytes, then walks and edits the document as the input says.
// Nothing may crash; and when the edits start from a well-formed or empty text,
// the document's own index must describe the same tree as a new parse of the
// text it wrote.
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "xml/xml_document.h"

namespace {

void Describe(const vexa::XmlDocument& doc, std::string& out) {
  out += '{';
  for (int i = 0;; ++i) {
    const std::string name = doc.AttributeName(i);
    if (name.empty()) break;
    out += name + '=' + doc.GetAttribute(name) + ';';
  }
  out += '}';
}

// The tree from the current top-level element (or the first) to the end, depth first.
std::string Outline(vexa::XmlDocument& doc) {
  std::string out;
  while (doc.LeaveElement()) {
  }
  if (doc.EnterElement()) {
    doc.LeaveElement();
  } else if (!doc.FindElement()) {
    return out;
  }
  int depth = 0;
  Describe(doc, out);
  while (true) {
    if (doc.EnterElement()) {
      if (doc.FindElement()) {
        out += '(';
        ++depth;
        Describe(doc, out);
        continue;
      }
      doc.LeaveElement();
    }
    while (!doc.FindElement()) {
      if (depth == 0) return out;
      doc.LeaveElement();
      out += ')';
      --depth;
    }
    Describe(doc, out);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  vexa::XmlDocument doc;
  const bool start_empty = input.ConsumeBool();
  const bool checkable = start_empty || doc.Parse(input.ConsumeRandomLengthString(4096));
  static constexpr std::array<const char*, 7> kNames = {"",    "Records", "HEALTHCHECK", "a", "b",
                                                        "x y", "1"};
  const auto name = [&input] {
    if (input.ConsumeBool()) return input.ConsumeRandomLengthString(8);
    return std::string(kNames[input.ConsumeIntegralInRange<std::size_t>(0, kNames.size() - 1)]);
  };
  while (input.remaining_bytes() > 0) {
    switch (input.ConsumeIntegralInRange(0, 10)) {
      case 0:
        doc.FindElement(name());
        break;
      case 1:
        doc.EnterElement();
        break;
      case 2:
        doc.LeaveElement();
        break;
      case 3:
        doc.GetAttribute(doc.AttributeName(input.ConsumeIntegralInRange(-1, 5)));
        break;
      case 4:
        doc.GetAttribute(name());
        break;
      case 5: {
        const std::string attribute = name();
        doc.SetAttribute(attribute, input.ConsumeRandomLengthString(16));
        break;
      }
      case 6:
        doc.InsertElement(name(), input.ConsumeBool());
        break;
      case 7:
        doc.AddElement(name(), input.ConsumeBool());
        break;
      case 8:
        doc.RemoveElement();
        break;
      case 9:
        doc.InsertDeclaration();
        break;
      default:
        doc.Parse(doc.Text());
        break;
    }
  }
  vexa::XmlDocument reread;
  reread.Parse(doc.Text());
  if (checkable) {
    const std::string edited = Outline(doc);
    const std::string parsed = Outline(reread);
    if (!parsed.ends_with(edited)) std::abort();
  }
  return 0;
}
