#include <gtest/gtest.h>

#include <pugixml.hpp>
#include <string>

#include "xml/xml_document.h"

namespace vexa {
namespace {

// A new document as the phone book and the configuration file start one.
XmlDocument NewDocument(const char* root) {
  XmlDocument doc;
  EXPECT_TRUE(doc.InsertDeclaration());
  EXPECT_TRUE(doc.SetAttribute("version", "1.0"));
  EXPECT_TRUE(doc.SetAttribute("encoding", "ISO-8859-1"));
  EXPECT_TRUE(doc.AddElement(root));
  return doc;
}

void AddEntry(XmlDocument& doc, const std::string& id, const std::string& phone) {
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.InsertElement("Records", true));
  EXPECT_TRUE(doc.SetAttribute("ID", id));
  EXPECT_TRUE(doc.SetAttribute("Phone", phone));
  EXPECT_TRUE(doc.SetAttribute("EnquiryPassword", "135791"));
  EXPECT_TRUE(doc.SetAttribute("SetupPassword", "246802"));
  ASSERT_TRUE(doc.LeaveElement());
}

TEST(XmlWriting, PhoneBookLayoutNewestFirst) {
  XmlDocument doc = NewDocument("HEALTHCHECK");
  AddEntry(doc, "000041", "+491701234567");
  AddEntry(doc, "000042", "0049");
  EXPECT_EQ(doc.Text(),
            "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n"
            "<HEALTHCHECK>\r\n"
            "<Records ID=\"000042\" Phone=\"0049\" EnquiryPassword=\"135791\" "
            "SetupPassword=\"246802\" />\r\n"
            "<Records ID=\"000041\" Phone=\"+491701234567\" EnquiryPassword=\"135791\" "
            "SetupPassword=\"246802\" />\r\n"
            "</HEALTHCHECK>\r\n");

  pugi::xml_document pugi;
  ASSERT_TRUE(pugi.load_string(doc.Text().c_str(), pugi::parse_default | pugi::parse_declaration));
  const pugi::xml_node declaration = pugi.first_child();
  EXPECT_EQ(declaration.type(), pugi::node_declaration);
  EXPECT_STREQ(declaration.attribute("version").value(), "1.0");
  EXPECT_STREQ(declaration.attribute("encoding").value(), "ISO-8859-1");
  const pugi::xml_node first = pugi.child("HEALTHCHECK").first_child();
  EXPECT_STREQ(first.first_attribute().value(), "000042");
  EXPECT_STREQ(first.next_sibling().attribute("Phone").value(), "+491701234567");
}

TEST(XmlWriting, ConfigurationLayoutInReverseRowOrder) {
  XmlDocument doc = NewDocument("DATALOG_SETUP");
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.InsertElement("Records", true));
  doc.SetAttribute("No.", "01");
  doc.SetAttribute("Command", "246802#ST:000041#");
  doc.SetAttribute("COM", "11002");
  ASSERT_TRUE(doc.InsertElement("Records", true));  // an unchecked row
  ASSERT_TRUE(doc.InsertElement("DateTime", true));
  doc.SetAttribute("DateTime", "01/02/2026 10:11:12");
  ASSERT_TRUE(doc.LeaveElement());
  EXPECT_EQ(doc.Text(),
            "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n"
            "<DATALOG_SETUP>\r\n"
            "<DateTime DateTime=\"01/02/2026 10:11:12\" />\r\n"
            "<Records />\r\n"
            "<Records No.=\"01\" Command=\"246802#ST:000041#\" COM=\"11002\" />\r\n"
            "</DATALOG_SETUP>\r\n");
}

TEST(XmlWriting, ValuesAreEscapedAndReadBackUnchanged) {
  const std::string value = "a&b<c>d'e\"f &amp;";
  XmlDocument doc = NewDocument("r");
  ASSERT_TRUE(doc.SetAttribute("v", value));
  EXPECT_NE(doc.Text().find("v=\"a&amp;b&lt;c&gt;d&apos;e&quot;f &amp;amp;\""), std::string::npos);
  EXPECT_EQ(doc.GetAttribute("v"), value);

  pugi::xml_document pugi;
  ASSERT_TRUE(pugi.load_string(doc.Text().c_str()));
  EXPECT_EQ(std::string(pugi.child("r").attribute("v").value()), value);

  XmlDocument reread;
  ASSERT_TRUE(reread.Parse(doc.Text()));
  ASSERT_TRUE(reread.FindElement("r"));
  EXPECT_EQ(reread.GetAttribute("v"), value);
}

