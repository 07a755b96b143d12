#include "exchange/NetscapeReader.h"

#include "exchange/HtmlText.h"
#include "platform/Unicode.h"

#include <unicode/ucnv.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>

namespace lv {
namespace {

// The characters of the Mac Roman bytes 80..FF hex.
constexpr std::array<char16_t, 128> kMacRomanHigh = {
    0x00C4, 0x00C5, 0x00C7, 0x00C9, 0x00D1, 0x00D6, 0x00DC, 0x00E1, 0x00E0, 0x00E2, 0x00E4, 0x00E3,
    0x00E5, 0x00E7, 0x00E9, 0x00E8, 0x00EA, 0x00EB, 0x00ED, 0x00EC, 0x00EE, 0x00EF, 0x00F1, 0x00F3,
    0x00F2, 0x00F4, 0x00F6, 0x00F5, 0x00FA, 0x00F9, 0x00FB, 0x00FC, 0x2020, 0x00B0, 0x00A2, 0x00A3,
    0x00A7, 0x2022, 0x00B6, 0x00DF, 0x00AE, 0x00A9, 0x2122, 0x00B4, 0x00A8, 0x2260, 0x00C6, 0x00D8,
    0x221E, 0x00B1, 0x2264, 0x2265, 0x00A5, 0x00B5, 0x2202, 0x2211, 0x220F, 0x03C0, 0x222B, 0x00AA,
    0x00BA, 0x03A9, 0x00E6, 0x00F8, 0x00BF, 0x00A1, 0x00AC, 0x221A, 0x0192, 0x2248, 0x2206, 0x00AB,
    0x00BB, 0x2026, 0x00A0, 0x00C0, 0x00C3, 0x00D5, 0x0152, 0x0153, 0x2013, 0x2014, 0x201C, 0x201D,
    0x2018, 0x2019, 0x00F7, 0x25CA, 0x00FF, 0x0178, 0x2044, 0x20AC, 0x2039, 0x203A, 0xFB01, 0xFB02,
    0x2021, 0x00B7, 0x201A, 0x201E, 0x2030, 0x00C2, 0x00CA, 0x00C1, 0x00CB, 0x00C8, 0x00CD, 0x00CE,
    0x00CF, 0x00CC, 0x00D3, 0x00D4, 0xF8FF, 0x00D2, 0x00DA, 0x00DB, 0x00D9, 0x0131, 0x02C6, 0x02DC,
    0x00AF, 0x02D8, 0x02D9, 0x02DA, 0x00B8, 0x02DD, 0x02DB, 0x02C7};

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

bool IsAlpha(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Case-insensitive search for an ASCII needle (given in lower case).
std::size_t FindNoCase(std::string_view text, std::string_view lowerNeedle, std::size_t from = 0) {
    if (lowerNeedle.empty() || text.size() < lowerNeedle.size()) {
        return std::string_view::npos;
    }
    for (std::size_t i = from; i + lowerNeedle.size() <= text.size(); ++i) {
        std::size_t k = 0;
        while (k < lowerNeedle.size() && AsciiLower(text[i + k]) == lowerNeedle[k]) {
            ++k;
        }
        if (k == lowerNeedle.size()) {
            return i;
        }
    }
    return std::string_view::npos;
}

std::string ByteTableToUtf8(std::string_view bytes, bool macRoman) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            out += c;
        } else {
            AppendUtf8(out, macRoman ? kMacRomanHigh[byte - 0x80] : Cp1252ToUnicode(byte));
        }
    }
    return out;
}

std::optional<std::string> IcuToUtf8(std::string_view bytes, const std::string& charset) {
    UErrorCode error = U_ZERO_ERROR;
    const auto length = static_cast<int32_t>(std::min<std::size_t>(bytes.size(), INT32_MAX / 4));
    const int32_t needed =
        ucnv_convert("UTF-8", charset.c_str(), nullptr, 0, bytes.data(), length, &error);
    if (error != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(error)) {
        return std::nullopt;
    }
    std::string out(static_cast<std::size_t>(needed), '\0');
    error = U_ZERO_ERROR;
    ucnv_convert("UTF-8", charset.c_str(), out.data(), needed, bytes.data(), length, &error);
    if (U_FAILURE(error) && error != U_STRING_NOT_TERMINATED_WARNING) {
        return std::nullopt;
    }
    return out;
}

