#include "platform/XdgAutoStart.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <unistd.h>

namespace lv {
namespace {

constexpr const char* kEntryName = "linkvane.desktop";

// One argument of an Exec line: quoted when it holds a reserved character, with `"`, `` ` ``,
// `$` and `\` escaped inside the quotes; then the value's own escapes (backslash, line ends) and
// `%%` for a percent sign, which would otherwise start a field code.
std::string ExecArgument(const std::string& arg) {
    static constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";
    std::string quoted;
    if (arg.find_first_of(kReserved) != std::string::npos || arg.empty()) {
        quoted += '"';
        for (char c : arg) {
            if (c == '"' || c == '`' || c == '$' || c == '\\') {
                quoted += '\\';
            }
            quoted += c;
        }
        quoted += '"';
    } else {
        quoted = arg;
    }
    std::string value;
    for (char c : quoted) {
        switch (c) {
        case '\\':
            value += "\\\\";
            break;
        case '\n':
            value += "\\n";
            break;
        case '\r':
            value += "\\r";
            break;
        case '\t':
            value += "\\t";
            break;
        case '%':
            value += "%%";
            break;
        default:
            value += c;
        }
    }
    return value;
}

void RemoveEntry(const std::string& dir) {
    std::error_code ignored;
    std::filesystem::remove(std::filesystem::path(dir) / kEntryName, ignored);
}

bool Writable(const std::string& dir) {
    return !dir.empty() && ::access(dir.c_str(), W_OK) == 0;
}

} // namespace

XdgAutoStart::XdgAutoStart(Places places, std::string program, std::string programHome)
    : places_(std::move(places)), program_(std::move(program)),
      programHome_(std::move(programHome)) {
    std::error_code ignored;
    const bool inUser =
        std::filesystem::exists(std::filesystem::path(places_.userDir) / kEntryName, ignored);
    systemChosen_ =
        !inUser && !places_.systemDir.empty() &&
        std::filesystem::exists(std::filesystem::path(places_.systemDir) / kEntryName, ignored);
}

XdgAutoStart::Places XdgAutoStart::PlacesFromEnvironment() {
    Places places;
    const char* config = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    // A relative XDG_CONFIG_HOME is invalid and to be ignored.
    if (config != nullptr && *config == '/') {
        places.userDir = std::string(config) + "/autostart";
    } else {
        places.userDir = std::string(home != nullptr ? home : "") + "/.config/autostart";
    }
    places.systemDir = "/etc/xdg/autostart";
    return places;
}

std::string XdgAutoStart::EntryText(const std::string& program, const std::string& programHome) {
    std::string exec;
    if (!programHome.empty()) {
        exec = "env " + ExecArgument("LINKVANE_HOME=" + programHome) + " ";
    }
    exec += ExecArgument(program);
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Linkvane\n"
           "Comment=Bookmark manager, started when you log in\n"
           "Exec=" +
           exec +
           "\n"
           "Icon=linkvane\n"
           "Terminal=false\n"
           "Categories=Network;\n";
}

bool XdgAutoStart::IsOn() const {
    std::error_code ignored;
    for (const std::string& dir : {places_.userDir, places_.systemDir}) {
        if (!dir.empty() &&
            std::filesystem::exists(std::filesystem::path(dir) / kEntryName, ignored)) {
            return true;
        }
    }
    return false;
}

std::string XdgAutoStart::Target() const {
    const std::string& dir =
        systemChosen_ && Writable(places_.systemDir) ? places_.systemDir : places_.userDir;
    return (std::filesystem::path(dir) / kEntryName).string();
}

void XdgAutoStart::Apply(bool on) {
    RemoveEntry(places_.userDir);
    if (Writable(places_.systemDir)) {
        RemoveEntry(places_.systemDir);
    }
    if (!on) {
        return;
    }
    const std::filesystem::path target = Target();
    std::error_code failed;
    std::filesystem::create_directories(target.parent_path(), failed);
    // Written beside its place and renamed over it, so a desktop never reads half an entry.
    const std::filesystem::path part = target.string() + ".part";
    {
        std::ofstream out(part, std::ios::binary | std::ios::trunc);
        out << EntryText(program_, programHome_);
        out.close();
        if (!out) {
            std::filesystem::remove(part, failed);
            return;
        }
    }
    std::filesystem::rename(part, target, failed);
    if (failed) {
        std::filesystem::remove(part, failed);
    }
}

} // namespace lv
