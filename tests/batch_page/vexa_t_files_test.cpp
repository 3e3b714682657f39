// A configuration file of vexa-t loads in the Batch Setup page, and the
// page's applies with vexa-t: both write the same file.
#include <gmock/gmock.h>

#include <QPushButton>
#include <QTableWidget>

#include "batch/batch_page.h"
#include "history/snapshot_keeper.h"
#include "page_fixture.h"
#include "support/run_program.h"
#include "vexa_t/logger_sim_process.h"

namespace vexa::testing {
namespace {

using ::testing::HasSubstr;

// Without its time of saving, the one line two saves may differ in.
std::string WithoutSavingTime(std::string file) {
  const std::size_t start = file.find("<DateTime ");
  if (start != std::string::npos) file.erase(start, file.find('\n', start) - start);
  return file;
}

class VexaTFilesTest : public PageTest {
 protected:
  VexaTFilesTest() { WriteBytes(book_, ReadBytes(DEMO_PHONE_BOOK)); }

  ProgramRun VexaT(const std::vector<std::string>& command) {
    std::vector<std::string> arguments = {"--book", book_, "--port", sim_.path(), "--id", "41"};
    arguments.insert(arguments.end(), command.begin(), command.end());
    return RunProgram(VEXA_T_PROGRAM, arguments, {"PATH=/usr/bin:/bin"});
  }

  TempDir files_;
  const std::string book_ = files_.File("addressbook.xml");
  LoggerSimProcess sim_;
  MainWindowCommands commands_{exchange, phone_book, notifier, listener};
  ReadAll read_all_{commands_, exchange, phone_book};
  SnapshotKeeper snapshots_{book_, [](const std::string&) {}};
  CBatchInitDlg page_{context, read_all_, snapshots_, nullptr};
};

TEST_F(VexaTFilesTest, ABackupLoadsInThePageAndSavesAsTheSameFile) {
  const std::string backup = files_.File("backup.cfg");
  const ProgramRun run = VexaT({"backup", "-o", backup});
  ASSERT_EQ(run.exit_status, 0) << run.err;

  page_.OpenConfigFile(QString::fromStdString(backup));
  EXPECT_TRUE(notifier.messages.empty()) << notifier.Last();
  const auto* list = page_.findChild<QTableWidget*>();
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->rowCount(), 25);
  EXPECT_EQ(command_buffer.Entries().at(14012), "246802#OT1:0010#");

  // A loaded file lists its rows unchecked; checked, they save as they came.
  QTest::mouseClick(FindControl<QPushButton>(&page_, "Select All"), Qt::LeftButton);
  const std::string saved = files_.File("saved.cfg");
  page_.SaveConfigFile(QString::fromStdString(saved));
  EXPECT_EQ(WithoutSavingTime(ReadBytes(saved)), WithoutSavingTime(ReadBytes(backup)));
}

TEST_F(VexaTFilesTest, AFileThePageSavedAppliesWithVexaT) {
  command_buffer.RecordCommand(11002, "246802#ST:000077#");
  command_buffer.RecordCommand(11005, "246802#SA:2#");
  command_buffer.RecordCommand(11009, "246802#AP1:+491709876543!#");
  page_.Refresh(true);
  const std::string file = files_.File("page.cfg");
  page_.SaveConfigFile(QString::fromStdString(file));

  const ProgramRun apply = VexaT({"apply", file});
  EXPECT_EQ(apply.exit_status, 0) << apply.out << apply.err;
  EXPECT_THAT(apply.out, HasSubstr("Not sent: Station ID 000077"));
  EXPECT_THAT(apply.out, HasSubstr("2 of 2 commands succeeded, 2 verified"));
  // The logger holds more than this small file: that, and only that, is a difference.
  const ProgramRun diff = VexaT({"diff", file});
  EXPECT_THAT(diff.out, HasSubstr("only on the logger"));
  EXPECT_THAT(diff.out, ::testing::Not(HasSubstr("differs")));
  EXPECT_THAT(diff.out, ::testing::Not(HasSubstr("only in the file")));
}

}  // namespace
}  // namespace vexa::testing
