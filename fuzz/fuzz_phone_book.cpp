// Puts arbitrary bytes in place of the phone book, or behind a symbolic link in its
// place, and runs the store's operations on them. Nothing may crash and nothing may be
// lost: a file that is no phone book of ours is never replaced unless a copy of its
// bytes was kept beside it, a file with another root is never written, and an Add that
// reports success is in the file. Through a link only a phone book of ours is written:
// anything else there is never changed, never created, never copied beside, and the
// link stays.
#include <fuzzer/FuzzedDataProvider.h>
#include <stdlib.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "notifier/notifier.h"
#include "phonebook/phone_book_store.h"
#include "xml/whole_file.h"
#include "xml/xml_document.h"

namespace {

namespace fs = std::filesystem;

// One folder for the whole run, in memory where there is one: saves flush to disk.
class ScratchFolder {
 public:
  ScratchFolder() {
    const fs::path base = fs::is_directory("/dev/shm") ? "/dev/shm" : fs::temp_directory_path();
    std::string pattern = (base / "fuzz_phone_book.XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) abort();
    path_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

const fs::path& Folder() {
  static const ScratchFolder folder;
  return folder.path();
}

enum class Kind { kMissing, kOurs, kForeign, kOther };

Kind KindOf(const std::string& path, std::string& bytes) {
  if (!vexa::ReadWholeFile(path, bytes)) return Kind::kMissing;
  vexa::XmlDocument document;
  document.Parse(bytes);
  if (!document.IsWellFormed()) return Kind::kOther;
  return document.FindElement("HEALTHCHECK") ? Kind::kOurs : Kind::kForeign;
}

// What a link leads to, before and after an operation.
struct Behind {
  Kind kind;
  std::string bytes;
  bool operator==(const Behind&) const = default;
};

Behind LookBehind(const std::string& path) {
  Behind behind{};
  behind.kind = KindOf(path, behind.bytes);
  return behind;
}

std::size_t EntriesIn(const fs::path& folder) {
  return static_cast<std::size_t>(
      std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

bool KeptInACopy(const std::string& bytes) {
  for (const auto& entry : fs::directory_iterator(Folder())) {
    std::string copy;
    if (entry.path().extension() == ".bak" && vexa::ReadWholeFile(entry.path(), copy) &&
        copy == bytes) {
      return true;
    }
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  for (const auto& entry : fs::directory_iterator(Folder())) fs::remove_all(entry.path());
  const std::string path = (Folder() / "addressbook.xml").string();
  const fs::path elsewhere = Folder() / "elsewhere";
  const std::string target = (elsewhere / "book").string();
  const bool linked = input.ConsumeBool();
  if (linked) {
    fs::create_directory(elsewhere);
    fs::create_symlink(target, path);
  }
  // Through the link, this writes the file it leads to.
  if (input.ConsumeBool())
    std::ofstream(path, std::ios::binary) << input.ConsumeRandomLengthString(2048);

  vexa::RecordingNotifier notifier;
  vexa::PhoneBookStore store(path, notifier);
  static constexpr std::array<const char*, 3> kIds = {"000041", "000042", ""};
  while (input.remaining_bytes() > 0) {
    const vexa::PhoneBookEntry entry{kIds[input.ConsumeIntegralInRange<std::size_t>(0, 2)],
                                     input.ConsumeRandomLengthString(8), "135791", "246802"};
    std::string before;
    const Kind kind = KindOf(path, before);
    const Behind behind_before = linked ? LookBehind(target) : Behind{};
    bool added = false;
    switch (input.ConsumeIntegralInRange(0, 5)) {
      case 0:
        store.CheckFile();
        break;
      case 1:
        added = store.AddEntry(entry);
        break;
      case 2:
        store.EditEntry(entry);
        break;
      case 3:
        store.DeleteEntry(entry);
        break;
      case 4:
        store.UpdatePasswords(entry.id, "111111", "222222");
        break;
      default:
        std::ofstream(path, std::ios::binary) << input.ConsumeRandomLengthString(256);
        continue;
    }
    std::string after;
    KindOf(path, after);
    if (linked) {
      if (!fs::is_symlink(path) || fs::read_symlink(path) != target) abort();
      if (behind_before.kind != Kind::kOurs && LookBehind(target) != behind_before) abort();
      if (EntriesIn(elsewhere) > (fs::exists(target) ? 1u : 0u)) abort();
    }
    if (kind == Kind::kForeign && after != before) abort();
    if (kind == Kind::kOther && after != before && !KeptInACopy(before)) abort();
    if (added && !store.EntryExists(entry.id)) abort();
  }
  return 0;
}
