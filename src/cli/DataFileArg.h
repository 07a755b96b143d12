#pragma once

#include "store/TIniFile32.h"

#include <string>
#include <utility>
#include <vector>

namespace lv::cli {

// The DataFile named on the command line, loaded; a CliError when it does not exist, is not a
// regular file, cannot be read, or is locked by a file password. A bare name that is not a file
// of the current directory is looked up in the program directory (letter case aside), as the
// window does. The engine's FileName() is the path used.
TIniFile32 OpenExistingDataFile(const std::string& path);

// The page of that name (exact, else ignoring letter case; name in UTF-8, pages as stored), or
// a CliError listing nothing found.
std::string FindPageOrFail(const std::vector<std::string>& pages, const std::string& nameUtf8);

// The value of --pages, "3-5" or "4" (page numbers from 1), as indexes from 0 of the first and
// the last page; a CliError when it is not such a range of the pageCount pages.
std::pair<int, int> PageRangeOption(const std::string& text, int pageCount);

// A target file that may be replaced only with --force: a CliError when it exists and force is
// off, or when it is a directory.
void RefuseExistingUnlessForced(const std::string& path, bool force);

} // namespace lv::cli
