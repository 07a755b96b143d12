#include "exchange/Favorites.h"

#include "pages/PageNames.h"
#include "store/DataFile.h"
#include "store/FileError.h"
#include "store/FileIo.h"
#include "store/TIniFile32.h"
#include "store/Text.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace lv {

namespace fs = std::filesystem;

namespace {

// Shortcut files are a few lines; anything far larger is not one.
constexpr std::size_t kMaxShortcutBytes = std::size_t{1} << 20;
// Room for " (NN)" and ".url" within the 255 bytes a Linux file name may have.
constexpr std::size_t kMaxStemBytes = 240;

bool ValidUtf8(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t start = pos;
        if (DecodeUtf8(text, pos) == 0xFFFD && text.substr(start, 3) != "\xEF\xBF\xBD") {
            return false;
        }
    }
    return true;
}

// File names and shortcut files made on Linux are UTF-8; those copied from Windows are
// Windows-1252, which is what the DataFile holds.
std::string ToStored(std::string_view text) {
    return ValidUtf8(text) ? Utf8ToCp1252(text) : std::string(text);
}

char LowerAscii(char ch) {
    return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch + 32) : ch;
}

bool Wildcard(std::string_view name, std::string_view pattern) {
    // Iterative matching with one back-track point: linear in practice, never exponential.
    std::size_t n = 0;
    std::size_t p = 0;
    std::size_t starP = std::string_view::npos;
    std::size_t starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() &&
            (pattern[p] == '?' || LowerAscii(pattern[p]) == LowerAscii(name[n]))) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') {
        ++p;
    }
    return p == pattern.size();
}

bool IsShortcut(const fs::directory_entry& entry) {
    std::error_code error;
    return entry.is_regular_file(error) && MatchesFilter(entry.path().filename().string(), "*.url");
}

// The shortcut files directly in a folder, by name.
std::vector<std::string> ShortcutsIn(const std::string& folder) {
    std::vector<std::string> found;
    std::error_code error;
    for (fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, error),
         end;
         !error && it != end; it.increment(error)) {
        if (IsShortcut(*it)) {
            found.push_back(it->path().filename().string());
        }
    }
    // By title, so that "News" comes before "News (2)".
    std::sort(found.begin(), found.end(), [](const std::string& a, const std::string& b) {
        const int order = CompareText1252(ToStored(a.substr(0, a.size() - 4)),
                                          ToStored(b.substr(0, b.size() - 4)));
        return order != 0 ? order < 0 : a < b;
    });
    return found;
}

std::string TrimUtf8Stem(std::string stem) {
    if (stem.size() <= kMaxStemBytes) {
        return stem;
    }
    std::size_t cut = kMaxStemBytes;
    while (cut > 0 && (static_cast<unsigned char>(stem[cut]) & 0xC0) == 0x80) {
        --cut;
    }
    stem.resize(cut);
    return stem;
}

// The last part of a folder's path; "Favorites/" and "." name the folder itself.
std::string FolderName(const std::string& folder) {
    std::error_code error;
    fs::path path = fs::path(folder).lexically_normal();
    if (path.filename().empty() || path.filename() == "." || path.filename() == "..") {
        path = fs::weakly_canonical(folder, error);
        if (path.has_relative_path() && path.filename().empty()) {
            path = path.parent_path();
        }
    }
    return path.filename().string();
}

} // namespace

std::string Strip(std::string_view text) {
    std::string cleaned(text);
    for (char& ch : cleaned) {
        switch (ch) {
        case '\\':
        case '/':
        case ':':
        case '*':
        case '?':
        case '"':
        case '<':
        case '>':
        case '|':
        case '.':
        case ',':
            ch = '_';
            break;
        default:
            break;
        }
    }
    return cleaned;
}

bool MatchesFilter(std::string_view name, std::string_view filter) {
    if (filter == "*.") {
        return name.find('.') == std::string_view::npos;
    }
    return Wildcard(name, filter);
}

std::vector<std::string> TFindFile::Execute() const {
    std::vector<std::string> found;
    std::error_code error;
    const auto options = fs::directory_options::skip_permission_denied;
    auto report = [&](const fs::directory_entry& entry) {
        std::error_code kindError;
        const bool isDirectory = entry.is_directory(kindError) && !entry.is_symlink(kindError);
        if ((isDirectory ? directories : files) &&
            MatchesFilter(entry.path().filename().string(), filter)) {
            found.push_back(entry.path().string());
        }
    };
    if (recurse) {
        for (fs::recursive_directory_iterator it(path, options, error), end; !error && it != end;
             it.increment(error)) {
            report(*it);
        }
    } else {
        for (fs::directory_iterator it(path, options, error), end; !error && it != end;
             it.increment(error)) {
            report(*it);
        }
    }
    return found;
}

std::string FavoritesRoot() {
    const char* home = std::getenv("HOME");
    if (home == nullptr || *home == '\0') {
        return {};
    }
    const std::string root = std::string(home) + "/Favorites";
    std::error_code error;
    return fs::is_directory(root, error) ? root : std::string();
}

