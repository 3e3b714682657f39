#include "phonebook/phone_book_store.h"

#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "support/file_bytes.h"
#include "support/file_size_limit.h"
#include "support/finishes_in_time.h"
#include "support/phone_book_text.h"
#include "support/temp_dir.h"

namespace vexa {
namespace {

using testing::ElementsAre;
using testing::IsEmpty;

const PhoneBookEntry kA{"000041", "+491701000041", "135791", "246802"};
const PhoneBookEntry kB{"000042", "+491701000042", "111111", "222222"};
const PhoneBookEntry kC{"000043", "+491701000043", "333333", "444444"};
constexpr char kSaveFailed[] = "Cannot save the phone book file!";

class PhoneBookStoreTest : public testing::Test {
 protected:
  std::vector<std::string> Messages() const {
    std::vector<std::string> texts;
    for (const auto& message : notifier_.messages) texts.push_back(message.text);
    return texts;
  }

  TempDir folder_;
  std::string path_ = folder_.File("addressbook.xml");
  RecordingNotifier notifier_;
  PhoneBookStore store_{path_, notifier_};
};

TEST_F(PhoneBookStoreTest, MissingFileReadsEmptyAndAddsCreateItNewestFirst) {
  store_.LoadEntries();
  EXPECT_THAT(store_.entries(), IsEmpty());
  EXPECT_FALSE(store_.EntryExists(kA.id));

  EXPECT_TRUE(store_.AddEntry(kA));
  EXPECT_EQ(ReadBytes(path_), PhoneBook(Record(kA)));
  EXPECT_TRUE(store_.AddEntry(kB));
  EXPECT_TRUE(store_.AddEntry(kC));
  EXPECT_THAT(store_.entries(), ElementsAre(kC, kB, kA));
  EXPECT_EQ(ReadBytes(path_), PhoneBook(Record(kC) + Record(kB) + Record(kA)));
  EXPECT_THAT(notifier_.messages, IsEmpty());
}

TEST_F(PhoneBookStoreTest, ExistingAndUnknownIdsAreRefusedWithTheFileLeftAlone) {
  const std::string before = PhoneBook(Record(kA));
  WriteBytes(path_, before);
  // Exact comparison: no padding, no trimming.
  EXPECT_TRUE(store_.EntryExists("000041"));
  for (const char* id : {"41", "000041 ", "00004", ""}) EXPECT_FALSE(store_.EntryExists(id)) << id;

  EXPECT_FALSE(store_.AddEntry({kA.id, "+4900", "000000", "000000"}));
  EXPECT_FALSE(store_.EditEntry(kB));
  EXPECT_FALSE(store_.DeleteEntry(kB));
  EXPECT_FALSE(store_.UpdatePasswords(kB.id, "000000", "000000"));
  EXPECT_THAT(Messages(), ElementsAre("The ID is exist !", "The ID is not exist !",
                                      "The ID is not exist !", "The ID is not exist !"));
  EXPECT_EQ(notifier_.messages[0].caption, "");
  EXPECT_EQ(notifier_.messages[0].icon, MessageIcon::kNone);
  EXPECT_EQ(ReadBytes(path_), before);
}

TEST_F(PhoneBookStoreTest, ChangesActOnTheFirstEntryWithTheIdOnly) {
  const PhoneBookEntry twin{kA.id, "+4999", "999999", "999999"};
  WriteBytes(path_, PhoneBook(Record(kB) + Record(kA) + Record(twin)));
  store_.LoadEntries();
  store_.SelectCurrentDevice(kA.id);
  EXPECT_EQ(store_.GetCurrentDevice(), kA);

  const PhoneBookEntry edited{kA.id, "+4922", "121212", "343434"};
  EXPECT_TRUE(store_.EditEntry(edited));
  EXPECT_EQ(ReadBytes(path_), PhoneBook(Record(kB) + Record(edited) + Record(twin)));

  EXPECT_TRUE(store_.UpdatePasswords(kA.id, "565656", "787878"));
  const PhoneBookEntry updated{kA.id, "+4922", "565656", "787878"};
  EXPECT_THAT(store_.entries(), ElementsAre(kB, updated, twin));
  EXPECT_EQ(store_.GetCurrentDevice(), updated);

  // Only the ID counts for a deletion.
  EXPECT_TRUE(store_.DeleteEntry({kA.id, "", "", ""}));
  EXPECT_EQ(ReadBytes(path_), PhoneBook(Record(kB) + Record(twin)));
  EXPECT_THAT(store_.entries(), ElementsAre(kB, twin));
  EXPECT_THAT(notifier_.messages, IsEmpty());
}

TEST_F(PhoneBookStoreTest, RecordsAreReadByPositionAndWrittenByName) {
  WriteBytes(path_,
             PhoneBook("<Records Phone=\"+4933\" ID=\"000050\" X=\"2\" Y=\"3\" Z=\"4\" />\r\n"
                       "<Other ID=\"999999\" />\r\n"
                       "<Records />\r\n"
                       "<Records ID=\"000051\" Phone=\"+4944\" />\r\n"));
  store_.LoadEntries();
  EXPECT_THAT(store_.entries(),
              ElementsAre(PhoneBookEntry{"+4933", "000050", "2", "3"}, PhoneBookEntry{},
                          PhoneBookEntry{"000051", "+4944", "", ""}));
  EXPECT_TRUE(store_.EntryExists("+4933"));
  EXPECT_FALSE(store_.EntryExists("000050"));
  EXPECT_FALSE(store_.EntryExists("999999"));

  EXPECT_TRUE(store_.UpdatePasswords("000051", "111111", "222222"));
  EXPECT_THAT(
      ReadBytes(path_),
      testing::HasSubstr("<Records ID=\"000051\" Phone=\"+4944\" EnquiryPassword=\"111111\" "
                         "SetupPassword=\"222222\" />\r\n"));
}

// Each child adds its own IDs once the gate opens and lists those reported added.
void AddFromTwoProcesses(const std::string& path, int each, const TempDir& folder) {
  int gate[2];
  ASSERT_EQ(pipe(gate), 0);
  std::vector<pid_t> children;
  for (int child = 1; child <= 2; ++child) {
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      close(gate[1]);
      char go = 0;
      if (read(gate[0], &go, 1) != 1) _exit(2);
      RecordingNotifier notifier;
      PhoneBookStore store(path, notifier);
      std::ofstream added(folder.File("added-" + std::to_string(child)));
      for (int n = 0; n < each; ++n) {
        const std::string id = std::to_string(child * 100000 + n);
        if (store.AddEntry({id, "+49", "135791", "246802"})) added << id << "\n" << std::flush;
      }
      _exit(0);
    }
    children.push_back(pid);
  }
  close(gate[0]);
  ASSERT_EQ(write(gate[1], "gg", 2), 2);
  close(gate[1]);
  for (const pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
}

TEST_F(PhoneBookStoreTest, TwoProgramsAddingAtOnceLoseNoReportedEntry) {
  constexpr int kEach = 100;
  WriteBytes(path_, PhoneBook(""));
  AddFromTwoProcesses(path_, kEach, folder_);
  store_.LoadEntries();
  std::set<std::string> in_file;
  for (const PhoneBookEntry& entry : store_.entries()) in_file.insert(entry.id);
  int reported = 0;
  for (const char* name : {"added-1", "added-2"}) {
    std::ifstream added(folder_.File(name));
    for (std::string id; std::getline(added, id); ++reported)
      EXPECT_EQ(in_file.count(id), 1u) << id;
  }
  // Neither waits long for the other, so every add is made.
  EXPECT_EQ(reported, 2 * kEach);
  EXPECT_EQ(in_file.size(), static_cast<std::size_t>(2 * kEach));
}

TEST_F(PhoneBookStoreTest, APhoneBookLockedTooLongChangesNothing) {
  const std::string before = PhoneBook(Record(kA));
  WriteBytes(path_, before);
  store_.LoadEntries();
  // Another window holds the phone book's lock and does not let go.
  const int held = open(folder_.File(".addressbook.xml.lock").c_str(), O_RDWR | O_CREAT, 0600);
  ASSERT_GE(held, 0);
  ASSERT_EQ(flock(held, LOCK_EX), 0);
  // An add, and an edit for the way every other change goes.
  EXPECT_FALSE(store_.AddEntry(kB));
  EXPECT_FALSE(store_.EditEntry({kA.id, "+4900", "000000", "000000"}));
  EXPECT_THAT(Messages(), ElementsAre(kSaveFailed, kSaveFailed));
  EXPECT_EQ(ReadBytes(path_), before);
  EXPECT_THAT(store_.entries(), ElementsAre(kA));
  close(held);
  EXPECT_TRUE(store_.AddEntry(kB));
}

TEST_F(PhoneBookStoreTest, EveryDamagedFileIsKeptUnderANewNameAndToldWithItsEntries) {
  namespace fs = std::filesystem;
  // Cut off in the middle of a record, as a full disk left it in older versions.
  const std::string damaged = PhoneBook(Record(kC) + Record(kB) + Record(kA)).substr(0, 250);
  WriteBytes(path_, damaged);
  store_.CheckFile();
  store_.LoadEntries();
  EXPECT_THAT(store_.entries(), IsEmpty());
  const std::string first_copy = folder_.File("addressbook.xml.1.bak");
  ASSERT_EQ(notifier_.messages.size(), 1u);
  EXPECT_EQ(notifier_.messages[0].text,
            "The phone book file " + path_ +
                " is damaged, so the phone book shows no entries. 2 entries can still be read "
                "from it. A copy of it was kept as " +
                first_copy + ". Adding an entry replaces the damaged file by a new phone book.");
  EXPECT_EQ(notifier_.messages[0].icon, MessageIcon::kWarning);
  EXPECT_EQ(ReadBytes(first_copy), damaged);
  EXPECT_EQ(fs::status(first_copy).permissions(), fs::perms::owner_read | fs::perms::owner_write);

  // The same damage is not copied twice; the add replaces it.
  EXPECT_TRUE(store_.AddEntry(kA));
  EXPECT_EQ(notifier_.messages.size(), 1u);
  EXPECT_EQ(ReadBytes(path_), PhoneBook(Record(kA)));

  // A second damage gets a copy of its own; the first one stays.
  WriteBytes(path_, "<HEALTHCHECK>");
  EXPECT_TRUE(store_.AddEntry(kB));
  EXPECT_THAT(notifier_.Last(), testing::HasSubstr("0 entries can still be read from it. A copy "
                                                   "of it was kept as " +
                                                   folder_.File("addressbook.xml.2.bak")));
  EXPECT_EQ(ReadBytes(first_copy), damaged);
  EXPECT_EQ(ReadBytes(folder_.File("addressbook.xml.2.bak")), "<HEALTHCHECK>");
  EXPECT_THAT(store_.entries(), ElementsAre(kB));

  // With no room for a copy the damaged file is neither copied nor replaced.
  const std::string other_damage = damaged.substr(0, damaged.size() - 1);
  WriteBytes(path_, other_damage);
  RecordingNotifier notifier;
  PhoneBookStore store(path_, notifier);
  {
    FileSizeLimit limit;
    store.CheckFile();
    EXPECT_FALSE(store.AddEntry(kC));
  }
  ASSERT_EQ(notifier.messages.size(), 2u);
  EXPECT_THAT(notifier.messages[0].text,
              testing::EndsWith("2 entries can still be read from it. No copy of it could be "
                                "kept, so it is left as it is and new entries cannot be saved."));
  EXPECT_EQ(notifier.messages[1].text, kSaveFailed);
  EXPECT_EQ(ReadBytes(path_), other_damage);
  // The phone book, its two copies and its lock.
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_.path()), fs::directory_iterator()), 4);
}

