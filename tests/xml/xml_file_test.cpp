#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "xml/xml_document.h"

namespace vexa {
namespace {

namespace fs = std::filesystem;

class XmlFile : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "xml_file_test.XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
  }
  void TearDown() override { fs::remove_all(folder_); }

  std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }
  static void Write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  static mode_t ModeOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(stat(path.c_str(), &info), 0);
    return info.st_mode & 07777;
  }
  std::size_t EntriesInFolder() const {
    return std::distance(fs::directory_iterator(folder_), fs::directory_iterator());
  }

  fs::path folder_;
};

TEST_F(XmlFile, LoadConvertsFromUtf8OnlyWhenSoDeclared) {
  const std::string body =
      "<r v=\"\xC3\xA9|\xE2\x82\xAC|\xF0\x9F\x98\x80|\xFF|\xE2\x82|\xC0\xAF|\x7F\"/>";
  const std::string converted = "<r v=\"\xE9|?|?|?|?|??|\x7F\"/>";
  const std::vector<std::pair<std::string, std::string>> cases = {
      {body, converted},
      {"\xEF\xBB\xBF" + body, converted},
      {"<?xml version=\"1.0\"?>" + body, "<?xml version=\"1.0\"?>" + converted},
      {"<?xml encoding='utf-8'?>" + body, "<?xml encoding='utf-8'?>" + converted},
      {"<?xml encoding=\"UTF-8x\"?>" + body, "<?xml encoding=\"UTF-8x\"?>" + converted},
      {"<?xml encoding=\"ISO-8859-1\"?>" + body, "<?xml encoding=\"ISO-8859-1\"?>" + body},
      {"<?xml encoding=\"UTF8\"?>" + body, "<?xml encoding=\"UTF8\"?>" + body},
  };
  for (const auto& [bytes, text] : cases) {
    Write(PathOf("in.xml"), bytes);
    XmlDocument doc;
    ASSERT_TRUE(doc.LoadFile(PathOf("in.xml")));
    EXPECT_EQ(doc.Text(), text) << bytes;
    EXPECT_TRUE(doc.IsWellFormed()) << bytes;
  }
}

TEST_F(XmlFile, SaveConvertsBackToUtf8OnlyWhenSoDeclared) {
  XmlDocument doc;
  doc.Parse("<?xml version=\"1.0\" encoding=\"UTF-8\"?><r/>");
  ASSERT_TRUE(doc.FindElement("r"));
  doc.SetAttribute("v", "\xE9\xFF");
  ASSERT_TRUE(doc.SaveFile(PathOf("utf8.xml")));
  EXPECT_EQ(Read(PathOf("utf8.xml")),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?><r v=\"\xC3\xA9\xC3\xBF\"/>");
  XmlDocument reloaded;
  ASSERT_TRUE(reloaded.LoadFile(PathOf("utf8.xml")));
  EXPECT_EQ(reloaded.Text(), doc.Text());

  doc.Parse("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r v=\"\xE9\"/>");
  ASSERT_TRUE(doc.SaveFile(PathOf("latin1.xml")));
  EXPECT_EQ(Read(PathOf("latin1.xml")), doc.Text());
}

TEST_F(XmlFile, LoadFailsOnlyWhenTheFileCannotBeRead) {
  XmlDocument doc;
  doc.Parse("<kept/>");
  EXPECT_FALSE(doc.LoadFile(PathOf("missing.xml")));
  EXPECT_FALSE(doc.LoadFile(folder_.string()));
  EXPECT_EQ(doc.Text(), "<kept/>");
  Write(PathOf("broken.xml"), "<a>");
  EXPECT_TRUE(doc.LoadFile(PathOf("broken.xml")));
  EXPECT_FALSE(doc.IsWellFormed());
}

TEST_F(XmlFile, SaveReplacesTheFileKeepingItsPermissions) {
  XmlDocument doc;
  doc.Parse("<?xml encoding=\"ISO-8859-1\"?><new/>");
  const std::string path = PathOf("book.xml");
  ASSERT_TRUE(doc.SaveFile(path));
  EXPECT_EQ(ModeOf(path), 0600u);

  Write(path, "old");
  ASSERT_EQ(chmod(path.c_str(), 0640), 0);
  std::ifstream reader(path, std::ios::binary);  // holds the old file
  ASSERT_TRUE(doc.SaveFile(path));
  EXPECT_EQ(Read(path), doc.Text());
  EXPECT_EQ(ModeOf(path), 0640u);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(reader), {}), "old");
  EXPECT_EQ(EntriesInFolder(), 1u);

  // Through a symbolic link the file it names is replaced, the link stays.
  fs::create_symlink(path, PathOf("link.xml"));
  doc.Parse("<?xml encoding=\"ISO-8859-1\"?><linked/>");
  ASSERT_TRUE(doc.SaveFile(PathOf("link.xml")));
  EXPECT_TRUE(fs::is_symlink(PathOf("link.xml")));
  EXPECT_EQ(Read(path), doc.Text());
}

TEST_F(XmlFile, FailedSaveLeavesTheOldFileAndNoTemporary) {
  XmlDocument doc;
  doc.Parse("<?xml encoding=\"ISO-8859-1\"?><r v=\"" + std::string(100000, 'x') + "\"/>");
  const std::string path = PathOf("book.xml");
  Write(path, "old");

  // A file size limit makes the write fail half way; run it in a child so the
  // limit stays there.
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{1000, 1000};
    setrlimit(RLIMIT_FSIZE, &limit);
    _exit(doc.SaveFile(path) ? 1 : 0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(Read(path), "old");
  EXPECT_EQ(EntriesInFolder(), 1u);

  fs::create_directory(PathOf("folder.xml"));
  fs::create_directory(PathOf("folder.xml/inside"));
  EXPECT_FALSE(doc.SaveFile(PathOf("folder.xml")));  // the rename fails
  EXPECT_FALSE(doc.SaveFile(PathOf("no/such/folder.xml")));
  EXPECT_TRUE(fs::is_directory(PathOf("folder.xml/inside")));
  EXPECT_EQ(EntriesInFolder(), 2u);
}

}  // namespace
}  // namespace vexa
