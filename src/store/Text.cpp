#include "store/Text.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <dirent.h>
#include <memory>
#include <sys/stat.h>
#include <unicode/ucol.h>
#include <vector>

namespace lv {
namespace {

struct CaseTables {
    std::array<unsigned char, 256> lower{};
    std::array<unsigned char, 256> upper{};
};

constexpr CaseTables MakeCaseTables() {
    CaseTables t;
    for (int i = 0; i < 256; ++i) {
        t.lower[i] = static_cast<unsigned char>(i);
        t.upper[i] = static_cast<unsigned char>(i);
    }
    auto pair = [&t](int upperByte, int lowerByte) {
        t.lower[upperByte] = static_cast<unsigned char>(lowerByte);
        t.upper[lowerByte] = static_cast<unsigned char>(upperByte);
    };
    for (int c = 'A'; c <= 'Z'; ++c) {
        pair(c, c + 32);
    }
    for (int c = 0xC0; c <= 0xDE; ++c) {
        if (c != 0xD7) { // the multiplication sign has no case
            pair(c, c + 32);
        }
    }
    pair(0x8A, 0x9A); // S caron
    pair(0x8C, 0x9C); // OE
    pair(0x8E, 0x9E); // Z caron
    pair(0x9F, 0xFF); // Y diaeresis
    return t;
}

constexpr CaseTables kCase = MakeCaseTables();

struct Reference {
    char32_t cp;
    std::size_t length;
};

// "#" 1-7 decimal digits ";" at pos (the part of "&#N;" after the ampersand). Only the plain
// spelling counts (no leading zero), so every reference has one form and bytes come back as
// they were.
std::optional<Reference> ParseNumber(std::string_view s, std::size_t pos) {
    if (pos + 2 >= s.size() || s[pos] != '#' || s[pos + 1] < '1' || s[pos + 1] > '9') {
        return std::nullopt;
    }
    std::size_t i = pos + 1;
    char32_t value = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9' && i - pos - 1 < 7) {
        value = value * 10 + static_cast<char32_t>(s[i] - '0');
        ++i;
    }
    if (i >= s.size() || s[i] != ';') {
        return std::nullopt;
    }
    return Reference{value, i + 1 - pos};
}

// A reference stands for a character only when no byte can hold that character.
bool Decodable(char32_t cp) {
    return cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF) && !UnicodeToCp1252(cp);
}

// Whether an '&' followed by s[pos..] would be read as something other than itself: a reference
// to a character no byte holds, or the escape "&#38;" in front of such a text. Followed without
// recursion, since a chain "#38;#38;..." can be as long as the text.
bool WouldDecode(std::string_view s, std::size_t pos) {
    for (;;) {
        const auto number = ParseNumber(s, pos);
        if (!number) {
            return false;
        }
        if (Decodable(number->cp)) {
            return true;
        }
        if (number->cp != '&') {
            return false;
        }
        pos += number->length;
    }
}

struct CollatorHolder {
    UCollator* collator = nullptr;
    CollatorHolder() {
        UErrorCode status = U_ZERO_ERROR;
        // The root order: stable whatever the process locale, punctuation before digits before
        // letters, accented letters beside their base letter.
        collator = ucol_open("", &status);
        if (U_FAILURE(status)) {
            collator = nullptr;
            return;
        }
        ucol_setStrength(collator, UCOL_SECONDARY);
    }
    ~CollatorHolder() {
        if (collator != nullptr) {
            ucol_close(collator);
        }
    }
    CollatorHolder(const CollatorHolder&) = delete;
    CollatorHolder& operator=(const CollatorHolder&) = delete;
};

std::u16string ToUtf16(std::string_view bytes) {
    std::u16string out(bytes.size(), u'\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        out[i] = static_cast<char16_t>(Cp1252ToUnicode(static_cast<unsigned char>(bytes[i])));
    }
    return out;
}

int CompareFolded(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const int x = kCase.lower[static_cast<unsigned char>(a[i])];
        const int y = kCase.lower[static_cast<unsigned char>(b[i])];
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

} // namespace

