#include "tools/BookmarkIndex.h"

#include "store/DataFile.h"
#include "store/Text.h"

#include <unicode/ucol.h>

#include <algorithm>
#include <numeric>
#include <unordered_map>
#include <unordered_set>

namespace lv {
namespace {

// Windows-1252 bytes to UTF-16 code units: a table, so keys cost no conversion per character.
struct Utf16Table {
    UChar unit[256];
    Utf16Table() {
        for (int b = 0; b < 256; ++b) {
            const char byte = static_cast<char>(b);
            const std::string one = Cp1252ToUtf8(std::string_view(&byte, 1));
            std::size_t at = 0;
            unit[b] = static_cast<UChar>(DecodeUtf8(one, at));
        }
    }
};

// One collator for the index sort: tertiary strength, so letter case orders (lower case first)
// but never makes two different texts equal on its own; ties are broken by the bytes.
class SortKeys {
public:
    SortKeys() {
        UErrorCode status = U_ZERO_ERROR;
        collator_ = ucol_open("", &status);
        if (U_FAILURE(status)) {
            collator_ = nullptr;
            return;
        }
        ucol_setStrength(collator_, UCOL_TERTIARY);
    }
    ~SortKeys() {
        if (collator_ != nullptr) {
            ucol_close(collator_);
        }
    }
    SortKeys(const SortKeys&) = delete;
    SortKeys& operator=(const SortKeys&) = delete;

    // The collation key of stored text; the folded bytes when ICU is unavailable.
    std::string Key(std::string_view bytes) {
        if (collator_ == nullptr) {
            return LowerCase1252(bytes);
        }
        utf16_.resize(bytes.size());
        static const Utf16Table table;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            utf16_[i] = table.unit[static_cast<unsigned char>(bytes[i])];
        }
        std::string key(bytes.size() * 3 + 16, '\0');
        for (;;) {
            const int32_t need = ucol_getSortKey(
                collator_, utf16_.data(), static_cast<int32_t>(utf16_.size()),
                reinterpret_cast<uint8_t*>(key.data()), static_cast<int32_t>(key.size()));
            if (need <= static_cast<int32_t>(key.size())) {
                key.resize(need > 0 ? static_cast<std::size_t>(need - 1) : 0); // without the NUL
                return key;
            }
            key.resize(static_cast<std::size_t>(need));
        }
    }

private:
    UCollator* collator_ = nullptr;
    std::vector<UChar> utf16_;
};

bool StartsWithAt(std::string_view text, std::size_t at, std::string_view part) {
    return text.size() >= at + part.size() && text.substr(at, part.size()) == part;
}

std::string NormaliseOne(std::string_view url) {
    const std::size_t schemeEnd = url.find("://");
    if (schemeEnd == std::string_view::npos || schemeEnd == 0) {
        return std::string(url);
    }
    std::string scheme = LowerAscii(url.substr(0, schemeEnd));
    if (scheme.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789+-.") != std::string::npos) {
        return std::string(url);
    }
    std::string_view rest = url.substr(schemeEnd + 3);
    if (const std::size_t hash = rest.find('#'); hash != std::string_view::npos) {
        rest = rest.substr(0, hash);
    }
    const std::size_t hostEnd = std::min(rest.find_first_of("/?"), rest.size());
    std::string_view authority = rest.substr(0, hostEnd);
    std::string_view tail = rest.substr(hostEnd);
    // User information keeps its case; only the host does not matter.
    std::string user;
    if (const std::size_t at = authority.rfind('@'); at != std::string_view::npos) {
        user = std::string(authority.substr(0, at + 1));
        authority = authority.substr(at + 1);
    }
    std::string host = LowerAscii(authority);
    const std::size_t colon = host.rfind(':');
    if (colon != std::string::npos && host.find(']', colon) == std::string::npos) {
        const std::string port = host.substr(colon + 1);
        const bool defaultPort = port.empty() || (scheme == "http" && port == "80") ||
                                 (scheme == "https" && port == "443") ||
                                 (scheme == "ftp" && port == "21");
        if (defaultPort) {
            host.erase(colon);
        }
    }
    if (StartsWithAt(host, 0, "www.")) {
        host.erase(0, 4);
    }
    std::string path(tail);
    // "http://a.com/" and "http://a.com", "a.com/x/" and "a.com/x" are the same page; a query
    // keeps its slashes.
    if (path.find('?') == std::string::npos) {
        while (!path.empty() && path.back() == '/') {
            path.pop_back();
        }
    }
    return scheme + "://" + user + host + path;
}

} // namespace

std::string SlotNumberText(int slot) {
    return slot < 10 ? "0" + std::to_string(slot) : std::to_string(slot);
}

std::string NotesAsText(std::string_view stored) {
    std::string out;
    out.reserve(stored.size());
    for (const char c : stored) {
        if (c == '|') {
            out += ' ';
        } else if (c != '~') {
            out += c;
        }
    }
    return out;
}

std::string LowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

