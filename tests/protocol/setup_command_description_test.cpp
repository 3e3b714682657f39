#include "protocol/setup_command_description.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "protocol/parameter_codes.h"

namespace vexa {
namespace {

using ::testing::FieldsAre;

TEST(DescribeSetupCommandTest, DeviceSetupCommands) {
  EXPECT_THAT(DescribeSetupCommand(11002, "#ST:000041#"), FieldsAre("Station ID", "000041"));
  EXPECT_THAT(DescribeSetupCommand(11003, "#PS:135791,246802#"),
              FieldsAre("Password", "135791   ,   246802"));
  EXPECT_THAT(DescribeSetupCommand(11005, "#SA:3#"),
              FieldsAre("Data Logging Interval", "30 Minute"));
  EXPECT_THAT(DescribeSetupCommand(11009, "#AP1:+491709876543!#"),
              FieldsAre("Alarm Phone1", "+491709876543!"));
}

TEST(DescribeSetupCommandTest, EveryCodedValueShowsItsOwnText) {
  for (std::size_t code = 0; code < kLoggingIntervalTexts.size(); ++code) {
    EXPECT_EQ(DescribeSetupCommand(11005, "#SA:" + std::to_string(code) + "#").value,
              kLoggingIntervalTexts[code]);
  }
  for (std::size_t code = 0; code < kGprsUploadIntervalTexts.size(); ++code) {
    const std::string number = (code < 10 ? "0" : "") + std::to_string(code);
    EXPECT_EQ(DescribeSetupCommand(0, "#SD:" + number + ",0," + number + "#").value,
              std::string(kGprsUploadIntervalTexts[code]) +
                  "   ,    Live Data    ,    Record Count: " + number);
  }
  for (std::size_t code = 0; code < kGsmBandTexts.size(); ++code) {
    EXPECT_THAT(DescribeSetupCommand(11008, "#PL:" + std::to_string(code) + "#"),
                FieldsAre("GSM Band Selection", kGsmBandTexts[code]));
  }
  EXPECT_THAT(DescribeSetupCommand(0, "#IU:1#"), FieldsAre("Protocol", "UDP"));
  EXPECT_THAT(DescribeSetupCommand(0, "#IU:0#"), FieldsAre("Protocol", "TCP"));
}

TEST(DescribeSetupCommandTest, GprsUploadKeepsTheRecordCount) {
  const SetupCommandDescription described = DescribeSetupCommand(0, "#SD:02,1,100#");
  EXPECT_EQ(described.name, "GPRS Upload Setup");
  EXPECT_EQ(described.value, "01 Minute   ,    Packet Data   ,     Record Count: 100");
}

TEST(DescribeSetupCommandTest, SmsUploadReplacesOnlyTheIntervalCode) {
  EXPECT_THAT(
      DescribeSetupCommand(11007, "#CP:0123456789!,9#"),
      FieldsAre("SMS Upload Setup", "Centre Number:0123456789   ,    Upload Interval: 24 Hour"));
  // The number is a free text: only the interval code after it is a code.
  EXPECT_EQ(DescribeSetupCommand(11007, "#CP:12!:3!,0#").value,
            "Centre Number:12!:3   ,    Upload Interval: No Upload");
}

TEST(DescribeSetupCommandTest, ChannelAndRelayCommands) {
  EXPECT_THAT(DescribeSetupCommand(12002, "#AD00:100.0,0.000,0.000,1,80.00,20.00#"),
              FieldsAre("Humidity Sensor",
                        "100.0   ,   0.000   ,   0.000   ,   1   ,   80.00   ,   20.00"));
  EXPECT_THAT(DescribeSetupCommand(12003, "#AD13:2,50.00,-10.0#"),
              FieldsAre("Temperature Sensor_1", "2   ,   50.00   ,   -10.0"));
  EXPECT_EQ(DescribeSetupCommand(12212, "#AD12:1#").name, "Temperature Sensor_8");
  EXPECT_EQ(DescribeSetupCommand(12005, "#AD13:1#").name, "Analog Channel 13");
  EXPECT_THAT(DescribeSetupCommand(13001, "#PA:02340000#"),
              FieldsAre("Digital Channel", "02340000"));
  EXPECT_THAT(DescribeSetupCommand(14021, "#O2:1#"), FieldsAre("Relay2", "On"));
  EXPECT_THAT(DescribeSetupCommand(14011, "#O1:0#"), FieldsAre("Relay1", "Off"));
  EXPECT_THAT(DescribeSetupCommand(14012, "#OT1:0007#"),
              FieldsAre("Relay1 Time Lapse ( Seconds )", "0007"));
  EXPECT_THAT(DescribeSetupCommand(14013, "#OC1:10000000000000000001000000#"),
              FieldsAre("Relay1 Associated Alarms", "10000000000000000001000000"));
  EXPECT_THAT(DescribeSetupCommand(0, "#LP2:15#"), FieldsAre("Pulse 2 Start Zero", "15"));
}

TEST(DescribeSetupCommandTest, NetworkAndBusCommands) {
  EXPECT_THAT(DescribeSetupCommand(0, "#ID:cmnet!#"), FieldsAre("Access Point", "cmnet"));
  EXPECT_THAT(DescribeSetupCommand(0, "#IP:192.168.1.10!#"),
              FieldsAre("GPRS Server IP", "192.168.1.10"));
  EXPECT_THAT(DescribeSetupCommand(0, "#MUS4:1,2#"), FieldsAre("Analog Channel 10", "1   ,   2"));
  EXPECT_THAT(DescribeSetupCommand(0, "#BT:8,1#"),
              FieldsAre("RS485-COM Bytesize and StopBits", "8   ,   1"));
}

// Every key's letters, codes and separators, as a free text or a value may hold them.
constexpr char kOtherKeys[] =
    "DOOR OPEN ST PS TM: SA SD CP AP AD PA: LP PL: OT OC O DR: ID: IP: IY: IH: IU: IT: IR: "
    "MUS1: BT: DY: :0 :1 ,0, ,1, !, !:3 0 1 !";

std::string Commas(std::string text) {
  std::string spaced;
  for (char c : text) spaced += c == ',' ? std::string("   ,   ") : std::string(1, c);
  return spaced;
}

// A key counts at the start of the command only, and its rule changes the key
// and its coded values, never the letters of a value that happen to spell
// another key.
TEST(DescribeSetupCommandTest, EveryKeyLeavesTheRestOfItsValueAlone) {
  const std::string other = kOtherKeys;
  const struct {
    int code;
    std::string command;
    std::string name;
    std::string value;
  } cases[] = {
      {11002, "#ST:" + other + "#", "Station ID", Commas(other)},
      {11003, "#PS:" + other + "#", "Password", Commas(other)},
      {11004, "#TM:" + other + "#", "Date / Time", Commas(other)},
      {11005, "#SA:3" + other + "#", "Data Logging Interval", "30 Minute" + Commas(other)},
      {0, "#SD:02,1," + other + "#", "GPRS Upload Setup",
       Commas("01 Minute, Packet Data,  Record Count: " + other)},
      {11007, "#CP:" + other + "!,9#", "SMS Upload Setup",
       Commas("Centre Number:" + other + ", Upload Interval: 24 Hour")},
      {11009, "#AP1:" + other + "!#", "Alarm Phone1", Commas(other + "!")},
      {12010, "#AD05:" + other + "#", "Analog Channel 05", Commas(other)},
      {12209, "#AD09:" + other + "#", "Temperature Sensor_5", Commas(other)},
      {13001, "#PA:" + other + "#", "Digital Channel", Commas(other)},
      {0, "#LP2:" + other + "#", "Pulse 2 Start Zero", Commas(other)},
      {11008, "#PL:5" + other + "#", "GSM Band Selection", "900/1800" + Commas(other)},
      {14012, "#OT1:" + other + "#", "Relay1 Time Lapse ( Seconds )", Commas(other)},
      {14013, "#OC1:" + other + "#", "Relay1 Associated Alarms", Commas(other)},
      {14021, "#O2:1" + other + "#", "Relay2", "On" + Commas(other)},
      {14011, "#O1:0" + other + "#", "Relay1", "Off" + Commas(other)},
      {0, "#DR:" + other + "#", "MODBUS Address", Commas(other)},
      // The "!" that ends a name goes; one inside it stays.
      {0, "#ID:" + other + "!#", "Access Point", Commas(other)},
      {0, "#IP:" + other + "!#", "GPRS Server IP", Commas(other)},
      {0, "#IY:" + other + "!#", "Domain Name", Commas(other)},
      {0, "#IH:" + other + "#", "Server Port", Commas(other)},
      {0, "#IU:1" + other + "#", "Protocol", "UDP" + Commas(other)},
      {0, "#IT:" + other + "#", "Acknowledge Interval", Commas(other)},
      {0, "#IR:" + other + "#", "Reconnect Interval", Commas(other)},
      {0, "#MUS1:" + other + "#", "Analog Channel 7", Commas(other)},
      {0, "#MUS8:" + other + "#", "Puls Channel 6", Commas(other)},
      {0, "#BT:" + other + "#", "RS485-COM Bytesize and StopBits", Commas(other)},
      {0, "#DY:" + other + "#", "RS485-COM Delay", Commas(other)},
      // No key at the start: an alarm text is shown as it is, after the comma rule.
      {19000, "#SMSSET00:1,09,DOOR OPEN#", "SMSSET00", "1   ,   09   ,   DOOR OPEN"},
      {19003, "#SMSSET03:1," + other + "#", "SMSSET03", Commas("1," + other)},
  };
  for (const auto& c : cases) {
    const SetupCommandDescription described = DescribeSetupCommand(c.code, c.command);
    EXPECT_EQ(described.name, c.name) << c.command;
    EXPECT_EQ(described.value, c.value) << c.command;
  }
  // A key that starts the command without its colon changes nothing.
  EXPECT_THAT(DescribeSetupCommand(0, "#STX:1#"), FieldsAre("STX", "1"));
}

TEST(DescribeSetupCommandTest, TextWithoutKeyOrColon) {
  EXPECT_THAT(DescribeSetupCommand(19003, "#SMSSET03:1,10,HIGH LEVEL#"),
              FieldsAre("SMSSET03", "1   ,   10   ,   HIGH LEVEL"));
  EXPECT_THAT(DescribeSetupCommand(0, "#XYZ#"), FieldsAre("XYZ", ""));
  EXPECT_THAT(DescribeSetupCommand(0, ""), FieldsAre("", ""));
  EXPECT_THAT(DescribeSetupCommand(12002, "#AD"), FieldsAre("Humidity Sensor", ""));
}

}  // namespace
}  // namespace vexa