TEST_F(PhoneBookStoreTest, UnchangedDamageIsCopiedOnceHoweverOftenTheProgramStarts) {
  namespace fs = std::filesystem;
  const std::string damaged = PhoneBook(Record(kA)).substr(0, 90);
  WriteBytes(path_, damaged);
  for (int start = 0; start < 3; ++start) {
    RecordingNotifier notifier;
    PhoneBookStore store(path_, notifier);
    store.CheckFile();
    ASSERT_EQ(notifier.messages.size(), 1u) << start;
    EXPECT_THAT(notifier.Last(), testing::HasSubstr("A copy of it was kept as " +
                                                    folder_.File("addressbook.xml.1.bak") + "."));
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_.path()), fs::directory_iterator()), 2);
  EXPECT_EQ(ReadBytes(path_), damaged);
}

// A phone book reached through a symbolic link, as an engineer may keep it elsewhere.
class LinkedPhoneBookTest : public PhoneBookStoreTest {
 protected:
  void LinkTo(const std::string& target) {
    std::filesystem::remove(path_);
    std::filesystem::create_symlink(target, path_);
  }
  std::vector<std::string> NamesIn(const std::filesystem::path& folder) const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  TempDir elsewhere_;
  const std::string target_ = elsewhere_.File("passwd");
};

