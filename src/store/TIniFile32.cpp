#include "store/TIniFile32.h"

#include "store/FileIo.h"
#include "store/Text.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace lv {
namespace {

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

// A line break inside a name or value would split the line on the next load and let text such
// as an imported title inject keys or whole sections; it is stored as a blank instead.
std::string_view OneLine(std::string_view text, std::string& storage) {
    if (text.find_first_of("\r\n") == std::string_view::npos) {
        return text;
    }
    storage.assign(text);
    for (char& c : storage) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    return storage;
}

} // namespace

TIniFile32::TIniFile32(std::string fileName) : fileName_(std::move(fileName)) {
    if (auto bytes = ReadFileBytes(fileName_)) {
        Load(std::move(*bytes));
    }
}

TIniFile32 TIniFile32::FromBytes(std::string fileName, std::string bytes) {
    TIniFile32 ini;
    ini.fileName_ = std::move(fileName);
    ini.Load(std::move(bytes));
    return ini;
}

TIniFile32::TIniFile32(TIniFile32&&) noexcept = default;
TIniFile32& TIniFile32::operator=(TIniFile32&&) noexcept = default;
TIniFile32::~TIniFile32() = default;

void TIniFile32::Load(std::string bytes) {
    // Lines end at CR LF, lone CR or lone LF. A NUL byte is an ordinary byte of its line: ending
    // the text there would silently drop everything after it on the next save.
    loaded_ = std::make_unique<const std::string>(std::move(bytes));
    const std::string& text = *loaded_;
    lines_.clear();
    owned_.clear();
    ForgetSections();
    // One allocation for the list; pages reserved but never touched cost nothing.
    std::size_t breaks = 0;
    for (const char c : text) {
        breaks += static_cast<std::size_t>(c == '\n' || c == '\r');
    }
    lines_.reserve(breaks + 1);
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    const char* start = begin;
    const char* p = begin;
    while (p != end) {
        const char c = *p;
        if (c == '\r' || c == '\n') {
            lines_.emplace_back(start, static_cast<std::size_t>(p - start));
            ++p;
            if (c == '\r' && p != end && *p == '\n') {
                ++p;
            }
            start = p;
        } else {
            ++p;
        }
    }
    if (start != end) {
        lines_.emplace_back(start, static_cast<std::size_t>(end - start));
    }
    modified_ = false;
}

std::string_view TIniFile32::OwnLine(std::string text) {
    owned_.push_back(std::make_unique<std::string>(std::move(text)));
    return *owned_.back();
}

void TIniFile32::ForgetSections() const {
    sections_.clear();
    indexed_ = false;
}

void TIniFile32::ReplaceLine(std::size_t index, std::string text) {
    if (IsSection(lines_[index]) || IsSection(text)) {
        ForgetSections();
    } else if (ExtractKey(lines_[index]) != ExtractKey(text)) {
        if (SectionEntry* entry = KeyedSectionOf(index)) {
            entry->keys.reset();
        }
    }
    lines_[index] = OwnLine(std::move(text));
}

void TIniFile32::InsertLine(std::size_t index, std::string text) {
    const bool header = IsSection(text);
    const std::string_view line = OwnLine(std::move(text));
    if (header) {
        // Pages are added at the end; only a header in between moves the ones after it.
        if (index != lines_.size()) {
            ForgetSections();
        } else if (indexed_ && line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            const auto [at, added] =
                sections_.try_emplace(LowerCase1252(line.substr(1, line.size() - 2)));
            if (added) {
                at->second.header = index;
            }
        }
    } else {
        for (auto& [name, entry] : sections_) {
            if (entry.header >= index) {
                ++entry.header;
            } else if (entry.keys && index <= entry.header + entry.keys->bodySize + 1) {
                KeyIndex& keys = *entry.keys;
                // A key added at the end of the body (the usual case) moves no other key.
                if (index == entry.header + keys.bodySize + 1) {
                    ++keys.bodySize;
                    const std::string_view key = ExtractKey(line);
                    if (!key.empty()) {
                        keys.first.try_emplace(key, index - entry.header);
                    }
                } else {
                    entry.keys.reset();
                }
            }
        }
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(index), line);
}

void TIniFile32::EraseLine(std::size_t index) {
    if (IsSection(lines_[index])) {
        ForgetSections();
    } else {
        for (auto& [name, entry] : sections_) {
            if (entry.header > index) {
                --entry.header;
            } else if (entry.keys && index <= entry.header + entry.keys->bodySize) {
                entry.keys.reset();
            }
        }
    }
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(index));
}

TIniFile32::SectionEntry* TIniFile32::KeyedSectionOf(std::size_t index) const {
    for (auto& [name, entry] : sections_) {
        if (entry.keys && entry.header < index &&
            index <= entry.header + entry.keys->bodySize + 1) {
            return &entry;
        }
    }
    return nullptr;
}

