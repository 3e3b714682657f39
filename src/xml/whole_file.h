#pragma once

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

// The full path of the file a symbolic link at `path` leads to, also when that file does
// not exist; nothing when `path` is no symbolic link.
std::optional<std::string> LinkTarget(const std::string& path);

}  // namespace vexa
