#include "vexa_t/progress_line.h"

#include <unistd.h>

#include <cstdio>

namespace vexa {

ProgressLine::ProgressLine() : terminal_(isatty(STDERR_FILENO) == 1) {}

void ProgressLine::Show(std::string_view text) {
  if (!terminal_ || text == shown_) return;
  shown_ = text;
  // Back to the line's start and erase it to its end: a shorter text leaves nothing behind.
  std::fprintf(stderr, "\r%s\x1b[K", shown_.c_str());
  std::fflush(stderr);
}

void ProgressLine::Clear() {
  if (!terminal_ || shown_.empty()) return;
  shown_.clear();
  std::fputs("\r\x1b[K", stderr);
  std::fflush(stderr);
}

}  // namespace vexa
