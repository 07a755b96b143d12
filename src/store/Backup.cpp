#include "store/Backup.h"

#include "store/FileError.h"
#include "store/FileIo.h"
#include "store/Text.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace lv {
namespace {

// The history of one DataFile: its states oldest first, each with the name of the command that
// made it (the first has none). The DataFile holds the state at `position`; every other state
// has its file in the history folder. Later states than `position` are what Redo brings back.
struct HistoryEntry {
    std::uint64_t id = 0;
    std::string command;
};
struct History {
    std::vector<HistoryEntry> entries;
    std::size_t position = 0;
};

constexpr const char* kIndexName = "/index";

std::string StateFile(const std::string& folder, std::uint64_t id) {
    return folder + "/" + std::to_string(id) + ".lvd";
}

bool StateFileName(std::string_view name, std::uint64_t& id) {
    constexpr std::string_view kExtension = ".lvd";
    if (name.size() <= kExtension.size() ||
        name.substr(name.size() - kExtension.size()) != kExtension) {
        return false;
    }
    const std::string_view digits = name.substr(0, name.size() - kExtension.size());
    if (digits.size() > 18 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return false;
    }
    id = std::stoull(std::string(digits));
    return true;
}

// The index: "position <n>", then one line per state, "<id>" or "<id> <command>". Anything that
// does not read back whole counts as no history.
std::optional<History> ReadHistory(const std::string& folder) {
    std::optional<std::string> text;
    try {
        text = ReadFileBytes(folder + kIndexName, std::size_t{1} << 20);
    } catch (const FileError&) {
        return std::nullopt;
    }
    if (!text) {
        return std::nullopt;
    }
    std::istringstream lines(*text);
    std::string line;
    History history;
    if (!std::getline(lines, line) || line.rfind("position ", 0) != 0) {
        return std::nullopt;
    }
    const std::string position = line.substr(9);
    if (position.empty() || position.size() > 6 ||
        !std::all_of(position.begin(), position.end(),
                     [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    history.position = std::stoul(position);
    std::set<std::uint64_t> seen;
    while (std::getline(lines, line)) {
        const auto space = line.find(' ');
        HistoryEntry entry;
        if (!StateFileName(line.substr(0, space) + ".lvd", entry.id) ||
            !seen.insert(entry.id).second) {
            return std::nullopt;
        }
        if (space != std::string::npos) {
            entry.command = line.substr(space + 1);
        }
        history.entries.push_back(std::move(entry));
    }
    if (history.position >= history.entries.size()) {
        return std::nullopt;
    }
    return history;
}

void WriteHistory(const std::string& folder, const History& history, mode_t mode) {
    std::string text = "position " + std::to_string(history.position) + "\n";
    for (const HistoryEntry& entry : history.entries) {
        text += std::to_string(entry.id);
        if (!entry.command.empty()) {
            text += " " + entry.command;
        }
        text += "\n";
    }
    WriteFileAtomic(folder + kIndexName, text, mode);
}

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        throw FileError::CannotOpen(path);
    }
    return st.st_mode & 07777;
}

// The folder is as private as the DataFile: searchable only by those who may read the file.
void MakeFolder(const std::string& folder, mode_t fileMode) {
    mode_t mode = S_IRWXU;
    if ((fileMode & S_IRGRP) != 0) {
        mode |= S_IRGRP | S_IXGRP;
    }
    if ((fileMode & S_IROTH) != 0) {
        mode |= S_IROTH | S_IXOTH;
    }
    if (::mkdir(folder.c_str(), mode) == 0) {
        return;
    }
    struct stat st {};
    if (errno != EEXIST || ::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        throw FileError::CannotCreate(folder);
    }
}

// Gives `target` the content of `source` without copying it where the file system allows: a
// hard link beside the target renamed over it. Elsewhere the bytes are copied. An existing
// target must be writable, as for any save.
void LinkOver(const std::string& source, const std::string& target, mode_t mode) {
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0 &&
        (!S_ISREG(st.st_mode) || (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 ||
         ::access(target.c_str(), W_OK) != 0)) {
        throw FileError::CannotCreate(target);
    }
    static std::atomic<unsigned> counter{0};
    std::string temp;
    bool linked = false;
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = target + ".~lv" + std::to_string(::getpid()) + "-" +
               std::to_string(1000000 + counter++);
        if (::linkat(AT_FDCWD, source.c_str(), AT_FDCWD, temp.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            linked = true;
            break;
        }
        if (errno != EEXIST) {
            break;
        }
    }
    if (!linked) {
        const auto bytes = ReadFileBytes(source);
        if (!bytes) {
            throw FileError::CannotOpen(source);
        }
        WriteFileAtomic(target, *bytes, mode);
        return;
    }
    const bool renamed = ::rename(temp.c_str(), target.c_str()) == 0;
    // Renaming a link over another link of the same file leaves both names in place.
    ::unlink(temp.c_str());
    if (!renamed) {
        throw FileError::CannotCreate(target);
    }
}

// Removes the state files the index no longer lists (dropped redo states, states past the limit,
// files a failed save left behind).
void RemoveUnlisted(const std::string& folder, const History& history) {
    std::set<std::uint64_t> listed;
    for (const HistoryEntry& entry : history.entries) {
        listed.insert(entry.id);
    }
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return;
    }
    std::vector<std::string> stale;
    while (const dirent* item = ::readdir(dir)) {
        std::uint64_t id = 0;
        if (StateFileName(item->d_name, id) && listed.count(id) == 0) {
            stale.emplace_back(item->d_name);
        }
    }
    ::closedir(dir);
    for (const std::string& name : stale) {
        ::unlink((folder + "/" + name).c_str());
    }
    RemoveStaleTemporaries(folder);
}

// A change in two steps around the save that makes it. Before: the current state is kept in the
// history folder (a hard link where the file system has them, a copy elsewhere) and the backup
// becomes a link to it. After the save has succeeded: the index gets the new state, dropping the
// redo states and the oldest one past the limit. A failure before the save leaves the index as
// it was; the history changes only once the DataFile has.
struct PendingChange {
    std::string dataFile;
    std::string command;
    std::string folder;
    History history;
    mode_t mode = 0;
    bool kept = false;
};

void KeepCurrentState(PendingChange& change) {
    change.mode = ModeOf(change.dataFile);
    change.folder = HistoryFolderName(change.dataFile);
    change.history = ReadHistory(change.folder).value_or(History{{HistoryEntry{1, {}}}, 0});
    MakeFolder(change.folder, change.mode);
    const std::string state =
        StateFile(change.folder, change.history.entries[change.history.position].id);
    // A link to the DataFile costs no copy: the save that follows puts a new file in the
    // DataFile's place and leaves this one as it is.
    LinkOver(change.dataFile, state, change.mode);
    LinkOver(state, BackupFileName(change.dataFile), change.mode);
    change.kept = true;
}

void RecordChange(const PendingChange& change) noexcept {
    if (!change.kept) {
        return;
    }
    try {
        History next = change.history;
        // A new number also past the dropped redo states, whose files go below.
        std::uint64_t id = 0;
        for (const HistoryEntry& entry : next.entries) {
            id = std::max(id, entry.id);
        }
        next.entries.resize(next.position + 1);
        next.entries.push_back(HistoryEntry{id + 1, change.command});
        if (next.entries.size() > kHistoryStates + 1) {
            next.entries.erase(next.entries.begin(),
                               next.entries.end() -
                                   static_cast<std::ptrdiff_t>(kHistoryStates + 1));
        }
        next.position = next.entries.size() - 1;
        WriteHistory(change.folder, next, change.mode);
        RemoveUnlisted(change.folder, next);
    } catch (...) {
        // The DataFile is saved; a history that could not follow keeps its last good index.
    }
}

// Puts the state `to` of the history into the DataFile and keeps the current one in its place.
void StepTo(const std::string& dataFile, const std::string& folder, const History& history,
            std::size_t to) {
    const mode_t mode = ModeOf(dataFile);
    const std::string here = StateFile(folder, history.entries[history.position].id);
    const std::string there = StateFile(folder, history.entries[to].id);
    const auto bytes = ReadFileBytes(there);
    if (!bytes) {
        throw FileError::CannotOpen(there);
    }
    LinkOver(dataFile, here, mode);
    WriteFileAtomic(dataFile, *bytes);
    History moved = history;
    moved.position = to;
    try {
        WriteHistory(folder, moved, mode);
    } catch (const FileError&) {
        // The index still names the state the DataFile held: put it back.
        if (const auto current = ReadFileBytes(here)) {
            WriteFileAtomic(dataFile, *current);
        }
        throw;
    }
}

} // namespace

