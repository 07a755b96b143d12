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

namespace lv {

namespace {

bool IsSchemeChar(char c, bool first) {
    const bool alpha = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    return first ? alpha : alpha || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
}

// The five parts of a reference (RFC 3986 appendix B); "has" tells an empty part from a missing.
struct Reference {
    bool hasScheme = false;
    std::string_view scheme;
    bool hasAuthority = false;
    std::string_view authority;
    std::string_view path;
    bool hasQuery = false;
    std::string_view query;
};

Reference SplitReference(std::string_view text) {
    Reference r;
    if (const auto hash = text.find('#'); hash != std::string_view::npos) {
        text = text.substr(0, hash);
    }
    const auto colon = text.find(':');
    if (colon != std::string_view::npos && colon > 0 && text.find_first_of("/?") > colon) {
        bool valid = true;
        for (std::size_t i = 0; i < colon; ++i) {
            valid = valid && IsSchemeChar(text[i], i == 0);
        }
        if (valid) {
            r.hasScheme = true;
            r.scheme = text.substr(0, colon);
            text.remove_prefix(colon + 1);
        }
    }
    if (text.starts_with("//")) {
        text.remove_prefix(2);
        const auto end = std::min(text.find_first_of("/?"), text.size());
        r.hasAuthority = true;
        r.authority = text.substr(0, end);
        text.remove_prefix(end);
    }
    const auto question = text.find('?');
    r.path = text.substr(0, question);
    if (question != std::string_view::npos) {
        r.hasQuery = true;
        r.query = text.substr(question + 1);
    }
    return r;
}

// RFC 3986 section 5.2.4.
std::string RemoveDotSegments(std::string_view in) {
    std::string out;
    auto dropLastSegment = [&out] {
        const auto slash = out.rfind('/');
        out.erase(slash == std::string::npos ? 0 : slash);
    };
    while (!in.empty()) {
        if (in.starts_with("../")) {
            in.remove_prefix(3);
        } else if (in.starts_with("./")) {
            in.remove_prefix(2);
        } else if (in.starts_with("/./")) {
            in.remove_prefix(2);
        } else if (in == "/.") {
            in = "/";
        } else if (in.starts_with("/../")) {
            in.remove_prefix(3);
            dropLastSegment();
        } else if (in == "/..") {
            in = "/";
            dropLastSegment();
        } else if (in == "." || in == "..") {
            in = {};
        } else {
            const auto next = in.find('/', 1);
            const auto length = next == std::string_view::npos ? in.size() : next;
            out.append(in.substr(0, length));
            in.remove_prefix(length);
        }
    }
    return out;
}

// host and port of an authority, without any "user:password@"; false for a bad port.
bool SplitAuthority(std::string_view authority, std::string& host, std::string& port) {
    if (const auto at = authority.rfind('@'); at != std::string_view::npos) {
        authority.remove_prefix(at + 1);
    }
    std::string_view portText;
    if (authority.starts_with("[")) {
        const auto close = authority.find(']');
        if (close == std::string_view::npos) {
            return false;
        }
        host = std::string(authority.substr(0, close + 1));
        const std::string_view rest = authority.substr(close + 1);
        if (!rest.empty() && rest[0] != ':') {
            return false;
        }
        portText = rest.empty() ? rest : rest.substr(1);
    } else {
        const auto colon = authority.rfind(':');
        host = std::string(authority.substr(0, colon));
        portText =
            colon == std::string_view::npos ? std::string_view() : authority.substr(colon + 1);
    }
    port.clear();
    if (portText.empty()) {
        return true;
    }
    long value = 0;
    for (const char c : portText) {
        if (c < '0' || c > '9' || portText.size() > 5) {
            return false;
        }
        value = value * 10 + (c - '0');
    }
    if (value < 1 || value > 65535) {
        return false;
    }
    port = std::to_string(value);
    return true;
}

} // namespace

std::string HttpOrigin(const HttpTarget& where) {
    return AsciiLower(where.scheme) + "://" + AsciiLower(where.host) + ":" + where.port;
}

bool ResolveHttpReference(const HttpTarget& base, std::string_view reference, HttpTarget& out,
                          std::string& why) {
    if (reference.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos) {
        why = "the address holds a line break";
        return false;
    }
    Reference r = SplitReference(reference);
    // "http:page" on an http page is a relative reference (RFC 3986 section 5.2.2, the
    // non-strict form), as browsers read it.
    if (r.hasScheme && !r.hasAuthority && AsciiLower(r.scheme) == AsciiLower(base.scheme)) {
        r.hasScheme = false;
    }
    const auto baseQuestion = base.target.find('?');
    const std::string_view basePath = std::string_view(base.target).substr(0, baseQuestion);
    const std::string_view baseQuery = baseQuestion == std::string::npos
                                           ? std::string_view()
                                           : std::string_view(base.target).substr(baseQuestion + 1);
    const bool baseHasQuery = baseQuestion != std::string::npos;

    HttpTarget next;
    std::string path;
    bool hasQuery = r.hasQuery;
    std::string_view query = r.query;
    next.scheme = r.hasScheme ? AsciiLower(r.scheme) : AsciiLower(base.scheme);
    if (next.scheme != "http" && next.scheme != "https") {
        why = "only http and https addresses are followed";
        return false;
    }
    if (r.hasScheme || r.hasAuthority) {
        if (!r.hasAuthority) {
            why = "the address names no host";
            return false;
        }
        if (!SplitAuthority(r.authority, next.host, next.port)) {
            why = "the address has a bad port";
            return false;
        }
        path = RemoveDotSegments(r.path);
    } else {
        next.host = base.host;
        next.port = base.port;
        if (r.path.empty()) {
            path = std::string(basePath);
            if (!r.hasQuery) {
                hasQuery = baseHasQuery;
                query = baseQuery;
            }
        } else if (r.path[0] == '/') {
            path = RemoveDotSegments(r.path);
        } else {
            const auto slash = basePath.rfind('/');
            const std::string merged =
                (slash == std::string_view::npos ? std::string("/")
                                                 : std::string(basePath.substr(0, slash + 1))) +
                std::string(r.path);
            path = RemoveDotSegments(merged);
        }
    }
    if (next.host.empty()) {
        why = "the address names no host";
        return false;
    }
    if (next.port.empty()) {
        next.port = DefaultPortForScheme(next.scheme);
    }
    if (path.empty() || path[0] != '/') {
        path.insert(0, "/");
    }
    next.target = hasQuery ? path + "?" + std::string(query) : path;
    out = std::move(next);
    return true;
}

std::string EncodeRequestTarget(std::string_view target) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(target.size());
    for (const char c : target) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte >= 0x7F) {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 15];
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace lv
