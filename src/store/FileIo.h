#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lv {

// Whole file as bytes; std::nullopt when it does not exist. A file that exists but cannot be read
// (no permission, a directory) raises FileError "Cannot open file ...".
std::optional<std::string> ReadFileBytes(const std::string& path);

// Replaces the file with exactly these bytes, atomically: a temporary file beside the target is
// written, flushed to disk and renamed over it, so a crash or a full disk never leaves a truncated
// file. The target keeps its permission bits; a symbolic link keeps pointing at the same file.
// A target without write permission is not replaced. Any failure raises FileError
// "Cannot create file ..." and leaves the old file untouched.
void WriteFileAtomic(const std::string& path, std::string_view bytes);

// True when something (file or directory) exists at the path.
bool PathExists(const std::string& path);

} // namespace lv
