#pragma once

#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Screen.h"

#include <functional>
#include <string>

namespace lv {

class TBConfigForm;

// What the main window needs from outside: the dialogs, the screen and the date.
struct MainWindowPorts {
    Dialogs& dialogs;
    const Screen& screen;
    const Clock& clock;
    // Start-up asks this for a browser when the selected one is missing; it returns the path of
    // a browser it found (and recorded), or an empty text. Left empty until launching exists.
    std::function<std::string()> probeBrowser;
    // Shows the bookmark editor modally until one of its buttons closes it.
    std::function<void(TBConfigForm&)> bookmarkEditor{};
};

} // namespace lv