TEST_F(LinkedPhoneBookTest, AFileThatIsNoPhoneBookIsNeitherCopiedNorReplacedNorRemoved) {
  const struct {
    std::string bytes;  // empty: the link leads nowhere
    std::string which;
  } cases[] = {
      {"root:x:0:0:root:/root:/bin/bash\n", "is damaged or no phone book at all"},
      {PhoneBook(Record(kA)).substr(0, 90), "is damaged or no phone book at all"},
      {std::string(kPhoneBookDeclaration) + "<Other>\r\n" + Record(kA) + "</Other>\r\n",
       "holds no phone book"},
      {"", "does not exist"},
  };
  for (const auto& c : cases) {
    std::filesystem::remove(target_);
    if (!c.bytes.empty()) WriteBytes(target_, c.bytes);
    LinkTo(target_);
    RecordingNotifier notifier;
    PhoneBookStore store(path_, notifier);
    store.CheckFile();
    EXPECT_FALSE(store.AddEntry(kB)) << c.which;
    EXPECT_FALSE(store.EditEntry(kA));
    EXPECT_FALSE(store.DeleteEntry(kA));
    ASSERT_EQ(notifier.messages.size(), 4u) << c.which;
    EXPECT_EQ(notifier.messages[0].text,
              "The phone book file " + path_ + " is a link to " + target_ + ", which " + c.which +
                  ", so the phone book is empty; both are left as they are and new entries "
                  "cannot be saved.");
    EXPECT_EQ(notifier.messages[0].icon, MessageIcon::kWarning);
    EXPECT_EQ(notifier.messages[1].text, kSaveFailed);
    EXPECT_TRUE(std::filesystem::is_symlink(path_));
    EXPECT_EQ(std::filesystem::read_symlink(path_), target_);
    if (c.bytes.empty()) {
      EXPECT_THAT(NamesIn(elsewhere_.path()), IsEmpty());
    } else {
      EXPECT_EQ(ReadBytes(target_), c.bytes) << c.which;
      EXPECT_THAT(NamesIn(elsewhere_.path()), ElementsAre("passwd"));
    }
    EXPECT_THAT(NamesIn(folder_.path()), ElementsAre(".addressbook.xml.lock", "addressbook.xml"))
        << c.which;
  }
}

