#pragma once

namespace vexa {

// What the program knows of the selected logger beyond the phone book.
struct DeviceContext {
  int digital_input_count = 0;  // length of the first status reply's "K01:" value
  int relay_count = 0;          // length of its "O01:" value
  bool humidity_calibrated = false;
};

}  // namespace vexa