std::string_view TIniFile32::Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool TIniFile32::IsSection(std::string_view line) {
    const std::string_view trimmed = Trim(line);
    return trimmed.size() >= 2 && trimmed.front() == '[' && trimmed.back() == ']';
}

std::string_view TIniFile32::ExtractKey(std::string_view line) {
    const auto eq = line.find('=');
    if (eq == std::string_view::npos) {
        return {};
    }
    return Trim(line.substr(0, eq));
}

std::string_view TIniFile32::ExtractValue(std::string_view line) {
    const auto eq = line.find('=');
    if (eq == std::string_view::npos) {
        return {};
    }
    return Trim(line.substr(eq + 1));
}

TIniFile32::SectionEntry* TIniFile32::FindEntry(std::string_view section) const {
    if (!indexed_) {
        sections_.clear();
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            const std::string_view line = lines_[i];
            // Whole lines are compared: " [A]" ends a section but is never found as "A".
            if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
                const auto [at, added] =
                    sections_.try_emplace(LowerCase1252(line.substr(1, line.size() - 2)));
                if (added) {
                    at->second.header = i;
                }
            }
        }
        indexed_ = true;
    }
    probe_.resize(section.size());
    std::transform(section.begin(), section.end(), probe_.begin(), [](char c) {
        return static_cast<char>(LowerCase1252(static_cast<unsigned char>(c)));
    });
    const auto found = sections_.find(probe_);
    return found == sections_.end() ? nullptr : &found->second;
}

std::optional<std::size_t> TIniFile32::FindSection(std::string_view section) const {
    if (const SectionEntry* entry = FindEntry(section)) {
        return entry->header;
    }
    return std::nullopt;
}

const TIniFile32::KeyIndex& TIniFile32::Keys(SectionEntry& entry) const {
    if (!entry.keys) {
        auto keys = std::make_unique<KeyIndex>();
        std::size_t i = entry.header + 1;
        for (; i < lines_.size() && !IsSection(lines_[i]); ++i) {
            const std::string_view key = ExtractKey(lines_[i]);
            if (!key.empty()) {
                keys->first.try_emplace(key, i - entry.header);
            }
        }
        keys->bodySize = i - entry.header - 1;
        entry.keys = std::move(keys);
    }
    return *entry.keys;
}

std::size_t TIniFile32::WalkSection(SectionEntry& section, std::string_view key,
                                    bool& foundKey) const {
    const KeyIndex& keys = Keys(section);
    const auto found = keys.first.find(key);
    foundKey = found != keys.first.end();
    return section.header + (foundKey ? found->second : keys.bodySize + 1);
}

std::string TIniFile32::ReadString(std::string_view section, std::string_view key,
                                   std::string_view defaultValue) const {
    // The empty key would otherwise stop at the first blank line; it always reads as the default.
    if (key.empty() || lines_.empty()) {
        return std::string(defaultValue);
    }
    SectionEntry* const header = FindEntry(section);
    if (header == nullptr) {
        return std::string(defaultValue);
    }
    bool found = false;
    const std::size_t at = WalkSection(*header, key, found);
    if (found) {
        const std::string_view value = ExtractValue(lines_[at]);
        if (!value.empty()) {
            return std::string(value);
        }
    }
    return std::string(defaultValue);
}

std::int32_t TIniFile32::ReadInteger(std::string_view section, std::string_view key,
                                     std::int32_t defaultValue) const {
    std::string text = ReadString(section, key, "");
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.replace(0, 2, "$");
    }
    return ParseInteger(text).value_or(defaultValue);
}

void TIniFile32::WriteString(std::string_view section, std::string_view key,
                             std::string_view value) {
    std::string sectionStorage;
    std::string keyStorage;
    std::string valueStorage;
    section = OneLine(section, sectionStorage);
    key = OneLine(key, keyStorage);
    value = OneLine(value, valueStorage);
    std::string line;
    if (!key.empty()) {
        line.reserve(key.size() + 1 + value.size());
        line.append(key).append("=").append(value);
    }
    if (SectionEntry* const header = FindEntry(section)) {
        bool found = false;
        const std::size_t at = WalkSection(*header, key, found);
        if (!key.empty()) {
            if (found) {
                ReplaceLine(at, std::move(line));
            } else {
                InsertLine(at, std::move(line));
            }
        }
    } else {
        std::string headerLine;
        headerLine.reserve(section.size() + 2);
        headerLine.append("[").append(section).append("]");
        InsertLine(lines_.size(), std::string());
        InsertLine(lines_.size(), std::move(headerLine));
        if (!key.empty()) {
            InsertLine(lines_.size(), std::move(line));
        }
    }
    Changed();
}

