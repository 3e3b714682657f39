#pragma once

#include <chrono>

namespace vexa::sim {

// Ways the simulated logger and modem can be told to misbehave, so that every
// failure path of the program can be tried without hardware.
struct Faults {
  bool silent = false;                // the logger never answers
  std::chrono::milliseconds late{0};  // extra wait before the logger's answer
  bool set_fail = false;              // every setup command answers "SET fail!"
  bool password_error = false;        // every command answers "Password is error!"
  bool format_error = false;          // every command answers "SMS format is error!"
  bool garbage = false;               // the answer is bytes that are no reply
  bool truncated = false;             // the answer loses its second half
  bool drop_last_part = false;        // a reply sent in several SMS never gets its last one
  // The second and third SMS of a reply in four or more change places, so that
  // the first, with the length, and the last, with the end mark, stay put.
  bool swap_parts = false;
  // Every setup command answers "Set success!" and the old value stays: a write
  // that only a read-back can tell failed.
  bool keep_old_values = false;
};

}  // namespace vexa::sim
