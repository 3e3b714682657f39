// vexa-t through its real binary, against logger-sim on a pseudo-terminal.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "batch/config_file.h"
#include "support/file_bytes.h"
#include "support/run_program.h"
#include "support/temp_dir.h"
#include "vexa_t/json_reader.h"
#include "vexa_t/logger_sim_process.h"

namespace vexa {
namespace {

const std::string kVexaT = VEXA_T_PROGRAM;
// The demo loggers' passwords, which no output may show.
const std::vector<std::string> kPasswords = {"135791", "246802"};

std::size_t Lines(const std::string& text) {
  return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

class VexaTTest : public ::testing::Test {
 protected:
  void SetUp() override { WriteBytes(book_, ReadBytes(DEMO_PHONE_BOOK)); }

  ProgramRun VexaT(std::vector<std::string> arguments, const std::string& input = {}) {
    arguments.insert(arguments.begin(), {"--book", book_});
    ProgramRun run = RunProgram(kVexaT, arguments, {"PATH=/usr/bin:/bin"}, 30, input);
    for (const std::string& password : kPasswords) {
      EXPECT_FALSE(Contains(run.out + run.err, password)) << run.out << run.err;
    }
    return run;
  }
  ProgramRun OnLogger(const LoggerSimProcess& sim, const std::string& id,
                      std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"--port", sim.path(), "--id", id});
    return VexaT(std::move(arguments));
  }
  // An error is one line on standard error.
  static void ExpectOneErrorLine(const ProgramRun& run, const std::string& part) {
    EXPECT_EQ(Lines(run.err), 1u) << run.err;
    EXPECT_EQ(run.err.rfind("vexa-t: ", 0), 0u) << run.err;
    EXPECT_TRUE(Contains(run.err, part)) << run.err;
  }

