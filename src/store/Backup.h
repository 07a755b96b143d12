#pragma once

#include <string>
#include <string_view>

namespace lv {

// The path without the extension of its last component: "/bm/work.lvd" -> "/bm/work"; a dot in a
// directory name does not count.
std::string FileStem(std::string_view path);

// Reads the whole source and replaces the destination with it atomically. A missing or unreadable
// source raises "Cannot open file ..." and leaves the destination alone; a destination that cannot
// be written raises "Cannot create file ...".
void FileCopy(const std::string& source, const std::string& destination);

// stem + ".bak" beside the DataFile (an existing backup spelt in another case is used).
std::string BackupFileName(const std::string& dataFile);

// The modification backup of a command that may change the DataFile, when enabled ([Auto]
// Backup): arms it, and the DataFile is copied to its backup just before the first save that
// really changes the file's bytes, whichever code path saves. A command that ends up changing
// nothing leaves the previous backup alone. A DataFile that does not exist yet has nothing to
// keep. Arming again (or switched off) replaces what an earlier command armed.
void TakeModificationBackup(const std::string& dataFile, bool autoBackup);
// Copies the DataFile to its backup now, with the DataFile's permissions.
void CopyToBackup(const std::string& dataFile);

// The file side of "&Undo last Edit": when the backup exists, copies it over the DataFile.
// Returns whether it did; the caller reloads the file either way.
bool RestoreModificationBackup(const std::string& dataFile);

} // namespace lv
