#pragma once

#include "store/TIniFile32.h"

#include <string>
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

// A target file that may be replaced only with --force: a CliError when it exists and force is
// off, or when it is a directory.
void RefuseExistingUnlessForced(const std::string& path, bool force);

} // namespace lv::cli
