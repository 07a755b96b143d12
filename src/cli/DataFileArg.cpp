#include "cli/DataFileArg.h"

#include "cli/Command.h"
#include "platform/ProgramDir.h"
#include "store/DataFile.h"
#include "store/Text.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace lv::cli {

TIniFile32 OpenExistingDataFile(const std::string& given) {
    std::string path = given;
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 && errno == ENOENT &&
        path.find('/') == std::string::npos) {
        // A bare name not found here is one of the program directory's files, as the window
        // takes it.
        std::string inProgramDir =
            ResolveCaseInsensitive(FindProgramDir(ProgramDirSourcesFromEnvironment()), path);
        if (::stat(inProgramDir.c_str(), &info) == 0)
            path = inProgramDir;
    }
    if (::stat(path.c_str(), &info) != 0) {
        throw CliError("cannot open " + path + ": " + std::strerror(errno));
    }
    if (!S_ISREG(info.st_mode))
        throw CliError(path + " is not a DataFile (not a regular file)");
    TIniFile32 ini(path);
    if (!ReadFileProtection(ini).empty()) {
        throw CliError(path + " is protected by a file password; open it in Linkvane to remove "
                              "the password first");
    }
    return ini;
}

std::string FindPageOrFail(const std::vector<std::string>& pages, const std::string& nameUtf8) {
    std::string stored = Utf8ToCp1252(nameUtf8);
    for (const std::string& page : pages) {
        if (page == stored)
            return page;
    }
    for (const std::string& page : pages) {
        if (SameText1252(page, stored))
            return page;
    }
    throw CliError("no page named \"" + nameUtf8 + "\"");
}

void RefuseExistingUnlessForced(const std::string& path, bool force) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return;
    if (S_ISDIR(info.st_mode))
        throw CliError(path + " is a folder, not a file");
    if (!force)
        throw CliError(path + " exists; add --force to replace it");
}

std::pair<int, int> PageRangeOption(const std::string& text, int pageCount) {
    auto number = [&](const std::string& part) {
        if (part.empty() || part.size() > 6 ||
            part.find_first_not_of("0123456789") != std::string::npos) {
            throw CliError("--pages takes FIRST-LAST, page numbers from 1: \"" + text + "\"");
        }
        return std::stoi(part);
    };
    const auto dash = text.find('-');
    const int first = number(text.substr(0, dash));
    const int last = dash == std::string::npos ? first : number(text.substr(dash + 1));
    if (first < 1 || last < first || last > pageCount) {
        throw CliError("--pages " + text + ": the file has pages 1-" + std::to_string(pageCount));
    }
    return {first - 1, last - 1};
}

} // namespace lv::cli
