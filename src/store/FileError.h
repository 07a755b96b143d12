#pragma once

#include <stdexcept>
#include <string>

namespace lv {

// A file that could not be read or written. The message is the text the user sees in the general
// error box, with the path filled in; the handler that raised it stops.
class FileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;

    // "Cannot open file %s": the file exists but cannot be read.
    static FileError CannotOpen(const std::string& path) {
        return FileError("Cannot open file " + path);
    }
    // "Cannot create file %s": the file cannot be created or replaced (read-only, no directory,
    // disk full). The file on disk keeps its previous content.
    static FileError CannotCreate(const std::string& path) {
        return FileError("Cannot create file " + path);
    }
};

// A stored value that should be a number and is not: "'%s' is not a valid integer value".
class InvalidIntegerError : public std::runtime_error {
public:
    explicit InvalidIntegerError(const std::string& text)
        : std::runtime_error("'" + text + "' is not a valid integer value"), text_(text) {}
    const std::string& Text() const { return text_; }

private:
    std::string text_;
};

} // namespace lv
