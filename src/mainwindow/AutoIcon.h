#pragma once

#include "mainwindow/MainState.h"
#include "mainwindow/Ports.h"

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

// AutoIcon for a slot of the page: writes G (and I for a file or a web icon), the site's
// description as notes, and sets the button's glyph when the slot is on screen. Returns the
// code. For a web address it fetches the page and the icon while pumping the loop: the engine
// is loaded again afterwards, so that what other commands wrote meanwhile is kept.
std::string AutoIcon(MainWindowState& state, MainWindowPorts& ports, TIniFile32& ini,
                     const std::string& page, int slot, const std::string& target);

// Where the web icons of a DataFile live: its path without the ".lvd" extension, followed by
// "webicons/" ("Disk.LVD" keeps them in "Diskwebicons/").
std::string WebIconDirectory(const std::string& dataFile);

// The file name part a site's icon is stored under: the target without its scheme (and
// "www."), with the characters \ / : * ? " < > | . , replaced by "_".
std::string SiteStem(std::string_view target);

// The web steps: the page's icon into the web icon directory and its description into P.
struct WebIconResult {
    std::string code;     // "600" when the site has an icon file, G when set, else as given
    std::string iconFile; // the icon file that I names
    bool writeIconFile = false;
    bool pageFailed = false; // the page could not be fetched: AutoIcon ends at once
};
WebIconResult FetchWebIcon(MainWindowState& state, MainWindowPorts& ports, TIniFile32& ini,
                           const std::string& page, int slot, const std::string& target,
                           std::string code);

} // namespace lv
