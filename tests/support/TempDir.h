#pragma once

#include <filesystem>
#include <string>

namespace lvtest {

// A fresh directory under the system's temporary folder, removed with everything in it when the
// object goes away. Tests put their DataFiles and settings here, never in the source tree.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // Full path of a file inside the directory, as a string with '/' separators.
    std::string File(const std::string& name) const;

private:
    std::filesystem::path path_;
};

// Whole file as bytes; empty when it does not exist.
std::string ReadBytes(const std::filesystem::path& file);
// Replace the file with exactly these bytes.
void WriteBytes(const std::filesystem::path& file, const std::string& bytes);

// tests/data/<name> in the source tree.
std::filesystem::path Fixture(const std::string& name);
// ../shared/testdata/<relative>, or an empty path when the shared folder is not there.
std::filesystem::path SharedTestData(const std::string& relative);

} // namespace lvtest