TEST_F(LinkedPhoneBookTest, ALinkToAPhoneBookIsFollowedAndTheLinkStays) {
  WriteBytes(target_, PhoneBook(Record(kA)));
  LinkTo(target_);
  store_.CheckFile();
  EXPECT_TRUE(store_.AddEntry(kB));
  EXPECT_TRUE(store_.EditEntry({kA.id, "+4900", "000000", "000000"}));
  EXPECT_TRUE(store_.DeleteEntry(kB));
  EXPECT_THAT(notifier_.messages, IsEmpty());
  EXPECT_EQ(ReadBytes(target_), PhoneBook(Record({kA.id, "+4900", "000000", "000000"})));
  EXPECT_TRUE(std::filesystem::is_symlink(path_));
  EXPECT_THAT(NamesIn(elsewhere_.path()), ElementsAre("passwd"));
}

TEST_F(PhoneBookStoreTest, FileWithAnotherRootIsLeftUntouchedAndAddFails) {
  const std::string foreign =
      std::string(kPhoneBookDeclaration) + "<Other>\r\n" + Record(kA) + "</Other>\r\n";
  WriteBytes(path_, foreign);
  const auto inode = [this] {
    struct stat info {};
    stat(path_.c_str(), &info);
    return info.st_ino;
  };
  const ino_t before = inode();
  store_.CheckFile();
  EXPECT_FALSE(store_.AddEntry(kB));
  EXPECT_THAT(Messages(), ElementsAre("The file " + path_ +
                                          " holds no phone book, so the phone book is empty; the "
                                          "file is left as it is and new entries cannot be saved.",
                                      kSaveFailed));
  EXPECT_EQ(inode(), before);  // not even written back unchanged
  EXPECT_EQ(ReadBytes(path_), foreign);
  EXPECT_THAT(store_.entries(), IsEmpty());
}

