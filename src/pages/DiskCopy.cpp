#include "pages/DiskCopy.h"

#include "pages/FileMerge.h"
#include "store/Backup.h"
#include "store/FileIo.h"
#include "store/Settings.h"
#include "store/TIniFile32.h"
#include "store/Text.h"

#include <algorithm>
#include <sys/statvfs.h>

namespace lv {

namespace {

// mountinfo writes blanks, tabs, newlines and backslashes in paths as three octal digits.
std::string DecodeMountPath(std::string_view field) {
    std::string path;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            const auto octal = [](char c) { return c >= '0' && c <= '7'; };
            if (octal(field[i + 1]) && octal(field[i + 2]) && octal(field[i + 3])) {
                path += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                          (field[i + 3] - '0'));
                i += 3;
                continue;
            }
        }
        path += field[i];
    }
    return path;
}

bool Removable(std::string_view path) {
    for (const std::string_view root :
         {std::string_view("/media/"), std::string_view("/run/media/")}) {
        if (path.size() > root.size() && path.substr(0, root.size()) == root) {
            return true;
        }
    }
    return false;
}

// A file of the program directory in whatever letter case it exists.
std::string ProgramFile(const std::string& programDir, const std::string& name) {
    std::string dir = programDir;
    while (dir.size() > 1 && dir.back() == '/') {
        dir.pop_back();
    }
    return ResolveCaseInsensitive(dir, name);
}

std::string BaseName(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

std::vector<std::string> RemovableVolumes(std::string_view mountinfo) {
    std::vector<std::string> volumes;
    while (!mountinfo.empty()) {
        const std::size_t end = mountinfo.find('\n');
        std::string_view line = mountinfo.substr(0, end);
        mountinfo.remove_prefix(end == std::string_view::npos ? mountinfo.size() : end + 1);
        // id parent major:minor root mount-point ...
        for (int field = 0; field < 4; ++field) {
            const std::size_t blank = line.find(' ');
            line.remove_prefix(blank == std::string_view::npos ? line.size() : blank + 1);
        }
        const std::string path = DecodeMountPath(line.substr(0, line.find(' ')));
        if (Removable(path) && std::find(volumes.begin(), volumes.end(), path) == volumes.end()) {
            volumes.push_back(path);
        }
    }
    return volumes;
}

std::vector<std::string> ReadRemovableVolumes(const std::string& mountinfoPath) {
    try {
        const auto text = ReadFileBytes(mountinfoPath);
        return text ? RemovableVolumes(*text) : std::vector<std::string>{};
    } catch (const std::exception&) {
        return {};
    }
}

std::string DriveText(char drive) {
    return std::string(1, drive) + ":\\";
}

DiskCopyResult DiskButtonClick(Dialogs& dialogs, const DiskCopyRequest& request) {
    DiskCopyResult result;
    const std::string target = DriveText(request.drive);
    const int index = request.drive - 'A';
    struct statvfs info {};
    if (index < 0 || index >= kDriveCount ||
        static_cast<std::size_t>(index) >= request.volumes.size() ||
        statvfs(request.volumes[static_cast<std::size_t>(index)].c_str(), &info) != 0) {
        // Linux has no drive letters: the text says what the letter stands for here.
        dialogs.Message({MsgKind::Warning, "",
                         "Drive not responding!\rYou may need to plug in a removable disk for " +
                             target +
                             " (the letters stand for the disks mounted under /media and "
                             "/run/media, in mount order), then press the copy button again.\rOr "
                             "select a different drive under the File Menu : Copy Program to "
                             "Diskette.",
                         MsgButtons::Ok, 0});
        return result;
    }
    result.driveReady = true;
    const std::string root = request.volumes[static_cast<std::size_t>(index)];
    const auto copy = [&](const std::string& source, const std::string& name) {
        if (!PathExists(source)) {
            return;
        }
        const std::string destination = ResolveCaseInsensitive(root, name);
        FileCopy(source, destination);
        result.written.push_back(destination);
    };

    const std::string& dir = request.programDir;
    copy(SettingsFilePath(dir, request.settingsStem), "LVD.INI");
    copy(ProgramFile(dir, "User.BMP"), "User.BMP");
    copy(ProgramFile(dir, request.settingsStem + ".BMP"), "User.BMP");
    copy(ProgramFile(dir, "setup.exe"), "setup.exe");
    copy(ProgramFile(dir, "lvd.icl"), "lvd.icl");
    const std::string searchFile =
        request.searchEngineFile.empty()
            ? ResolveCaseInsensitive(std::string(), request.dataFile + ".ISE")
            : request.searchEngineFile;
    copy(searchFile, "Disk.ISE");
    copy(searchFile, BaseName(searchFile));
    const std::string dataFile = DataFileForStem(FileStem(request.dataFile), ".LVD");
    copy(dataFile, "Disk.LVD");
    copy(dataFile, BaseName(dataFile));

    if (dialogs.Message({MsgKind::Confirmation, "",
                         "Do you want to copy your User Information and e-mail addresses to "
                         "floppy as well?",
                         MsgButtons::YesNo, 0}) == MsgResult::Yes) {
        copy(ProgramFile(dir, request.settingsStem + ".USE"), "LVD.USE");
    }
    WriteToIniS(ResolveCaseInsensitive(root, "LVD.INI"), settings::kFileName.section,
                settings::kFileName.key, "Disk");
    return result;
}

} // namespace lv
