#include "app/command_line.h"

#include <string_view>

namespace {

constexpr std::string_view kHelp = R"(Usage: vexa-t-setup [--help | --version]
The setup tool for the Vexa GSM/GPRS data logger, model T (multipoint
temperature): reads a logger's parameters into tabbed pages, writes settings
back one at a time, queries its status and stored records, keeps a phone book
of the installed loggers with their passwords, and replays one logger's setup
on further loggers in a batch, saved to and loaded from configuration files.

It shows a window, so it needs a graphical session. It reaches the logger over
a serial port, by cable or through a GSM modem; the Port list's "Simulator"
serves a simulated logger without any hardware.

Options:
  --help        show this text and exit
  --version     show the version and exit
Qt's own options (such as -platform, -display or -style) are taken as well.
)";

}  // namespace

StartRequest ReadStartRequest(int argc, const char* const* argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "--help") return StartRequest::kHelp;
    if (argument == "--version") return StartRequest::kVersion;
  }
  return StartRequest::kWindow;
}

std::string HelpText() {
  return std::string(kHelp);
}

std::string VersionText() {
  return "vexa-t-setup (Vexa-T_Setup) " VEXA_VERSION "\n";
}

std::string UnknownArgumentText(const std::string& argument) {
  return "vexa-t-setup: unknown argument " + argument + "\nTry 'vexa-t-setup --help'.\n";
}
