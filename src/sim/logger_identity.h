#pragma once

#include <string>
#include <vector>

namespace vexa::sim {

// Who a simulated logger is: its station ID, the phone number of its SIM and
// the passwords it starts with.
struct LoggerIdentity {
  std::string station_id;
  std::string phone;
  std::string enquiry_password;
  std::string setup_password;
};

// The loggers listed in demo/addressbook.xml, so the demo phone book reaches them.
std::vector<LoggerIdentity> DemoLoggers();

}  // namespace vexa::sim
