// The web steps of AutoIcon: a new web bookmark gets its site's icon and description.
#include "mainwindow/AutoIcon.h"
#include "mainwindow/StartUp.h"
#include "mainwindow/UrlHelpers.h"
#include "mainwindow/WebAccess.h"
#include "platform/EventLoop.h"
#include "store/DataFile.h"
#include "store/TIniFile32.h"
#include "store/Text.h"
#include "web/HttpUrl.h"
#include "web/PageHead.h"
#include "web/THTTPGet.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace lv {
namespace {

// File names past this would fail to be created; a stem this long names its site well enough.
constexpr std::size_t kMaxStem = 200;
// Descriptions longer than this are cut: notes are one line of the DataFile.
constexpr std::size_t kMaxDescription = 1024;

bool FileExists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// The extension of an icon address's last path segment (query and fragment left out), with its
// dot; ".ico" when it has none a file name could carry.
std::string IconExtension(const std::string& address) {
    std::string path = ParseHttpUrl(address).path;
    path = path.substr(0, path.find_first_of("?#"));
    const std::size_t slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot + 1 == name.size() || name.size() - dot > 6) {
        return ".ico";
    }
    for (std::size_t i = dot + 1; i < name.size(); ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        if (!std::isalnum(c)) {
            return ".ico";
        }
    }
    return name.substr(dot);
}

std::string FirstBytes(const std::string& path, std::size_t count) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes(count, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(count));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

// Downloads the icon with GetWebIcon into a name of its own beside the final one and judges it
// by its content; only a picture reaches the icon file (a failed or bad download leaves an icon
// already there as it was). Returns the extension it was stored with, or empty.
std::string DownloadIcon(MainWindowPorts& ports, const std::string& address,
                         const std::string& base, std::string extension) {
    const std::string partial = base + ".download";
    THTTPGet GetWebIcon(*ports.loop);
    GetWebIcon.Agent = "Linkvane HTTPGet";
    GetWebIcon.URL = address;
    GetWebIcon.FileName = partial;
    GetWebIcon.TimeOut = kPageFetchGuard;
    GetWebIcon.MaxBytes = kMaxWebIconBytes;
    GetWebIcon.CaFile = ports.caFile;
    GetWebIcon.WaitThread = true;
    if (!GetWebIcon.FetchFile() || !FileExists(partial)) {
        return {};
    }
    const IconContent content = SniffIconContent(FirstBytes(partial, 16));
    if (content == IconContent::Unknown) {
        ::unlink(partial.c_str()); // an error page, not a picture
        return {};
    }
    // The button grid knows GIF and JPEG pictures by these names only.
    if (content == IconContent::Gif) {
        extension = ".gif";
    } else if (content == IconContent::Jpeg) {
        extension = ".jpg";
    }
    if (::rename(partial.c_str(), (base + extension).c_str()) != 0) {
        ::unlink(partial.c_str());
        return {};
    }
    return extension;
}

// Loads the DataFile again after a wait on the network, when the bookmark is still in it. The
// user may have erased it, renamed its page or deleted the file meanwhile: keys written then
// would make a page of their own.
bool StillThere(TIniFile32& ini, const std::string& page, int slot) {
    if (!FileExists(ini.FileName())) {
        return false;
    }
    ini = TIniFile32(ini.FileName());
    return !ini.ReadString(page, SlotKey(slot, 'U'), "").empty();
}

} // namespace

std::string SiteStem(std::string_view target) {
    const auto from = static_cast<std::size_t>(TrimHTTP(target) - 1);
    std::string stem(from < target.size() ? target.substr(from) : std::string_view());
    for (char& c : stem) {
        if (std::string_view("\\/:*?\"<>|.,").find(c) != std::string_view::npos) {
            c = '_';
        }
    }
    if (stem.size() > kMaxStem) {
        stem.resize(kMaxStem);
    }
    return stem;
}

WebIconResult FetchWebIcon(MainWindowState& state, MainWindowPorts& ports, TIniFile32& ini,
                           const std::string& page, int slot, const std::string& target,
                           std::string code) {
    WebIconResult result;
    result.code = code;
    if (ports.loop == nullptr) {
        return result;
    }
    const std::string dataFile = state.DataFileName;
    const std::string directory = WebIconDirectory(dataFile);
    ::mkdir(directory.c_str(), 0755);
    const std::string stem = SiteStem(target);

    const FetchedPage fetched = FetchMainWindowPage(state, ports, target);
    // Other commands may have written the file while the page came: work on what it holds now.
    result.pageFailed = true;
    if (!StillThere(ini, page, slot)) {
        return result;
    }
    if (!fetched.ok) {
        state.caption = FormCaption(state, ports.clock);
        RestoreConnectionLamp(state, ports);
        return result;
    }
    result.pageFailed = false;

    const PageHeadInfo head = ReadPageHead(fetched.body);
    std::string iconAddress;
    std::string extension = ".ico";
    if (head.iconFound) {
        iconAddress = ResolvePageAddress(fetched.address, head.iconAddress);
        if (!iconAddress.empty()) {
            code = "600";
            extension = IconExtension(iconAddress);
        }
    }
    if (iconAddress.empty()) {
        // Browsers ask the site's root for it.
        iconAddress = ResolvePageAddress(fetched.address, "/favicon.ico");
        extension = ".ico";
    }

    const std::string base = directory + stem;
    const std::string slotIcon = ini.ReadString(page, SlotKey(slot, 'I'), "");
    if (FileExists(base + extension) && slotIcon == base + extension) {
        result.writeIconFile = true;
    }
    if (slotIcon.empty()) {
        result.writeIconFile = true;
    }
    if (!iconAddress.empty()) {
        const std::string stored = DownloadIcon(ports, iconAddress, base, extension);
        if (!stored.empty()) {
            extension = stored;
        }
    }
    if (!StillThere(ini, page, slot)) {
        result.pageFailed = true;
        return result;
    }

    if (head.descriptionFound && !head.description.empty()) {
        state.caption = "Loading Description";
        std::string description = head.description;
        if (description.size() > kMaxDescription) {
            description.resize(kMaxDescription);
            // Not half a character reference ("&#20013;") at the cut.
            const std::size_t amp = description.rfind('&');
            if (amp != std::string::npos && description.find(';', amp) == std::string::npos &&
                description.size() - amp < 10) {
                description.resize(amp);
            }
        }
        if (ini.ReadString(page, SlotKey(slot, 'P'), "").empty()) {
            ini.WriteString(page, SlotKey(slot, 'P'), EncodeNotes(description));
            const std::string notes =
                WrapNotesForDisplay(DecodeNotes(ini.ReadString(page, SlotKey(slot, 'P'), "")));
            if (slot >= 1 && slot <= static_cast<int>(state.buttons.size()) &&
                !state.TabSet1.names.empty() && state.TabSet1.Current() == page &&
                state.DataFileName == dataFile) {
                state.buttons[static_cast<std::size_t>(slot - 1)].hint =
                    BuildHint(target, notes, state.checks.url, state.checks.notes);
            }
        }
        state.caption = FormCaption(state, ports.clock);
    }
    RestoreConnectionLamp(state, ports);

    result.iconFile = base + extension;
    if (FileExists(result.iconFile)) {
        code = "600";
    }
    const std::string g = ini.ReadString(page, SlotKey(slot, 'G'), "");
    if (!g.empty()) {
        code = g;
    } else {
        result.writeIconFile = true;
    }
    result.code = code;
    return result;
}

} // namespace lv
