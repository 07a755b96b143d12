#include "store/DataFile.h"

#include "store/FileError.h"

#include <algorithm>

namespace lv {

using namespace datafile;

std::string SlotPrefix(int slot) {
    std::string prefix(2, '0');
    prefix[0] = static_cast<char>('0' + (slot / 10) % 10);
    prefix[1] = static_cast<char>('0' + slot % 10);
    return prefix;
}

std::string SlotKey(int slot, char letter) {
    return SlotPrefix(slot) + letter;
}

std::string ButtonName(int slot) {
    std::string name(3, 'B');
    name[1] = static_cast<char>('0' + (slot / 10) % 10);
    name[2] = static_cast<char>('0' + slot % 10);
    return name;
}

int SlotFromPrefix(std::string_view text) {
    if (text.size() == 3 && text.front() == 'B') {
        text.remove_prefix(1);
    }
    if (text.size() != 2 || text[0] < '0' || text[0] > '9' || text[1] < '0' || text[1] > '9') {
        return 0;
    }
    const int slot = (text[0] - '0') * 10 + (text[1] - '0');
    return slot >= 1 && slot <= kSlotCount ? slot : 0;
}

std::string& Bookmark::Field(char letter) {
    return const_cast<std::string&>(static_cast<const Bookmark&>(*this).Field(letter));
}

const std::string& Bookmark::Field(char letter) const {
    switch (letter) {
    case 'N':
        return title;
    case 'U':
        return target;
    case 'C':
        return colour;
    case 'D':
        return modified;
    case 'P':
        return notes;
    case 'S':
        return extra;
    case 'L':
        return local;
    case 'G':
        return glyph;
    case 'I':
        return icon;
    default:
        throw std::invalid_argument(std::string("no bookmark field ") + letter);
    }
}

std::vector<std::string> Bookmark::ToBoxLines() const {
    std::vector<std::string> lines;
    lines.reserve(kFieldLetters.size());
    for (const char letter : kFieldLetters) {
        lines.push_back(Field(letter));
    }
    return lines;
}

Bookmark Bookmark::FromBoxLines(const std::vector<std::string>& lines) {
    Bookmark bookmark;
    for (std::size_t i = 0; i < kFieldLetters.size() && i < lines.size(); ++i) {
        bookmark.Field(kFieldLetters[i]) = lines[i];
    }
    return bookmark;
}

Bookmark ReadBookmark(const TIniFile32& ini, std::string_view page, int slot) {
    Bookmark bookmark;
    for (const char letter : kFieldLetters) {
        bookmark.Field(letter) = ini.ReadString(page, SlotKey(slot, letter), "");
    }
    return bookmark;
}

Bookmark StoreButton(const std::string& dataFile, std::string_view page, std::string_view prefix) {
    const TIniFile32 ini(dataFile);
    Bookmark bookmark;
    for (const char letter : kFieldLetters) {
        bookmark.Field(letter) = ini.ReadString(page, std::string(prefix) + letter, "");
    }
    return bookmark;
}

void WriteBookmark(TIniFile32& ini, std::string_view page, int slot, const Bookmark& bookmark) {
    for (const char letter : kFieldLetters) {
        const std::string& value = bookmark.Field(letter);
        if (letter == 'N' || letter == 'U' || !value.empty()) {
            ini.WriteString(page, SlotKey(slot, letter), value);
        }
    }
}

void MoveButtons(TIniFile32& ini, std::string_view sourcePage, std::string_view targetPage,
                 std::string_view targetPrefix, std::string_view sourcePrefix) {
    for (const char letter : kMoveOrder) {
        const std::string value =
            ini.ReadString(sourcePage, std::string(sourcePrefix) + letter, "");
        if (!value.empty()) {
            ini.WriteString(targetPage, std::string(targetPrefix) + letter, value);
        }
    }
}

Bookmark EraseBookmark(TIniFile32& ini, std::string_view page, int slot) {
    Bookmark erased;
    erased.title = ini.ReadString(page, SlotKey(slot, 'N'), "");
    erased.target = ini.ReadString(page, SlotKey(slot, 'U'), "");
    erased.icon = ini.ReadString(page, SlotKey(slot, 'I'), "");
    for (const char letter : kFieldLetters) {
        ini.DeleteKey(page, SlotKey(slot, letter));
    }
    return erased;
}

std::vector<std::string> ReadTabs(const TIniFile32& ini) {
    // A damaged Count must not make us build millions of tabs; the first tab always exists.
    constexpr std::int32_t kMaxPages = 65536;
    const std::int32_t count =
        std::clamp(ini.ReadInteger(kTabs, kCount, kDefaultPageCount), std::int32_t{1}, kMaxPages);
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(count));
    for (std::int32_t i = 1; i <= count; ++i) {
        const std::string number = std::to_string(i);
        names.push_back(ini.ReadString(kTabs, "Tab" + number, "Page" + number));
    }
    return names;
}

void SaveTabs(TIniFile32& ini, const std::vector<std::string>& names) {
    for (std::size_t i = 0; i < names.size(); ++i) {
        ini.WriteString(kTabs, "Tab" + std::to_string(i + 1), names[i]);
    }
    ini.WriteInteger(kTabs, kCount, static_cast<std::int32_t>(names.size()));
}

void WriteNewDataFile(TIniFile32& ini) {
    ini.WriteInteger(kTabs, kCount, kDefaultPageCount);
    for (int i = 1; i <= kDefaultPageCount; ++i) {
        ini.WriteString(kTabs, "Tab" + std::to_string(i), "Page" + std::to_string(i));
    }
}

