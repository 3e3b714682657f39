#include "xml/whole_file.h"

#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <set>
#include <string>

#include "support/file_bytes.h"
#include "support/finishes_in_time.h"
#include "support/temp_dir.h"

namespace vexa {
namespace {

namespace fs = std::filesystem;
using testing::ElementsAre;

mode_t ModeOf(const fs::path& path) {
  struct stat info {};
  EXPECT_EQ(lstat(path.c_str(), &info), 0) << path;
  return info.st_mode & 07777;
}

// Sets a file's time back, as if it had been left there an hour ago.
void MakeOld(const fs::path& path) {
  const timespec hour_ago[2] = {{time(nullptr) - 3600, 0}, {time(nullptr) - 3600, 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), hour_ago, AT_SYMLINK_NOFOLLOW), 0) << path;
}

class WholeFile : public testing::Test {
 protected:
  std::set<std::string> Names() const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_.path())) {
      names.insert(entry.path().filename().string());
    }
    return names;
  }

  TempDir folder_;
  const std::string path_ = folder_.File("book.xml");
};

TEST_F(WholeFile, NewFilesAreOwnerOnlyWhateverTheUmaskAndOldFilesKeepTheirMode) {
  const mode_t saved = umask(0);
  for (const mode_t mask : {0000, 0022, 0077, 0277}) {
    umask(mask);
    fs::remove(path_);
    ASSERT_TRUE(ReplaceFileAtomically(path_, "new")) << mask;
    EXPECT_EQ(ModeOf(path_), 0600u) << mask;
    EXPECT_EQ(ReadBytes(path_), "new");
    for (const mode_t old_mode : {0644, 0640, 0400}) {
      ASSERT_EQ(chmod(path_.c_str(), old_mode), 0);
      ASSERT_TRUE(ReplaceFileAtomically(path_, "again")) << mask << " " << old_mode;
      EXPECT_EQ(ModeOf(path_), old_mode) << mask;
    }
  }
  umask(saved);
  EXPECT_THAT(Names(), ElementsAre("book.xml"));
}

TEST_F(WholeFile, AKilledSaveLeavesAnOwnerOnlyTemporaryThatALaterSaveRemovesWhenOld) {
  WriteBytes(path_, "old");
  ASSERT_EQ(chmod(path_.c_str(), 0644), 0);
  // The file size limit kills the save half way, as kill -9 would.
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const rlimit no_core{0, 0};
    setrlimit(RLIMIT_CORE, &no_core);
    const rlimit limit{1000, 1000};
    setrlimit(RLIMIT_FSIZE, &limit);
    ReplaceFileAtomically(path_, std::string(100000, 'x'));
    _exit(0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ);
  EXPECT_EQ(ReadBytes(path_), "old");
  std::set<std::string> names = Names();
  ASSERT_EQ(names.size(), 2u);
  names.erase("book.xml");
  const fs::path left = folder_.path() / *names.begin();
  EXPECT_THAT(left.filename().string(), testing::MatchesRegex(R"(\.book\.xml\.\w{6})"));
  EXPECT_EQ(ModeOf(left), 0600u);  // it holds passwords too

  // Only old files of the save's own pattern go; a fresh one may be a save running now.
  const std::set<std::string> kept = {".book.xml.Fresh1",  ".book.xml.tmp",     ".book.xml.ABC-12",
                                      ".book.xml.ABCDEFG", ".other.xml.ABCDEF", "book.xml.ABCDEF",
                                      ".book.xml.Dir123",  ".book.xml.Lnk123"};
  for (const std::string& name : kept) WriteBytes(folder_.path() / name, "not ours");
  fs::remove(folder_.path() / ".book.xml.Dir123");
  fs::create_directory(folder_.path() / ".book.xml.Dir123");
  fs::remove(folder_.path() / ".book.xml.Lnk123");
  fs::create_symlink(path_, folder_.path() / ".book.xml.Lnk123");
  for (const std::string& name : kept) {
    if (name != ".book.xml.Fresh1") MakeOld(folder_.path() / name);
  }
  MakeOld(left);

  ASSERT_TRUE(ReplaceFileAtomically(path_, "new"));
  EXPECT_EQ(ReadBytes(path_), "new");
  std::set<std::string> expected = kept;
  expected.insert("book.xml");
  EXPECT_EQ(Names(), expected);
}

TEST_F(WholeFile, PipesAndDevicesAreRefusedAtOnce) {
  ASSERT_EQ(mkfifo(path_.c_str(), 0600), 0);
  std::string bytes = "kept";
  EXPECT_TRUE(FinishesInTime([&] {
    return !ReadWholeFile(path_, bytes) && !ReadWholeFile("/dev/null", bytes) &&
           !ReadWholeFile(folder_.path().string(), bytes) && !ReplaceFileAtomically(path_, "new");
  }));
  EXPECT_TRUE(fs::is_fifo(path_));
  EXPECT_THAT(Names(), ElementsAre("book.xml"));
}

TEST_F(WholeFile, BackupsTakeANewNameEachTimeAndAFullDiskAddsNone) {
  const fs::path someones = folder_.path() / "book.xml.1.bak";
  WriteBytes(someones, "someone's");
  EXPECT_EQ(KeepBackupCopy(path_, "first"), (folder_.path() / "book.xml.2.bak").string());
  EXPECT_EQ(KeepBackupCopy(path_, "second"), (folder_.path() / "book.xml.3.bak").string());
  EXPECT_EQ(ReadBytes(someones), "someone's");
  EXPECT_EQ(ReadBytes(folder_.path() / "book.xml.2.bak"), "first");
  EXPECT_EQ(ReadBytes(folder_.path() / "book.xml.3.bak"), "second");
  EXPECT_EQ(ModeOf(folder_.path() / "book.xml.3.bak"), 0600u);

  EXPECT_TRUE(FinishesInTime([&] {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{16, 16};
    setrlimit(RLIMIT_FSIZE, &limit);
    return !KeepBackupCopy(path_, std::string(100000, 'x'));
  }));
  EXPECT_THAT(Names(), ElementsAre("book.xml.1.bak", "book.xml.2.bak", "book.xml.3.bak"));
  EXPECT_EQ(ReadBytes(folder_.path() / "book.xml.3.bak"), "second");
}

