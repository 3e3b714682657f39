#pragma once

#include <memory>
#include <string>

#include "link/serial_port.h"
#include "sim/simulator_session.h"

namespace vexa {

// The line to a logger or a GSM modem runs at this rate.
inline constexpr unsigned kLineBaudRate = 9600;

// Opens the port an entry of the Port list names: "Simulator" starts the
// simulated logger (with `options`, on the route they give) on a
// pseudo-terminal and opens its other side, kept in `simulator`; "COMn" and a
// device path open that device. Empty when the port is open, else why not:
// the caller then closes the port and drops the simulator.
std::string OpenNamedPort(SerialPort& port, const std::string& name,
                          const sim::SimulatorOptions& options,
                          std::unique_ptr<sim::SimulatorSession>& simulator);

}  // namespace vexa
