#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <sys/uio.h>

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
// The same, with the content written by a callback into the open temporary file; the callback
// returns false when a write failed. With flush off the new file is not forced to the disk
// before the rename: for rewriting bytes that are already on disk, where a crash can only leave
// the same text behind.
enum class Flush { Yes, No };
void WriteFileAtomic(const std::string& path, const std::function<bool(int fd)>& writeContent,
                     Flush flush = Flush::Yes);

// write/writev until everything is out (partial writes and EINTR handled); false on an error.
// WriteAllVectors may change the entries of pieces.
bool WriteAll(int fd, std::string_view bytes);
bool WriteAllVectors(int fd, iovec* pieces, std::size_t count);

// True when something (file or directory) exists at the path.
bool PathExists(const std::string& path);

} // namespace lv
