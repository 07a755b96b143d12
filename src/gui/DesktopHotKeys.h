#pragma once

#include "platform/GlobalHotKeys.h"

#include <memory>

namespace lv {

class EventLoop;

// The global hotkeys of the desktop the program runs on: key grabs on an X11 display, else the
// desktop's GlobalShortcuts portal (Wayland), else none, with a text that says so.
std::unique_ptr<GlobalHotKeys> OpenDesktopHotKeys(EventLoop& loop);

inline constexpr const char* kNoHotKeysText =
    "This desktop offers no global hotkeys: the keys below are kept in the settings, but "
    "pressing them in other programs does nothing.";

} // namespace lv
