#pragma once

#include <QtGlobal>

// While it lives (around the construction of the application), a display that
// cannot be opened ends the program with a plain message and exit status 1. Qt's
// own message in that case advises reinstalling the program, which misleads: the
// program is fine, the session has no display.
class NoDisplayReport {
 public:
  NoDisplayReport();
  ~NoDisplayReport();
  NoDisplayReport(const NoDisplayReport&) = delete;
  NoDisplayReport& operator=(const NoDisplayReport&) = delete;

 private:
  QtMessageHandler previous_;
};
