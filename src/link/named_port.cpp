#include "link/named_port.h"

#include "link/port_name.h"

namespace vexa {

std::string OpenNamedPort(SerialPort& port, const std::string& name,
                          const sim::SimulatorOptions& options,
                          std::unique_ptr<sim::SimulatorSession>& simulator) {
  std::string path;
  if (name == kSimulatorPortName) {
    simulator = sim::SimulatorSession::Start(options);
    if (!simulator) return "the simulator cannot start: no pseudo-terminal or thread";
    path = simulator->slave_path();
  } else {
    path = PortDevicePath(name);
  }
  if (path.empty()) return name + ": no port of that name (COM1 to COM16, or a device path)";
  if (port.InitPort(path, kLineBaudRate) != 1) return path + ": the port cannot be set up";
  return port.OpenPort() == 1 ? std::string() : port.refusal();
}

}  // namespace vexa
