#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vexa {

// Reads a whole regular file as bytes; false when it cannot be opened or read, or is
// not a regular file. A pipe or device in its place is refused at once, never waited on.
bool ReadWholeFile(const std::string& path, std::string& bytes);

// Replaces the file at `path` by `bytes` so that it is never seen half written: the
// bytes go to a new owner-only file beside it (".<name>.XXXXXX"), are flushed to disk,
// take the old file's permissions (a new file stays owner-only, whatever the umask),
// and the new file is renamed over the old one. A symbolic link is followed, so the file
// it names is the one replaced, but only when that file exists: a link to nothing is
// refused, as is anything that is not a regular file.
// Temporary files of earlier saves of this name that were left behind are removed. On
// any failure the new file is removed, the old one is untouched, and the result is false.
bool ReplaceFileAtomically(const std::string& path, std::string_view bytes);

// Keeps `bytes` as a new owner-only file beside `path` (beside the name given, never
// beside the file a link there leads to), named "<name>.<n>.bak" with the first number
// not taken, written as ReplaceFileAtomically writes but never replacing a file already
// there. When a plain copy there already holds exactly these bytes, that copy is the one
// kept. The copy's full path, or nothing when it failed.
std::optional<std::string> KeepBackupCopy(const std::string& path, std::string_view bytes);

// Writes `bytes` as a new owner-only file in the folder of `path` (the name given,
// never followed through a link), written as ReplaceFileAtomically writes, under the
// first of `name(1)`, `name(2)`, ... up to `name(tries)` that no file there holds yet;
// never replaces a file, not even one made in the same instant by another save. The
// new file's full path, or nothing when it failed.
std::optional<std::string> CreateUnderNewName(const std::string& path, std::string_view bytes,
                                              const std::function<std::string(int n)>& name,
                                              int tries);

// The full path of the file a symbolic link at `path` leads to, also when that file does
// not exist; nothing when `path` is no symbolic link.
std::optional<std::string> LinkTarget(const std::string& path);

// Why a save must not replace the file a name it was given leads to.
enum class ReplaceRefusal {
  kNone,
  kNotPlainFile,   // a folder, pipe or device
  kLinkToNothing,  // a symbolic link to a file that does not exist
  kLinkToForeign,  // a symbolic link to a file that is not of the kind being saved
  kReadOnly,       // read-only, or not the user's to write in place
};

// What saving to a name would change.
struct SaveTarget {
  std::string file;  // full path of the file that changes: the name, or what a link there leads to
  bool exists = false;
  bool linked = false;
  ReplaceRefusal refusal = ReplaceRefusal::kNone;
};

// Looks at what a save to `path`, a name the engineer chose, would replace. A save may
// follow a symbolic link only to an existing file that `ours` accepts as of the kind
// being saved, and never replaces a file the user could not write in place, even where
// the folder would let a new file be renamed over it.
SaveTarget LookAtSaveTarget(const std::string& path,
                            const std::function<bool(const std::string& file)>& ours);

}  // namespace vexa
