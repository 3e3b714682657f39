#pragma once

namespace vexa {

// True when reading "#1" to "#3" tells what the setting recorded under `code`
// holds, so that a write of it can be verified. Not so for the date and time
// (the clock moves on), the passwords, the reset, relays switched on or off,
// alarm texts, and every command no reply reports (GSM band, GPRS, ...).
bool CanBeReadBack(int code);

}  // namespace vexa