bool OneOf(const std::string& name, std::initializer_list<const char*> names) {
    return std::any_of(names.begin(), names.end(), [&](const char* n) { return name == n; });
}

} // namespace

bool IsValidUtf8(std::string_view bytes) {
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const auto byte = static_cast<unsigned char>(bytes[pos]);
        if (byte < 0x80) {
            ++pos;
            continue;
        }
        const std::size_t start = pos;
        if (DecodeUtf8(bytes, pos) == 0xFFFD && bytes.substr(start, 3) != "\xEF\xBF\xBD") {
            return false;
        }
    }
    return true;
}

std::string DeclaredCharset(std::string_view bytes) {
    std::size_t headEnd = FindNoCase(bytes, "<dl");
    std::string_view head =
        bytes.substr(0, headEnd == std::string_view::npos ? bytes.size() : headEnd);
    std::size_t meta = 0;
    while ((meta = FindNoCase(head, "<meta", meta)) != std::string_view::npos) {
        const std::size_t close = head.find('>', meta);
        const std::string_view tag =
            head.substr(meta, close == std::string_view::npos ? head.size() - meta : close - meta);
        const std::size_t at = FindNoCase(tag, "charset");
        if (at != std::string_view::npos) {
            std::size_t i = at + 7;
            while (i < tag.size() &&
                   (IsSpace(tag[i]) || tag[i] == '=' || tag[i] == '"' || tag[i] == '\'')) {
                ++i;
            }
            std::string name;
            while (i < tag.size() &&
                   (IsAlpha(tag[i]) || (tag[i] >= '0' && tag[i] <= '9') || tag[i] == '-' ||
                    tag[i] == '_' || tag[i] == '.' || tag[i] == ':')) {
                name += AsciiLower(tag[i++]);
            }
            if (!name.empty()) {
                return name;
            }
        }
        meta += 5;
    }
    return {};
}

std::string HtmlBytesToUtf8(std::string_view bytes, std::string* encoding) {
    auto named = [&](const char* name) {
        if (encoding != nullptr) {
            *encoding = name;
        }
    };
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        named("UTF-8");
        bytes.remove_prefix(3);
        return IsValidUtf8(bytes) ? std::string(bytes) : ByteTableToUtf8(bytes, false);
    }
    for (const auto& [bom, charset] :
         {std::pair{"\xFF\xFE", "UTF-16LE"}, std::pair{"\xFE\xFF", "UTF-16BE"}}) {
        if (bytes.starts_with(bom)) {
            if (auto text = IcuToUtf8(bytes.substr(2), charset)) {
                named(charset);
                return *text;
            }
        }
    }
    const std::string declared = DeclaredCharset(bytes);
    if (OneOf(declared,
              {"x-mac-roman", "macintosh", "mac", "macroman", "x-macroman", "csmacintosh"})) {
        named("Mac Roman");
        return ByteTableToUtf8(bytes, true);
    }
    if (OneOf(declared, {"windows-1252", "cp1252", "iso-8859-1", "iso8859-1", "latin1", "us-ascii",
                         "ascii", "x-user-defined"})) {
        named("Windows-1252");
        return ByteTableToUtf8(bytes, false);
    }
    if (!declared.empty() && !OneOf(declared, {"utf-8", "utf8"})) {
        if (auto text = IcuToUtf8(bytes, declared)) {
            if (encoding != nullptr) {
                *encoding = declared;
            }
            return *text;
        }
    }
    if (IsValidUtf8(bytes)) {
        named("UTF-8");
        return std::string(bytes);
    }
    named("Windows-1252");
    return ByteTableToUtf8(bytes, false);
}

long long NetscapeBookmarks::LinkCount() const {
    long long count = static_cast<long long>(loose.size());
    for (const NetscapeFolder& folder : folders) {
        count += static_cast<long long>(folder.links.size());
    }
    return count;
}

namespace {

// Runs of blanks and control characters become one space; none at the ends.
std::string CleanText(std::string_view raw) {
    const std::string decoded = DecodeHtmlEntities(raw);
    std::string out;
    out.reserve(decoded.size());
    bool blank = false;
    for (const char c : decoded) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            blank = true;
        } else if (c == ' ') {
            blank = true;
        } else {
            if (blank && !out.empty()) {
                out += ' ';
            }
            blank = false;
            out += c;
        }
    }
    return out;
}

