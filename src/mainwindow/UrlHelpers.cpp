#include "mainwindow/UrlHelpers.h"

#include <array>
#include <cctype>

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

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) {
            return false;
        }
    }
    return true;
}

bool IsSchemeChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '+' || c == '-' || c == '.';
}

// The length of a leading "scheme://", or 0.
std::size_t SchemeLength(std::string_view text) {
    const std::size_t colon = text.find("://");
    if (colon == 0 || colon == std::string_view::npos ||
        std::isalpha(static_cast<unsigned char>(text[0])) == 0) {
        return 0;
    }
    for (std::size_t i = 0; i < colon; ++i) {
        if (!IsSchemeChar(text[i])) {
            return 0;
        }
    }
    return colon + 3;
}

bool IsDottedNumber(std::string_view host) {
    return !host.empty() && host.find_first_not_of("0123456789.") == std::string_view::npos;
}

} // namespace

bool IsWebAddress(std::string_view text) {
    if (StartsWithNoCase(text, "www.")) {
        return true;
    }
    const std::size_t scheme = SchemeLength(text);
    return scheme != 0 && !StartsWithNoCase(text, "file://");
}

std::string EndSlash(std::string_view text) {
    std::string result(text);
    if (StartsWith(result, "www.")) {
        result.insert(0, "http://");
    }
    // A local file may well be called "song.au" or "letter.de": only addresses get the slash.
    if (!IsWebAddress(result)) {
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

std::string SiteTitle(std::string_view url) {
    if (IsWebAddress(url)) {
        std::string_view host = url.substr(SchemeLength(url));
        host = host.substr(0, host.find_first_of("/?#"));
        if (const std::size_t at = host.rfind('@'); at != std::string_view::npos) {
            host.remove_prefix(at + 1); // user name and password
        }
        if (host.starts_with('[')) {
            return std::string(host.substr(0, host.find(']') + 1)); // an IPv6 address
        }
        host = host.substr(0, host.find(':'));
        if (IsDottedNumber(host)) {
            return std::string(host);
        }
        if (StartsWithNoCase(host, "www.")) {
            host.remove_prefix(4);
        }
        return std::string(host.substr(0, host.find('.')));
    }
    if (StartsWith(url, "mailto:")) {
        const std::string_view rest = url.substr(7);
        return std::string(rest.substr(0, rest.find('.')));
    }
    // A local file, a file: URL or anything else: the last part of the path, without the
    // extension.
    std::string_view name = url;
    if (const std::size_t slash = name.find_last_of("/\\"); slash != std::string_view::npos) {
        name.remove_prefix(slash + 1);
    }
    const std::size_t dot = name.rfind('.');
    return std::string(dot == 0 || dot == std::string_view::npos ? name : name.substr(0, dot));
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
