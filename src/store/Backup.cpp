#include "store/Backup.h"

#include "store/FileError.h"
#include "store/FileIo.h"
#include "store/Text.h"

#include <sys/stat.h>

namespace lv {

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

void TakeModificationBackup(const std::string& dataFile, bool autoBackup) {
    // A command that arms the backup and then changes nothing (an empty slot clicked with no
    // browser to ask, an editor closed with Cancel) must not replace the backup of the user's
    // real last edit with a copy of the current state.
    if (!autoBackup || !PathExists(dataFile)) {
        DisarmBeforeFirstChange();
        return;
    }
    ArmBeforeFirstChange(dataFile, [dataFile] { CopyToBackup(dataFile); });
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
    // Putting the backup back is no command of its own to back up.
    DisarmBeforeFirstChange();
    const std::string backup = BackupFileName(dataFile);
    if (!PathExists(backup)) {
        return false;
    }
    // Restored over the current DataFile itself: writing stem + ".lvd" instead would miss a
    // DataFile with another extension and overwrite a different file of that name.
    FileCopy(backup, dataFile);
    return true;
}

} // namespace lv
