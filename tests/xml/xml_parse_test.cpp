#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "xml/xml_document.h"

namespace vexa {
namespace {

TEST(XmlParse, Diagnostics) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"<?xml version=\"1.0\"?>\r\n<!DOCTYPE r [<!ENTITY e \"<>\">]>\r\n"
       "<r a='>' b=\"'\"><![CDATA[<x>]]><!-- <y> --><?pi <z>?>text</r >\r\n",
       ""},
      {"", "Empty document"},
      {" \r\n\t", "Empty document"},
      {"<!-- only -->", "No root element"},
      {"<a/>\r\n<b/>", "Root element has sibling"},
      {"<a></b>", "End tag 'b' at offset 3 does not match start tag 'a' at offset 0"},
      {"<a/></b>", "No start tag for end tag 'b' at offset 4"},
      {"<r><a>", "Element 'a' at offset 3 not ended, Element 'r' at offset 0 not ended"},
      {"<a><!-- x", "Comment at offset 3 unterminated, Element 'a' at offset 0 not ended"},
      {"<a/><![CDATA[", "CDATA Section at offset 4 unterminated"},
      {"<a/><?pi", "Processing instruction at offset 4 unterminated"},
      {"<!DOCTYPE a [ > <a/>", "DOCTYPE at offset 0 unterminated, No root element"},
      {"<a x=\"1", "Element tag at offset 0 unterminated, No root element"},
      {"<a/></a", "End tag at offset 4 unterminated"},
      {"<a x=1/>", "Incorrect Element tag at offset 0"},
      {"<a x y=\"1\">\r\n</a>", "Incorrect Element tag at offset 0"},
      {"<a x=\"1\"y=\"2\"/>", "Incorrect Element tag at offset 0"},
      {"<a>< b/></a>", "Incorrect Element tag at offset 3"},
      {"<a><!-x--></a>", "Incorrect Comment at offset 3"},
      {"<a><![CDAT[x]]></a>", "Incorrect CDATA Section at offset 3"},
      {"<a></ a></a>", "Incorrect End tag at offset 3"},
  };
  for (const auto& [text, expected] : cases) {
    XmlDocument doc;
    EXPECT_EQ(doc.Parse(text), expected.empty()) << text;
    EXPECT_EQ(doc.IsWellFormed(), expected.empty()) << text;
    EXPECT_EQ(doc.Diagnostics(), expected) << text;
  }
}

TEST(XmlParse, BrokenTextIsIndexedAsFarAsTheScanGot) {
  XmlDocument doc;
  EXPECT_FALSE(doc.Parse("<r><a k=\"1\"/><b x y=\"2\"><c/></b><d k=\"4\"/><e"));
  ASSERT_TRUE(doc.FindElement("r"));
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.FindElement("a"));
  EXPECT_EQ(doc.GetAttribute("k"), "1");
  ASSERT_TRUE(doc.FindElement("b"));
  EXPECT_EQ(doc.AttributeName(0), "");  // attributes end where the tag breaks
  ASSERT_TRUE(doc.FindElement("d"));
  EXPECT_EQ(doc.GetAttribute("k"), "4");
  EXPECT_FALSE(doc.FindElement("e"));
  // Edits of a broken text work on what was indexed and never reach outside it.
  EXPECT_TRUE(doc.AddElement("n"));
  EXPECT_TRUE(doc.LeaveElement());
  EXPECT_TRUE(doc.EnterElement());
  EXPECT_TRUE(doc.AddElement("m"));
  EXPECT_TRUE(doc.SetAttribute("z", "1"));
}

// Every prefix of a text with each kind of construct: scan, walk and edit.
TEST(XmlParse, TruncatedAndOddTextsAreSafe) {
  const std::string full =
      "\xEF\xBB\xBF<?xml version='1.0'?><!DOCTYPE r [<!ATTLIST r a CDATA '>'>]>"
      "<r a=\"1\" b='2' c=\"&amp;&lt;&#38;&\"><!-- c --><![CDATA[x]]><?p?>"
      "<e/><e x/><e x=/><e x=y/><e/ ><f>t</g></f></r><s/>";
  std::vector<std::string> texts = {std::string("<a\0b x=\"\0\"/>\0<c/>", 17),
                                    "<",
                                    "</",
                                    "<!",
                                    "<!-",
                                    "<![",
                                    "<?",
                                    "<a/",
                                    "<!DOCTYPE",
                                    ">"};
  for (std::size_t n = 0; n <= full.size(); ++n) texts.push_back(full.substr(0, n));
  for (const std::string& text : texts) {
    XmlDocument doc;
    doc.Parse(text);
    while (doc.FindElement()) {
      doc.AttributeName(0);
      doc.GetAttribute("a");
      doc.SetAttribute("b", "<'&\">");
      if (doc.EnterElement()) {
        doc.InsertElement("i");
        doc.AddElement("j", true);
        doc.LeaveElement();
      }
    }
    doc.RemoveElement();
    doc.InsertDeclaration();
    XmlDocument().Parse(doc.Text());
  }
}

TEST(XmlParse, TenThousandNestedElements) {
  constexpr int kDepth = 10000;
  std::string text;
  for (int i = 0; i < kDepth; ++i) text += "<n d=\"" + std::to_string(i) + "\">";
  for (int i = 0; i < kDepth; ++i) text += "</n>";
  XmlDocument doc;
  ASSERT_TRUE(doc.Parse(text));
  int depth = 0;
  while (doc.FindElement("n") && doc.EnterElement()) ++depth;
  EXPECT_EQ(depth, kDepth);
  ASSERT_TRUE(doc.AddElement("leaf", true));
  while (doc.LeaveElement()) {
  }
  EXPECT_EQ(doc.GetAttribute("d"), "0");
  ASSERT_TRUE(doc.RemoveElement());
  EXPECT_EQ(doc.Text(), "");

  XmlDocument open;  // never closed
  EXPECT_FALSE(open.Parse(text.substr(0, text.find("</n>"))));
  EXPECT_EQ(open.Diagnostics().find("Element 'n' at offset "), 0u);
}

TEST(XmlParse, TenMegabyteTexts) {
  constexpr std::size_t kSize = 10 << 20;
  std::string book = "<HEALTHCHECK>\r\n";
  const std::string line =
      "<Records ID=\"000041\" Phone=\"+491701234567\" EnquiryPassword=\"135791\" "
      "SetupPassword=\"246802\" />\r\n";
  std::size_t lines = 0;
  for (; book.size() < kSize; ++lines) book += line;
  book += "</HEALTHCHECK>\r\n";
  XmlDocument doc;
  ASSERT_TRUE(doc.Parse(book));
  ASSERT_TRUE(doc.FindElement("HEALTHCHECK"));
  ASSERT_TRUE(doc.EnterElement());
  std::size_t count = 0;
  while (doc.FindElement("Records")) ++count;
  EXPECT_EQ(count, lines);

  // Millions of faults: the diagnostic stays short.
  std::string junk;
  while (junk.size() < kSize) junk += "</x><";
  EXPECT_FALSE(doc.Parse(junk));
  EXPECT_LT(doc.Diagnostics().size(), 10000u);
  EXPECT_FALSE(doc.Parse(std::string(kSize, '\0')));
}

}  // namespace
}  // namespace vexa