std::string FileStem(std::string_view path) {
    const auto slash = path.rfind('/');
    const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
    const auto dot = path.rfind('.');
    if (dot == std::string_view::npos || dot < nameStart) {
        return std::string(path);
    }
    return std::string(path.substr(0, dot));
}

void FileCopy(const std::string& source, const std::string& destination) {
    const auto bytes = ReadFileBytes(source);
    if (!bytes) {
        throw FileError::CannotOpen(source);
    }
    WriteFileAtomic(destination, *bytes);
}

std::string BackupFileName(const std::string& dataFile) {
    return ResolveCaseInsensitive("", FileStem(dataFile) + ".bak");
}

std::string HistoryFolderName(const std::string& dataFile) {
    return ResolveCaseInsensitive("", FileStem(dataFile) + ".history");
}

void TakeModificationBackup(const std::string& dataFile, bool autoBackup,
                            const std::string& command) {
    // A command that arms the backup and then changes nothing (an empty slot clicked with no
    // browser to ask, an editor closed with Cancel) must not replace the backup of the user's
    // real last edit with a copy of the current state.
    if (!autoBackup || !PathExists(dataFile)) {
        DisarmBeforeFirstChange();
        return;
    }
    auto change = std::make_shared<PendingChange>();
    change->dataFile = dataFile;
    change->command = command;
    ArmBeforeFirstChange(
        dataFile, [change] { KeepCurrentState(*change); }, [change] { RecordChange(*change); });
}

