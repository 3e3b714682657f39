#include "phonebook/phone_book_store.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <string>
#include <vector>

#include "phonebook/temp_folder.h"

namespace vexa {
namespace {

using testing::ElementsAre;
using testing::IsEmpty;

const PhoneBookEntry kA{"000041", "+491701000041", "135791", "246802"};
const PhoneBookEntry kB{"000042", "+491701000042", "111111", "222222"};
const PhoneBookEntry kC{"000043", "+491701000043", "333333", "444444"};

constexpr char kHeader[] = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n";

std::string Record(const PhoneBookEntry& e) {
  return "<Records ID=\"" + e.id + "\" Phone=\"" + e.phone + "\" EnquiryPassword=\"" +
         e.enquiry_password + "\" SetupPassword=\"" + e.setup_password + "\" />\r\n";
}

std::string PhoneBook(const std::string& records) {
  return kHeader + std::string("<HEALTHCHECK>\r\n") + records + "</HEALTHCHECK>\r\n";
}

class PhoneBookStoreTest : public testing::Test {
 protected:
  void WriteFile(const std::string& bytes) { WriteBytes(path_, bytes); }
  std::string FileBytes() const { return ReadBytes(path_); }
  std::vector<std::string> Messages() const {
    std::vector<std::string> texts;
    for (const auto& message : notifier_.messages) texts.push_back(message.text);
    return texts;
  }

