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

// The index order: the Unicode collation of each Windows-1252 character in three levels (base
// letter, accent, case with lower case first), one weight per character and level; equal keys
// are ordered by their bytes. The weights are ranks of the 256 characters under ICU's root
// collation, worked out once, so a key costs a table lookup per character.
struct CollationRanks {
    std::uint16_t level[3][256] = {};
    bool wide = false;
    CollationRanks() {
        UErrorCode status = U_ZERO_ERROR;
        UCollator* collator = ucol_open("", &status);
        Utf16Table table;
        std::vector<int> bytes(256);
        std::iota(bytes.begin(), bytes.end(), 0);
        const UCollationStrength strengths[3] = {UCOL_PRIMARY, UCOL_SECONDARY, UCOL_TERTIARY};
        for (int l = 0; l < 3; ++l) {
            if (U_FAILURE(status)) {
                // Without ICU: folded bytes, then accents by byte, then case.
                for (int b = 0; b < 256; ++b) {
                    const auto byte = static_cast<unsigned char>(b);
                    level[l][b] =
                        static_cast<std::uint16_t>(1 + (l == 0   ? LowerCase1252(byte)
                                                        : l == 1 ? b
                                                                 : (LowerCase1252(byte) != byte)));
                }
                continue;
            }
            ucol_setStrength(collator, strengths[l]);
            const auto order = [&](int x, int y) {
                return ucol_strcoll(collator, &table.unit[x], 1, &table.unit[y], 1);
            };
            std::stable_sort(bytes.begin(), bytes.end(),
                             [&](int x, int y) { return order(x, y) == UCOL_LESS; });
            std::uint16_t rank = 1;
            static const UChar nothing = 0;
            for (std::size_t i = 0; i < bytes.size(); ++i) {
                if (i > 0 && order(bytes[i - 1], bytes[i]) != UCOL_EQUAL) {
                    ++rank;
                }
                // Characters the collation ignores (controls) weigh nothing on the first level.
                const bool ignorable = l == 0 && ucol_strcoll(collator, &table.unit[bytes[i]], 1,
                                                              &nothing, 0) == UCOL_EQUAL;
                level[l][bytes[i]] = ignorable ? 0 : rank;
            }
        }
        if (collator != nullptr) {
            ucol_close(collator);
        }
        for (const auto& weights : level) {
            wide = wide || *std::max_element(std::begin(weights), std::end(weights)) > 0xFF;
        }
    }

    // Bytes, so that keys compare with memcmp: one byte a weight while every rank fits in
    // one, two (high byte first) otherwise.
    std::string Key(std::string_view text) const {
        std::string key;
        key.reserve(text.size() * 3 + 2);
        for (int l = 0; l < 3; ++l) {
            if (l > 0) {
                key.append(wide ? 2 : 1, '\0');
            }
            for (const char c : text) {
                if (const std::uint16_t weight = level[l][static_cast<unsigned char>(c)]) {
                    if (wide) {
                        key += static_cast<char>(weight >> 8);
                    }
                    key += static_cast<char>(weight & 0xFF);
                }
            }
        }
        return key;
    }
};

void AppendLowered(std::string& out, std::string_view text) {
    for (const char c : text) {
        out += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
}

std::string NormaliseOne(std::string_view url) {
    const std::size_t schemeEnd = url.find("://");
    if (schemeEnd == std::string_view::npos || schemeEnd == 0 ||
        url.substr(0, schemeEnd)
                .find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTU"
                                   "VWXYZ0123456789+-.") != std::string_view::npos) {
        return std::string(url);
    }
    std::string out;
    out.reserve(url.size());
    AppendLowered(out, url.substr(0, schemeEnd + 3));
    const std::string scheme = out.substr(0, schemeEnd); // short: no allocation
    std::string_view rest = url.substr(schemeEnd + 3);
    if (const std::size_t hash = rest.find('#'); hash != std::string_view::npos) {
        rest = rest.substr(0, hash);
    }
    const std::size_t hostEnd = std::min(rest.find_first_of("/?"), rest.size());
    std::string_view host = rest.substr(0, hostEnd);
    std::string_view path = rest.substr(hostEnd);
    // User information keeps its case; only the host does not matter.
    if (const std::size_t at = host.rfind('@'); at != std::string_view::npos) {
        out += host.substr(0, at + 1);
        host = host.substr(at + 1);
    }
    const std::size_t colon = host.rfind(':');
    if (colon != std::string_view::npos && host.find(']', colon) == std::string_view::npos) {
        const std::string_view port = host.substr(colon + 1);
        if (port.empty() || (scheme == "http" && port == "80") ||
            (scheme == "https" && port == "443") || (scheme == "ftp" && port == "21")) {
            host = host.substr(0, colon);
        }
    }
    if (host.size() >= 4 && (host[0] | 0x20) == 'w' && (host[1] | 0x20) == 'w' &&
        (host[2] | 0x20) == 'w' && host[3] == '.') {
        host.remove_prefix(4);
    }
    AppendLowered(out, host);
    // "http://a.com/" and "http://a.com", "a.com/x/" and "a.com/x" are the same page; a query
    // keeps its slashes.
    if (path.find('?') == std::string_view::npos) {
        while (!path.empty() && path.back() == '/') {
            path.remove_suffix(1);
        }
    }
    out += path;
    return out;
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

namespace {

// The title, URL and notes keys of one slot as the file holds them.
struct SlotLines {
    std::string_view field[3]; // N, U, P
    bool found[3] = {false, false, false};
};

// 1..slots for a key prefix written as keys write slot numbers ("01".."09", "10", ...); 0 else.
int SlotOfPrefix(std::string_view digits, int slots) {
    if (digits.size() < 2 || digits.size() > 3) {
        return 0;
    }
    int slot = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') {
            return 0;
        }
        slot = slot * 10 + (c - '0');
    }
    const bool written = slot < 10 ? digits.size() == 2 : digits.front() != '0';
    return written && slot >= 1 && slot <= slots ? slot : 0;
}

