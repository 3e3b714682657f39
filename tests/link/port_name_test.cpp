#include "link/port_name.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace vexa {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(PortDevicePathTest, MapsComNamesAndKeepsPaths) {
  EXPECT_EQ(PortDevicePath("COM1"), "/dev/ttyS0");
  EXPECT_EQ(PortDevicePath("COM3"), "/dev/ttyS2");
  EXPECT_EQ(PortDevicePath("COM12"), "/dev/ttyS11");
  EXPECT_EQ(PortDevicePath("COM16"), "/dev/ttyS15");
  EXPECT_EQ(PortDevicePath("/dev/ttyUSB0"), "/dev/ttyUSB0");
  EXPECT_EQ(PortDevicePath("/dev/pts/7"), "/dev/pts/7");
}

TEST(PortDevicePathTest, NamesNoDeviceForOtherTexts) {
  for (const char* name : {"", "COM", "COM0", "COMx", "COM3 ", "COM-1", "com3", "Simulator",
                           "ttyUSB0", "COM99999999999"}) {
    EXPECT_EQ(PortDevicePath(name), "") << name;
  }
}

TEST(ListSerialDevicesTest, ListsUsbThenAcmInNumberOrder) {
  const auto dir =
      std::filesystem::temp_directory_path() / ("port-names-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  for (const char* name : {"ttyUSB10", "ttyACM0", "ttyS0", "ttyUSB2", "ttyUSB", "ttyUSBx",
                           "ttyACM1a", "pts", "ttyUSB0"}) {
    std::ofstream(dir / name).put('\n');
  }
  const auto listed = ListSerialDevices(dir);
  std::filesystem::remove_all(dir);

  const auto in_dir = [&](const char* name) { return (dir / name).string(); };
  EXPECT_THAT(listed, ElementsAre(in_dir("ttyUSB0"), in_dir("ttyUSB2"), in_dir("ttyUSB10"),
                                  in_dir("ttyACM0")));
  EXPECT_THAT(ListSerialDevices(dir), IsEmpty());  // gone
}

TEST(PortListTest, ComPortsThenAdaptersThenTheSimulator) {
  const auto dir =
      std::filesystem::temp_directory_path() / ("port-list-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  std::ofstream(dir / "ttyACM0").put('\n');
  const auto listed = PortList(dir);
  std::filesystem::remove_all(dir);
  ASSERT_EQ(listed.size(), 18u);
  EXPECT_EQ(listed.front(), "COM1");
  EXPECT_EQ(listed[15], "COM16");
  EXPECT_EQ(listed[16], (dir / "ttyACM0").string());
  EXPECT_EQ(listed.back(), "Simulator");
}

}  // namespace
}  // namespace vexa