// Addresses stay ASCII: bytes outside it and control characters are percent-encoded.
std::string CleanUrl(std::string_view raw) {
    const std::string decoded = DecodeHtmlEntities(raw);
    std::string_view url = decoded;
    while (!url.empty() && static_cast<unsigned char>(url.front()) <= 0x20) {
        url.remove_prefix(1);
    }
    while (!url.empty() && static_cast<unsigned char>(url.back()) <= 0x20) {
        url.remove_suffix(1);
    }
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(url.size());
    for (const char c : url) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte >= 0x7F) {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 15];
        } else {
            out += c;
        }
    }
    return out;
}

// Why an address is not taken, or nullptr.
const char* Refusal(std::string_view url) {
    std::string scheme;
    for (const char c : url.substr(0, 16)) {
        if (c == ':') {
            break;
        }
        scheme += AsciiLower(c);
    }
    if (url.empty()) {
        return "no address";
    }
    if (scheme == "javascript") {
        return "javascript: address (a script for the page open in the browser)";
    }
    if (scheme == "place") {
        return "place: address (a query of the browser's own history)";
    }
    return nullptr;
}

struct Tag {
    std::string name; // upper case, "/" first for an end tag
    std::string href;
    bool hasHref = false;
};

class Reader {
public:
    Reader(std::string_view text, NetscapeBookmarks& out, const ReadProgress& progress)
        : text_(text), out_(out), progress_(progress) {}

    void Run() {
        std::size_t nextReport = kReportEvery;
        while (pos_ < text_.size()) {
            if (progress_ && pos_ >= nextReport) {
                progress_(pos_, text_.size());
                nextReport = pos_ + kReportEvery;
            }
            const std::size_t lt = text_.find('<', pos_);
            if (lt == std::string_view::npos) {
                AddText(text_.substr(pos_));
                break;
            }
            AddText(text_.substr(pos_, lt - pos_));
            pos_ = lt;
            if (text_.substr(pos_, 4) == "<!--") {
                const std::size_t end = text_.find("-->", pos_ + 4);
                pos_ = end == std::string_view::npos ? text_.size() : end + 3;
                continue;
            }
            const char next = pos_ + 1 < text_.size() ? text_[pos_ + 1] : '\0';
            if (next == '!' || next == '?') {
                const std::size_t end = text_.find('>', pos_);
                pos_ = end == std::string_view::npos ? text_.size() : end + 1;
                continue;
            }
            const bool endTag = next == '/';
            const std::size_t nameStart = pos_ + (endTag ? 2 : 1);
            if (nameStart >= text_.size() || !IsAlpha(text_[nameStart])) {
                AddText("<");
                ++pos_;
                continue;
            }
            Handle(ReadTag(nameStart, endTag));
        }
        EndCollecting();
        if (progress_) {
            progress_(text_.size(), text_.size());
        }
    }

private:
    static constexpr std::size_t kReportEvery = 256 * 1024;
    enum class Collect { None, Heading, Folder, Link };

    Tag ReadTag(std::size_t nameStart, bool endTag) {
        Tag tag;
        if (endTag) {
            tag.name = "/";
        }
        std::size_t i = nameStart;
        while (i < text_.size() && (IsAlpha(text_[i]) || (text_[i] >= '0' && text_[i] <= '9'))) {
            tag.name += static_cast<char>(text_[i] >= 'a' ? text_[i] - 'a' + 'A' : text_[i]);
            ++i;
        }
        const bool wantHref = tag.name == "A";
        while (i < text_.size()) {
            while (i < text_.size() && (IsSpace(text_[i]) || text_[i] == '/')) {
                ++i;
            }
            if (i >= text_.size()) {
                break;
            }
            if (text_[i] == '>') {
                ++i;
                break;
            }
            const std::size_t attrStart = i;
            while (i < text_.size() && !IsSpace(text_[i]) && text_[i] != '=' && text_[i] != '>') {
                ++i;
            }
            const std::string_view attr = text_.substr(attrStart, i - attrStart);
            while (i < text_.size() && IsSpace(text_[i])) {
                ++i;
            }
            if (i >= text_.size() || text_[i] != '=') {
                continue; // a bare word such as FOLDED
            }
            ++i;
            while (i < text_.size() && IsSpace(text_[i])) {
                ++i;
            }
            std::string_view value;
            if (i < text_.size() && (text_[i] == '"' || text_[i] == '\'')) {
                const char quote = text_[i++];
                std::size_t close = text_.find(quote, i);
                // A quote left open must not swallow the lines after it: when a line ends
                // before the closing quote and the tag's ">" comes first, the value ends there.
                const std::size_t newline = text_.find('\n', i);
                if (newline < close) {
                    const std::size_t gt = text_.find('>', i);
                    if (gt < newline) {
                        close = gt;
                    }
                }
                if (close == std::string_view::npos) {
                    close = text_.size();
                }
                value = text_.substr(i, close - i);
                i = close;
                if (i < text_.size() && text_[i] == quote) {
                    ++i;
                }
            } else {
                const std::size_t valueStart = i;
                while (i < text_.size() && !IsSpace(text_[i]) && text_[i] != '>') {
                    ++i;
                }
                value = text_.substr(valueStart, i - valueStart);
            }
            if (wantHref && !tag.hasHref && attr.size() == 4 && FindNoCase(attr, "href") == 0) {
                tag.href = std::string(value);
                tag.hasHref = true;
            }
        }
        pos_ = i;
        return tag;
    }

