#include "phonebook/phone_book_store.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <utility>

#include "phonebook/phone_book_lock.h"
#include "xml/whole_file.h"
#include "xml/xml_document.h"

namespace vexa {
namespace {

constexpr char kRoot[] = "HEALTHCHECK";
constexpr char kRecord[] = "Records";
constexpr char kIdExists[] = "The ID is exist !";
constexpr char kIdMissing[] = "The ID is not exist !";
constexpr char kSaveFailed[] = "Cannot save the phone book file!";

enum class FileState { kMissing, kUnreadable, kDamaged, kNoRoot, kReady };

// Loads the file; when it is ready, the root is entered and no record is current.
FileState OpenPhoneBook(XmlDocument& document, const std::string& path) {
  if (!document.LoadFile(path)) {
    std::error_code error;
    const bool exists = std::filesystem::exists(path, error);
    return exists || error ? FileState::kUnreadable : FileState::kMissing;
  }
  if (!document.IsWellFormed()) return FileState::kDamaged;
  if (!document.FindElement(kRoot)) return FileState::kNoRoot;
  document.EnterElement();
  return FileState::kReady;
}

// Records are read by position, whatever their attributes are called.
std::string AttributeAt(const XmlDocument& document, int index) {
  const std::string name = document.AttributeName(index);
  return name.empty() ? std::string() : document.GetAttribute(name);
}

// Moves to the first record after the current one whose first attribute is `id`.
bool FindRecord(XmlDocument& document, const std::string& id) {
  while (document.FindElement(kRecord)) {
    if (AttributeAt(document, 0) == id) return true;
  }
  return false;
}

// Back to the top of the root: no record current, so that a new one goes first.
void RewindToRoot(XmlDocument& document) {
  document.LeaveElement();
  document.EnterElement();
}

XmlDocument NewPhoneBook() {
  XmlDocument document;
  document.InsertDeclaration();
  document.SetAttribute("version", "1.0");
  document.SetAttribute("encoding", "ISO-8859-1");
  document.AddElement(kRoot);
  document.EnterElement();
  return document;
}

// How many records a damaged file still shows, as far as its scan got.
int CountRecords(XmlDocument& damaged) {
  int count = 0;
  if (damaged.FindElement(kRoot) && damaged.EnterElement()) {
    while (damaged.FindElement(kRecord)) ++count;
  }
  return count;
}

// The full path, so that the engineer can find the file whatever folder the program ran in.
std::string ShownPath(const std::string& path) {
  std::error_code error;
  const std::filesystem::path full = std::filesystem::absolute(path, error);
  return error ? path : full.lexically_normal().string();
}

// Why a file that is not ready reads as an empty phone book.
std::string WhatIsWrong(FileState state, const std::string& path) {
  switch (state) {
    case FileState::kMissing:
      return "does not exist";
    case FileState::kUnreadable: {
      std::error_code error;
      return std::filesystem::is_regular_file(path, error)
                 ? "cannot be read"
                 : "is not a plain file (a folder, pipe or device)";
    }
    case FileState::kDamaged:
      // Not XML at all: a link may lead to any file.
      return "is damaged or no phone book at all";
    case FileState::kNoRoot:
      return "holds no phone book";
    case FileState::kReady:
      break;
  }
  return {};
}

std::string DamagedText(const std::string& path, int entries) {
  return "The phone book file " + ShownPath(path) + " is damaged, so the phone book shows no " +
         "entries. " + std::to_string(entries) + (entries == 1 ? " entry" : " entries") +
         " can still be read from it.";
}

}  // namespace

PhoneBookStore::PhoneBookStore(std::string path, Notifier& notifier)
    : path_(std::move(path)), notifier_(notifier) {}

void PhoneBookStore::CheckFile() {
  XmlDocument document;
  const FileState state = OpenPhoneBook(document, path_);
  if (state == FileState::kReady) return;
  if (const std::optional<std::string> target = LinkTarget(path_)) {
    notifier_.Show("The phone book file " + ShownPath(path_) + " is a link to " + *target +
                       ", which " + WhatIsWrong(state, path_) +
                       ", so the phone book is empty; both are left as they are and new entries "
                       "cannot be saved.",
                   {}, MessageIcon::kWarning);
    return;
  }
  switch (state) {
    case FileState::kUnreadable:
      notifier_.Show("The phone book file " + ShownPath(path_) + " " + WhatIsWrong(state, path_) +
                         ", so the phone book is empty and new entries cannot be saved.",
                     {}, MessageIcon::kWarning);
      break;
    case FileState::kDamaged: {
      const int entries = CountRecords(document);
      if (!KeepDamagedFile(entries)) {
        notifier_.Show(DamagedText(path_, entries) +
                           " No copy of it could be kept, so it is left as it is and new "
                           "entries cannot be saved.",
                       {}, MessageIcon::kWarning);
      }
      break;
    }
    case FileState::kNoRoot:
      notifier_.Show("The file " + ShownPath(path_) +
                         " holds no phone book, so the phone book is empty; the file is left as "
                         "it is and new entries cannot be saved.",
                     {}, MessageIcon::kWarning);
      break;
    case FileState::kMissing:
    case FileState::kReady:
      break;
  }
}

std::optional<std::string> PhoneBookStore::FileProblem() const {
  XmlDocument document;
  const FileState state = OpenPhoneBook(document, path_);
  if (state == FileState::kReady) return std::nullopt;
  return WhatIsWrong(state, path_);
}

void PhoneBookStore::LoadEntries() {
  XmlDocument document;
  if (OpenPhoneBook(document, path_) != FileState::kReady) return;
  while (document.FindElement(kRecord)) {
    entries_.push_back({AttributeAt(document, 0), AttributeAt(document, 1),
                        AttributeAt(document, 2), AttributeAt(document, 3)});
  }
}

void PhoneBookStore::ReloadEntries() {
  entries_.clear();
  LoadEntries();
}

bool PhoneBookStore::EntryExists(const std::string& id) const {
  XmlDocument document;
  return OpenPhoneBook(document, path_) == FileState::kReady && FindRecord(document, id);
}

bool PhoneBookStore::AddEntry(const PhoneBookEntry& entry) {
  const std::optional<PhoneBookLock> lock = PhoneBookLock::Take(path_);
  XmlDocument document;
  if (!lock || !OpenToAdd(document)) return SaveFailed();
  if (FindRecord(document, entry.id)) {
    notifier_.Show(kIdExists);
    return false;
  }
  RewindToRoot(document);
  return SaveFirst(document, entry);
}

PhoneBookStore::Rename PhoneBookStore::RenameEntry(const std::string& old_id,
                                                   const PhoneBookEntry& renamed) {
  const std::optional<PhoneBookLock> lock = PhoneBookLock::Take(path_);
  XmlDocument document;
  if (!lock || !OpenToAdd(document)) {
    SaveFailed();
    return Rename::kNotSaved;
  }
  if (renamed.id != old_id && FindRecord(document, renamed.id)) return Rename::kIdTaken;
  RewindToRoot(document);
  if (FindRecord(document, old_id)) document.RemoveElement();
  RewindToRoot(document);
  return SaveFirst(document, renamed) ? Rename::kRenamed : Rename::kNotSaved;
}

bool PhoneBookStore::EditEntry(const PhoneBookEntry& entry) {
  return ChangeEntry(entry.id, [&entry](XmlDocument& document) {
    document.SetAttribute("Phone", entry.phone);
    document.SetAttribute("EnquiryPassword", entry.enquiry_password);
    document.SetAttribute("SetupPassword", entry.setup_password);
  });
}

bool PhoneBookStore::DeleteEntry(const PhoneBookEntry& entry) {
  return ChangeEntry(entry.id, [](XmlDocument& document) { document.RemoveElement(); });
}

bool PhoneBookStore::UpdatePasswords(const std::string& id, const std::string& enquiry_password,
                                     const std::string& setup_password) {
  const bool changed = ChangeEntry(id, [&](XmlDocument& document) {
    document.SetAttribute("EnquiryPassword", enquiry_password);
    document.SetAttribute("SetupPassword", setup_password);
  });
  if (changed) SelectCurrentDevice(id);
  return changed;
}

void PhoneBookStore::SelectCurrentDevice(const std::string& id) {
  const auto found = std::find_if(entries_.begin(), entries_.end(),
                                  [&id](const PhoneBookEntry& entry) { return entry.id == id; });
  if (found != entries_.end()) current_ = *found;
}

bool PhoneBookStore::ChangeEntry(const std::string& id,
                                 const std::function<void(XmlDocument&)>& change) {
  const std::optional<PhoneBookLock> lock = PhoneBookLock::Take(path_);
  if (!lock) return SaveFailed();
  XmlDocument document;
  if (OpenPhoneBook(document, path_) != FileState::kReady || !FindRecord(document, id)) {
    notifier_.Show(kIdMissing);
    return false;
  }
  change(document);
  if (!Save(document)) return false;
  ReloadEntries();
  return true;
}

bool PhoneBookStore::OpenToAdd(XmlDocument& document) {
  switch (OpenPhoneBook(document, path_)) {
    case FileState::kReady:
      return true;
    case FileState::kNoRoot:      // not our file: left as it is
    case FileState::kUnreadable:  // could not be copied aside, so never replaced
      return false;
    case FileState::kDamaged:
      // Through a link the damaged file is someone else's: never copied, never replaced.
      if (LinkTarget(path_) || !KeepDamagedFile(CountRecords(document))) return false;
      document = NewPhoneBook();
      return true;
    case FileState::kMissing:
      document = NewPhoneBook();
      return true;
  }
  return false;
}

bool PhoneBookStore::SaveFirst(XmlDocument& document, const PhoneBookEntry& entry) {
  document.InsertElement(kRecord, true);
  document.SetAttribute("ID", entry.id);
  document.SetAttribute("Phone", entry.phone);
  document.SetAttribute("EnquiryPassword", entry.enquiry_password);
  document.SetAttribute("SetupPassword", entry.setup_password);
  document.LeaveElement();
  if (!Save(document)) return false;
  ReloadEntries();
  return true;
}

bool PhoneBookStore::KeepDamagedFile(int readable_entries) {
  std::string bytes;
  if (!ReadWholeFile(path_, bytes)) return false;
  std::string kept;
  if (!kept_copy_.empty() && ReadWholeFile(kept_copy_, kept) && kept == bytes) return true;
  const std::optional<std::string> copy = KeepBackupCopy(path_, bytes);
  if (!copy) return false;
  kept_copy_ = *copy;
  notifier_.Show(DamagedText(path_, readable_entries) + " A copy of it was kept as " + kept_copy_ +
                     ". Adding an entry replaces the damaged file by a new phone book.",
                 {}, MessageIcon::kWarning);
  return true;
}

bool PhoneBookStore::Save(const XmlDocument& document) {
  return document.SaveFile(path_) || SaveFailed();
}

bool PhoneBookStore::SaveFailed() {
  notifier_.Show(kSaveFailed, "Error", MessageIcon::kError);
  return false;
}

}  // namespace vexa
