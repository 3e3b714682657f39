#pragma once

#include <string>
#include <string_view>

namespace vexa {

// Long work says how far it got on one line of standard error, rewritten in
// place, but only when standard error is a terminal: a script's log gets none.
class ProgressLine {
 public:
  ProgressLine();
  ~ProgressLine() { Clear(); }
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  void Show(std::string_view text);
  // Removes the line, before anything else is written.
  void Clear();

 private:
  const bool terminal_;
  std::string shown_;
};

}  // namespace vexa
