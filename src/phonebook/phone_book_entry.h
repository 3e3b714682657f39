#pragma once

#include <string>

namespace vexa {

struct PhoneBookEntry {
  std::string id;  // "Connection No"
  std::string phone;
  std::string enquiry_password;
  std::string setup_password;

  bool operator==(const PhoneBookEntry&) const = default;
};

}  // namespace vexa