void CopyToBackup(const std::string& dataFile) {
    const auto bytes = ReadFileBytes(dataFile);
    if (!bytes) {
        throw FileError::CannotOpen(dataFile);
    }
    // The backup holds the same bookmarks, so it gets the DataFile's permissions, whatever an
    // older backup had.
    struct stat st {};
    if (::stat(dataFile.c_str(), &st) != 0) {
        throw FileError::CannotOpen(dataFile);
    }
    WriteFileAtomic(BackupFileName(dataFile), *bytes, st.st_mode & 07777);
}

bool RestoreModificationBackup(const std::string& dataFile) {
    // Undo is no command of its own to back up.
    DisarmBeforeFirstChange();
    const std::string folder = HistoryFolderName(dataFile);
    if (const auto history = ReadHistory(folder)) {
        if (history->position == 0) {
            return false;
        }
        StepTo(dataFile, folder, *history, history->position - 1);
        return true;
    }
    const std::string backup = BackupFileName(dataFile);
    if (!PathExists(backup)) {
        return false;
    }
    // Restored over the current DataFile itself: writing stem + ".lvd" instead would miss a
    // DataFile with another extension and overwrite a different file of that name.
    FileCopy(backup, dataFile);
    return true;
}

bool RedoModification(const std::string& dataFile) {
    DisarmBeforeFirstChange();
    const std::string folder = HistoryFolderName(dataFile);
    const auto history = ReadHistory(folder);
    if (!history || history->position + 1 >= history->entries.size()) {
        return false;
    }
    StepTo(dataFile, folder, *history, history->position + 1);
    return true;
}

ModificationHistoryMenu ReadModificationHistory(const std::string& dataFile) {
    ModificationHistoryMenu menu;
    const auto history = ReadHistory(HistoryFolderName(dataFile));
    if (!history) {
        menu.canUndo = PathExists(BackupFileName(dataFile));
        return menu;
    }
    if (history->position > 0) {
        menu.canUndo = true;
        menu.undoCommand = history->entries[history->position].command;
    }
    if (history->position + 1 < history->entries.size()) {
        menu.canRedo = true;
        menu.redoCommand = history->entries[history->position + 1].command;
    }
    return menu;
}

} // namespace lv
