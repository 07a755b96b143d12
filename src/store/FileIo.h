#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <sys/uio.h>

namespace lv {

// Files the program reads whole are refused above this size, so that a stray huge file (or a
// device that never ends) cannot exhaust memory.
inline constexpr std::size_t kMaxFileBytes = std::size_t{256} << 20;

// Whole file as bytes; std::nullopt when it does not exist. A file that exists but cannot be read
// (no permission, a directory, a FIFO, a device or a socket) raises FileError "Cannot open file
// ..."; nothing but a regular file is ever opened, so a FIFO cannot block the program. A file
// larger than the limit raises FileError "Cannot open file ...: larger than N MB".
std::optional<std::string> ReadFileBytes(const std::string& path,
                                         std::size_t limit = kMaxFileBytes);

// Replaces the file with exactly these bytes, atomically: a temporary file beside the target is
// written, flushed to disk and renamed over it, and the directory is flushed after the rename, so
// a crash, a power cut or a full disk leaves either the old file or the new one, whole. The
// temporary file is created with the permission bits of the file it replaces (or with `mode` when
// given), so the content is never readable by more users than the target allows; a symbolic link
// keeps pointing at the same file. When the bytes equal those already in the file, nothing is
// written at all. A target without write permission is not replaced (and its save fails even
// when it would change nothing). Any failure raises FileError "Cannot create file ..." and leaves
// the old file untouched.
void WriteFileAtomic(const std::string& path, std::string_view bytes,
                     std::optional<mode_t> mode = std::nullopt);
// The same, with the content produced piece by piece: `content` calls `emit` for each piece in
// order and returns false as soon as `emit` does; it may be run twice (to compare, then to
// write), and each piece must stay valid until it returns. `size` is the total of the pieces.
using PieceSink = std::function<bool(std::string_view piece)>;
using ContentSource = std::function<bool(const PieceSink& emit)>;
void WriteFileAtomic(const std::string& path, std::size_t size, const ContentSource& content,
                     std::optional<mode_t> mode = std::nullopt);

// Runs `before` once, just before the first save through WriteFileAtomic that really changes the
// file at `path` (saves whose bytes equal the file do not count), then forgets it. There is one
// such slot: arming again replaces the previous action, DisarmBeforeFirstChange drops it. An
// exception from `before` ends that save before anything is written. `after`, when given, runs
// once that same save has replaced the file (not when it failed); it must not throw, since the
// file is already replaced.
void ArmBeforeFirstChange(const std::string& path, std::function<void()> before,
                          std::function<void()> after = {});
void DisarmBeforeFirstChange();

// Removes the temporary files that a save interrupted by a crash left in the directory: only
// names of the form "<file>.~lv<pid>-<n>" that this user owns, and only when no process with that
// id is alive. Returns how many were removed.
int RemoveStaleTemporaries(const std::string& directory);

// write/writev until everything is out (partial writes and EINTR handled); false on an error.
// WriteAllVectors may change the entries of pieces.
bool WriteAll(int fd, std::string_view bytes);
bool WriteAllVectors(int fd, iovec* pieces, std::size_t count);

// True when something (file or directory) exists at the path.
bool PathExists(const std::string& path);

} // namespace lv
