#include "link/port_name.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>
#include <system_error>
#include <tuple>

namespace vexa {

namespace {

// The number that makes up all of `text`, if it does.
std::optional<unsigned> WholeNumber(std::string_view text) {
  unsigned number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return {};
  return number;
}

}  // namespace

std::string PortDevicePath(std::string_view port_name) {
  if (port_name.starts_with('/')) return std::string(port_name);
  constexpr std::string_view kPrefix = "COM";
  if (!port_name.starts_with(kPrefix)) return {};
  const auto number = WholeNumber(port_name.substr(kPrefix.size()));
  if (!number || *number == 0) return {};
  return "/dev/ttyS" + std::to_string(*number - 1);
}

std::vector<std::string> ListSerialDevices(const std::filesystem::path& dev_dir) {
  constexpr std::array<std::string_view, 2> kFamilies = {"ttyUSB", "ttyACM"};
  std::vector<std::tuple<std::size_t, unsigned, std::string>> found;  // family, number, path
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(dev_dir, error)) {
    const std::string name = entry.path().filename().string();
    for (std::size_t family = 0; family < kFamilies.size(); ++family) {
      if (!name.starts_with(kFamilies[family])) continue;
      if (const auto number = WholeNumber(std::string_view(name).substr(kFamilies[family].size())))
        found.emplace_back(family, *number, entry.path().string());
    }
  }
  std::sort(found.begin(), found.end());
  std::vector<std::string> paths;
  for (auto& [family, number, path] : found) paths.push_back(std::move(path));
  return paths;
}

std::vector<std::string> PortList(const std::filesystem::path& dev_dir) {
  std::vector<std::string> names;
  for (int n = 1; n <= 16; ++n) names.push_back("COM" + std::to_string(n));
  for (std::string& device : ListSerialDevices(dev_dir)) names.push_back(std::move(device));
  names.emplace_back(kSimulatorPortName);
  return names;
}

}  // namespace vexa
