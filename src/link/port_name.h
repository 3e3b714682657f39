#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace vexa {

// The device behind an entry of the Port list: "COMn" is /dev/ttyS<n-1>, a text that
// starts with "/" is a device path already. Anything else names no device: empty.
std::string PortDevicePath(std::string_view port_name);

// The Port list's entry that serves the simulated logger instead of a device.
inline constexpr char kSimulatorPortName[] = "Simulator";

// The Port list: COM1 to COM16, the USB and ACM adapters present, then the simulator.
std::vector<std::string> PortList(const std::filesystem::path& dev_dir = "/dev");

// The USB and ACM serial adapters present in `dev_dir`: ttyUSB before ttyACM, each in
// number order (ttyUSB2 before ttyUSB10).
std::vector<std::string> ListSerialDevices(const std::filesystem::path& dev_dir = "/dev");

}  // namespace vexa
