#include "mainwindow/PagePasswords.h"

#include "store/DataFile.h"

namespace lv {

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

std::string Decrypt(std::string_view stored) {
    return Unshift(stored.substr(0, stored.find(datafile::kProtectedMarker)));
}

std::optional<std::string> FindPagePass(const std::vector<std::string>& box,
                                        std::string_view page) {
    std::optional<std::string> found;
    for (const auto& entry : box) {
        if (entry.size() >= page.size() && entry.compare(0, page.size(), page) == 0) {
            found = entry.substr(page.size());
        }
    }
    return found;
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
