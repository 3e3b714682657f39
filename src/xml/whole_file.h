#pragma once

#include <string>
#include <string_view>

namespace vexa {

// Reads a whole regular file as bytes; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& bytes);

// Replaces the file at `path` by `bytes` so that it is never seen half written: the
// bytes go to a new file beside it (created exclusively, owner-only, then given the old
// file's permissions or 0644), are flushed to disk, and the new file is renamed over the
// old one. A symbolic link is followed, so the file it names is the one replaced. On any
// failure the new file is removed, the old one is untouched, and the result is false.
bool ReplaceFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace vexa
