#include <gtest/gtest.h>

#include <pugixml.hpp>
#include <string>

#include "xml/xml_document.h"

namespace vexa {
namespace {

// Builds a phone book the way the store does: a new document, then each entry
// inserted as the first child of the root.
XmlDocument NewPhoneBook() {
  XmlDocument doc;
  EXPECT_TRUE(doc.InsertDeclaration());
  EXPECT_TRUE(doc.SetAttribute("version", "1.0"));
  EXPECT_TRUE(doc.SetAttribute("encoding", "ISO-8859-1"));
  EXPECT_TRUE(doc.AddElement("HEALTHCHECK"));
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

TEST(XmlWriting, PhoneBookLayout) {
  XmlDocument doc = NewPhoneBook();
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
  EXPECT_TRUE(XmlDocument().Parse(doc.Text()));
}

}  // namespace
}  // namespace vexa