  TempFolder folder_;
  std::string path_ = folder_.File("addressbook.xml");
  RecordingNotifier notifier_;
  PhoneBookStore store_{path_, notifier_};
};

TEST_F(PhoneBookStoreTest, MissingFileReadsEmptyAndTheFirstAddCreatesIt) {
  store_.LoadEntries();
  EXPECT_THAT(store_.entries(), IsEmpty());
  EXPECT_FALSE(store_.EntryExists(kA.id));

  EXPECT_TRUE(store_.AddEntry(kA));
  EXPECT_EQ(FileBytes(), PhoneBook(Record(kA)));
  EXPECT_THAT(store_.entries(), ElementsAre(kA));
  EXPECT_TRUE(store_.EntryExists(kA.id));
  EXPECT_THAT(notifier_.messages, IsEmpty());
}

TEST_F(PhoneBookStoreTest, NewEntriesComeFirst) {
  ASSERT_TRUE(store_.AddEntry(kA));
  ASSERT_TRUE(store_.AddEntry(kB));
  ASSERT_TRUE(store_.AddEntry(kC));
  EXPECT_THAT(store_.entries(), ElementsAre(kC, kB, kA));
  EXPECT_EQ(FileBytes(), PhoneBook(Record(kC) + Record(kB) + Record(kA)));

  PhoneBookStore other(path_, notifier_);
  other.LoadEntries();
  EXPECT_THAT(other.entries(), ElementsAre(kC, kB, kA));
}

TEST_F(PhoneBookStoreTest, IdsAreComparedExactly) {
  WriteFile(PhoneBook(Record(kA)));
  EXPECT_TRUE(store_.EntryExists("000041"));
  EXPECT_FALSE(store_.EntryExists("41"));
  EXPECT_FALSE(store_.EntryExists("000041 "));
  EXPECT_FALSE(store_.EntryExists(""));
  EXPECT_FALSE(store_.EntryExists("00004"));
}

TEST_F(PhoneBookStoreTest, AddingAnExistingIdIsRefusedAndLeavesTheFileAlone) {
  const std::string before = PhoneBook(Record(kB) + Record(kA));
  WriteFile(before);
  PhoneBookEntry again = kA;
  again.phone = "+4900";

  EXPECT_FALSE(store_.AddEntry(again));
  EXPECT_THAT(Messages(), ElementsAre("The ID is exist !"));
  EXPECT_EQ(notifier_.messages[0].caption, "");
  EXPECT_EQ(notifier_.messages[0].icon, MessageIcon::kNone);
  EXPECT_EQ(FileBytes(), before);
}

TEST_F(PhoneBookStoreTest, ChangingAnUnknownIdIsRefusedAndLeavesTheFileAlone) {
  const std::string before = PhoneBook(Record(kA));
  WriteFile(before);
  EXPECT_FALSE(store_.EditEntry(kB));
  EXPECT_FALSE(store_.DeleteEntry(kB));
  EXPECT_FALSE(store_.UpdatePasswords(kB.id, "000000", "000000"));
  EXPECT_THAT(Messages(), ElementsAre("The ID is not exist !", "The ID is not exist !",
                                      "The ID is not exist !"));
  EXPECT_EQ(FileBytes(), before);

  std::filesystem::remove(path_);
  EXPECT_FALSE(store_.EditEntry(kA));
  EXPECT_EQ(notifier_.Last(), "The ID is not exist !");
  EXPECT_FALSE(std::filesystem::exists(path_));
}

TEST_F(PhoneBookStoreTest, EditDeleteAndUpdateChangeOnlyTheirEntry) {
  WriteFile(PhoneBook(Record(kC) + Record(kB) + Record(kA)));

  PhoneBookEntry edited = kB;
  edited.phone = "+4911";
  edited.enquiry_password = "555555";
  edited.setup_password = "666666";
  EXPECT_TRUE(store_.EditEntry(edited));
  EXPECT_EQ(FileBytes(), PhoneBook(Record(kC) + Record(edited) + Record(kA)));
  EXPECT_THAT(store_.entries(), ElementsAre(kC, edited, kA));

  EXPECT_TRUE(store_.UpdatePasswords(kA.id, "777777", "888888"));
  PhoneBookEntry updated{kA.id, kA.phone, "777777", "888888"};
  EXPECT_THAT(store_.entries(), ElementsAre(kC, edited, updated));

  // Only the ID counts for a deletion.
  EXPECT_TRUE(store_.DeleteEntry({kC.id, "", "", ""}));
  EXPECT_EQ(FileBytes(), PhoneBook(Record(edited) + Record(updated)));
  EXPECT_THAT(store_.entries(), ElementsAre(edited, updated));
  EXPECT_THAT(notifier_.messages, IsEmpty());
}

TEST_F(PhoneBookStoreTest, DuplicateIdsActOnTheFirstOnly) {
  PhoneBookEntry twin = kA;
  twin.phone = "+4999";
  WriteFile(PhoneBook(Record(kA) + Record(twin)));

  store_.LoadEntries();
  store_.SelectCurrentDevice(kA.id);
  EXPECT_EQ(store_.GetCurrentDevice(), kA);

  PhoneBookEntry edited{kA.id, "+4922", "121212", "343434"};
  EXPECT_TRUE(store_.EditEntry(edited));
  EXPECT_THAT(store_.entries(), ElementsAre(edited, twin));

  EXPECT_TRUE(store_.UpdatePasswords(kA.id, "565656", "787878"));
  PhoneBookEntry updated{kA.id, "+4922", "565656", "787878"};
  EXPECT_THAT(store_.entries(), ElementsAre(updated, twin));
  EXPECT_EQ(store_.GetCurrentDevice(), updated);

  EXPECT_TRUE(store_.DeleteEntry(kA));
  EXPECT_THAT(store_.entries(), ElementsAre(twin));
  EXPECT_EQ(FileBytes(), PhoneBook(Record(twin)));
}

TEST_F(PhoneBookStoreTest, RecordsAreReadByPositionNotByName) {
  WriteFile(
      PhoneBook("<Records Phone=\"+4933\" ID=\"000050\" SetupPassword=\"222222\" Note=\"x\" />\r\n"
                "<Other ID=\"999999\" />\r\n"
                "<Records />\r\n"
                "<Records ID=\"000051\" Phone=\"+4944\" />\r\n"));
  store_.LoadEntries();
  EXPECT_THAT(store_.entries(), ElementsAre(PhoneBookEntry{"+4933", "000050", "222222", "x"},
                                            PhoneBookEntry{"", "", "", ""},
                                            PhoneBookEntry{"000051", "+4944", "", ""}));
  // The first attribute is the ID, whatever its name; other elements are no entries.
  EXPECT_TRUE(store_.EntryExists("+4933"));
  EXPECT_FALSE(store_.EntryExists("000050"));
  EXPECT_FALSE(store_.EntryExists("999999"));
  EXPECT_TRUE(store_.EntryExists(""));

  // A change writes by name, leaving the other attributes where they are.
  EXPECT_TRUE(store_.UpdatePasswords("000051", "111111", "222222"));
  EXPECT_THAT(FileBytes(), testing::HasSubstr(
                               "<Records ID=\"000051\" Phone=\"+4944\" EnquiryPassword=\"111111\" "
                               "SetupPassword=\"222222\" />\r\n"));
}

TEST_F(PhoneBookStoreTest, DamagedFileReadsEmptyAndIsKeptAsBackupBeforeItIsReplaced) {
  const std::string damaged = PhoneBook(Record(kA)) + "<HEALTHCHECK>";
  WriteFile(damaged);
  store_.LoadEntries();
  EXPECT_THAT(store_.entries(), IsEmpty());
  EXPECT_FALSE(store_.EntryExists(kA.id));

  EXPECT_TRUE(store_.AddEntry(kB));
  EXPECT_EQ(FileBytes(), PhoneBook(Record(kB)));
  EXPECT_EQ(ReadBytes(path_ + ".bak"), damaged);
  EXPECT_THAT(store_.entries(), ElementsAre(kB));
  EXPECT_THAT(notifier_.messages, IsEmpty());
}

TEST_F(PhoneBookStoreTest, DamagedFileStaysWhenItsBackupCannotBeWritten) {
  const std::string damaged = "<HEALTHCHECK>";
  WriteFile(damaged);
  std::filesystem::create_directory(path_ + ".bak");

  EXPECT_FALSE(store_.AddEntry(kB));
  EXPECT_EQ(FileBytes(), damaged);
  EXPECT_THAT(Messages(), ElementsAre("Cannot save the phone book file!"));
}

TEST_F(PhoneBookStoreTest, FileWithoutOurRootIsLeftAsItIs) {
  const std::string foreign = std::string(kHeader) + "<Other>\r\n" + Record(kA) + "</Other>\r\n";
  WriteFile(foreign);
  store_.LoadEntries();
  EXPECT_THAT(store_.entries(), IsEmpty());

  EXPECT_TRUE(store_.AddEntry(kB));
  EXPECT_EQ(FileBytes(), foreign);
  EXPECT_THAT(store_.entries(), IsEmpty());
  EXPECT_FALSE(std::filesystem::exists(path_ + ".bak"));
  EXPECT_THAT(notifier_.messages, IsEmpty());
}

TEST_F(PhoneBookStoreTest, FailedSaveIsReported) {
  WriteFile("not a folder");
  for (const std::string& path :
       {folder_.File("missing/addressbook.xml"), folder_.File("addressbook.xml/addressbook.xml")}) {
    RecordingNotifier notifier;
    PhoneBookStore store(path, notifier);
    EXPECT_FALSE(store.AddEntry(kA)) << path;
    ASSERT_EQ(notifier.messages.size(), 1u) << path;
    EXPECT_EQ(notifier.messages[0].text, "Cannot save the phone book file!");
    EXPECT_EQ(notifier.messages[0].caption, "Error");
    EXPECT_EQ(notifier.messages[0].icon, MessageIcon::kError);
    EXPECT_THAT(store.entries(), IsEmpty());
  }
}

// Files may not grow past a few bytes: every write of the phone book fails.
class FileSizeLimit {
 public:
  FileSizeLimit() {
    getrlimit(RLIMIT_FSIZE, &saved_);
    rlimit limit = saved_;
    limit.rlim_cur = 16;
    setrlimit(RLIMIT_FSIZE, &limit);
    old_handler_ = signal(SIGXFSZ, SIG_IGN);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    signal(SIGXFSZ, old_handler_);
  }

