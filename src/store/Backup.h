#pragma once

#include <cstddef>
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

// The folder beside the DataFile that keeps its older states: stem + ".history" (an existing one
// spelt in another case is used). It holds one file per state ("<n>.lvd") and the list "index".
std::string HistoryFolderName(const std::string& dataFile);

// How many states before the current one the history keeps (the backup's among them).
inline constexpr std::size_t kHistoryStates = 20;

// The modification backup of a command that may change the DataFile, when enabled ([Auto]
// Backup): arms it, and just before the first save that really changes the file's bytes,
// whichever code path saves, the DataFile is kept as a new history state and as its backup
// (stem + ".bak", the state before the last change). `command` is the short name the Undo and
// Redo menu items show ("Erase bookmark"). A command that ends up changing nothing leaves the
// backup and the history alone. A DataFile that does not exist yet has nothing to keep. Arming
// again (or switched off) replaces what an earlier command armed.
void TakeModificationBackup(const std::string& dataFile, bool autoBackup,
                            const std::string& command);
// Copies the DataFile to its backup now, with the DataFile's permissions.
void CopyToBackup(const std::string& dataFile);

// The file side of "&Undo last Edit": puts the state before the last change back, keeping the
// current one for Redo. A DataFile without history (its backup written by another program, say)
// gets its backup copied over it. Returns whether it changed anything; at the oldest state it
// does nothing. The caller reloads the file either way.
bool RestoreModificationBackup(const std::string& dataFile);
// The file side of "Redo": the state an undo left goes back. Returns whether there was one.
bool RedoModification(const std::string& dataFile);

// What the Undo and Redo menu items offer for this DataFile: whether each can step, and the name
// of the command it would undo or redo (empty for a backup without history).
struct ModificationHistoryMenu {
    bool canUndo = false;
    bool canRedo = false;
    std::string undoCommand;
    std::string redoCommand;
};
ModificationHistoryMenu ReadModificationHistory(const std::string& dataFile);

} // namespace lv
