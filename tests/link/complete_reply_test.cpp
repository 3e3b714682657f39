#include "link/complete_reply.h"

#include <gtest/gtest.h>

#include <string>

#include "link/command_codes.h"
#include "settings/setting_codes.h"

namespace vexa {
namespace {

constexpr TransportMode kCable = TransportMode::kRs232;
constexpr TransportMode kGsm = TransportMode::kGsmModem;

const std::string kStatus = "#STA:000041,T;TM:261209143005;A00:45.20;K01:100000000001000;O01:10;#";
const std::string kGroup1 = "#STC1:000041;TM:2612091430;PS:135791,246802;SA:3;#";
const std::string kGroup2 = "#STC2:000041;AD00:100.0,0.000,0.000,1,80.00,20.00;PA:023400;#";
const std::string kGroup3 = "#STC3:000041;COUT1:10000000000000000001000000;#";
const std::string kRecords =
    "#STD:000041,T;TM:100308140500;D:1;T:2;A00:45.0|46.1;#STD:000041,T;TM:100308141500;D:1;T:1;"
    "A00:47.2;#";

struct Case {
  const char* what;
  int code;
  TransportMode route;
  std::string received;
  bool whole;
};

// What may end after the short guard, and what must wait for the full pause.
TEST(CompleteReply, OnlyRepliesWhoseEndIsCertainAreWhole) {
  const Case cases[] = {
      {"status", kStatusCode, kCable, kStatus, true},
      {"first status on selecting", kSelectStatusCode, kCable, kStatus, true},
      {"group 1", kGroup1Code, kCable, kGroup1, true},
      {"group 2", kGroup1Code + 1, kCable, kGroup2, true},
      {"group 3", kGroup1Code + 2, kCable, kGroup3, true},
      {"status not yet at its end", kStatusCode, kCable, kStatus.substr(0, 40), false},
      {"status paused at an inner #", kStatusCode, kCable, "#STA:000041,T;AP1:*31#", false},
      {"the start mark alone", kStatusCode, kCable, "#", false},
      {"group reply to another group", kGroup1Code + 1, kCable, kGroup1, false},
      {"status for a group read", kGroup1Code, kCable, kStatus, false},
      {"group reply for a status", kStatusCode, kCable, kGroup2, false},
      {"stored records, however ended", kDataRecordCode, kCable, kRecords, false},
      {"a status for the records query", kDataRecordCode, kCable, kStatus, false},
      {"calibration query", kCalibrationQueryCode, kCable, kStatus, false},
      {"version", kInfoCode, kCable, "Vexa-T V2.13 Build 260105", false},
      {"alarm text", 19101, kCable, "1,TANK ALRM!", false},
      {"alarm text that reads like a result", 19101, kCable, "1,Set success!", false},
      {"continuation part on the cable", kGroup1Code, kCable, "#STA:000041;XH:21;#", false},
      {"nothing", kStatusCode, kCable, "", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsCompleteReply(c.code, c.route, c.received), c.whole) << c.what;
  }
}

TEST(CompleteReply, AFixedTextIsWholeForAnyCommandOnlyWhenItIsTheWholeText) {
  for (const char* fixed : {"Set success!", "SET fail!", "Password is error!",
                            "SMS format is error!", "initialize succesed!"}) {
    for (int code : {kStatusCode, kInitCode, kInitSecondStepCode, kResetCode, kBatchStepCode,
                     kCalibrationWriteCode, kDataRecordCode, 19001}) {
      for (TransportMode route : {kCable, kGsm}) {
        EXPECT_TRUE(IsCompleteReply(code, route, fixed)) << fixed << " " << code;
      }
    }
    const std::string text = fixed;
    EXPECT_FALSE(IsCompleteReply(kBatchStepCode, kCable, text + "\r\n")) << fixed;
    EXPECT_FALSE(IsCompleteReply(kBatchStepCode, kCable, "x" + text)) << fixed;
    EXPECT_FALSE(IsCompleteReply(kBatchStepCode, kCable, text.substr(0, text.size() - 1))) << fixed;
  }
}

TEST(CompleteReply, OnTheGsmRouteTheModemsLinesAndEachLastPartAreWhole) {
  const std::string echo = "AT+BJSD=13,+491701000041,135791#CHEACK2#\r\n";
  const Case cases[] = {
      {"the echo line", kGroup1Code + 1, kGsm, echo, true},
      {"the echo before its line end", kGroup1Code + 1, kGsm, echo.substr(0, 20), false},
      {"the confirmation", kGroup1Code + 1, kGsm, "message send", true},
      {"echo and confirmation", kDataRecordCode, kGsm, echo + "message send", true},
      {"confirmation and a short answer", kBatchStepCode, kGsm, "message sendSet success!", true},
      {"confirmation and a whole group reply", kGroup1Code + 2, kGsm, "message send" + kGroup3,
       true},
      {"first part of a longer reply", kGroup1Code + 1, kGsm,
       "#STC2:000041;L:0412;AD00:100.0,0.000,0.000,1,80.00,20.00;", false},
      {"a middle part", kGroup1Code + 1, kGsm, "#STA:000041;AD05:5.000,0.000,0.000,0,", false},
      {"the last part of a group reply", kGroup1Code + 1, kGsm, "#STA:000041;PA:023400;#", true},
      {"the last part of a status", kStatusCode, kGsm, "#STA:000041;O01:10;#", true},
      {"a reply in one message", kGroup1Code + 2, kGsm,
       "#STC3:000041;L:0047;COUT1:10000000000000000001000000;#", true},
      {"the last part of a record", kDataRecordCode, kGsm, "#STA:000041;A14:22.0;#", false},
      {"the modem's test answer", kInfoCode, kGsm, "BJ-GSM TEST OK CSQ:21", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsCompleteReply(c.code, c.route, c.received), c.whole) << c.what;
  }
}

}  // namespace
}  // namespace vexa
