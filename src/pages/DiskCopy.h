#pragma once

#include "platform/Dialogs.h"

#include <string>
#include <string_view>
#include <vector>

namespace lv {

// Drive letters A..P stand for the mounted removable volumes (mount points under /media and
// /run/media) in the order they were mounted.
std::vector<std::string> RemovableVolumes(std::string_view mountinfo);
// The same from a mountinfo file; an unreadable file gives no volumes.
std::vector<std::string>
ReadRemovableVolumes(const std::string& mountinfoPath = "/proc/self/mountinfo");

inline constexpr int kDriveCount = 16;
// "A:\" .. "P:\", as the drive is named to the user.
std::string DriveText(char drive);

struct DiskCopyRequest {
    char drive = 'A';
    std::vector<std::string> volumes; // RemovableVolumes, A first
    std::string programDir;           // ends in "/"
    std::string settingsStem = "LVD";
    std::string dataFile;
    std::string searchEngineFile; // empty: none chosen
};

struct DiskCopyResult {
    bool driveReady = false;
    std::vector<std::string> written; // target files, in copy order
};

// Copies the working set (settings, user picture, installer, icon library, search-engine file,
// DataFile and, when the user agrees, the user information) to the root of the drive's volume
// and points the copied settings at "Disk.LVD". A drive without a mounted, answering volume gets
// the "Drive not responding!" warning and nothing is copied. A full or read-only volume raises
// FileError ("Cannot create file ..." naming the file on the volume); files copied before it
// stay.
DiskCopyResult DiskButtonClick(Dialogs& dialogs, const DiskCopyRequest& request);

} // namespace lv
