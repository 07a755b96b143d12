#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lv {

// What a shell "open" came to; failures are returned, not shown.
struct ShellResult {
    bool ok = false;
    int error = 0; // errno of the failed start
    std::string message;
};

// Opens local targets the way the desktop does: programs are started, documents, folders,
// mailto: and web addresses go to the program the desktop associates with them. Texts are in
// the system's encoding (UTF-8).
class Shell {
public:
    virtual ~Shell() = default;

    // file: the program or document; parameters: the program's arguments as one text (split
    // into words, quotes respected; ignored for documents); directory: where a program starts,
    // empty for the file's own directory.
    virtual ShellResult Open(const std::string& file, const std::string& parameters,
                             const std::string& directory) = 0;

    // Whether Open has something to open: an existing file or folder (trailing blanks aside),
    // or an address with a scheme ("mailto:", "http:").
    virtual bool Exists(const std::string& file) const = 0;
};

// A local bookmark target taken apart for Open: "program /arguments" carries its arguments
// after " /"; the program keeps the blank before it, as stored targets always had it.
struct LocalTarget {
    std::string file;
    std::string parameters;
    std::string directory;
};

// The file, its parameters and the working directory for a local target. extraInfo is the
// bookmark's S value: a drive path ("C:\...", second character ":") or an absolute path
// ("/...") names the working directory; otherwise the file's own directory is used.
LocalTarget SplitLocalTarget(std::string_view target, std::string_view extraInfo);

// Splits a parameter text into words at blanks and tabs. Double or single quotes group words
// and are removed; a backslash is literal except before a double quote, so Windows-style
// paths survive.
std::vector<std::string> SplitParameters(std::string_view parameters);

} // namespace lv
