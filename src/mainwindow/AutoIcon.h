#pragma once

#include "mainwindow/MainState.h"

#include <string>

namespace lv {

class TIniFile32;

// The icon of a bookmark that just got a target: icon 0 of a file or program, the default glyph
// for a web address, glyph 120 for an empty target. The code is what G receives: "600", "0", or
// "00" for a web address without an icon file of its own (never written).
enum class TargetClass { Web, File, Empty };
TargetClass ClassifyTarget(std::string_view target);

// The icon code alone, for a bookmark that is not in a slot yet (a dropped file).
std::string AutoIconCode(std::string_view target, bool webIconSearch);

// AutoIcon for a slot of the page: writes G (and I for a file) and sets the button's glyph
// when the slot is on screen. Returns the code.
std::string AutoIcon(MainWindowState& state, TIniFile32& ini, const std::string& page, int slot,
                     const std::string& target);

// Where the web icons of a DataFile live: its path without the ".lvd" extension, followed by
// "webicons/" ("Disk.LVD" keeps them in "Diskwebicons/").
std::string WebIconDirectory(const std::string& dataFile);

// The web steps (fetching the site's icon and description) come with the web icon fetch; until
// then a web address keeps the default glyph.
std::string FetchWebIcon(MainWindowState& state, const std::string& page, int slot,
                         const std::string& target, std::string code);

} // namespace lv