TEST_F(WholeFile, IdenticalBytesKeepTheirOneCopyAcrossStoresAndStarts) {
  ASSERT_EQ(KeepBackupCopy(path_, "damaged"), folder_.File("book.xml.1.bak"));
  WriteBytes(folder_.path() / "book.xml.7.bak", "other damage");
  // The next start finds the copy it made before instead of making another.
  EXPECT_EQ(KeepBackupCopy(path_, "damaged"), folder_.File("book.xml.1.bak"));
  EXPECT_EQ(KeepBackupCopy(path_, "other damage"), folder_.File("book.xml.7.bak"));
  EXPECT_EQ(KeepBackupCopy(path_, "new damage"), folder_.File("book.xml.2.bak"));
  // Only a plain copy counts: a link there may change under us.
  fs::remove(folder_.path() / "book.xml.1.bak");
  WriteBytes(folder_.path() / "elsewhere", "damaged");
  fs::create_symlink(folder_.path() / "elsewhere", folder_.path() / "book.xml.1.bak");
  EXPECT_EQ(KeepBackupCopy(path_, "damaged"), folder_.File("book.xml.3.bak"));
  EXPECT_THAT(Names(), ElementsAre("book.xml.1.bak", "book.xml.2.bak", "book.xml.3.bak",
                                   "book.xml.7.bak", "elsewhere"));
}

TEST_F(WholeFile, ALinkIsFollowedOnlyToAnExistingFileAndBackupsStayBesideTheLink) {
  TempDir elsewhere;
  const fs::path target = elsewhere.path() / "target.xml";
  fs::create_symlink(target, path_);
  // A link to nothing never creates the file it names.
  EXPECT_FALSE(ReplaceFileAtomically(path_, "new"));
  EXPECT_FALSE(fs::exists(target));

  WriteBytes(target, "old");
  EXPECT_TRUE(ReplaceFileAtomically(path_, "new"));
  EXPECT_EQ(ReadBytes(target), "new");
  EXPECT_TRUE(fs::is_symlink(path_));

  EXPECT_EQ(KeepBackupCopy(path_, "copy"), folder_.File("book.xml.1.bak"));
  EXPECT_THAT(Names(), ElementsAre("book.xml", "book.xml.1.bak"));
  EXPECT_EQ(std::distance(fs::directory_iterator(elsewhere.path()), fs::directory_iterator()), 1);
  EXPECT_EQ(LinkTarget(path_), target.string());
  EXPECT_EQ(LinkTarget(folder_.File("book.xml.1.bak")), std::nullopt);
  fs::remove(target);
  EXPECT_EQ(LinkTarget(path_), target.string());  // named even when it is gone
}

TEST_F(WholeFile, ASaveTargetIsTheFileThatWillChangeAndWhyItMayNot) {
  TempDir elsewhere;
  const auto ours = [](const std::string& file) { return file.ends_with(".ours"); };
  WriteBytes(folder_.path() / "plain", "x");
  WriteBytes(folder_.path() / "locked", "x");
  ASSERT_EQ(chmod(folder_.File("locked").c_str(), 0444), 0);
  WriteBytes(elsewhere.path() / "kept.ours", "x");
  WriteBytes(elsewhere.path() / "passwd", "x");
  fs::create_symlink(elsewhere.path() / "kept.ours", folder_.path() / "to-ours");
  fs::create_symlink(elsewhere.path() / "passwd", folder_.path() / "to-foreign");
  fs::create_symlink(elsewhere.path() / "gone.ours", folder_.path() / "to-nothing");
  ASSERT_EQ(mkfifo(folder_.File("pipe").c_str(), 0600), 0);
  const struct {
    std::string name;
    std::string file;
    bool exists;
    bool linked;
    ReplaceRefusal refusal;
  } cases[] = {
      {"new", folder_.File("new"), false, false, ReplaceRefusal::kNone},
      {"plain", folder_.File("plain"), true, false, ReplaceRefusal::kNone},
      {"locked", folder_.File("locked"), true, false, ReplaceRefusal::kReadOnly},
      {"pipe", folder_.File("pipe"), true, false, ReplaceRefusal::kNotPlainFile},
      {"to-ours", elsewhere.File("kept.ours"), true, true, ReplaceRefusal::kNone},
      {"to-foreign", elsewhere.File("passwd"), true, true, ReplaceRefusal::kLinkToForeign},
      {"to-nothing", elsewhere.File("gone.ours"), false, true, ReplaceRefusal::kLinkToNothing},
  };
  for (const auto& c : cases) {
    const SaveTarget target = LookAtSaveTarget(folder_.File(c.name), ours);
    EXPECT_EQ(target.file, c.file) << c.name;
    EXPECT_EQ(target.exists, c.exists) << c.name;
    EXPECT_EQ(target.linked, c.linked) << c.name;
    EXPECT_EQ(target.refusal, c.refusal) << c.name;
  }
  // Not ours to write, though the folder would let a new file replace it.
  if (geteuid() != 0) {
    EXPECT_EQ(LookAtSaveTarget("/etc/passwd", ours).refusal, ReplaceRefusal::kReadOnly);
  }
}

}  // namespace
}  // namespace vexa