std::optional<unsigned char> UnicodeToCp1252(char32_t ch) {
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF)) {
        return static_cast<unsigned char>(ch);
    }
    for (std::size_t i = 0; i < kCp1252High.size(); ++i) {
        if (kCp1252High[i] == ch) {
            return static_cast<unsigned char>(0x80 + i);
        }
    }
    return std::nullopt;
}

std::string Cp1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    std::size_t i = 0;
    while (i < bytes.size()) {
        if (bytes[i] == '&') {
            if (const auto number = ParseNumber(bytes, i + 1)) {
                const std::size_t next = i + 1 + number->length;
                if (Decodable(number->cp)) {
                    AppendUtf8(out, number->cp);
                    i = next;
                    continue;
                }
                if (number->cp == '&' && WouldDecode(bytes, next)) {
                    out += '&';
                    i = next;
                    continue;
                }
            }
        }
        AppendUtf8(out, Cp1252ToUnicode(static_cast<unsigned char>(bytes[i])));
        ++i;
    }
    return out;
}

std::string Utf8ToCp1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        if (utf8[i] == '&') {
            out += WouldDecode(utf8, i + 1) ? "&#38;" : "&";
            ++i;
            continue;
        }
        const char32_t cp = DecodeUtf8(utf8, i);
        if (const auto byte = UnicodeToCp1252(cp)) {
            out += static_cast<char>(*byte);
        } else {
            out += "&#" + std::to_string(static_cast<std::uint32_t>(cp)) + ";";
        }
    }
    return out;
}

unsigned char LowerCase1252(unsigned char byte) {
    return kCase.lower[byte];
}
unsigned char UpperCase1252(unsigned char byte) {
    return kCase.upper[byte];
}

std::string LowerCase1252(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        c = static_cast<char>(kCase.lower[static_cast<unsigned char>(c)]);
    }
    return out;
}

std::string UpperCase1252(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        c = static_cast<char>(kCase.upper[static_cast<unsigned char>(c)]);
    }
    return out;
}

bool SameText1252(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (kCase.lower[static_cast<unsigned char>(a[i])] !=
            kCase.lower[static_cast<unsigned char>(b[i])]) {
            return false;
        }
    }
    return true;
}

int CompareText1252(std::string_view a, std::string_view b) {
    thread_local CollatorHolder holder;
    if (holder.collator != nullptr) {
        const std::u16string x = ToUtf16(a);
        const std::u16string y = ToUtf16(b);
        const UCollationResult r =
            ucol_strcoll(holder.collator, reinterpret_cast<const UChar*>(x.data()),
                         static_cast<int32_t>(x.size()), reinterpret_cast<const UChar*>(y.data()),
                         static_cast<int32_t>(y.size()));
        if (r != UCOL_EQUAL) {
            return r == UCOL_LESS ? -1 : 1;
        }
    }
    return CompareFolded(a, b);
}

std::string ResolveCaseInsensitive(const std::string& dir, const std::string& name) {
    std::string joined;
    if (dir.empty()) {
        joined = name;
    } else {
        joined = dir;
        if (joined.back() != '/') {
            joined += '/';
        }
        joined += name;
    }
    struct stat st {};
    if (::lstat(joined.c_str(), &st) == 0) {
        return joined;
    }
    const auto slash = joined.rfind('/');
    const std::string parent =
        slash == std::string::npos ? "." : (slash == 0 ? "/" : joined.substr(0, slash));
    const std::string base = slash == std::string::npos ? joined : joined.substr(slash + 1);
    if (base.empty()) {
        return joined;
    }
    std::unique_ptr<DIR, int (*)(DIR*)> handle(::opendir(parent.c_str()), &::closedir);
    if (!handle) {
        return joined;
    }
    const std::string wanted = Utf8ToCp1252(base);
    std::vector<std::string> matches;
    while (const dirent* entry = ::readdir(handle.get())) {
        const std::string_view entryName(entry->d_name);
        if (SameText1252(Utf8ToCp1252(entryName), wanted)) {
            matches.emplace_back(entryName);
        }
    }
    if (matches.empty()) {
        return joined;
    }
    // Several spellings may exist side by side on Linux; take a predictable one.
    std::sort(matches.begin(), matches.end());
    return joined.substr(0, slash + 1) + matches.front();
}

} // namespace lv
