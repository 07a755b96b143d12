#include "exchange/HtmlText.h"

#include "platform/Unicode.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace lv {
namespace {

// The names of U+00A0 to U+00FF, in order.
constexpr std::array<const char*, 96> kLatin1Names = {
    "nbsp",   "iexcl",  "cent",   "pound",  "curren", "yen",    "brvbar", "sect",   "uml",
    "copy",   "ordf",   "laquo",  "not",    "shy",    "reg",    "macr",   "deg",    "plusmn",
    "sup2",   "sup3",   "acute",  "micro",  "para",   "middot", "cedil",  "sup1",   "ordm",
    "raquo",  "frac14", "frac12", "frac34", "iquest", "Agrave", "Aacute", "Acirc",  "Atilde",
    "Auml",   "Aring",  "AElig",  "Ccedil", "Egrave", "Eacute", "Ecirc",  "Euml",   "Igrave",
    "Iacute", "Icirc",  "Iuml",   "ETH",    "Ntilde", "Ograve", "Oacute", "Ocirc",  "Otilde",
    "Ouml",   "times",  "Oslash", "Ugrave", "Uacute", "Ucirc",  "Uuml",   "Yacute", "THORN",
    "szlig",  "agrave", "aacute", "acirc",  "atilde", "auml",   "aring",  "aelig",  "ccedil",
    "egrave", "eacute", "ecirc",  "euml",   "igrave", "iacute", "icirc",  "iuml",   "eth",
    "ntilde", "ograve", "oacute", "ocirc",  "otilde", "ouml",   "divide", "oslash", "ugrave",
    "uacute", "ucirc",  "uuml",   "yacute", "thorn",  "yuml"};

struct NamedReference {
    const char* name;
    char32_t cp;
};

constexpr NamedReference kOtherNames[] = {
    {"amp", '&'},       {"lt", '<'},        {"gt", '>'},        {"quot", '"'},
    {"apos", '\''},     {"OElig", 0x152},   {"oelig", 0x153},   {"Scaron", 0x160},
    {"scaron", 0x161},  {"Yuml", 0x178},    {"fnof", 0x192},    {"circ", 0x2C6},
    {"tilde", 0x2DC},   {"ensp", 0x2002},   {"emsp", 0x2003},   {"thinsp", 0x2009},
    {"zwnj", 0x200C},   {"zwj", 0x200D},    {"lrm", 0x200E},    {"rlm", 0x200F},
    {"ndash", 0x2013},  {"mdash", 0x2014},  {"lsquo", 0x2018},  {"rsquo", 0x2019},
    {"sbquo", 0x201A},  {"ldquo", 0x201C},  {"rdquo", 0x201D},  {"bdquo", 0x201E},
    {"dagger", 0x2020}, {"Dagger", 0x2021}, {"bull", 0x2022},   {"hellip", 0x2026},
    {"permil", 0x2030}, {"prime", 0x2032},  {"Prime", 0x2033},  {"lsaquo", 0x2039},
    {"rsaquo", 0x203A}, {"oline", 0x203E},  {"frasl", 0x2044},  {"euro", 0x20AC},
    {"trade", 0x2122},  {"larr", 0x2190},   {"uarr", 0x2191},   {"rarr", 0x2192},
    {"darr", 0x2193},   {"harr", 0x2194},   {"minus", 0x2212},  {"infin", 0x221E},
    {"ne", 0x2260},     {"le", 0x2264},     {"ge", 0x2265},     {"loz", 0x25CA},
    {"spades", 0x2660}, {"clubs", 0x2663},  {"hearts", 0x2665}, {"diams", 0x2666},
    {"alpha", 0x3B1},   {"beta", 0x3B2},    {"gamma", 0x3B3},   {"delta", 0x3B4},
    {"pi", 0x3C0},      {"mu", 0x3BC},      {"Omega", 0x3A9},   {"omega", 0x3C9},
};

char32_t LookUpName(std::string_view name) {
    for (std::size_t i = 0; i < kLatin1Names.size(); ++i) {
        if (name == kLatin1Names[i]) {
            return static_cast<char32_t>(0xA0 + i);
        }
    }
    for (const NamedReference& named : kOtherNames) {
        if (name == named.name) {
            return named.cp;
        }
    }
    return 0;
}

bool IsAsciiAlnum(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// A numeric reference at text[pos] == '&' followed by '#': its character and length.
bool NumericReference(std::string_view text, std::size_t pos, char32_t& cp, std::size_t& length) {
    std::size_t i = pos + 2;
    const bool hex = i < text.size() && (text[i] == 'x' || text[i] == 'X');
    if (hex) {
        ++i;
    }
    const std::size_t digitsStart = i;
    std::uint64_t value = 0;
    while (i < text.size()) {
        const int digit =
            hex ? HexValue(text[i]) : (text[i] >= '0' && text[i] <= '9' ? text[i] - '0' : -1);
        if (digit < 0) {
            break;
        }
        value = std::min<std::uint64_t>(value * (hex ? 16 : 10) + static_cast<unsigned>(digit),
                                        0x110000);
        ++i;
    }
    if (i == digitsStart) {
        return false;
    }
    if (i < text.size() && text[i] == ';') {
        ++i;
    }
    length = i - pos;
    if (value == 0 || value >= 0x110000 || (value >= 0xD800 && value <= 0xDFFF)) {
        cp = 0xFFFD;
    } else if (value >= 0x80 && value <= 0x9F) {
        cp = Cp1252ToUnicode(static_cast<unsigned char>(value));
    } else {
        cp = static_cast<char32_t>(value);
    }
    return true;
}

} // namespace

std::string EscapeHtml(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size() + utf8.size() / 8);
    for (const char c : utf8) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string DecodeHtmlEntities(std::string_view utf8) {
    if (utf8.find('&') == std::string_view::npos) {
        return std::string(utf8);
    }
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const std::size_t amp = utf8.find('&', pos);
        if (amp == std::string_view::npos) {
            out.append(utf8.substr(pos));
            break;
        }
        out.append(utf8.substr(pos, amp - pos));
        pos = amp + 1;
        char32_t cp = 0;
        std::size_t length = 0;
        if (amp + 1 < utf8.size() && utf8[amp + 1] == '#') {
            if (NumericReference(utf8, amp, cp, length)) {
                AppendUtf8(out, cp);
                pos = amp + length;
                continue;
            }
        } else {
            std::size_t end = amp + 1;
            while (end < utf8.size() && end - amp <= 8 && IsAsciiAlnum(utf8[end])) {
                ++end;
            }
            if (end < utf8.size() && utf8[end] == ';' && end > amp + 1) {
                cp = LookUpName(utf8.substr(amp + 1, end - amp - 1));
                if (cp != 0) {
                    AppendUtf8(out, cp);
                    pos = end + 1;
                    continue;
                }
            }
        }
        out += '&';
    }
    return out;
}

} // namespace lv
