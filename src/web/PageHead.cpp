#include "web/PageHead.h"

#include "store/Text.h"
#include "web/HttpUrl.h"

#include <array>
#include <cctype>
#include <cstdint>
#include <vector>

namespace lv {
namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool StartsWithNoCase(std::string_view text, std::size_t at, std::string_view word) {
    if (text.size() - at < word.size()) {
        return false;
    }
    return AsciiLower(text.substr(at, word.size())) == word;
}

// Position of `word` (lower case) at or after `from`, letter case ignored; npos when absent.
std::size_t FindNoCase(std::string_view text, std::string_view word, std::size_t from) {
    for (std::size_t i = from; i + word.size() <= text.size(); ++i) {
        if (StartsWithNoCase(text, i, word)) {
            return i;
        }
    }
    return std::string_view::npos;
}

struct Attribute {
    std::string name; // lower case
    std::string_view value;
};

struct Tag {
    std::string name; // lower case; starts with "/" for an end tag
    std::vector<Attribute> attributes;

    const Attribute* Find(std::string_view attribute) const {
        for (const Attribute& a : attributes) {
            if (a.name == attribute) {
                return &a;
            }
        }
        return nullptr;
    }
};

// Reads one tag starting just after its "<"; `pos` ends after its ">" (or at the end of the
// text for a tag that never closes).
Tag ReadTag(std::string_view html, std::size_t& pos) {
    Tag tag;
    if (pos < html.size() && html[pos] == '/') {
        tag.name += '/';
        ++pos;
    }
    while (pos < html.size() && !IsSpace(html[pos]) && html[pos] != '>' && html[pos] != '/') {
        tag.name += static_cast<char>(std::tolower(static_cast<unsigned char>(html[pos])));
        ++pos;
    }
    while (pos < html.size()) {
        while (pos < html.size() && (IsSpace(html[pos]) || html[pos] == '/')) {
            ++pos;
        }
        if (pos >= html.size()) {
            break;
        }
        if (html[pos] == '>') {
            ++pos;
            break;
        }
        Attribute attribute;
        while (pos < html.size() && !IsSpace(html[pos]) && html[pos] != '>' && html[pos] != '=' &&
               (html[pos] != '/' || attribute.name.empty())) {
            attribute.name +=
                static_cast<char>(std::tolower(static_cast<unsigned char>(html[pos])));
            ++pos;
        }
        while (pos < html.size() && IsSpace(html[pos])) {
            ++pos;
        }
        if (pos < html.size() && html[pos] == '=') {
            ++pos;
            while (pos < html.size() && IsSpace(html[pos])) {
                ++pos;
            }
            if (pos < html.size() && (html[pos] == '"' || html[pos] == '\'')) {
                const char quote = html[pos++];
                const std::size_t end = html.find(quote, pos);
                const std::size_t stop = end == std::string_view::npos ? html.size() : end;
                attribute.value = html.substr(pos, stop - pos);
                pos = end == std::string_view::npos ? html.size() : end + 1;
            } else {
                const std::size_t start = pos;
                while (pos < html.size() && !IsSpace(html[pos]) && html[pos] != '>') {
                    ++pos;
                }
                attribute.value = html.substr(start, pos - start);
            }
        }
        if (!attribute.name.empty()) {
            tag.attributes.push_back(std::move(attribute));
        }
    }
    return tag;
}

bool HasWord(std::string_view list, std::string_view word) {
    std::size_t pos = 0;
    while (pos < list.size()) {
        while (pos < list.size() && IsSpace(list[pos])) {
            ++pos;
        }
        const std::size_t start = pos;
        while (pos < list.size() && !IsSpace(list[pos])) {
            ++pos;
        }
        if (pos > start && AsciiLower(list.substr(start, pos - start)) == word) {
            return true;
        }
    }
    return false;
}

// Attribute values lose the line breaks and blanks around them; inside, a run of white space
// counts as one blank (what a browser shows).
std::string CollapseSpace(std::string_view text) {
    std::string out;
    bool blank = false;
    for (const char c : text) {
        if (IsSpace(c)) {
            blank = !out.empty();
            continue;
        }
        if (blank) {
            out += ' ';
            blank = false;
        }
        out += c;
    }
    return out;
}

struct NamedEntity {
    std::string_view name;
    char32_t ch;
};
constexpr std::array<NamedEntity, 41> kEntities{{
    {"amp", U'&'},         {"lt", U'<'},          {"gt", U'>'},          {"quot", U'"'},
    {"apos", U'\''},       {"nbsp", U'\u00A0'},   {"copy", U'\u00A9'},   {"reg", U'\u00AE'},
    {"trade", U'\u2122'},  {"hellip", U'\u2026'}, {"mdash", U'\u2014'},  {"ndash", U'\u2013'},
    {"lsquo", U'\u2018'},  {"rsquo", U'\u2019'},  {"ldquo", U'\u201C'},  {"rdquo", U'\u201D'},
    {"laquo", U'\u00AB'},  {"raquo", U'\u00BB'},  {"euro", U'\u20AC'},   {"middot", U'\u00B7'},
    {"bull", U'\u2022'},   {"deg", U'\u00B0'},    {"aacute", U'\u00E1'}, {"agrave", U'\u00E0'},
    {"acirc", U'\u00E2'},  {"auml", U'\u00E4'},   {"ccedil", U'\u00E7'}, {"eacute", U'\u00E9'},
    {"egrave", U'\u00E8'}, {"ecirc", U'\u00EA'},  {"iacute", U'\u00ED'}, {"ntilde", U'\u00F1'},
    {"oacute", U'\u00F3'}, {"ouml", U'\u00F6'},   {"uacute", U'\u00FA'}, {"uuml", U'\u00FC'},
    {"szlig", U'\u00DF'},  {"Auml", U'\u00C4'},   {"Ouml", U'\u00D6'},   {"Uuml", U'\u00DC'},
    {"Eacute", U'\u00C9'},
}};

// One reference at text[pos] == '&': the character and the length taken, or 0 when the text
// there is no reference (it then stands as written).
std::size_t ReadReference(std::string_view text, std::size_t pos, char32_t& ch) {
    const std::size_t semi = text.find(';', pos);
    if (semi == std::string_view::npos || semi - pos > 12) {
        return 0;
    }
    const std::string_view body = text.substr(pos + 1, semi - pos - 1);
    if (body.size() >= 2 && body[0] == '#') {
        const bool hex = body[1] == 'x' || body[1] == 'X';
        const std::string_view digits = body.substr(hex ? 2 : 1);
        if (digits.empty()) {
            return 0;
        }
        std::uint32_t value = 0;
        for (const char c : digits) {
            int digit = -1;
            if (c >= '0' && c <= '9') {
                digit = c - '0';
            } else if (hex && c >= 'a' && c <= 'f') {
                digit = c - 'a' + 10;
            } else if (hex && c >= 'A' && c <= 'F') {
                digit = c - 'A' + 10;
            }
            if (digit < 0 || value > 0x10FFFF) {
                return 0;
            }
            value = value * (hex ? 16 : 10) + static_cast<std::uint32_t>(digit);
        }
        // NUL, surrogates and values past Unicode are no characters.
        if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
            value = 0xFFFD;
        }
        ch = static_cast<char32_t>(value);
        return semi - pos + 1;
    }
    for (const NamedEntity& entity : kEntities) {
        if (body == entity.name) {
            ch = entity.ch;
            return semi - pos + 1;
        }
    }
    return 0;
}

} // namespace

