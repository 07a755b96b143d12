#include "mainwindow/PagePasswords.h"
#include <algorithm>
#include <unordered_set>

#include "store/DataFile.h"

namespace lv {
namespace {

bool Breaks(char c) {
    return c == '\0' || c == '\r' || c == '\n';
}

bool Blank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

} // namespace

std::string Shift(std::string_view text) {
    std::string out(text);
    for (std::size_t i = 0; i < out.size(); ++i) {
        out[i] = static_cast<char>(static_cast<unsigned char>(out[i]) + (i + 1) / 2);
    }
    return out;
}

std::string Unshift(std::string_view text) {
    std::string out(text);
    for (std::size_t i = 0; i < out.size(); ++i) {
        out[i] = static_cast<char>(static_cast<unsigned char>(out[i]) - (i + 1) / 2);
    }
    return out;
}

std::string Encrypt(std::string_view target, std::string_view password) {
    return Shift(target) + datafile::kProtectedMarker + Shift(password);
}

std::string Decrypt(std::string_view stored) {
    return Unshift(stored.substr(0, stored.find(datafile::kProtectedMarker)));
}

std::string StoredPassword(std::string_view stored) {
    const auto marker = stored.find(datafile::kProtectedMarker);
    return marker == std::string_view::npos ? std::string() : Unshift(stored.substr(marker + 1));
}

bool IsScrambled(std::string_view stored) {
    return stored.find(datafile::kProtectedMarker) != std::string_view::npos;
}

bool StorableValue(std::string_view value) {
    if (value.empty()) {
        return true;
    }
    if (Blank(value.front()) || Blank(value.back())) {
        return false;
    }
    for (const char c : value) {
        if (Breaks(c)) {
            return false;
        }
    }
    return true;
}

std::optional<std::string> SafeEncrypt(std::string_view target, std::string_view password) {
    // A marker byte inside the scrambled target would end it early on the way back.
    if (Shift(target).find(datafile::kProtectedMarker) != std::string::npos) {
        return std::nullopt;
    }
    std::string stored = Encrypt(target, password);
    if (!StorableValue(stored)) {
        return std::nullopt;
    }
    return stored;
}

bool StorableFilePassword(std::string_view password) {
    return StorableValue(Shift(password));
}

bool StorablePageEntry(std::string_view entry) {
    const std::string shifted = Shift(entry);
    for (const char c : shifted) {
        if (Breaks(c) || c == datafile::kPasswordEntryEnd) {
            return false;
        }
    }
    // Only the first entry's first byte can meet the trimming; later ones follow a marker.
    return shifted.empty() || !Blank(shifted.front());
}

std::optional<std::size_t> PagePassEntry(const std::vector<std::string>& box, std::string_view page,
                                         const std::vector<std::string>& pages) {
    // An entry belongs to the longest page name it starts with. The names are gathered only
    // when an entry starts with this page, and then once: asking every page for every entry
    // made a file with thousands of protected pages take minutes to open.
    std::unordered_set<std::string_view> names;
    std::size_t longestName = 0;
    std::optional<std::size_t> found;
    for (std::size_t i = 0; i < box.size(); ++i) {
        const std::string_view entry = box[i];
        if (!entry.starts_with(page)) {
            continue;
        }
        if (names.empty()) {
            names.reserve(pages.size());
            for (const std::string& name : pages) {
                names.insert(name);
                longestName = std::max(longestName, name.size());
            }
        }
        bool longerOwner = false;
        const std::size_t last = std::min(entry.size(), longestName);
        for (std::size_t size = page.size() + 1; size <= last && !longerOwner; ++size) {
            longerOwner = names.contains(entry.substr(0, size));
        }
        if (!longerOwner) {
            found = i;
        }
    }
    return found;
}

std::optional<std::string> FindPagePass(const std::vector<std::string>& box, std::string_view page,
                                        const std::vector<std::string>& pages) {
    const auto entry = PagePassEntry(box, page, pages);
    if (!entry) {
        return std::nullopt;
    }
    return box[*entry].substr(page.size());
}

void PagePassMove(std::vector<std::string>& box, std::string_view oldName, std::string_view newName,
                  const std::vector<std::string>& pages) {
    const auto index = PagePassEntry(box, oldName, pages);
    if (!index) {
        return;
    }
    const std::string password = box[*index].substr(oldName.size());
    box.erase(box.begin() + static_cast<std::ptrdiff_t>(*index));
    if (newName != oldName) {
        box.push_back(std::string(newName) + password);
    }
}

std::vector<std::string> ReadPagePass(std::string_view stored) {
    std::vector<std::string> box;
    std::size_t end;
    while ((end = stored.find(datafile::kPasswordEntryEnd)) != std::string_view::npos) {
        box.push_back(Unshift(stored.substr(0, end)));
        stored.remove_prefix(end + 1);
    }
    return box;
}

std::string PagePassValue(const std::vector<std::string>& box) {
    std::string value;
    for (const auto& entry : box) {
        value += Shift(entry);
        value += datafile::kPasswordEntryEnd;
    }
    return value;
}

} // namespace lv