  TempDir folder_;
  const std::string book_ = folder_.File("addressbook.xml");
  const std::string backup_ = folder_.File("backup.cfg");
};

TEST_F(VexaTTest, HelpListsEveryCommandAndExitStatus) {
  const ProgramRun help = VexaT({"--help"});
  EXPECT_EQ(help.exit_status, 0);
  EXPECT_EQ(help.err, "");
  for (const char* command :
       {"ports", "status", "read 1|2|3|all", "version", "backup -o", "diff FILE", "apply FILE",
        "records --from", "alarm-text get", "alarm-text set N --off", "phonebook list",
        "phonebook add", "phonebook remove", "--dry-run", "--no-verify", "--with-time"}) {
    EXPECT_TRUE(Contains(help.out, command)) << command;
  }
  for (int status = 0; status <= 8; ++status) {
    EXPECT_TRUE(Contains(help.out, "\n  " + std::to_string(status) + "  ")) << status;
  }
  const ProgramRun version = VexaT({"--version"});
  EXPECT_EQ(version.exit_status, 0);
  EXPECT_EQ(version.out, "vexa-t (Vexa-T_Setup) 1.0.1\n");
}

TEST_F(VexaTTest, BackupThenApplyOnTheNextLoggerThenDiffShowsNoDifference) {
  LoggerSimProcess sim;
  const ProgramRun backup = OnLogger(sim, "41", {"backup", "-o", backup_});
  ASSERT_EQ(backup.exit_status, 0) << backup.err;
  EXPECT_TRUE(Contains(backup.out, "Saved to: " + backup_));
  EXPECT_TRUE(Contains(ReadBytes(backup_), "<DATALOG_SETUP>"));

  // Logger 42 leaves the factory as 41 did: one setting of the file tells them apart.
  std::string file = ReadBytes(backup_);
  file.replace(file.find("#OT1:0010#"), 10, "#OT1:0020#");
  WriteBytes(backup_, file);
  sim.PlugInNextLogger();
  const ProgramRun before = OnLogger(sim, "42", {"diff", backup_});
  EXPECT_EQ(before.exit_status, 1) << before.out;

  const ProgramRun apply = OnLogger(sim, "42", {"apply", backup_});
  ASSERT_EQ(apply.exit_status, 0) << apply.out << apply.err;
  EXPECT_TRUE(Contains(apply.out, "Station: 000042")) << "the logger keeps its name";
  EXPECT_TRUE(Contains(apply.out, "Not sent: Station ID 000041"));
  EXPECT_TRUE(Contains(apply.out, "Not sent: Date / Time"));
  EXPECT_TRUE(Contains(apply.out, " verified\n"));
  EXPECT_FALSE(Contains(apply.out, "Differs"));

  const ProgramRun diff = OnLogger(sim, "42", {"diff", backup_});
  EXPECT_EQ(diff.exit_status, 0) << diff.out;
  EXPECT_TRUE(Contains(diff.out, "Differences: 0"));
}

TEST_F(VexaTTest, EveryFullReadIsKeptInTheHistoryOnceAndAFailureBlocksNothing) {
  namespace fs = std::filesystem;
  LoggerSimProcess sim;
  const ProgramRun status = OnLogger(sim, "41", {"status"});
  ASSERT_EQ(status.exit_status, 0) << status.err;
  const fs::path logger = fs::path(folder_.path()) / "history" / "000041";
  EXPECT_FALSE(fs::exists(logger)) << "a status query reads no settings";

  for (int run = 0; run < 2; ++run) {
    const ProgramRun read = OnLogger(sim, "41", {"read", "all"});
    ASSERT_EQ(read.exit_status, 0) << read.err;
  }
  ASSERT_TRUE(fs::is_directory(logger));
  const auto kept = std::distance(fs::directory_iterator(logger), fs::directory_iterator());
  EXPECT_EQ(kept, 1) << "the same settings are kept once";

  // A history that cannot be written is said once and the backup still succeeds.
  fs::remove_all(fs::path(folder_.path()) / "history");
  WriteBytes(folder_.File("history"), "not a folder");
  const ProgramRun backup = OnLogger(sim, "41", {"backup", "-o", backup_});
  EXPECT_EQ(backup.exit_status, 0) << backup.err;
  EXPECT_TRUE(Contains(ReadBytes(backup_), "<DATALOG_SETUP>"));
  EXPECT_TRUE(Contains(backup.out, "history")) << backup.out;
}

TEST_F(VexaTTest, ADryRunNeedsNoLoggerAndShowsWhatWouldGoOut) {
  WriteBytes(backup_, ConfigFileText({{.number = "01",
                                       .status = "",
                                       .command = "246802#ST:000041#",
                                       .code = 11002,
                                       .object = "Station ID",
                                       .parameters = "000041",
                                       .checked = true},
                                      {.number = "02",
                                       .status = "",
                                       .command = "246802#TM:2001010000#",
                                       .code = 11004,
                                       .object = "Date / Time",
                                       .parameters = "2001010000",
                                       .checked = true}},
                                     0));
  const ProgramRun plain = VexaT({"apply", "--dry-run", backup_});
  EXPECT_EQ(plain.exit_status, 0) << plain.err;
  EXPECT_TRUE(Contains(plain.out, "Not sent: Station ID 000041"));
  EXPECT_TRUE(Contains(plain.out, "Not sent: Date / Time 2001010000"));
  EXPECT_TRUE(Contains(plain.out, "Dry run: nothing was sent."));

  const ProgramRun next =
      VexaT({"apply", "--dry-run", "--auto-station-id", "--with-time", backup_});
  EXPECT_EQ(next.exit_status, 0) << next.err;
  EXPECT_TRUE(Contains(next.out, "01   11002  Station ID   000042      Ready\n")) << next.out;
  EXPECT_FALSE(Contains(next.out, "2001010000")) << "the PC's time goes in its place";
}

TEST_F(VexaTTest, ASettingTheLoggerDidNotTakeShowsInDiffWithBothValues) {
  LoggerSimProcess sim({"--keep-old-values"});
  ASSERT_EQ(OnLogger(sim, "41", {"backup", "-o", backup_}).exit_status, 0);
  std::string file = ReadBytes(backup_);
  const std::size_t at = file.find("#OT1:0010#");
  ASSERT_NE(at, std::string::npos) << file;
  file.replace(at, 10, "#OT1:0020#");
  WriteBytes(backup_, file);

  const ProgramRun apply = OnLogger(sim, "41", {"apply", backup_});
  EXPECT_EQ(apply.exit_status, 1) << apply.out;
  EXPECT_TRUE(Contains(apply.out, "Differs: 0010")) << apply.out;
  ExpectOneErrorLine(apply, "Verification");

  const ProgramRun diff = OnLogger(sim, "41", {"diff", backup_});
  EXPECT_EQ(diff.exit_status, 1);
  EXPECT_TRUE(Contains(diff.out, "Differences: 1")) << diff.out;
  const auto line = diff.out.substr(diff.out.find("\n14012"), 200);
  EXPECT_TRUE(Contains(line, "differs") && Contains(line, "0010") && Contains(line, "0020"))
      << diff.out;
}

TEST_F(VexaTTest, ARefusedSettingExitsThreeWithItsRowMarked) {
  LoggerSimProcess good;
  ASSERT_EQ(OnLogger(good, "41", {"backup", "-o", backup_}).exit_status, 0);
  LoggerSimProcess refusing({"--set-fail"});
  const ProgramRun apply = OnLogger(refusing, "41", {"apply", "--no-verify", backup_});
  EXPECT_EQ(apply.exit_status, 3) << apply.out << apply.err;
  EXPECT_TRUE(Contains(apply.out, "03   11005  Data Logging Interval")) << apply.out;
  EXPECT_TRUE(Contains(apply.out, "Command Fail\n")) << apply.out;
  ExpectOneErrorLine(apply, "setting 03 (Data Logging Interval) ended with \"Command Fail \"");
}

TEST_F(VexaTTest, EachKindOfFailureHasItsExitStatusAndOneLine) {
  LoggerSimProcess sim;
  const ProgramRun unknown = VexaT({"--port", sim.path(), "--id", "41", "stat"});
  EXPECT_EQ(unknown.exit_status, 2);
  ExpectOneErrorLine(unknown, "unknown command 'stat'");

  const ProgramRun unknown_json = VexaT({"--json", "stat"});
  EXPECT_EQ(unknown_json.exit_status, 2);
  const auto document = JsonReader::Parse(unknown_json.out);
  ASSERT_TRUE(document) << unknown_json.out;
  EXPECT_EQ((*document)["error"].text, "unknown command 'stat'");
  EXPECT_EQ((*document)["exit_status"].number, 2);

  const ProgramRun stranger = OnLogger(sim, "99", {"status"});
  EXPECT_EQ(stranger.exit_status, 2);
  ExpectOneErrorLine(stranger, "holds no logger 000099");

  LoggerSimProcess refusing({"--password-error"});
  const ProgramRun password = OnLogger(refusing, "41", {"status"});
  EXPECT_EQ(password.exit_status, 5) << password.err;
  ExpectOneErrorLine(password, "Password Error");

  LoggerSimProcess garbling({"--garbage"});
  const ProgramRun garbled = OnLogger(garbling, "41", {"status"});
  EXPECT_EQ(garbled.exit_status, 7) << garbled.err;
  ExpectOneErrorLine(garbled, "Data Error");

  const ProgramRun no_port = VexaT({"--port", "/dev/null", "--id", "41", "status"});
  EXPECT_EQ(no_port.exit_status, 6);
  ExpectOneErrorLine(no_port, "cannot use port /dev/null");

  WriteBytes(backup_, "<DATALOG_SETUP><Records");
  const ProgramRun damaged = OnLogger(sim, "41", {"apply", backup_});
  EXPECT_EQ(damaged.exit_status, 8);
  ExpectOneErrorLine(damaged, backup_ + " is damaged");

  const std::string no_book = folder_.File("nobook.xml");
  const ProgramRun bookless = OnLogger(sim, "41", {"--book", no_book, "status"});
  EXPECT_EQ(bookless.exit_status, 8);
  ExpectOneErrorLine(bookless, "the phone book " + no_book + " ");
  EXPECT_FALSE(std::filesystem::exists(no_book));

  const ProgramRun foreign = OnLogger(sim, "41", {"diff", book_});
  EXPECT_EQ(foreign.exit_status, 8);
  ExpectOneErrorLine(foreign, book_ + " is no configuration file");

  const std::string nowhere = folder_.File("missing/backup.cfg");
  const ProgramRun unwritable = OnLogger(sim, "41", {"backup", "-o", nowhere});
  EXPECT_EQ(unwritable.exit_status, 8);
  ExpectOneErrorLine(unwritable, "could not be saved");
  // The phone book, the damaged file and the history of the read: no part of the backup.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_.path()), {}), 3)
      << "nothing half-written is left";
}

TEST_F(VexaTTest, APasswordChangeInTheFileUpdatesThePhoneBook) {
  WriteBytes(backup_, ConfigFileText({{.number = "01",
                                       .status = "",
                                       .command = "246802#PS:111111,222222#",
                                       .code = 11003,
                                       .object = "Password",
                                       .parameters = "",
                                       .checked = true}},
                                     0));
  LoggerSimProcess sim;
  const ProgramRun apply = OnLogger(sim, "41", {"apply", backup_});
  EXPECT_EQ(apply.exit_status, 0) << apply.out << apply.err;
  EXPECT_FALSE(Contains(apply.out + apply.err, "111111") || Contains(apply.out, "222222"));
  EXPECT_TRUE(Contains(ReadBytes(book_),
                       "ID=\"000041\" Phone=\"+491701000041\" "
                       "EnquiryPassword=\"111111\" SetupPassword=\"222222\""))
      << ReadBytes(book_);
  // The logger now answers to the new passwords, which come from the phone book.
  EXPECT_EQ(OnLogger(sim, "41", {"status"}).exit_status, 0);
}

TEST_F(VexaTTest, APortLostWhileWaitingExitsSix) {
  auto sim = std::make_unique<LoggerSimProcess>(std::vector<std::string>{"--silent"});
  const std::string path = sim->path();
  // The logger's side goes away while vexa-t waits for its answer: well after
  // a start of vexa-t on a loaded machine, long before the 40 s time-out.
  std::thread unplug([&sim] {
    std::this_thread::sleep_for(std::chrono::seconds(2));
    sim.reset();
  });
  const ProgramRun lost = VexaT({"--port", path, "--id", "41", "status"});
  unplug.join();
  EXPECT_EQ(lost.exit_status, 6);
  ExpectOneErrorLine(lost, "\"Communication Error\"");
}

TEST_F(VexaTTest, JsonCarriesEveryRowAndParses) {
  LoggerSimProcess sim;
  const ProgramRun text = OnLogger(sim, "41", {"read", "all"});
  const ProgramRun json = OnLogger(sim, "41", {"--json", "read", "all"});
  ASSERT_EQ(json.exit_status, 0) << json.err;
  const auto document = JsonReader::Parse(json.out);
  ASSERT_TRUE(document) << json.out;
  EXPECT_EQ((*document)["command"].text, "read");
  EXPECT_EQ((*document)["station"].text, "000041");
  // The text table: a blank line, its title line, then one line per setting.
  const std::size_t table_lines = Lines(text.out.substr(text.out.find("\n\n") + 2)) - 1;
  ASSERT_EQ((*document)["settings"].items.size(), table_lines);
  EXPECT_EQ((*document)["settings"][0]["code"].number, 11002);
  EXPECT_EQ((*document)["settings"][0]["object"].text, "Station ID");

  ASSERT_EQ(OnLogger(sim, "41", {"backup", "-o", backup_}).exit_status, 0);
  const ProgramRun apply = OnLogger(sim, "41", {"--json", "apply", backup_});
  const auto applied = JsonReader::Parse(apply.out);
  ASSERT_TRUE(applied) << apply.out;
  EXPECT_EQ((*applied)["exit_status"].number, 0);
  ASSERT_FALSE((*applied)["steps"].items.empty());
  for (const Json& step : (*applied)["steps"].items) {
    EXPECT_EQ(step["status"].text, "Command Success");
    EXPECT_EQ(step["verification"].text, "Verified");
  }
}

TEST_F(VexaTTest, TheTrafficLogShowsEveryBurstWithoutPasswords) {
  LoggerSimProcess sim;
  ASSERT_EQ(OnLogger(sim, "41", {"backup", "-o", backup_}).exit_status, 0);
  const ProgramRun apply = OnLogger(sim, "41", {"-v", "apply", backup_});
  EXPECT_EQ(apply.exit_status, 0);
  EXPECT_TRUE(Contains(apply.err, "> ******#SA:")) << apply.err;
  EXPECT_TRUE(Contains(apply.err, "< #STA:000041")) << apply.err;
}

TEST_F(VexaTTest, OnTheGsmRouteBackupAndDiffAgree) {
  LoggerSimProcess sim({"--gsm", "--part-delay-ms", "600"});
  const ProgramRun backup = OnLogger(sim, "42", {"--gsm", "-v", "backup", "-o", backup_});
  ASSERT_EQ(backup.exit_status, 0) << backup.err;
  EXPECT_TRUE(Contains(backup.err, "> AT+BJSD=13,+491701000042,******#CHEACK1#")) << backup.err;
  const ProgramRun diff = OnLogger(sim, "43", {"--gsm", "diff", backup_});
  EXPECT_EQ(diff.exit_status, 0) << diff.out << diff.err;
  const ProgramRun status = OnLogger(sim, "43", {"--gsm", "status"});
  EXPECT_TRUE(Contains(status.out, "Station: 000043\nLogger time: ")) << status.out << status.err;
  EXPECT_TRUE(Contains(status.out, "\nSignal (%): ")) << status.out;
  EXPECT_TRUE(Contains(status.out, "\nA13       Temperature_1  ")) << status.out;
  EXPECT_TRUE(Contains(status.out, "\nO01       O01            ")) << status.out;
}

TEST_F(VexaTTest, AlarmTextAndRecordsGoThroughThePagesRules) {
  LoggerSimProcess sim;
  EXPECT_EQ(OnLogger(sim, "41", {"alarm-text", "set", "7", "Hot room"}).exit_status, 0);
  const ProgramRun get = OnLogger(sim, "41", {"alarm-text", "get", "07"});
  EXPECT_TRUE(Contains(get.out, "Text message: yes\nText: Hot room\n")) << get.out;
  const ProgramRun not_latin1 = OnLogger(sim, "41", {"alarm-text", "set", "7", "\u20ac 5"});
  EXPECT_EQ(not_latin1.exit_status, 2);
  ExpectOneErrorLine(not_latin1, "must be in Latin-1");
  const ProgramRun too_long = OnLogger(sim, "41", {"alarm-text", "set", "7", "Far too hot room"});
  EXPECT_EQ(too_long.exit_status, 2);
  ExpectOneErrorLine(too_long, "Content over 14 byte!");

  const std::string csv = folder_.File("records.csv");
  const ProgramRun records =
      OnLogger(sim, "41", {"records", "--from", "2026-01-01 00:00", "--count", "1", "-o", csv});
  EXPECT_EQ(records.exit_status, 0) << records.err;
  const std::string saved = ReadBytes(csv);
  EXPECT_EQ(saved.rfind("Count,Header,Station ID,Date,Time,", 0), 0u) << saved;
  EXPECT_TRUE(Contains(saved, "\r\n1,STD,000041,")) << saved;
}

TEST_F(VexaTTest, PortsListsThePortListOfTheWindow) {
  const ProgramRun ports = VexaT({"--json", "ports"});
  ASSERT_EQ(ports.exit_status, 0) << ports.err;
  const auto document = JsonReader::Parse(ports.out);
  ASSERT_TRUE(document) << ports.out;
  const auto& rows = (*document)["ports"].items;
  ASSERT_GE(rows.size(), 17u);
  EXPECT_EQ(rows.front()["port"].text, "COM1");
  EXPECT_EQ(rows.front()["device"].text, "/dev/ttyS0");
  EXPECT_EQ(rows.back()["port"].text, "Simulator");
  EXPECT_EQ(rows.back()["device"].kind, Json::Kind::kNull);
}

TEST_F(VexaTTest, ThePhoneBookTakesPasswordsFromStandardInputOnly) {
  const ProgramRun added = VexaT({"phonebook", "add", "77", "+49170777"}, "111111\n222222\n");
  EXPECT_EQ(added.exit_status, 0) << added.err;
  const std::string file = ReadBytes(book_);
  EXPECT_TRUE(Contains(file,
                       "ID=\"000077\" Phone=\"+49170777\" EnquiryPassword=\"111111\" "
                       "SetupPassword=\"222222\""))
      << file;
  const ProgramRun list = VexaT({"phonebook", "list"});
  EXPECT_TRUE(Contains(list.out, "000077  +49170777\n")) << list.out;
  EXPECT_FALSE(Contains(list.out, "111111"));

  const ProgramRun short_password = VexaT({"phonebook", "add", "78", "+49170778"}, "1111\n");
  EXPECT_EQ(short_password.exit_status, 2);
  ExpectOneErrorLine(short_password, "each password must be six digits");
  EXPECT_EQ(VexaT({"phonebook", "add", "77", "+49170777"}, "111111\n222222\n").exit_status, 2);
  EXPECT_EQ(ReadBytes(book_), file) << "a refused entry changes nothing";

  EXPECT_EQ(VexaT({"phonebook", "remove", "77"}).exit_status, 0);
  EXPECT_FALSE(Contains(ReadBytes(book_), "000077"));
}

}  // namespace
}  // namespace vexa
