#pragma once

#include <optional>
#include <string>

namespace vexa::sim {

// A pseudo-terminal pair: the simulator serves on the master, any serial
// program opens the slave by its path as if it were a port.
class PseudoTerminal {
 public:
  // A new pair in raw mode (no echo, no line editing, bytes passed unchanged),
  // the master non-blocking; nothing when the system has none to give.
  static std::optional<PseudoTerminal> Open();

  PseudoTerminal(PseudoTerminal&& other) noexcept;
  PseudoTerminal& operator=(PseudoTerminal&&) = delete;
  ~PseudoTerminal();

  int master() const { return master_; }
  const std::string& slave_path() const { return slave_path_; }
  // The slave side then reads end of file or an error, as on a pulled cable.
  void CloseMaster();

 private:
  PseudoTerminal(int master, std::string slave_path);

  int master_ = -1;
  std::string slave_path_;
};

}  // namespace vexa::sim