FavoritesImport ImportFavorites(const std::string& root, const std::string& dataFile) {
    FavoritesImport result;
    // Every folder, whatever its name: the "*." pattern of names without an extension would pass
    // over a folder such as "Tools.old" and lose its links.
    TFindFile finder;
    finder.path = root;
    finder.files = false;
    std::vector<std::string> folders = finder.Execute();
    std::sort(folders.begin(), folders.end(), [](const std::string& a, const std::string& b) {
        const int order = CompareText1252(ToStored(a), ToStored(b));
        return order != 0 ? order < 0 : a < b;
    });
    folders.insert(folders.begin(), root);

    TIniFile32 ini = TIniFile32::FromBytes(dataFile, "");
    ini.SetDeferSaves(true);
    for (const std::string& folder : folders) {
        const std::vector<std::string> shortcuts = ShortcutsIn(folder);
        if (shortcuts.empty()) {
            continue;
        }
        const std::string folderName = ToStored(FolderName(folder));
        std::string base = folderName;
        std::string page = ArrivingPageName(base, result.pages);
        result.pages.push_back(page);
        int slot = 0;
        for (const std::string& name : shortcuts) {
            const std::string path = folder + "/" + name;
            std::optional<std::string> bytes;
            try {
                bytes = ReadFileBytes(path, kMaxShortcutBytes);
            } catch (const FileError& error) {
                result.notTaken.push_back(path + ": " + error.what());
                continue;
            }
            if (!bytes) {
                result.notTaken.push_back(path + ": gone before it was read");
                continue;
            }
            const TIniFile32 shortcut = TIniFile32::FromBytes(path, std::move(*bytes));
            std::string url = ToStored(shortcut.ReadString(kShortcutSection, kShortcutUrlKey, ""));
            if (url.empty()) {
                url = kHomePageAddress;
                ++result.defaultAddresses;
            }
            std::string title = ToStored(name.substr(0, name.size() - 4));
            if (title.empty()) {
                title = url;
            }
            if (++slot > datafile::kSlotCount) {
                // A long folder goes on on "+" pages, each a section of its own.
                base += '+';
                page = ArrivingPageName(base, result.pages);
                result.pages.push_back(page);
                slot = 1;
            }
            ini.WriteString(page, SlotKey(slot, 'N'), title);
            ini.WriteString(page, SlotKey(slot, 'U'), url);
            ++result.links;
        }
    }
    if (result.links == 0) {
        // A DataFile without pages is of no use; the caller says that nothing was found.
        return result;
    }
    // The tab list goes first in the file, as the program writes it for a new file.
    TIniFile32 out = TIniFile32::FromBytes(dataFile, "");
    out.SetDeferSaves(true);
    SaveTabs(out, result.pages);
    std::string bytes = out.Bytes() + ini.Bytes();
    WriteFileAtomic(dataFile, bytes);
    return result;
}

std::vector<std::string> ImportSummary(const FavoritesImport& import) {
    std::vector<std::string> lines;
    lines.push_back("Imported " + std::to_string(import.links) + " links into " +
                    std::to_string(import.pages.size()) + " pages.");
    if (import.defaultAddresses > 0) {
        lines.push_back(std::to_string(import.defaultAddresses) +
                        " shortcuts without an address got " + std::string(kHomePageAddress) + ".");
    }
    if (!import.notTaken.empty()) {
        lines.push_back(std::to_string(import.notTaken.size()) + " shortcut files not taken:");
        lines.insert(lines.end(), import.notTaken.begin(), import.notTaken.end());
    }
    return lines;
}

std::string PageFolderName(std::string_view storedPageName) {
    std::string name(storedPageName);
    std::replace(name.begin(), name.end(), '/', '_');
    if (name.empty() || name == "." || name == "..") {
        name = "_";
    }
    return name;
}

FavoritesExport ExportFavorites(const FavoritesExportRequest& request) {
    FavoritesExport result;
    const int pageCount = static_cast<int>(request.pages.size());
    const int first = std::max(request.firstPage, 0);
    const int last = std::min(request.lastPage, pageCount - 1);
    const int visible = datafile::kRowCount * std::clamp(request.columnCount, 1, 4);
    const TIniFile32 data(request.dataFile);
    for (int index = first; index <= last; ++index) {
        const std::string& page = request.pages[static_cast<std::size_t>(index)];
        const std::string folder = request.folder + "/" + Cp1252ToUtf8(PageFolderName(page));
        std::error_code error;
        fs::create_directories(folder, error);
        if (error && !fs::is_directory(folder)) {
            throw FileError::CannotCreate(folder);
        }
        ++result.pages;
        std::vector<std::string> used; // the cleaned names taken on this page, folded
        for (int slot = 1; slot <= visible; ++slot) {
            const std::string url = data.ReadString(page, SlotKey(slot, 'U'), "");
            if (url.empty()) {
                continue;
            }
            const std::string title = data.ReadString(page, SlotKey(slot, 'N'), "");
            if (url.find(datafile::kProtectedMarker) != std::string::npos) {
                result.notTaken.push_back(page + ": " + title + ": password protected");
                continue;
            }
            const std::string stem = TrimUtf8Stem(Cp1252ToUtf8(Strip(title)));
            std::string file = stem;
            for (int n = 2;
                 std::find(used.begin(), used.end(), LowerCase1252(ToStored(file))) != used.end();
                 ++n) {
                file = stem + " (" + std::to_string(n) + ")";
            }
            used.push_back(LowerCase1252(ToStored(file)));
            TIniFile32 shortcut(folder + "/" + file + ".url");
            shortcut.WriteString(kShortcutSection, kShortcutUrlKey, url);
            ++result.shortcuts;
        }
    }
    return result;
}

} // namespace lv
