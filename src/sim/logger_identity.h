#pragma once

#include <string>
#include <vector>

namespace vexa::sim {

// Who a simulated logger is: its station ID, the phone number of its SIM,
// the passwords it starts with, and how many digital inputs and relays it has
// (the lengths of its status's "K01:" and "O01:" values).
struct LoggerIdentity {
  std::string station_id;
  std::string phone;
  std::string enquiry_password;
  std::string setup_password;
  int digital_inputs = 15;
  int relays = 2;
};

// The loggers listed in demo/addressbook.xml, so the demo phone book reaches them.
std::vector<LoggerIdentity> DemoLoggers();

}  // namespace vexa::sim