 private:
  rlimit saved_{};
  sighandler_t old_handler_;
};

TEST_F(PhoneBookStoreTest, FailedSaveOfAChangeIsReportedAndTheOldFileStays) {
  const std::string before = PhoneBook(Record(kB) + Record(kA));
  WriteFile(before);
  store_.LoadEntries();
  std::vector<bool> results;
  {
    // Checked outside, so that a failure can still be written to a log file.
    FileSizeLimit limit;
    results.push_back(store_.EditEntry({kA.id, "+4900", "000000", "000000"}));
    results.push_back(store_.DeleteEntry(kA));
    results.push_back(store_.UpdatePasswords(kA.id, "000000", "000000"));
    results.push_back(store_.AddEntry(kC));
  }
  EXPECT_THAT(results, ElementsAre(false, false, false, false));
  EXPECT_THAT(Messages(),
              ElementsAre("Cannot save the phone book file!", "Cannot save the phone book file!",
                          "Cannot save the phone book file!", "Cannot save the phone book file!"));
  EXPECT_EQ(FileBytes(), before);
  EXPECT_THAT(store_.entries(), ElementsAre(kB, kA));
  EXPECT_EQ(store_.GetCurrentDevice(), PhoneBookEntry{});
}

TEST_F(PhoneBookStoreTest, CurrentDeviceIsACopyThatOnlySelectionAndPasswordUpdatesRefresh) {
  WriteFile(PhoneBook(Record(kB) + Record(kA)));
  store_.LoadEntries();
  EXPECT_EQ(store_.GetCurrentDevice(), PhoneBookEntry{});

  store_.SelectCurrentDevice("000099");
  EXPECT_EQ(store_.GetCurrentDevice(), PhoneBookEntry{});
  store_.SelectCurrentDevice(kA.id);
  EXPECT_EQ(store_.GetCurrentDevice(), kA);
  store_.SelectCurrentDevice("000099");
  EXPECT_EQ(store_.GetCurrentDevice(), kA);

  // Editing or deleting the current device does not touch the copy.
  ASSERT_TRUE(store_.EditEntry({kA.id, "+4900", "000000", "000000"}));
  EXPECT_EQ(store_.GetCurrentDevice(), kA);
  ASSERT_TRUE(store_.DeleteEntry(kA));
  EXPECT_EQ(store_.GetCurrentDevice(), kA);

  // Updating the passwords of another entry makes that one current.
  ASSERT_TRUE(store_.UpdatePasswords(kB.id, "135791", "246802"));
  EXPECT_EQ(store_.GetCurrentDevice(), (PhoneBookEntry{kB.id, kB.phone, "135791", "246802"}));
}

TEST_F(PhoneBookStoreTest, StationIdChangeMovesTheEntryToTheNewIdAtTheTop) {
  WriteFile(PhoneBook(Record(kB) + Record(kA)));
  store_.LoadEntries();
  store_.SelectCurrentDevice(kA.id);

  // What the main window does once the logger confirms its new station ID.
  const PhoneBookEntry current = store_.GetCurrentDevice();
  ASSERT_TRUE(store_.DeleteEntry({kA.id, "", "", ""}));
  const PhoneBookEntry renamed{"000077", current.phone, current.enquiry_password,
                               current.setup_password};
  ASSERT_TRUE(store_.AddEntry(renamed));
  store_.SelectCurrentDevice(renamed.id);

  EXPECT_THAT(store_.entries(), ElementsAre(renamed, kB));
  EXPECT_FALSE(store_.EntryExists(kA.id));
  EXPECT_EQ(FileBytes(), PhoneBook(Record(renamed) + Record(kB)));
  EXPECT_EQ(store_.GetCurrentDevice(), renamed);
}

}  // namespace
}  // namespace vexa
