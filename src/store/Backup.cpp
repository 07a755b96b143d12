#include "store/Backup.h"

#include "store/FileError.h"
#include "store/FileIo.h"
#include "store/Text.h"

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
    if (!autoBackup || !PathExists(dataFile)) {
        return;
    }
    FileCopy(dataFile, BackupFileName(dataFile));
}

bool RestoreModificationBackup(const std::string& dataFile) {
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
