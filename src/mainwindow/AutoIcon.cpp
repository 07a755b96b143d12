#include "mainwindow/AutoIcon.h"

#include "store/DataFile.h"
#include "store/TIniFile32.h"
#include "store/Text.h"

namespace lv {

TargetClass ClassifyTarget(std::string_view target) {
    if (target.empty()) {
        return TargetClass::Empty;
    }
    const auto http = target.find("http");
    if (http != std::string_view::npos && http < 4) {
        return TargetClass::Web;
    }
    const auto www = target.find("www.");
    if (http == std::string_view::npos && www != std::string_view::npos && www < 14) {
        return TargetClass::Web;
    }
    return TargetClass::File;
}

std::string AutoIconCode(std::string_view target, bool webIconSearch) {
    switch (ClassifyTarget(target)) {
    case TargetClass::Empty:
        return webIconSearch ? "0" : "00";
    case TargetClass::File:
        return webIconSearch ? "600" : "00";
    case TargetClass::Web:
        break;
    }
    return "00";
}

std::string WebIconDirectory(const std::string& dataFile) {
    std::string stem = dataFile;
    if (stem.size() >= 4 && LowerCase1252(stem.substr(stem.size() - 4)) == ".lvd") {
        stem.resize(stem.size() - 4);
    }
    // Spelt as an existing folder of that name in any letter case, as the Windows program
    // found it.
    return ResolveCaseInsensitive(std::string(), stem + "webicons") + "/";
}

std::string FetchWebIcon(MainWindowState&, const std::string&, int, const std::string&,
                         std::string code) {
    return code;
}

std::string AutoIcon(MainWindowState& state, TIniFile32& ini, const std::string& page, int slot,
                     const std::string& target) {
    BookmarkButton* button = nullptr;
    if (slot >= 1 && slot <= static_cast<int>(state.buttons.size()) &&
        !state.TabSet1.names.empty() && state.TabSet1.Current() == page) {
        button = &state.buttons[static_cast<std::size_t>(slot - 1)];
    }
    auto show = [button](GlyphRef glyph) {
        if (button != nullptr) {
            button->glyph = std::move(glyph);
        }
    };

    const TargetClass kind = ClassifyTarget(target);
    std::string code = kind == TargetClass::Web ? "00" : "600";
    if (code != "00") {
        show({GlyphRef::Kind::Default, state.DefaultIconG, {}});
    }
    if (kind == TargetClass::Empty) {
        code = "0";
        show({GlyphRef::Kind::BuiltIn, datafile::kDefaultIconG, {}});
    }
    if (code == "00" && state.checks.webIconSearch) {
        code = FetchWebIcon(state, page, slot, target, code);
    }
    if (!state.checks.webIconSearch) {
        code = "00";
        if (ini.ReadString(page, SlotKey(slot, 'G'), "").empty()) {
            show({GlyphRef::Kind::Default, state.DefaultIconG, {}});
        }
    }
    if (code == "600") {
        show({GlyphRef::Kind::IconFile, 0, target});
        ini.WriteString(page, SlotKey(slot, 'I'), target);
    }
    if (code != "00") {
        ini.WriteString(page, SlotKey(slot, 'G'), code);
    }
    if (!state.checks.icons) {
        show({GlyphRef::Kind::None, 0, {}});
    }
    return code;
}

} // namespace lv
