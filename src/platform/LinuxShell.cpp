#include "platform/LinuxShell.h"

#include "platform/LaunchTarget.h"
#include "platform/LinuxProcessLauncher.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace lv {

namespace {

namespace fs = std::filesystem;

bool PathExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::exists(path, ec);
}

bool IsProgram(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec) && access(path.c_str(), X_OK) == 0;
}

bool IsDirectory(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::is_directory(path, ec);
}

// "mailto:", "http:", "file:": the opener knows where such a target goes. One letter before
// the colon is a Windows drive, which names a file.
bool HasScheme(const std::string& target) {
    const std::size_t colon = target.find(':');
    if (colon == std::string::npos || colon < 2 ||
        !std::isalpha(static_cast<unsigned char>(target[0]))) {
        return false;
    }
    return std::all_of(
        target.begin() + 1, target.begin() + static_cast<std::ptrdiff_t>(colon), [](char c) {
            return std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.';
        });
}

// The name without the blanks that stored program paths keep before " /".
std::string Trimmed(const std::string& name) {
    const std::size_t end = name.find_last_not_of(' ');
    return end == std::string::npos ? std::string() : name.substr(0, end + 1);
}

} // namespace

bool LinuxShell::Exists(const std::string& file) const {
    return HasScheme(file) || PathExists(file) || PathExists(Trimmed(file));
}

ShellResult LinuxShell::Open(const std::string& file, const std::string& parameters,
                             const std::string& directory) {
    // Callers check first and tell the user; nothing hidden goes on from here either.
    for (const std::string* text : {&file, &parameters, &directory}) {
        if (std::string refusal = TargetRefusal(*text, TargetKind::LocalFile); !refusal.empty()) {
            return {false, EINVAL, std::move(refusal)};
        }
    }
    // A relative name starting with "-" would read as an option of the opener (or of the
    // program), whether or not such a file exists.
    std::string target = !file.empty() && file[0] == '-' ? "./" + file : file;
    // Stored local targets keep the blank before " /"; a name with trailing blanks is the
    // same file to the user.
    if (!PathExists(target)) {
        const std::string trimmed = Trimmed(target);
        if (PathExists(trimmed)) {
            target = trimmed;
        }
    }

    std::vector<std::string> argv;
    std::string workingDir;
    if (IsProgram(target)) {
        std::error_code ec;
        const fs::path program = fs::absolute(target, ec);
        argv.push_back(ec ? target : program.string());
        for (std::string& word : SplitParameters(parameters)) {
            argv.push_back(std::move(word));
        }
        // A working directory that does not exist here (a drive path from a Windows file)
        // must not stop the program; it then starts in its own folder.
        workingDir = IsDirectory(directory) ? directory : program.parent_path().string();
    } else {
        // The opener takes no "--": it refuses every argument that begins with "-".
        argv = {opener_, target};
    }

    ShellResult result;
    int pid = 0;
    result.error = SpawnWatched(argv, workingDir, pid, nullptr);
    result.ok = result.error == 0;
    if (!result.ok) {
        result.message = std::strerror(result.error);
        // A missing opener is not a missing document: say which program did not start.
        if (argv.front() == opener_) {
            result.message = opener_ + ": " + result.message;
        }
    }
    return result;
}

} // namespace lv
