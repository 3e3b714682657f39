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
// it names is the one replaced; anything there that is not a regular file is refused.
// Temporary files of earlier saves of this name that were left behind are removed. On
// any failure the new file is removed, the old one is untouched, and the result is false.
bool ReplaceFileAtomically(const std::string& path, std::string_view bytes);

// Keeps `bytes` as a new owner-only file beside `path`, named "<name>.<n>.bak" with
// the first number not taken, written as ReplaceFileAtomically writes but never
// replacing a file already there. The copy's full path, or nothing when it failed.
std::optional<std::string> KeepBackupCopy(const std::string& path, std::string_view bytes);

}  // namespace vexa
