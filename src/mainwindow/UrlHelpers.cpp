#include "mainwindow/UrlHelpers.h"

#include <array>

namespace lv {

namespace {

// Order matters for DNSExt: the first suffix present wins, wherever it is.
constexpr std::array<std::string_view, 11> kSuffixes = {
    ".com", ".edu", ".net", ".org", ".gov", ".mil", ".au", ".ca", ".de", ".jp", ".uk"};

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

bool Contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

} // namespace

std::string EndSlash(std::string_view text) {
    std::string result(text);
    if (StartsWith(result, "www.")) {
        result.insert(0, "http://");
    }
    if (StartsWith(result, "mailto:")) {
        return result;
    }
    const std::size_t dot = result.rfind('.');
    if (dot == std::string::npos) {
        return result;
    }
    const std::string_view extension = std::string_view(result).substr(dot);
    // A dot followed by a path or drive separator is not a file-name extension.
    if (extension.find_first_of("\\:") != std::string_view::npos) {
        return result;
    }
    for (std::string_view suffix : kSuffixes) {
        if (extension == suffix) {
            result += '/';
            break;
        }
    }
    return result;
}

int TrimHTTP(std::string_view text) {
    if (Contains(text, "https://www.")) {
        return 13;
    }
    if (Contains(text, "http://www.")) {
        return 12;
    }
    if (Contains(text, "https://")) {
        return 9;
    }
    return 8;
}

int DNSExt(std::string_view text) {
    for (std::string_view suffix : kSuffixes) {
        const std::size_t at = text.find(suffix);
        if (at != std::string_view::npos) {
            return static_cast<int>(at + 1 + suffix.size());
        }
    }
    return 0;
}

} // namespace lv
