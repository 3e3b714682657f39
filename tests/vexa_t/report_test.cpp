#include "vexa_t/report.h"

#include <gtest/gtest.h>

#include "vexa_t/hidden_passwords.h"
#include "vexa_t/json_reader.h"
#include "vexa_t/json_writer.h"

namespace vexa {
namespace {

TEST(JsonWriterTest, TextsAreEscapedAndLatin1BecomesUtf8) {
  JsonWriter json;
  json.BeginArray();
  json.String(
      "a \"quote\", a \\ and\r\na tab\t\x01 \xB0"
      "C");
  json.Number(-12);
  json.Bool(false);
  json.Null();
  json.BeginObject();
  json.EndObject();
  json.EndArray();
  const auto document = JsonReader::Parse(json.text());
  ASSERT_TRUE(document) << json.text();
  EXPECT_EQ((*document)[0].text,
            "a \"quote\", a \\ and\r\na tab\t\x01 \xC2\xB0"
            "C");
  EXPECT_EQ((*document)[1].number, -12);
  EXPECT_EQ((*document)[2].kind, Json::Kind::kBool);
  EXPECT_EQ((*document)[3].kind, Json::Kind::kNull);
  EXPECT_TRUE((*document)[4].members.empty());
  EXPECT_TRUE(json.text().ends_with("]\n"));
}

TEST(ReportTest, TextLinesUpColumnsAndJsonKeysEveryRow) {
  Report report{.command = "read"};
  report.Add("station", "Station", std::string("000041"));
  Table& table = report.AddTable("settings", "", {{"code", "Code"}, {"object", "Object"}});
  table.rows.push_back({11002LL, std::string("Station ID")});
  table.rows.push_back({12002LL, nullptr});
  report.notes.push_back(
      "Temperature in \xB0"
      "C.");
  report.exit_status = 1;

  EXPECT_EQ(ReportText(report),
            "Station: 000041\n\nCode   Object\n11002  Station ID\n12002\n\nTemperature in "
            "\xC2\xB0"
            "C.\n");
  const auto document = JsonReader::Parse(ReportJson(report));
  ASSERT_TRUE(document) << ReportJson(report);
  EXPECT_EQ((*document)["station"].text, "000041");
  EXPECT_EQ((*document)["settings"][0]["object"].text, "Station ID");
  EXPECT_EQ((*document)["settings"][1]["object"].kind, Json::Kind::kNull);
  EXPECT_EQ((*document)["notes"][0].text,
            "Temperature in \xC2\xB0"
            "C.");
  EXPECT_EQ((*document)["exit_status"].number, 1);
  EXPECT_FALSE((*document).members.contains("error"));
}

TEST(HiddenPasswordsTest, NoPasswordShowsOnEitherRoute) {
  const struct {
    std::string_view text;
    bool sent;
    std::string_view shown;
  } cases[] = {
      {"135791#CHEACK1#", true, "******#CHEACK1#"},
      {"246802#PS:111111,222222#", true, "******#PS:******,******#"},
      {"AT+BJSD=13,+491701000042,135791#STATUS#\r\n", true,
       "AT+BJSD=13,+491701000042,******#STATUS#\r\n"},
      {"AT+BJSD=13,+491701000042,135791#STATUS#\r\nmessage send", false,
       "AT+BJSD=13,+491701000042,******#STATUS#\r\nmessage send"},
      {"#ST:000041;PS:135791,246802;TM:2612101137#", false,
       "#ST:000041;PS:******,******;TM:2612101137#"},
      {"#STA:000041,T;TM:261210113725#", false, "#STA:000041,T;TM:261210113725#"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.sent ? HideSentPasswords(c.text) : HideReceivedPasswords(c.text), c.shown);
  }
  const Setting shown = ShownSetting(SettingOf(11003, "246802#PS:111111,222222#"));
  EXPECT_EQ(shown.command.find("111111"), std::string::npos);
  EXPECT_EQ(shown.parameters.find("222222"), std::string::npos);
  EXPECT_EQ(ShownParameters(11003, "111111 , 222222"), "****** , ******");
  EXPECT_EQ(ShownParameters(11005, "30 Minute"), "30 Minute");
}

}  // namespace
}  // namespace vexa
