#include "mainwindow/PageGrid.h"

#include "mainwindow/PagePasswords.h"
#include "mainwindow/TaskTray.h"
#include "store/DataFile.h"
#include "store/FileError.h"
#include "store/TIniFile32.h"

#include <exception>
#include <optional>

namespace lv {
namespace {

GlyphRef ToGlyphRef(const GlyphChoice& choice) {
    GlyphRef ref;
    ref.index = choice.index;
    ref.file = choice.file;
    switch (choice.kind) {
    case GlyphKind::Default:
        ref.kind = GlyphRef::Kind::Default;
        break;
    case GlyphKind::BuiltIn:
        ref.kind = GlyphRef::Kind::BuiltIn;
        break;
    case GlyphKind::SecondList:
        ref.kind = GlyphRef::Kind::SecondList;
        break;
    case GlyphKind::IconFile:
        ref.kind = GlyphRef::Kind::IconFile;
        break;
    case GlyphKind::Blank:
        ref.kind = GlyphRef::Kind::Blank;
        break;
    case GlyphKind::NoIcon:
        ref.kind = GlyphRef::Kind::None;
        break;
    }
    return ref;
}

void Blank(BookmarkButton& button, const MainWindowState& state) {
    button.caption.clear();
    button.hint.clear();
    button.glyph = {state.checks.icons ? GlyphRef::Kind::Blank : GlyphRef::Kind::None, 0, {}};
    button.fontColor = state.ButtonFontColor;
    button.fontName = state.ButtonFontName;
    button.fontSize = state.ButtonFontSize;
    button.cursor = ButtonCursor::Normal;
    button.enabled = state.FileProtection.empty();
}

} // namespace

int ButtonWidth(int clientWidth, int columns) {
    return clientWidth / columns - 1;
}

void PageGrid::Buttons(bool create) {
    const int columns = state_.ColumnCount;
    const int count = columns * datafile::kRowCount;
    const int width = ButtonWidth(state_.ClientWidth(), columns);
    if (create || static_cast<int>(state_.buttons.size()) != count) {
        state_.buttons.assign(static_cast<std::size_t>(count), BookmarkButton{});
        for (int slot = 1; slot <= count; ++slot) {
            BookmarkButton& button = state_.buttons[static_cast<std::size_t>(slot - 1)];
            button.slot = slot;
            button.name = ButtonName(slot);
            Blank(button, state_);
        }
    }
    for (auto& button : state_.buttons) {
        const int column = (button.slot - 1) / datafile::kRowCount;
        const int row = (button.slot - 1) % datafile::kRowCount;
        button.left = 1 + column * (width + 1);
        button.top = 19 * row;
        button.width = width;
        button.height = 19;
        button.margin = 1;
        button.fontName = state_.ButtonFontName;
        button.fontSize = state_.ButtonFontSize;
    }
}

void PageGrid::Load(const std::string& page) {
    TIniFile32 ini(state_.DataFileName);
    // Converted glyph values are written back with the one save at the end.
    ini.SetDeferSaves(true);
    if (state_.InitialLoad) {
        state_.FileProtection = ReadFileProtection(ini);
    }

    const DisplayOptions options = SlotDisplayOptions(state_, page);

    std::optional<InvalidIntegerError> badGlyph;
    for (auto& button : state_.buttons) {
        Blank(button, state_);
        if (badGlyph) {
            continue;
        }
        try {
            ShowSlotView(button, ReadSlotForDisplay(ini, page, button.slot, options));
        } catch (const InvalidIntegerError& error) {
            badGlyph = error;
        }
    }

    if (state_.InitialLoad) {
        state_.checks.mruTrack = ReadTrackRecent(ini);
        PointRecentList(state_, ini);
        state_.locked = !state_.FileProtection.empty();
        state_.TabSet1.names = ReadTabs(ini);
        state_.TabSet1.selected = 0;
        state_.TabSet1.firstVisible = 0;
    }
    state_.checks.pagePass =
        FindPagePass(state_.PagePassBox, page, state_.TabSet1.names).has_value();

    ini.UpdateFile();
    if (badGlyph) {
        throw *badGlyph;
    }
}

DisplayOptions SlotDisplayOptions(const MainWindowState& state, const std::string& page) {
    DisplayOptions options;
    options.showIcons = state.checks.icons;
    options.showNotes = state.checks.notes;
    options.showUrl = state.checks.url;
    options.defaultIconG = state.DefaultIconG;
    options.buttonFontColor = state.ButtonFontColor;
    options.fileProtected = !state.FileProtection.empty();
    if (FindPagePass(state.PagePassBox, page, state.TabSet1.names)) {
        options.unscramble = [](std::string_view stored) { return Decrypt(stored); };
    }
    return options;
}

void ShowSlotView(BookmarkButton& button, const PageSlotView& view) {
    button.caption = view.caption;
    button.hint = view.hint;
    button.glyph = ToGlyphRef(view.glyph);
    button.fontColor = view.fontColor;
    button.cursor = view.handCursor ? ButtonCursor::Hand : ButtonCursor::Normal;
    button.enabled = view.enabled;
}

} // namespace lv
