#include "web/HttpUrl.h"

#include <cctype>

namespace lv {

std::string AsciiLower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

HttpUrlParts ParseHttpUrl(std::string_view address) {
    HttpUrlParts parts;
    if (address.empty()) {
        return parts;
    }
    std::string_view rest;
    if (const auto sep = address.find("://"); sep != std::string_view::npos) {
        parts.scheme = std::string(address.substr(0, sep));
        rest = address.substr(sep + 3);
    } else if (address[0] == '/') {
        parts.scheme = "http";
        if (address.size() >= 2 && address[1] != '/') {
            parts.path = std::string(address);
            return parts;
        }
        rest = address.substr(1);
    } else if (AsciiLower(address.substr(0, 5)) == "http:") {
        parts.scheme = "http";
        if (address.size() >= 7 && address[6] != '/') {
            parts.path = std::string(address.substr(5));
            return parts;
        }
        rest = address.size() >= 7 ? address.substr(6) : std::string_view();
    } else if (AsciiLower(address.substr(0, 7)) == "mailto:") {
        parts.scheme = "mailto";
        rest = address.substr(address.find(':') + 1);
    } else {
        rest = address;
    }

    std::string_view authority = rest;
    if (const auto slash = rest.find('/'); slash != std::string_view::npos) {
        parts.path = std::string(rest.substr(slash));
        authority = rest.substr(0, slash);
    }

    const auto colon = authority.rfind(':');
    const auto at = authority.rfind('@');
    if (colon == std::string_view::npos && at == std::string_view::npos) {
        parts.host = std::string(authority);
    } else if (colon == std::string_view::npos || (at != std::string_view::npos && colon < at)) {
        parts.host = std::string(authority.substr(at + 1));
    } else {
        parts.port = std::string(authority.substr(colon + 1));
        const std::size_t hostStart = at == std::string_view::npos ? 0 : at + 1;
        parts.host = std::string(authority.substr(hostStart, colon - hostStart));
    }
    if (at != std::string_view::npos) {
        const std::string_view credentials = authority.substr(0, at);
        const auto split = credentials.find(':');
        if (split == std::string_view::npos) {
            parts.user = std::string(credentials);
        } else {
            parts.user = std::string(credentials.substr(0, split));
            parts.password = std::string(credentials.substr(split + 1));
        }
    }
    return parts;
}

std::string DocumentFileNameFromPath(std::string_view path) {
    std::string name;
    if (!path.empty() && path != "/") {
        if (path.back() == '/') {
            path.remove_suffix(1);
        }
        const auto slash = path.rfind('/');
        name = std::string(path.substr(slash == std::string_view::npos ? 0 : slash + 1, 255));
        if (const auto query = name.find('?'); query != std::string::npos) {
            name.erase(query);
        }
    }
    return name.empty() ? std::string("document.htm") : name;
}

std::string DefaultPortForScheme(std::string_view scheme) {
    return AsciiLower(scheme) == "https" ? "443" : "80";
}

std::string Base64Encode(std::string_view bytes) {
    static constexpr char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        const unsigned v = (static_cast<unsigned char>(bytes[i]) << 16) |
                           (static_cast<unsigned char>(bytes[i + 1]) << 8) |
                           static_cast<unsigned char>(bytes[i + 2]);
        out += kAlphabet[(v >> 18) & 63];
        out += kAlphabet[(v >> 12) & 63];
        out += kAlphabet[(v >> 6) & 63];
        out += kAlphabet[v & 63];
    }
    const std::size_t left = bytes.size() - i;
    if (left > 0) {
        unsigned v = static_cast<unsigned char>(bytes[i]) << 16;
        if (left == 2) {
            v |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        }
        out += kAlphabet[(v >> 18) & 63];
        out += kAlphabet[(v >> 12) & 63];
        out += left == 2 ? kAlphabet[(v >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

} // namespace lv
