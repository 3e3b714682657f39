#include "sim/pseudo_terminal.h"

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <utility>

namespace vexa::sim {

std::optional<PseudoTerminal> PseudoTerminal::Open() {
  const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master < 0) return std::nullopt;
  PseudoTerminal terminal(master, "");
  char path[128];
  if (grantpt(master) != 0 || unlockpt(master) != 0 || ptsname_r(master, path, sizeof path) != 0) {
    return std::nullopt;
  }
  terminal.slave_path_ = path;
  // The line settings of the pair live on the slave; set through the master
  // they hold before any program opens the slave. Echo would send every reply
  // straight back to the simulator.
  termios settings{};
  if (tcgetattr(master, &settings) != 0) return std::nullopt;
  cfmakeraw(&settings);
  cfsetispeed(&settings, B9600);
  cfsetospeed(&settings, B9600);
  if (tcsetattr(master, TCSANOW, &settings) != 0) return std::nullopt;
  const int flags = fcntl(master, F_GETFL);
  if (flags < 0 || fcntl(master, F_SETFL, flags | O_NONBLOCK) != 0) return std::nullopt;
  return terminal;
}

PseudoTerminal::PseudoTerminal(int master, std::string slave_path)
    : master_(master), slave_path_(std::move(slave_path)) {}

PseudoTerminal::PseudoTerminal(PseudoTerminal&& other) noexcept
    : master_(std::exchange(other.master_, -1)), slave_path_(std::move(other.slave_path_)) {}

PseudoTerminal::~PseudoTerminal() {
  CloseMaster();
}

void PseudoTerminal::CloseMaster() {
  if (master_ >= 0) close(std::exchange(master_, -1));
}

}  // namespace vexa::sim
