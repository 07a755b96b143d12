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

std::string AutoIcon(MainWindowState& state, MainWindowPorts& ports, TIniFile32& ini,
                     const std::string& page, int slot, const std::string& target) {
    const std::string dataFile = state.DataFileName;
    // Looked up at each use: the web steps pump the loop, and the user may change pages.
    auto show = [&state, &page, &dataFile, slot](GlyphRef glyph) {
        if (slot >= 1 && slot <= static_cast<int>(state.buttons.size()) &&
            !state.TabSet1.names.empty() && state.TabSet1.Current() == page &&
            state.DataFileName == dataFile) {
            state.buttons[static_cast<std::size_t>(slot - 1)].glyph = std::move(glyph);
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
    std::string iconFile = target;
    bool writeIconFile = true;
    if (code == "00" && state.checks.webIconSearch) {
        WebIconResult web = FetchWebIcon(state, ports, ini, page, slot, target, code);
        if (web.pageFailed) {
            return web.code;
        }
        code = std::move(web.code);
        iconFile = std::move(web.iconFile);
        writeIconFile = web.writeIconFile;
        if (code == "00") {
            show({GlyphRef::Kind::Default, state.DefaultIconG, {}});
        }
    }
    if (!state.checks.webIconSearch) {
        code = "00";
        if (ini.ReadString(page, SlotKey(slot, 'G'), "").empty()) {
            show({GlyphRef::Kind::Default, state.DefaultIconG, {}});
        }
    }
    if (code == "600" && writeIconFile) {
        show({GlyphRef::Kind::IconFile, 0, iconFile});
        ini.WriteString(page, SlotKey(slot, 'I'), iconFile);
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