std::shared_ptr<const BookmarkIndex> BuildBookmarkIndex(const TIniFile32& ini, int columnCount) {
    const int slots = datafile::kRowCount * std::clamp(columnCount, 1, 4);
    BookmarkIndex rows;
    // Two tabs naming one section (the same name, or one differing only in case) would list
    // each of its bookmarks twice, as its own duplicate; erasing "all but the last" would then
    // erase the bookmark itself.
    std::unordered_set<std::string> seen;
    for (const std::string& page : ReadTabs(ini)) {
        if (!seen.insert(LowerCase1252(page)).second) {
            continue;
        }
        for (int slot = 1; slot <= slots; ++slot) {
            const std::string prefix = SlotNumberText(slot);
            std::string url = ini.ReadString(page, prefix + "U", "");
            if (url.empty()) {
                continue;
            }
            IndexRow row;
            row.title = ini.ReadString(page, prefix + "N", "");
            row.notes = NotesAsText(ini.ReadString(page, prefix + "P", ""));
            row.page = page;
            row.btn = prefix;
            row.slot = slot;
            row.storedUrl = std::move(url);
            row.url =
                row.Protected() ? std::string(datafile::kPasswordProtectedHint) : row.storedUrl;
            row.lowUrl = LowerAscii(row.url);
            row.lowTitle = LowerAscii(row.title);
            row.lowNotes = LowerAscii(row.notes);
            rows.push_back(std::move(row));
        }
    }

    // Keys once per distinct URL: duplicates and protected rows share theirs.
    SortKeys collator;
    std::unordered_map<std::string_view, std::uint32_t> keyOf;
    std::vector<std::string> keys;
    std::vector<std::uint32_t> keyIndex(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto [hit, added] =
            keyOf.try_emplace(rows[i].url, static_cast<std::uint32_t>(keys.size()));
        if (added) {
            keys.push_back(collator.Key(rows[i].url));
        }
        keyIndex[i] = hit->second;
    }
    std::vector<std::uint32_t> order(rows.size());
    std::iota(order.begin(), order.end(), 0U);
    std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        if (keyIndex[a] == keyIndex[b]) {
            return false;
        }
        const int c = keys[keyIndex[a]].compare(keys[keyIndex[b]]);
        return c != 0 ? c < 0 : rows[a].url < rows[b].url;
    });
    auto sorted = std::make_shared<BookmarkIndex>();
    sorted->reserve(rows.size());
    for (const std::uint32_t i : order) {
        sorted->push_back(std::move(rows[i]));
    }
    return sorted;
}

std::vector<ResultRow> SearchIndex(const BookmarkIndex& index, std::string_view text,
                                   SearchField field, bool caseSensitive) {
    std::vector<ResultRow> found;
    if (text.empty()) {
        return found;
    }
    const std::string lowered = caseSensitive ? std::string(text) : LowerAscii(text);
    const std::string_view wanted(lowered);
    const auto has = [&](const std::string& exact, const std::string& low) {
        return (caseSensitive ? exact : low).find(wanted) != std::string::npos;
    };
    for (std::size_t i = 0; i < index.size(); ++i) {
        const IndexRow& row = index[i];
        bool hit = false;
        switch (field) {
        case SearchField::Url:
            hit = has(row.url, row.lowUrl);
            break;
        case SearchField::Title:
            hit = has(row.title, row.lowTitle);
            break;
        case SearchField::Notes:
            hit = has(row.notes, row.lowNotes);
            break;
        case SearchField::All:
            hit = has(row.title, row.lowTitle) || has(row.url, row.lowUrl) ||
                  has(row.notes, row.lowNotes);
            break;
        }
        if (hit) {
            found.push_back({static_cast<std::int32_t>(i), -1});
        }
    }
    return found;
}

std::vector<ResultRow> ListDuplicates(const BookmarkIndex& index, bool normalise) {
    std::vector<ResultRow> out;
    if (!normalise) {
        // The index keeps equal texts side by side.
        std::size_t i = 0;
        std::int32_t group = 0;
        while (i < index.size()) {
            std::size_t end = i + 1;
            while (end < index.size() && index[end].url == index[i].url) {
                ++end;
            }
            if (end - i >= 2 && !index[i].Protected()) {
                for (std::size_t k = i; k < end; ++k) {
                    out.push_back({static_cast<std::int32_t>(k), group});
                }
                out.push_back({-1, -1});
                ++group;
            }
            i = end;
        }
        return out;
    }
    // Normalised addresses need not sit side by side: groups are gathered, then listed in the
    // order of their first row.
    std::unordered_map<std::string, std::vector<std::int32_t>> groups;
    std::vector<const std::vector<std::int32_t>*> firstSeen;
    for (std::size_t i = 0; i < index.size(); ++i) {
        if (index[i].Protected()) {
            continue;
        }
        auto [hit, added] = groups.try_emplace(NormalisedAddress(index[i].url));
        hit->second.push_back(static_cast<std::int32_t>(i));
        if (added) {
            firstSeen.push_back(&hit->second);
        }
    }
    std::int32_t group = 0;
    for (const auto* members : firstSeen) {
        if (members->size() < 2) {
            continue;
        }
        for (const std::int32_t row : *members) {
            out.push_back({row, group});
        }
        out.push_back({-1, -1});
        ++group;
    }
    return out;
}

std::string NormalisedAddress(std::string_view url) {
    if (url.find(";;") == std::string_view::npos) {
        return NormaliseOne(url);
    }
    std::string out;
    std::size_t start = 0;
    for (;;) {
        const std::size_t mark = url.find(";;", start);
        out += NormaliseOne(
            url.substr(start, mark == std::string_view::npos ? url.npos : mark - start));
        if (mark == std::string_view::npos) {
            return out;
        }
        out += ";;";
        start = mark + 2;
    }
}

} // namespace lv
