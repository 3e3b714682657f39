#include "vexa_t/usage.h"

namespace vexa {

const std::string_view kUsageText =
    R"(Usage: vexa-t [--port PORT] [--gsm] [--id ID] [--book FILE] [--json] [-v] COMMAND [ARGS]
Reads, saves, compares and writes the settings of a Vexa model T data logger
over a serial cable or a GSM modem, as the Vexa-T Setup window does.

Commands:
  ports                     the serial ports found, and who holds each
  status                    the status: station, logger time, readings,
                            digital inputs, relays, signal
  read 1|2|3|all            the settings of group 1, 2, 3 or all: code, Object,
                            Parameters
  version                   the logger's version text
  backup -o FILE.cfg        read groups 1 to 3 and save them as a configuration
                            file, as Batch Setup saves it
  diff FILE.cfg             read the logger and list every setting that differs
                            from the file, with both values
  apply FILE.cfg            send the file's settings one at a time as Batch
                            Setup does, then read back and verify each one
  records --from "YYYY-MM-DD HH:MM" [--count N] [-o FILE.csv]
                            stored records as CSV, as the Data Record page
                            exports them (on standard output without -o)
  alarm-text get N          alarm text N (00 to 19)
  alarm-text set N TEXT     send alarm text N: up to 14 Latin-1 bytes
  alarm-text set N --off    send alarm N without a text message
  phonebook list            the phone book's entries (never their passwords)
  phonebook add ID PHONE    add a logger; its enquiry password, then its setup
                            password, are read from standard input, one a line
  phonebook remove ID       remove a logger

Options:
  --port PORT               a device path, COM1 to COM16, or simulator (the
                            built-in simulated logger)
  --gsm                     through a GSM modem on that port
  --id ID                   the logger's station ID; its phone number and
                            passwords come from the phone book
  --book FILE               the phone book (default: addressbook.xml)
  --json                    one JSON document on standard output
  -v, --verbose             every burst both ways on standard error, passwords
                            hidden
  -o, --output FILE         the file backup or records writes
  --auto-station-id         apply, diff: the file's station ID plus one
  --with-station-id         apply, diff: the file's station ID as it stands
  --with-time               apply, diff: the PC's time in place of the file's
  --dry-run                 apply: only show what would be sent
  --no-verify               apply: no read-back after sending
  -h, --help                show this text
  --version                 show the version

A file never renames the logger it is applied to, and its date and time are
never sent, unless --auto-station-id, --with-station-id or --with-time say so.
Passwords are never taken from the command line and never shown.

Exit status:
  0  all succeeded (diff: no difference)
  1  diff found a difference, or apply could not verify a setting
  2  wrong usage (also a logger not in the phone book)
  3  Command Fail: the logger refused a setting
  4  Command Time Out
  5  Password Error
  6  Communication Error: the port is missing, held or lost
  7  Data Error
  8  a file could not be read or written, or is not a configuration file
)";

}  // namespace vexa