bool LooksLikeUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        int more = 0;
        if (b < 0x80) {
            ++i;
            continue;
        }
        if (b >= 0xC2 && b <= 0xDF) {
            more = 1;
        } else if (b >= 0xE0 && b <= 0xEF) {
            more = 2;
        } else if (b >= 0xF0 && b <= 0xF4) {
            more = 3;
        } else {
            return false;
        }
        if (i + static_cast<std::size_t>(more) >= bytes.size()) {
            return false;
        }
        for (int k = 1; k <= more; ++k) {
            const auto c = static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)]);
            if ((c & 0xC0) != 0x80) {
                return false;
            }
        }
        i += static_cast<std::size_t>(more) + 1;
    }
    return true;
}

std::string DecodeHtmlText(std::string_view text, bool pageIsUtf8) {
    const std::string utf8 = pageIsUtf8 ? std::string(text) : Cp1252ToUtf8(text);
    std::string decoded;
    decoded.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        char32_t ch = 0;
        const std::size_t taken = utf8[i] == '&' ? ReadReference(utf8, i, ch) : 0;
        if (taken == 0) {
            decoded += utf8[i];
            continue;
        }
        AppendUtf8(decoded, ch);
        i += taken - 1;
    }
    return Utf8ToCp1252(decoded);
}

