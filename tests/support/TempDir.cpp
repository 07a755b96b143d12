#include "support/TempDir.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <unistd.h>

namespace lvtest {

TempDir::TempDir() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "linkvane-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary directory");
    }
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ec;
    // Tests make files read-only to provoke save failures; give write access back before removal.
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
    }
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
}

std::string TempDir::File(const std::string& name) const {
    return (path_ / name).string();
}

std::string ReadBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + file.string());
    }
}

std::filesystem::path Fixture(const std::string& name) {
    const char* dir = std::getenv("LINKVANE_FIXTURES");
    return std::filesystem::path(dir != nullptr ? dir : "tests/data") / name;
}

std::filesystem::path SharedTestData(const std::string& relative) {
    const char* dir = std::getenv("LINKVANE_TESTDATA");
    if (dir == nullptr || !std::filesystem::is_directory(dir)) {
        return {};
    }
    return std::filesystem::path(dir) / relative;
}

} // namespace lvtest
