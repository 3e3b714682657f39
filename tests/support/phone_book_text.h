#pragma once

#include <string>

#include "phonebook/phone_book_entry.h"

namespace vexa {

inline constexpr char kPhoneBookDeclaration[] =
    "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n";

// One entry's line, as the program writes it.
inline std::string Record(const PhoneBookEntry& e) {
  return "<Records ID=\"" + e.id + "\" Phone=\"" + e.phone + "\" EnquiryPassword=\"" +
         e.enquiry_password + "\" SetupPassword=\"" + e.setup_password + "\" />\r\n";
}

// A whole phone book file around the given record lines.
inline std::string PhoneBook(const std::string& records) {
  return kPhoneBookDeclaration + std::string("<HEALTHCHECK>\r\n") + records + "</HEALTHCHECK>\r\n";
}

}  // namespace vexa