PageHeadInfo ReadPageHead(std::string_view html) {
    PageHeadInfo info;
    const bool utf8 = LooksLikeUtf8(html);
    std::string_view metaIcon;
    bool metaIconFound = false;
    std::string_view linkIcon;
    bool linkIconFound = false;
    std::string_view description;

    std::size_t pos = 0;
    while ((pos = html.find('<', pos)) != std::string_view::npos) {
        if (html.compare(pos, 4, "<!--") == 0) {
            const std::size_t end = html.find("-->", pos + 4);
            if (end == std::string_view::npos) {
                break;
            }
            pos = end + 3;
            continue;
        }
        ++pos;
        if (pos >= html.size() || (!IsAsciiLetter(html[pos]) && html[pos] != '/')) {
            continue; // "<" in text, "<!DOCTYPE", "<?xml"
        }
        const Tag tag = ReadTag(html, pos);
        if (tag.name == "/head" || tag.name == "body") {
            break;
        }
        if (tag.name == "script" || tag.name == "style" || tag.name == "title" ||
            tag.name == "noscript" || tag.name == "textarea") {
            // Their text is no markup: skip to the end tag.
            const std::size_t end = FindNoCase(html, "</" + tag.name, pos);
            if (end == std::string_view::npos) {
                break;
            }
            pos = end;
            continue;
        }
        if (tag.name == "meta") {
            const Attribute* name = tag.Find("name");
            const Attribute* content = tag.Find("content");
            if (name == nullptr || content == nullptr) {
                continue;
            }
            const std::string lowerName = AsciiLower(CollapseSpace(name->value));
            if (lowerName == "description" && !info.descriptionFound) {
                info.descriptionFound = true;
                description = content->value;
            } else if (lowerName == "icon") {
                metaIconFound = true;
                metaIcon = content->value;
            }
        } else if (tag.name == "link") {
            const Attribute* rel = tag.Find("rel");
            const Attribute* href = tag.Find("href");
            if (rel != nullptr && href != nullptr && HasWord(rel->value, "icon")) {
                linkIconFound = true;
                linkIcon = href->value;
            }
        }
    }
    if (metaIconFound || linkIconFound) {
        const std::string address =
            DecodeHtmlText(CollapseSpace(metaIconFound ? metaIcon : linkIcon), utf8);
        if (!address.empty()) {
            info.iconFound = true;
            info.iconAddress = address;
        }
    }
    if (info.descriptionFound) {
        info.description = DecodeHtmlText(CollapseSpace(description), utf8);
    }
    return info;
}

std::string ResolvePageAddress(std::string_view pageAddress, std::string_view reference) {
    const std::string lowerRef = AsciiLower(reference.substr(0, 8));
    if (lowerRef.rfind("http://", 0) == 0 || lowerRef.rfind("https://", 0) == 0) {
        return std::string(reference); // kept as written
    }
    const HttpUrlParts page = ParseHttpUrl(pageAddress);
    const std::string scheme = AsciiLower(page.scheme);
    if ((scheme != "http" && scheme != "https") || page.host.empty()) {
        return {};
    }
    HttpTarget base;
    base.scheme = scheme;
    base.host = page.host;
    base.port = page.port.empty() ? DefaultPortForScheme(scheme) : page.port;
    base.target = page.path.empty() ? "/" : page.path;
    HttpTarget out;
    std::string why;
    if (!ResolveHttpReference(base, reference, out, why)) {
        return {};
    }
    std::string host = out.host;
    if (host.find(':') != std::string::npos && host.front() != '[') {
        host = "[" + host + "]";
    }
    std::string address = out.scheme + "://" + host;
    if (out.port != DefaultPortForScheme(out.scheme)) {
        address += ":" + out.port;
    }
    return address + out.target;
}

IconContent SniffIconContent(std::string_view b) {
    auto at = [&b](std::size_t i) { return static_cast<unsigned char>(b[i]); };
    if (b.size() >= 6 && at(0) == 0 && at(1) == 0 && at(2) == 1 && at(3) == 0 &&
        (at(4) != 0 || at(5) != 0)) {
        return IconContent::Ico;
    }
    if (b.size() >= 8 && b.substr(0, 8) == std::string_view("\x89PNG\r\n\x1a\n", 8)) {
        return IconContent::Png;
    }
    if (b.size() >= 6 && (b.substr(0, 6) == "GIF87a" || b.substr(0, 6) == "GIF89a")) {
        return IconContent::Gif;
    }
    if (b.size() >= 3 && at(0) == 0xFF && at(1) == 0xD8 && at(2) == 0xFF) {
        return IconContent::Jpeg;
    }
    if (b.size() >= 14 && b[0] == 'B' && b[1] == 'M') {
        return IconContent::Bmp;
    }
    return IconContent::Unknown;
}

} // namespace lv
