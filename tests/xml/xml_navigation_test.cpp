#include <gtest/gtest.h>

#include <pugixml.hpp>
#include <string>

#include "xml/xml_document.h"

namespace vexa {
namespace {

constexpr const char* kBook =
    "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n"
    "<!-- <Records ID=\"comment\"/> -->\r\n"
    "<HEALTHCHECK>\r\n"
    "<Records ID=\"1\" Phone=\"11\"/>\r\n"
    "<records ID=\"case\"/>\r\n"
    "<Other ID=\"other\"><Records ID=\"inner\"/></Other>\r\n"
    "<Records Phone=\"22\" ID=\"2\"/>\r\n"
    "</HEALTHCHECK>\r\n";

TEST(XmlNavigation, FindSearchesOnlyLaterSiblingsByExactName) {
  XmlDocument doc;
  ASSERT_TRUE(doc.Parse(kBook));
  EXPECT_FALSE(doc.FindElement("Records"));  // not at the top level
  ASSERT_TRUE(doc.FindElement("HEALTHCHECK"));
  ASSERT_TRUE(doc.EnterElement());
  std::string ids;
  while (doc.FindElement("Records")) ids += doc.GetAttribute("ID") + ";";
  EXPECT_EQ(ids, "1;2;");
  EXPECT_EQ(doc.GetAttribute("ID"), "2");  // a failed search moves nothing

  ASSERT_TRUE(doc.LeaveElement());
  ASSERT_TRUE(doc.EnterElement());  // back at the first child onwards
  ids.clear();
  while (doc.FindElement()) ids += doc.GetAttribute("ID") + ";";
  EXPECT_EQ(ids, "1;case;other;2;");
}

TEST(XmlNavigation, EnterAndLeave) {
  XmlDocument doc;
  ASSERT_TRUE(doc.Parse(kBook));
  EXPECT_FALSE(doc.EnterElement());  // no current element
  EXPECT_FALSE(doc.LeaveElement());  // at the top
  ASSERT_TRUE(doc.FindElement("HEALTHCHECK"));
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.FindElement("Other"));
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.FindElement("Records"));
  EXPECT_EQ(doc.GetAttribute("ID"), "inner");
  ASSERT_TRUE(doc.LeaveElement());
  EXPECT_EQ(doc.GetAttribute("ID"), "other");  // the parent is current again
  ASSERT_TRUE(doc.FindElement("Records"));     // and the search goes on after it
  EXPECT_EQ(doc.GetAttribute("ID"), "2");
  ASSERT_TRUE(doc.LeaveElement());
  EXPECT_FALSE(doc.LeaveElement());
  EXPECT_FALSE(doc.FindElement());  // the root has no sibling
}

TEST(XmlNavigation, AttributesByPosition) {
  XmlDocument doc;
  ASSERT_TRUE(doc.Parse("<r a=\"1\"\r\n\tb = 'x&lt;y' c=\"\"/>"));
  EXPECT_EQ(doc.AttributeName(0), "");  // no current element
  ASSERT_TRUE(doc.FindElement());
  EXPECT_EQ(doc.AttributeName(0), "a");
  EXPECT_EQ(doc.AttributeName(1), "b");
  EXPECT_EQ(doc.GetAttribute(doc.AttributeName(1)), "x<y");
  EXPECT_EQ(doc.AttributeName(2), "c");
  EXPECT_EQ(doc.AttributeName(3), "");
  EXPECT_EQ(doc.AttributeName(-1), "");
  EXPECT_EQ(doc.GetAttribute("missing"), "");
  EXPECT_EQ(doc.GetAttribute(""), "");
}

// Edits in the middle of a large document must leave every later offset right.
TEST(XmlNavigation, ManyEditsKeepTheIndexInStepWithTheText) {
  std::string text = "<HEALTHCHECK>\r\n";
  for (int i = 0; i < 2000; ++i) text += "<Records ID=\"" + std::to_string(i) + "\" />\r\n";
  text += "</HEALTHCHECK>\r\n";
  XmlDocument doc;
  ASSERT_TRUE(doc.Parse(text));
  ASSERT_TRUE(doc.FindElement("HEALTHCHECK"));
  ASSERT_TRUE(doc.EnterElement());
  int n = 0;
  while (doc.FindElement("Records")) {
    if (n % 3 == 0) {
      doc.SetAttribute("ID", "edited&" + std::to_string(n));
    } else if (n % 3 == 1) {
      doc.RemoveElement();
    } else {
      doc.InsertElement("New", true);
      doc.SetAttribute("Of", std::to_string(n));
      doc.FindElement("Records");
    }
    ++n;
  }
  ASSERT_EQ(n, 2000);

  pugi::xml_document pugi;
  ASSERT_TRUE(pugi.load_string(doc.Text().c_str()));
  XmlDocument reread;
  ASSERT_TRUE(reread.Parse(doc.Text()));
  ASSERT_TRUE(reread.FindElement("HEALTHCHECK"));
  ASSERT_TRUE(reread.EnterElement());
  ASSERT_TRUE(doc.LeaveElement());
  ASSERT_TRUE(doc.EnterElement());
  for (const pugi::xml_node node : pugi.child("HEALTHCHECK").children()) {
    const std::string name = node.name();
    const std::string value = node.first_attribute().value();
    ASSERT_TRUE(doc.FindElement());
    ASSERT_TRUE(reread.FindElement());
    EXPECT_EQ(doc.GetAttribute(doc.AttributeName(0)), value);
    EXPECT_EQ(reread.GetAttribute(reread.AttributeName(0)), value);
    ASSERT_TRUE(doc.SetAttribute("x", name));  // still the right tag to change
  }
  EXPECT_FALSE(doc.FindElement());
}

}  // namespace
}  // namespace vexa