// Only an exact copy of a text is kept when lowering changes nothing.
std::string LowerIfChanged(const std::string& text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return c >= 'A' && c <= 'Z'; })
               ? LowerAscii(text)
               : std::string();
}

} // namespace

std::shared_ptr<const BookmarkIndex> BuildBookmarkIndex(const TIniFile32& ini, int columnCount) {
    const int slots = datafile::kRowCount * std::clamp(columnCount, 1, 4);
    // One pass over the lines gathers every slot's N, U and P with the engine's own rules: a
    // section is found by its first exact header line, ignoring case; within it the first line
    // of a key counts. Reading the 240,000 keys of a large file one by one took most of the
    // time a search needed.
    std::unordered_map<std::string, std::vector<SlotLines>> sections;
    std::vector<SlotLines>* current = nullptr;
    std::size_t targets = 0;
    for (std::size_t i = 0; i < ini.LineCount(); ++i) {
        const std::string_view line = ini.Line(i);
        if (TIniFile32::IsSection(line)) {
            current = nullptr;
            if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
                auto [at, added] =
                    sections.try_emplace(LowerCase1252(line.substr(1, line.size() - 2)));
                if (added) {
                    at->second.resize(static_cast<std::size_t>(slots) + 1);
                    current = &at->second;
                }
            }
            continue;
        }
        if (current == nullptr) {
            continue;
        }
        const std::string_view key = TIniFile32::ExtractKey(line);
        if (key.size() < 3) {
            continue;
        }
        const char letter = key.back();
        const int field = letter == 'N' ? 0 : letter == 'U' ? 1 : letter == 'P' ? 2 : -1;
        const int slot = field < 0 ? 0 : SlotOfPrefix(key.substr(0, key.size() - 1), slots);
        if (slot == 0) {
            continue;
        }
        SlotLines& lines = (*current)[static_cast<std::size_t>(slot)];
        if (!lines.found[field]) {
            lines.found[field] = true;
            lines.field[field] = TIniFile32::ExtractValue(line);
            targets += field == 1 && !lines.field[field].empty() ? 1 : 0;
        }
    }

    BookmarkIndex rows;
    rows.reserve(targets);
    // Two tabs naming one section (the same name, or one differing only in case) would list
    // each of its bookmarks twice, as its own duplicate; erasing "all but the last" would then
    // erase the bookmark itself.
    std::unordered_set<std::string> seen;
    for (const std::string& page : ReadTabs(ini)) {
        std::string name = LowerCase1252(page);
        const auto section = sections.find(name);
        if (!seen.insert(std::move(name)).second || section == sections.end()) {
            continue;
        }
        for (int slot = 1; slot <= slots; ++slot) {
            const SlotLines& lines = section->second[static_cast<std::size_t>(slot)];
            if (lines.field[1].empty()) {
                continue;
            }
            IndexRow& row = rows.emplace_back();
            row.title = std::string(lines.field[0]);
            row.notes = NotesAsText(lines.field[2]);
            row.page = page;
            row.btn = SlotNumberText(slot);
            row.slot = slot;
            if (lines.field[1].find(datafile::kProtectedMarker) == std::string_view::npos) {
                row.url = std::string(lines.field[1]);
            } else {
                row.url = std::string(datafile::kPasswordProtectedHint);
                row.protectedUrl = std::string(lines.field[1]);
            }
            row.lowUrl = LowerIfChanged(row.url);
            row.lowTitle = LowerIfChanged(row.title);
            row.lowNotes = LowerIfChanged(row.notes);
        }
    }

    static const CollationRanks ranks;
    std::vector<std::string> keys(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        keys[i] = ranks.Key(rows[i].url);
    }
    std::vector<std::uint32_t> order(rows.size());
    std::iota(order.begin(), order.end(), 0U);
    std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        const int c = keys[a].compare(keys[b]);
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
        return (caseSensitive || low.empty() ? exact : low).find(wanted) != std::string::npos;
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
    // Normalised addresses need not sit side by side: rows are ordered by their normalised
    // address (then by position), and the groups listed in the order of their first row.
    std::vector<std::string> normal(index.size());
    std::vector<std::int32_t> rows;
    rows.reserve(index.size());
    for (std::size_t i = 0; i < index.size(); ++i) {
        if (!index[i].Protected()) {
            normal[i] = NormalisedAddress(index[i].url);
            rows.push_back(static_cast<std::int32_t>(i));
        }
    }
    std::sort(rows.begin(), rows.end(), [&](std::int32_t a, std::int32_t b) {
        const int c =
            normal[static_cast<std::size_t>(a)].compare(normal[static_cast<std::size_t>(b)]);
        return c != 0 ? c < 0 : a < b;
    });
    struct Group {
        std::size_t begin;
        std::size_t end;
    };
    std::vector<Group> groups;
    for (std::size_t i = 0; i < rows.size();) {
        std::size_t end = i + 1;
        while (end < rows.size() && normal[static_cast<std::size_t>(rows[end])] ==
                                        normal[static_cast<std::size_t>(rows[i])]) {
            ++end;
        }
        if (end - i >= 2) {
            groups.push_back({i, end});
        }
        i = end;
    }
    std::sort(groups.begin(), groups.end(),
              [&](const Group& a, const Group& b) { return rows[a.begin] < rows[b.begin]; });
    std::int32_t group = 0;
    for (const Group& g : groups) {
        for (std::size_t k = g.begin; k < g.end; ++k) {
            out.push_back({rows[k], group});
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
