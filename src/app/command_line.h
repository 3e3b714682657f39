#pragma once

#include <string>

// What the arguments ask of the program before it opens a window.
enum class StartRequest { kWindow, kHelp, kVersion };

// "--help" or "--version" anywhere answers at once, without a display; the first
// of them counts. Everything else is left to Qt, which takes its own options.
StartRequest ReadStartRequest(int argc, const char* const* argv);

std::string HelpText();
std::string VersionText();

// The error for an argument that neither we nor Qt took.
std::string UnknownArgumentText(const std::string& argument);
