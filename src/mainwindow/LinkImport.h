#pragma once

#include "mainwindow/MainState.h"
#include "mainwindow/Ports.h"

#include <string>
#include <string_view>
#include <vector>

namespace lv {

class TIniFile32;

// Told when the page the browser shows cannot be fetched; the caption keeps it.
inline constexpr std::string_view kNoBookmarksFoundCaption = "No Bookmarks Found";

// The link one line of text holds: the first http or https address in it and the text of the
// anchor that follows it. Both are Windows-1252 bytes with HTML references decoded; the title
// is empty when the line gives none.
struct FoundLink {
    std::string address;
    std::string title;
};
// False when the line holds no address.
bool FindLinkInLine(std::string_view line, bool textIsUtf8, FoundLink& link);

// Where an import writes: the page and its slot, and the pages it added after `firstTab`.
struct ImportPosition {
    std::string page;
    int slot = 1;
    int pagesAdded = 0;
    int firstTab = 0;
};

// Places one bookmark per line that holds a link into the free slots of the import page (a slot
// is free when it has neither target nor title), from pos.slot on; past slot 80 a new page
// follows, named by appending "+" and inserted after the pages added before, and the tab list
// is saved. Writes N and U only (U scrambled on a page with a password). Returns how many
// bookmarks were written.
int PlaceImportedLinks(TIniFile32& ini, std::vector<std::string>& pages,
                       const std::vector<std::string>& passwordBox,
                       const std::vector<std::string>& lines, bool textIsUtf8, ImportPosition& pos);

// "Import from Web Page" (the WebIn button, MWSImport) and "Import from Clipboard" (MCBImport).
class LinkImport {
public:
    enum class Source { WebPage, Clipboard };
    LinkImport(MainWindowState& state, MainWindowPorts& ports) : state_(state), ports_(ports) {}
    void MWSImportClick(Source source);

private:
    bool WebPageLines(std::vector<std::string>& lines, bool& utf8);

    MainWindowState& state_;
    MainWindowPorts& ports_;
};

} // namespace lv