// A look that neither tells nor keeps a copy, for a program that must change nothing.
TEST_F(PhoneBookStoreTest, FileProblemSaysWhatIsWrongAndChangesNothing) {
  EXPECT_EQ(store_.FileProblem(), "does not exist");
  const std::string damaged = PhoneBook(Record(kA)).substr(0, 60);
  const std::string foreign = std::string(kPhoneBookDeclaration) + "<Other />\r\n";
  for (const auto& [bytes, problem] : {std::pair{damaged, "is damaged or no phone book at all"},
                                       std::pair{foreign, "holds no phone book"}}) {
    WriteBytes(path_, bytes);
    EXPECT_EQ(store_.FileProblem(), problem);
    EXPECT_EQ(ReadBytes(path_), bytes);
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_.path()), {}), 1);
  WriteBytes(path_, PhoneBook(Record(kA)));
  EXPECT_EQ(store_.FileProblem(), std::nullopt);
  EXPECT_THAT(notifier_.messages, IsEmpty());
}

TEST_F(PhoneBookStoreTest, PipeInPlaceOfTheFileIsToldAndNeverWaitedOn) {
  ASSERT_EQ(mkfifo(path_.c_str(), 0600), 0);
  EXPECT_TRUE(FinishesInTime([this] {
    store_.CheckFile();
    store_.LoadEntries();
    return store_.entries().empty() && !store_.EntryExists(kA.id) && !store_.AddEntry(kA) &&
           Messages() == std::vector<std::string>{"The phone book file " + path_ +
                                                      " is not a plain file (a folder, pipe or "
                                                      "device), so the phone book is empty and new "
                                                      "entries cannot be saved.",
                                                  kSaveFailed};
  }));
  EXPECT_TRUE(std::filesystem::is_fifo(path_));
}