std::string ReadFileProtection(const TIniFile32& ini) {
    return ini.ReadString(kTabs, kFilePasswordKey, "") + ini.ReadString(kProgram, kVersion, "");
}

bool ReadTrackRecent(const TIniFile32& ini) {
    return ini.ReadString(kMrux, kTrack, "On") != "Off";
}

int ReadDefaultIconG(TIniFile32& ini) {
    const std::string text = ini.ReadString(kDefault, kIconG, std::to_string(kDefaultIconG));
    if (text.starts_with("Image")) {
        const GlyphValue value = ParseGlyphValue(text);
        ini.WriteInteger(kDefault, kIconG, value.value);
        return value.value;
    }
    return ParseInteger(text).value_or(kDefaultIconG);
}

GlyphValue ParseGlyphValue(std::string_view g) {
    auto number = [](std::string_view digits) {
        const auto value = ParseInteger(digits);
        if (!value) {
            throw InvalidIntegerError(std::string(digits));
        }
        return *value;
    };
    if (g.starts_with("Icon")) {
        std::int32_t value = number(g.substr(4, 3));
        if (value < 500) {
            value += 500;
        }
        return GlyphValue{value, true};
    }
    if (g.starts_with("Image")) {
        return GlyphValue{number(g.substr(5, 3)), true};
    }
    if (g.empty()) {
        return GlyphValue{};
    }
    return GlyphValue{number(g), false};
}

std::string DecodeNotes(std::string_view stored) {
    std::string text(stored);
    std::replace(text.begin(), text.end(), '|', '\r');
    std::replace(text.begin(), text.end(), '~', '\n');
    return text;
}

std::string EncodeNotes(std::string_view text) {
    std::string stored(text);
    std::replace(stored.begin(), stored.end(), '\r', '|');
    std::replace(stored.begin(), stored.end(), '\n', '~');
    return stored;
}

std::string WrapNotesForDisplay(std::string_view notes) {
    std::string wrapped(notes);
    int column = 1;
    for (char& c : wrapped) {
        if (c == '\r') {
            column = 1;
        } else if (c == ' ' && column >= kNotesWrapColumn) {
            c = '\r';
            column = 1;
        }
        ++column;
    }
    return wrapped;
}

std::string BuildHint(std::string_view target, std::string_view wrappedNotes, bool showUrl,
                      bool showNotes) {
    if (target.find(kProtectedMarker) != std::string_view::npos) {
        return std::string(kPasswordProtectedHint);
    }
    const std::string_view shownTarget = showUrl ? target : std::string_view();
    const std::string_view shownNotes = showNotes ? wrappedNotes : std::string_view();
    std::string hint(shownTarget);
    if (!shownTarget.empty() && !shownNotes.empty()) {
        hint += '\r';
    }
    hint += shownNotes;
    return hint;
}

GlyphChoice ChooseGlyph(std::int32_t g, std::string_view target, std::string_view iconFile,
                        bool showIcons, int defaultIconG) {
    if (!showIcons) {
        return GlyphChoice{GlyphKind::NoIcon, 0, {}};
    }
    if (target.empty()) {
        return GlyphChoice{GlyphKind::Blank, 0, {}};
    }
    if (g >= 1 && g < kBuiltInGlyphCount) {
        return GlyphChoice{GlyphKind::BuiltIn, g, {}};
    }
    if (g >= 500 && g <= 599) {
        return GlyphChoice{GlyphKind::SecondList, g - 500, {}};
    }
    if (g >= 600) {
        return GlyphChoice{GlyphKind::IconFile, g - 600, std::string(iconFile)};
    }
    return GlyphChoice{GlyphKind::Default, defaultIconG, {}};
}

PageSlotView ReadSlotForDisplay(TIniFile32& ini, std::string_view page, int slot,
                                const DisplayOptions& options) {
    PageSlotView view;
    view.slot = slot;
    view.caption = ini.ReadString(page, SlotKey(slot, 'N'), "");
    view.target = ini.ReadString(page, SlotKey(slot, 'U'), "");
    const std::string iconFile = ini.ReadString(page, SlotKey(slot, 'I'), view.target);
    const std::string glyphText = ini.ReadString(page, SlotKey(slot, 'G'), "0");

    const GlyphValue glyph = ParseGlyphValue(glyphText);
    if (glyph.converted) {
        ini.WriteInteger(page, SlotKey(slot, 'G'), glyph.value);
    }

    std::string notes = ini.ReadString(page, SlotKey(slot, 'P'), "");
    if (!notes.empty()) {
        notes = WrapNotesForDisplay(DecodeNotes(notes));
    }
    view.hint = BuildHint(view.target, notes, options.showUrl, options.showNotes);
    view.glyph =
        ChooseGlyph(glyph.value, view.target, iconFile, options.showIcons, options.defaultIconG);

    // On a protected page the hint shows the plain target. A target that arrived unscrambled
    // (merged or carried onto the page) has no marker and is shown as it is.
    if (options.unscramble && view.target.find(kProtectedMarker) != std::string::npos) {
        view.hint =
            BuildHint(options.unscramble(view.target), notes, options.showUrl, options.showNotes);
    }

    view.fontColor = ini.ReadInteger(page, SlotKey(slot, 'C'), options.buttonFontColor);
    view.handCursor = !view.target.empty();
    if (options.fileProtected) {
        view.caption.clear();
        view.hint.clear();
        view.enabled = false;
    }
    return view;
}

} // namespace lv