    void AddText(std::string_view text) {
        if (collect_ != Collect::None && !text.empty()) {
            // A title that never ends must not grow without bound.
            if (collected_.size() < kMaxText) {
                collected_.append(text.substr(0, kMaxText - collected_.size()));
            }
        }
    }

    static bool EndsText(const std::string& name) {
        static constexpr std::array<const char*, 10> kStructure = {"DT", "DD", "DL", "/DL", "H3",
                                                                   "A",  "HR", "H1", "/H1", "/H3"};
        return std::any_of(kStructure.begin(), kStructure.end(),
                           [&](const char* s) { return name == s; });
    }

    void Handle(const Tag& tag) {
        if (collect_ != Collect::None) {
            if ((collect_ == Collect::Link && tag.name == "/A") || EndsText(tag.name)) {
                EndCollecting();
            }
            if (tag.name == "/A" || tag.name == "/H3" || tag.name == "/H1") {
                return;
            }
        }
        if (tag.name == "A") {
            collect_ = Collect::Link;
            collected_.clear();
            href_ = tag.href;
            pending_.reset();
        } else if (tag.name == "H3") {
            collect_ = Collect::Folder;
            collected_.clear();
        } else if (tag.name == "H1" && !headingSeen_) {
            collect_ = Collect::Heading;
            collected_.clear();
        } else if (tag.name == "DL") {
            stack_.push_back(pending_ ? *pending_ : Current());
            pending_.reset();
        } else if (tag.name == "/DL") {
            if (!stack_.empty()) {
                stack_.pop_back();
            }
        }
    }

    // -1 stands for the links outside every folder.
    long Current() const { return stack_.empty() ? -1 : stack_.back(); }

    void EndCollecting() {
        const Collect what = collect_;
        collect_ = Collect::None;
        if (what == Collect::Heading) {
            headingSeen_ = true;
            out_.heading = CleanText(collected_);
        } else if (what == Collect::Folder) {
            std::string name = CleanText(collected_);
            auto [it, added] =
                folderIndex_.try_emplace(name, static_cast<long>(out_.folders.size()));
            if (added) {
                out_.folders.push_back({std::move(name), {}});
            }
            pending_ = it->second;
        } else if (what == Collect::Link) {
            std::string url = CleanUrl(href_);
            if (const char* why = Refusal(url)) {
                ++out_.notTaken[why];
                return;
            }
            std::string title = CleanText(collected_);
            if (title.empty()) {
                title = url;
            }
            const long folder = Current();
            auto& links =
                folder < 0 ? out_.loose : out_.folders[static_cast<std::size_t>(folder)].links;
            links.push_back({std::move(title), std::move(url)});
        }
    }

    static constexpr std::size_t kMaxText = 4096;

    std::string_view text_;
    NetscapeBookmarks& out_;
    const ReadProgress& progress_;
    std::size_t pos_ = 0;
    Collect collect_ = Collect::None;
    std::string collected_;
    std::string href_;
    bool headingSeen_ = false;
    std::vector<long> stack_;
    std::optional<long> pending_;
    std::map<std::string, long, std::less<>> folderIndex_;
};

} // namespace

NetscapeBookmarks ReadNetscape(std::string_view bytes, const ReadProgress& progress) {
    NetscapeBookmarks out;
    const std::string text = HtmlBytesToUtf8(bytes, &out.encoding);
    Reader(text, out, progress).Run();
    return out;
}

} // namespace lv
