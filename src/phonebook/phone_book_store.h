#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "notifier/notifier.h"
#include "phonebook/phone_book_entry.h"

namespace vexa {

class XmlDocument;

// The phone book file ("addressbook.xml") and its in-memory copy: the entries
// in file order (newest first) and the current device, the logger that every
// command goes to. Every change reads, edits and saves the file under its lock,
// so a change another program made meanwhile is kept; the in-memory copy is
// re-read after every change.
class PhoneBookStore {
 public:
  PhoneBookStore(std::string path, Notifier& notifier);

  const std::string& path() const { return path_; }
  const std::vector<PhoneBookEntry>& entries() const { return entries_; }

  // Looks at the file once, at start, and tells the engineer when it cannot be read,
  // holds no phone book or is damaged; a damaged file is copied aside first.
  void CheckFile();
  // Why the file serves as no phone book ("does not exist", "holds no phone
  // book", ...), without telling anyone or changing anything; nothing when it does.
  std::optional<std::string> FileProblem() const;
  // Appends every entry of the file to the in-memory list.
  void LoadEntries();
  // Empties the in-memory list and loads it again.
  void ReloadEntries();
  bool EntryExists(const std::string& id) const;
  bool AddEntry(const PhoneBookEntry& entry);
  bool EditEntry(const PhoneBookEntry& entry);
  bool DeleteEntry(const PhoneBookEntry& entry);
  bool UpdatePasswords(const std::string& id, const std::string& enquiry_password,
                       const std::string& setup_password);

  enum class Rename { kRenamed, kIdTaken, kNotSaved };
  // The logger of entry `old_id` took the ID of `renamed`: one save removes the old entry
  // and puts `renamed` first, so no moment holds neither. Nothing changes when another
  // entry already has the new ID (kIdTaken, not shown) or when the file cannot be saved
  // (kNotSaved, shown).
  Rename RenameEntry(const std::string& old_id, const PhoneBookEntry& renamed);

  // Copies the first entry with this ID into the current device; unchanged if none.
  void SelectCurrentDevice(const std::string& id);
  PhoneBookEntry GetCurrentDevice() const { return current_; }

 private:
  // Loads the file to add to it, the root entered and no record current: a missing file
  // starts a new phone book, a damaged one is copied aside first. False when the file
  // may not be replaced.
  bool OpenToAdd(XmlDocument& document);
  // Puts the entry first, saves and reloads; a failure is shown.
  bool SaveFirst(XmlDocument& document, const PhoneBookEntry& entry);
  // Applies `change` to the first record with this ID, saves and reloads.
  bool ChangeEntry(const std::string& id, const std::function<void(XmlDocument&)>& change);
  // Copies the damaged file aside under a new name, unless this store already kept
  // these very bytes, and tells the engineer where and how many of its entries could
  // be read. False when no copy could be made.
  bool KeepDamagedFile(int readable_entries);
  // Replaces the file by `document`; a failure is shown, the old file stays.
  bool Save(const XmlDocument& document);
  // Shows that the file could not be written; returns false.
  bool SaveFailed();

  std::string path_;
  Notifier& notifier_;
  std::vector<PhoneBookEntry> entries_;
  PhoneBookEntry current_;
  std::string kept_copy_;  // the newest copy of a damaged file, empty if none
};

}  // namespace vexa
