// The save dialogs' checks: the name that is really saved is the one asked about,
// and nothing that may not be replaced is.
#include "pages/file_dialogs.h"

#include <gmock/gmock.h>
#include <sys/stat.h>

#include <filesystem>

#include "batch/config_file.h"
#include "pages/csv_file.h"
#include "support/file_bytes.h"
#include "support/file_dialog_script.h"
#include "support/temp_dir.h"

namespace vexa::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::IsEmpty;

constexpr char kConfig[] = "<DATALOG_SETUP>\r\n</DATALOG_SETUP>\r\n";

class SaveDialogTest : public ::testing::Test {
 protected:
  QString Path(const std::string& name) const { return QString::fromStdString(folder_.File(name)); }
  std::optional<QString> Confirm(const SaveFileRequest& request, const std::string& name) {
    return ConfirmSaveFile(notifier_, request, Path(name));
  }

  TempDir folder_;
  TempDir elsewhere_;
  RecordingNotifier notifier_;
  const SaveFileRequest config_{
      "Save Configure File", "Datalogger_Setup.cfg", "cfg Files(*.cfg)", "cfg",
      "configure file",      ConfigFilePath,         ConfigSaveTarget};
  const SaveFileRequest csv_{
      "Export Records", "DataRecords.csv", "CSV files (*.csv)", "csv", "CSV file", {},
      CsvSaveTarget};
};

TEST_F(SaveDialogTest, TheFileThatWillChangeIsTheOneAskedAbout) {
  WriteBytes(folder_.File("setup.old.cfg"), kConfig);
  // The program's own rule adds ".cfg" to a name the dialog let pass with another suffix.
  notifier_.answer = false;
  EXPECT_EQ(Confirm(config_, "setup.old"), std::nullopt);
  ASSERT_EQ(notifier_.messages.size(), 1u);
  EXPECT_TRUE(notifier_.messages[0].question);
  EXPECT_EQ(notifier_.Last(),
            folder_.File("setup.old.cfg") + " already exists.\nDo you want to replace it?");
  EXPECT_EQ(notifier_.messages[0].caption, "Save Configure File");
  notifier_.answer = true;
  EXPECT_EQ(Confirm(config_, "setup.old"), Path("setup.old.cfg"));

  // A new name is not asked about.
  notifier_.messages.clear();
  EXPECT_EQ(Confirm(config_, "fresh"), Path("fresh.cfg"));
  EXPECT_THAT(notifier_.messages, IsEmpty());

  // Through a link, the file it leads to is named.
  WriteBytes(elsewhere_.File("kept.cfg"), kConfig);
  fs::create_symlink(elsewhere_.File("kept.cfg"), folder_.File("linked.cfg"));
  EXPECT_EQ(Confirm(config_, "linked.cfg"), Path("linked.cfg"));
  EXPECT_EQ(notifier_.Last(),
            folder_.File("linked.cfg") + " is a link to " + elsewhere_.File("kept.cfg") + ".\n" +
                elsewhere_.File("kept.cfg") + " already exists.\nDo you want to replace it?");
}

TEST_F(SaveDialogTest, WhatMayNotBeReplacedIsRefusedAndLeftAsItIs) {
  WriteBytes(folder_.File("locked.cfg"), kConfig);
  ASSERT_EQ(chmod(folder_.File("locked.cfg").c_str(), 0444), 0);
  WriteBytes(elsewhere_.File("passwd"), "root:x:0:0:root:/root:/bin/bash\n");
  fs::create_symlink(elsewhere_.File("passwd"), folder_.File("foreign.cfg"));
  fs::create_symlink(elsewhere_.File("passwd"), folder_.File("foreign.csv"));
  fs::create_symlink(elsewhere_.File("gone.cfg"), folder_.File("nothing.cfg"));
  fs::create_directory(folder_.File("folder.cfg"));
  const struct {
    const SaveFileRequest& request;
    std::string name;
    std::string reason;
  } cases[] = {
      {config_, "locked.cfg", "is read-only or not yours to write, so it is left as it is."},
      {config_, "foreign.cfg",
       "is a link to " + elsewhere_.File("passwd") +
           ", which is not a configure file, so it is left as it is."},
      {csv_, "foreign.csv",
       "is a link to " + elsewhere_.File("passwd") +
           ", which is not a CSV file, so it is left as it is."},
      {config_, "nothing.cfg",
       "is a link to " + elsewhere_.File("gone.cfg") +
           ", which does not exist; no file is made "
           "there."},
      {config_, "folder.cfg", "is not a plain file (a folder, pipe or device)."},
  };
  for (const auto& c : cases) {
    notifier_.messages.clear();
    EXPECT_EQ(Confirm(c.request, c.name), std::nullopt) << c.name;
    ASSERT_EQ(notifier_.messages.size(), 1u) << c.name;
    EXPECT_FALSE(notifier_.messages[0].question);
    EXPECT_EQ(notifier_.messages[0].icon, MessageIcon::kError);
    EXPECT_EQ(notifier_.Last(), "The " + c.request.kind + " was not saved:\n" +
                                    folder_.File(c.name) + "\n" + c.reason +
                                    "\nChoose another name.");
  }
  EXPECT_EQ(ReadBytes(folder_.File("locked.cfg")), kConfig);
  EXPECT_EQ(ReadBytes(elsewhere_.File("passwd")), "root:x:0:0:root:/root:/bin/bash\n");
  EXPECT_FALSE(fs::exists(elsewhere_.File("gone.cfg")));
}

TEST_F(SaveDialogTest, ANameTypedWithoutItsSuffixIsAskedAboutInTheDialog) {
  WriteBytes(folder_.File("setupA.cfg"), kConfig);
  SaveFileRequest request = config_;
  request.suggested_name = Path("Datalogger_Setup.cfg");
  {
    notifier_.answer = false;
    // "No" at the prompt goes back to the dialog, which is then cancelled.
    FileDialogScript script({FileDialogScript::Type("setupA"), FileDialogScript::Cancel()});
    EXPECT_EQ(ChooseSaveFile(nullptr, notifier_, request), std::nullopt);
    EXPECT_EQ(script.shown(), 2u);
    ASSERT_EQ(notifier_.messages.size(), 1u);
    EXPECT_EQ(notifier_.Last(),
              folder_.File("setupA.cfg") + " already exists.\nDo you want to replace it?");
  }
  notifier_.answer = true;
  FileDialogScript script({FileDialogScript::Type("setupA")});
  EXPECT_EQ(ChooseSaveFile(nullptr, notifier_, request), Path("setupA.cfg"));
}

TEST(OpenDialogTest, StartsWithThePatternInItsNameBox) {
  QString shown;
  FileDialogScript script({FileDialogScript::ReadName(shown)});
  EXPECT_EQ(ChooseFileToOpen(nullptr, "Open Configure File", "cfg Files(*.cfg)", "*.cfg"),
            QString());
  EXPECT_EQ(shown, "*.cfg");
}

}  // namespace
}  // namespace vexa::testing
