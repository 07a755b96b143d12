#include "mainwindow/UrlBox.h"

#include "mainwindow/UrlHelpers.h"
#include "store/FileIo.h"
#include "store/Text.h"

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <system_error>

namespace lv {

namespace fs = std::filesystem;

namespace {

// "ManualURL.txt" in the program folder, or an existing file whose name differs only in case.
std::string ListFile(const std::string& programDir) {
    return ResolveCaseInsensitive(programDir, kUrlBoxFile);
}

} // namespace

std::vector<std::string> ReadUrlList(const std::string& file) {
    std::vector<std::string> lines;
    // The list keeps fifteen entries; a file far larger than that is not this list.
    constexpr std::size_t kMaxListBytes = std::size_t{1} << 20;
    const auto bytes = ReadFileBytes(file, kMaxListBytes);
    if (!bytes) {
        return lines;
    }
    std::size_t start = 0;
    while (start < bytes->size()) {
        std::size_t end = bytes->find('\n', start);
        if (end == std::string::npos) {
            end = bytes->size();
        }
        std::string line = bytes->substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

namespace {

fs::path SearchBreadthFirst(const fs::path& folder, const std::string& name,
                            const std::function<bool(const std::string&)>& progress) {
    std::deque<fs::path> folders{folder};
    while (!folders.empty()) {
        const fs::path current = std::move(folders.front());
        folders.pop_front();
        if (progress && !progress(current.string())) {
            return {};
        }
        std::error_code error;
        fs::directory_iterator it(current, fs::directory_options::skip_permission_denied, error);
        if (error) {
            continue;
        }
        std::vector<fs::path> files;
        std::vector<fs::path> subfolders;
        for (const fs::directory_entry& entry : it) {
            std::error_code kind;
            if (entry.is_directory(kind) && !entry.is_symlink(kind)) {
                subfolders.push_back(entry.path());
            } else if (SameText1252(Utf8ToCp1252(entry.path().filename().string()),
                                    Utf8ToCp1252(name))) {
                files.push_back(entry.path());
            }
        }
        if (!files.empty()) {
            return *std::min_element(files.begin(), files.end());
        }
        std::sort(subfolders.begin(), subfolders.end());
        folders.insert(folders.end(), subfolders.begin(), subfolders.end());
    }
    return {};
}

} // namespace

fs::path FindFileUnder(const fs::path& folder, const std::string& name,
                       const std::function<bool(const std::string&)>& progress) {
    fs::path found = SearchBreadthFirst(folder, name, progress);
    if (progress) {
        progress({});
    }
    return found;
}

void UrlBox::Load() {
    state_.manualUrls = ReadUrlList(ListFile(state_.ProgramDir));
}

std::string UrlBox::ResolveLocal(const std::string& entry) const {
    const std::string utf8 = Cp1252ToUtf8(entry);
    const std::size_t slash = utf8.find_last_of("/\\");
    fs::path folder;
    std::string name = utf8;
    if (slash == std::string::npos) {
        // The Windows program searched the whole drive; here the user's files are home.
        const char* home = std::getenv("HOME");
        folder = home != nullptr && *home != '\0' ? fs::path(home) : fs::path("/");
    } else {
        folder = utf8.substr(0, slash == 0 ? 1 : slash);
        name = utf8.substr(slash + 1);
    }
    if (name.empty()) {
        return entry;
    }
    const fs::path found = FindFileUnder(folder, name, ports_.searchProgress);
    return found.empty() ? entry : Utf8ToCp1252(found.string());
}

void UrlBox::Open(const std::string& text) {
    std::string entry = text;
    const bool web =
        entry.find("http") != std::string::npos || entry.find("www.") != std::string::npos;
    if (web) {
        entry = EndSlash(entry);
    } else {
        entry = ResolveLocal(entry);
    }
    if (!launch_(entry, !web)) {
        return;
    }

    auto& list = state_.manualUrls;
    if (std::find(list.begin(), list.end(), entry) == list.end()) {
        list.insert(list.begin(), entry);
    }
    if (list.size() > kUrlBoxEntries) {
        list.resize(kUrlBoxEntries);
    }
    Save();
}

void UrlBox::Remove(int index) {
    auto& list = state_.manualUrls;
    if (index < 0 || index >= static_cast<int>(list.size())) {
        return;
    }
    list.erase(list.begin() + index);
    Save();
}

void UrlBox::Save() const {
    std::string bytes;
    for (const std::string& line : state_.manualUrls) {
        bytes += line + "\r\n";
    }
    WriteFileAtomic(ListFile(state_.ProgramDir), bytes);
}

} // namespace lv