void TIniFile32::WriteInteger(std::string_view section, std::string_view key, std::int32_t value) {
    WriteString(section, key, std::to_string(value));
}

void TIniFile32::DeleteKey(std::string_view section, std::string_view key) {
    // An empty key would match the first blank or malformed line and delete it.
    if (key.empty()) {
        return;
    }
    SectionEntry* const header = FindEntry(section);
    if (header == nullptr) {
        return;
    }
    bool found = false;
    const std::size_t at = WalkSection(*header, key, found);
    if (!found) {
        return;
    }
    EraseLine(at);
    Changed();
}

void TIniFile32::EraseSection(std::string_view section) {
    const auto header = FindSection(section);
    if (!header) {
        return;
    }
    const std::size_t at = *header;
    std::size_t end = at + 1;
    while (end < lines_.size() && !IsSection(lines_[end])) {
        ++end;
    }
    ForgetSections();
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(at),
                 lines_.begin() + static_cast<std::ptrdiff_t>(end));
    if (at != 0) {
        InsertLine(at, std::string());
    }
    Changed();
}

void TIniFile32::Changed() {
    modified_ = true;
    if (!deferSaves_) {
        UpdateFile();
    }
}

std::string TIniFile32::Bytes() const {
    std::size_t total = 0;
    for (const std::string_view line : lines_) {
        total += line.size() + 2;
    }
    std::string bytes;
    bytes.reserve(total);
    for (const std::string_view line : lines_) {
        bytes.append(line).append("\r\n");
    }
    return bytes;
}

void TIniFile32::UpdateFile() {
    // Straight from the lines, without a second copy of a large file in memory. Lines that still
    // sit next to each other in the loaded bytes, CR LF between them, go out as one piece, so
    // saving a barely changed 8 MB file costs a handful of pieces rather than one per line.
    // Every page switch saves the DataFile; when nothing changed, the save finds the bytes on
    // disk equal and writes nothing.
    std::size_t total = 0;
    for (const std::string_view line : lines_) {
        total += line.size() + 2;
    }
    WriteFileAtomic(fileName_, total, [this](const PieceSink& emit) {
        static constexpr std::string_view kCrLf = "\r\n";
        const char* const base = loaded_ ? loaded_->data() : nullptr;
        const std::size_t baseSize = loaded_ ? loaded_->size() : 0;
        // Offset of a line inside the loaded bytes, or npos for a line of its own.
        auto offsetOf = [base, baseSize](std::string_view line) {
            const auto p = reinterpret_cast<std::uintptr_t>(line.data());
            const auto b = reinterpret_cast<std::uintptr_t>(base);
            return base != nullptr && p >= b && p + line.size() <= b + baseSize
                       ? static_cast<std::size_t>(p - b)
                       : std::string_view::npos;
        };
        std::size_t i = 0;
        while (i < lines_.size()) {
            const char* runStart = lines_[i].data();
            std::size_t runSize = lines_[i].size();
            std::size_t runEnd = offsetOf(lines_[i]);
            if (runEnd != std::string_view::npos) {
                runEnd += runSize;
            }
            ++i;
            while (runEnd != std::string_view::npos && i < lines_.size() &&
                   offsetOf(lines_[i]) == runEnd + 2 && base[runEnd] == '\r' &&
                   base[runEnd + 1] == '\n') {
                runSize += 2 + lines_[i].size();
                runEnd += 2 + lines_[i].size();
                ++i;
            }
            if (!emit(std::string_view(runStart, runSize)) || !emit(kCrLf)) {
                return false;
            }
        }
        return true;
    });
    modified_ = false;
}

std::optional<std::int32_t> ParseInteger(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    if (text.front() == '$') {
        text.remove_prefix(1);
        if (text.empty()) {
            return std::nullopt;
        }
        std::uint64_t value = 0;
        for (const char c : text) {
            int digit = 0;
            if (c >= '0' && c <= '9') {
                digit = c - '0';
            } else if (c >= 'a' && c <= 'f') {
                digit = c - 'a' + 10;
            } else if (c >= 'A' && c <= 'F') {
                digit = c - 'A' + 10;
            } else {
                return std::nullopt;
            }
            value = value * 16 + static_cast<std::uint64_t>(digit);
            if (value > 0xFFFFFFFFu) {
                return std::nullopt;
            }
        }
        // Hexadecimal covers all 32 bits: $FFFFFFFF is -1.
        auto bits = static_cast<std::uint32_t>(value);
        if (negative) {
            bits = 0u - bits;
        }
        return static_cast<std::int32_t>(bits);
    }
    std::int64_t value = 0;
    const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
        if (value > limit) {
            return std::nullopt;
        }
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

} // namespace lv