TEST(XmlWriting, SetAttributeReplacesInPlaceOrAppends) {
  XmlDocument doc;
  doc.Parse("<r a='1' b=\"2\"/>");
  ASSERT_TRUE(doc.FindElement("r"));
  EXPECT_TRUE(doc.SetAttribute("a", "x'y"));
  EXPECT_TRUE(doc.SetAttribute("b", ""));
  EXPECT_TRUE(doc.SetAttribute("c", "3"));
  EXPECT_EQ(doc.Text(), "<r a='x&apos;y' b=\"\" c=\"3\"/>");
  EXPECT_EQ(doc.AttributeName(2), "c");
  EXPECT_EQ(doc.GetAttribute("a"), "x'y");
  EXPECT_FALSE(doc.SetAttribute("bad name", "1"));
  EXPECT_FALSE(doc.SetAttribute("", "1"));
  EXPECT_FALSE(XmlDocument().SetAttribute("a", "1"));  // no current element
}

TEST(XmlWriting, FirstChildRewritesTheEmptyForm) {
  for (const char* empty : {"<a x=\"1\" />\r\n", "<a x=\"1\"/>\r\n"}) {
    XmlDocument doc;
    doc.Parse(empty);
    ASSERT_TRUE(doc.FindElement("a"));
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.AddElement("b", true));
    EXPECT_EQ(doc.Text(), "<a x=\"1\">\r\n<b />\r\n</a>\r\n");
    // The index follows the new text: further edits land in the right place.
    ASSERT_TRUE(doc.AddElement("c"));
    ASSERT_TRUE(doc.SetAttribute("y", "2"));
    ASSERT_TRUE(doc.LeaveElement());
    ASSERT_TRUE(doc.SetAttribute("x", "10"));
    EXPECT_EQ(doc.Text(), "<a x=\"10\">\r\n<b />\r\n<c y=\"2\"/>\r\n</a>\r\n");
  }
}

TEST(XmlWriting, AddAndInsertPlacement) {
  XmlDocument doc;
  doc.Parse("<r>\r\n<m/>\r\n</r>\r\n");
  ASSERT_TRUE(doc.FindElement("r"));
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.AddElement("last"));  // no current element: last child
  ASSERT_TRUE(doc.LeaveElement());
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.InsertElement("first"));  // no current element: first child
  ASSERT_TRUE(doc.FindElement("m"));
  ASSERT_TRUE(doc.AddElement("after_m"));
  ASSERT_TRUE(doc.FindElement("last"));
  ASSERT_TRUE(doc.InsertElement("before_last"));
  EXPECT_EQ(doc.Text(),
            "<r>\r\n<first/>\r\n<m/>\r\n<after_m/>\r\n<before_last/>\r\n<last/>\r\n</r>\r\n");
  EXPECT_FALSE(doc.AddElement(""));
  EXPECT_FALSE(doc.InsertElement("1a"));
  EXPECT_FALSE(doc.AddElement("a b"));
}

TEST(XmlWriting, RemoveElementTakesItsLineAndStepsBack) {
  XmlDocument doc;
  doc.Parse("<r>\r\n<a/>\r\n<b>\r\n<c/>\r\n</b>\r\n<d/>\r\n</r>\r\n");
  ASSERT_TRUE(doc.FindElement("r"));
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.FindElement("b"));
  ASSERT_TRUE(doc.RemoveElement());  // with its child
  ASSERT_TRUE(doc.SetAttribute("now", "a"));
  EXPECT_EQ(doc.Text(), "<r>\r\n<a now=\"a\"/>\r\n<d/>\r\n</r>\r\n");
  ASSERT_TRUE(doc.RemoveElement());  // "a" had no element before it
  EXPECT_FALSE(doc.RemoveElement());
  ASSERT_TRUE(doc.FindElement());
  EXPECT_TRUE(doc.SetAttribute("now", "d"));
  EXPECT_EQ(doc.Text(), "<r>\r\n<d now=\"d\"/>\r\n</r>\r\n");
}

TEST(XmlWriting, DeclarationOnlyOnce) {
  XmlDocument doc;
  doc.Parse("<r/>");
  ASSERT_TRUE(doc.InsertDeclaration());
  EXPECT_TRUE(doc.SetAttribute("version", "1.0"));
  EXPECT_FALSE(doc.InsertDeclaration());
  ASSERT_TRUE(doc.FindElement("r"));  // the index moved with the text
  EXPECT_TRUE(doc.SetAttribute("a", "1"));
  EXPECT_EQ(doc.Text(), "<?xml version=\"1.0\"?>\r\n<r a=\"1\"/>");
}

}  // namespace
}  // namespace vexa