TEST_F(PhoneBookStoreTest, FailedSaveIsReportedAndTheOldFileStays) {
  WriteBytes(folder_.File("file"), "");
  for (const std::string& path :
       {folder_.File("missing/addressbook.xml"), folder_.File("file/addressbook.xml")}) {
    RecordingNotifier notifier;
    EXPECT_FALSE(PhoneBookStore(path, notifier).AddEntry(kA)) << path;
    ASSERT_EQ(notifier.messages.size(), 1u) << path;
    EXPECT_EQ(notifier.messages[0].text, kSaveFailed);
    EXPECT_EQ(notifier.messages[0].caption, "Error");
    EXPECT_EQ(notifier.messages[0].icon, MessageIcon::kError);
  }

  const std::string before = PhoneBook(Record(kB) + Record(kA));
  WriteBytes(path_, before);
  store_.LoadEntries();
  std::vector<bool> results;
  {
    // Checked outside, where a failure can still be written to a log file.
    FileSizeLimit limit;
    results = {store_.AddEntry(kC), store_.EditEntry({kA.id, "+4900", "000000", "000000"}),
               store_.DeleteEntry(kA), store_.UpdatePasswords(kA.id, "000000", "000000")};
  }
  EXPECT_THAT(results, ElementsAre(false, false, false, false));
  EXPECT_THAT(Messages(), ElementsAre(kSaveFailed, kSaveFailed, kSaveFailed, kSaveFailed));
  EXPECT_EQ(ReadBytes(path_), before);
  EXPECT_THAT(store_.entries(), ElementsAre(kB, kA));
  EXPECT_EQ(store_.GetCurrentDevice(), PhoneBookEntry{});
}

TEST_F(PhoneBookStoreTest, CurrentDeviceIsACopyThatOnlySelectionAndPasswordUpdatesRefresh) {
  WriteBytes(path_, PhoneBook(Record(kB) + Record(kA)));
  store_.LoadEntries();
  store_.SelectCurrentDevice(kA.id);
  store_.SelectCurrentDevice("000099");
  EXPECT_EQ(store_.GetCurrentDevice(), kA);

  ASSERT_TRUE(store_.EditEntry({kA.id, "+4900", "000000", "000000"}));
  ASSERT_TRUE(store_.DeleteEntry(kA));
  EXPECT_EQ(store_.GetCurrentDevice(), kA);

  ASSERT_TRUE(store_.UpdatePasswords(kB.id, "135791", "246802"));
  EXPECT_EQ(store_.GetCurrentDevice(), (PhoneBookEntry{kB.id, kB.phone, "135791", "246802"}));
}

TEST_F(PhoneBookStoreTest, RenameMovesTheEntryToTheNewIdAtTheTopInOneSave) {
  WriteBytes(path_, PhoneBook(Record(kB) + Record(kA)));
  store_.LoadEntries();
  store_.SelectCurrentDevice(kA.id);

  PhoneBookEntry renamed = store_.GetCurrentDevice();
  renamed.id = "000077";
  EXPECT_EQ(store_.RenameEntry(kA.id, renamed), PhoneBookStore::Rename::kRenamed);
  EXPECT_EQ(ReadBytes(path_), PhoneBook(Record(renamed) + Record(kB)));
  EXPECT_THAT(store_.entries(), ElementsAre(renamed, kB));
  EXPECT_EQ(store_.GetCurrentDevice(), kA);  // a copy, until selected again

  // The new ID is another logger's: nothing is deleted, nothing is told here.
  const std::string before = ReadBytes(path_);
  PhoneBookEntry onto_b = renamed;
  onto_b.id = kB.id;
  EXPECT_EQ(store_.RenameEntry(renamed.id, onto_b), PhoneBookStore::Rename::kIdTaken);
  EXPECT_EQ(ReadBytes(path_), before);
  EXPECT_THAT(notifier_.messages, IsEmpty());

  // The same ID again rewrites the entry in place of the old one.
  const PhoneBookEntry same{kB.id, "+4900", "000000", "000000"};
  EXPECT_EQ(store_.RenameEntry(kB.id, same), PhoneBookStore::Rename::kRenamed);
  EXPECT_EQ(ReadBytes(path_), PhoneBook(Record(same) + Record(renamed)));

  {
    FileSizeLimit limit;
    EXPECT_EQ(store_.RenameEntry(same.id, kC), PhoneBookStore::Rename::kNotSaved);
  }
  EXPECT_EQ(notifier_.Last(), kSaveFailed);
  EXPECT_EQ(ReadBytes(path_), PhoneBook(Record(same) + Record(renamed)));
}

}  // namespace
}  // namespace vexa
