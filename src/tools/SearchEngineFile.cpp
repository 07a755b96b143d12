#include "tools/SearchEngineFile.h"

#include "store/TIniFile32.h"
#include "store/Text.h"

#include <filesystem>

namespace lv {
namespace {

std::string WithoutSlash(const std::string& dir) {
    if (dir.size() > 1 && dir.back() == '/') {
        return dir.substr(0, dir.size() - 1);
    }
    return dir.empty() ? std::string(".") : dir;
}

} // namespace

std::string FindSearchEngineFile(const std::string& settingsFile, const std::string& dataFileName,
                                 const std::string& programDir) {
    const std::string named = TIniFile32(settingsFile).ReadString("Search", "Name", "");
    if (!named.empty()) {
        return named;
    }
    // The first "." of the file name, not of the whole path: Linux folders such as ".local"
    // would otherwise cut the path short.
    const std::size_t slash = dataFileName.find_last_of('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = dataFileName.find('.', nameStart);
    if (!dataFileName.empty()) {
        const std::string stem = dataFileName.substr(0, dot);
        const std::string dir =
            slash == std::string::npos ? std::string(".") : dataFileName.substr(0, slash);
        const std::string candidate = ResolveCaseInsensitive(dir.empty() ? std::string("/") : dir,
                                                             stem.substr(nameStart) + ".ISE");
        std::error_code error;
        if (std::filesystem::is_regular_file(candidate, error)) {
            return candidate;
        }
    }
    return ResolveCaseInsensitive(WithoutSlash(programDir), std::string(searchfile::kDefaultName));
}

std::vector<std::string> ReadSiteNames(const std::string& file) {
    const TIniFile32 ini(file);
    std::vector<std::string> names;
    const int count = ini.ReadInteger(searchfile::kSection, searchfile::kCount, 0);
    for (int i = 1; i <= count; ++i) {
        std::string name = ini.ReadString(searchfile::kSection, std::to_string(i), "");
        if (!name.empty()) {
            names.push_back(std::move(name));
        }
    }
    return names;
}

SearchSite ReadSite(const std::string& file, const std::string& name) {
    const TIniFile32 ini(file);
    return {name, ini.ReadString(searchfile::kSection, name + "1", ""),
            ini.ReadString(searchfile::kSection, name + "2", "")};
}

std::string PrepareTopic(std::string_view topic) {
    std::string prepared(topic);
    for (char& c : prepared) {
        if (c == ' ') {
            c = '+';
        }
    }
    return prepared;
}

const std::vector<SearchSite>& DefaultSearchSites() {
    static const std::vector<SearchSite> sites = {
        {"Bing", "https://www.bing.com/search?q=", ""},
        {"DuckDuckGo", "https://duckduckgo.com/?q=", ""},
        {"Google", "https://www.google.com/search?q=", ""},
        {"Mojeek", "https://www.mojeek.com/search?q=", ""},
        {"Startpage", "https://www.startpage.com/do/search?q=", ""},
        {"Wikipedia", "https://en.wikipedia.org/w/index.php?search=", "&title=Special:Search"},
    };
    return sites;
}

void WriteDefaultSearchFile(const std::string& programDir) {
    const std::string path =
        ResolveCaseInsensitive(WithoutSlash(programDir), std::string(searchfile::kDefaultName));
    std::error_code error;
    if (std::filesystem::exists(path, error)) {
        return;
    }
    TIniFile32 ini(path);
    ini.SetDeferSaves(true);
    const auto& sites = DefaultSearchSites();
    ini.WriteInteger(searchfile::kSection, searchfile::kCount, static_cast<int>(sites.size()));
    for (std::size_t i = 0; i < sites.size(); ++i) {
        ini.WriteString(searchfile::kSection, std::to_string(i + 1), sites[i].name);
    }
    for (const SearchSite& site : sites) {
        ini.WriteString(searchfile::kSection, site.name + "1", site.before);
        if (!site.after.empty()) {
            ini.WriteString(searchfile::kSection, site.name + "2", site.after);
        }
    }
    ini.UpdateFile();
}

std::string SearchFileCaptionName(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return Utf8ToCp1252(name.substr(0, name.size() >= 4 ? name.size() - 4 : 0));
}

} // namespace lv
