#pragma once

#include "exchange/LinkList.h"
#include "mainwindow/MainState.h"
#include "mainwindow/Ports.h"

#include <functional>
#include <string>

namespace lv {

// The link lists of a page range (print, HTML file, e-mail body) and the favourites folder import
// and export, on the main window's state. A file error ends the command as lv::FileError.
class ExchangeCommands {
public:
    ExchangeCommands(MainWindowState& state, MainWindowPorts& ports)
        : state_(state), ports_(ports) {}

    // Asks for the page range and produces the list in the form of the mode. The e-mail form
    // leaves the lines in Memo1 and calls showEmailDialog with the e-mail mode ("All"); the memo
    // is cleared when it returns.
    void PrintClick(LinkListMode mode,
                    const std::function<void(const std::string& emailMode)>& showEmailDialog);
    // "Import Internet Explorer Bookmarks": the favourites tree into IE.lvd, which becomes the
    // current DataFile.
    void MImportIEClick();
    // "Export entire File" and "Export current Page" of "Export Bookmarks to Internet Explorer".
    void MExportIEClick(bool wholeFile);

private:
    void Inform(const std::string& text);

    MainWindowState& state_;
    MainWindowPorts& ports_;
};

inline constexpr const char* kHtmlFileFilter =
    "HTM, HTML, SHTML|*.HTM *.HTML *.SHTML *.htm *.html *.shtml|All Files|*.*";

} // namespace lv
