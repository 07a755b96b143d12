#pragma once

#include "mainwindow/MainState.h"

#include <functional>
#include <string>

namespace lv {

// Keys the key sink `Keys` acts on; the view maps its key codes to these.
enum class NavKey { Left, Right, PageUp, PageDown, Home, End, Up, Down, Enter };

// Keyboard work of the main window: page keys, the selected slot, jumping by letter.
class Keyboard {
public:
    // selectTab: the normal page switch (password prompt included); click: the click on a slot;
    // caption: rebuilds the window caption.
    Keyboard(MainWindowState& state, std::function<void(int)> selectTab,
             std::function<void(int)> click, std::function<void()> caption)
        : state_(state), selectTab_(std::move(selectTab)), click_(std::move(click)),
          caption_(std::move(caption)) {}

    void KeysKeyDown(NavKey key);
    // A typed character: the next page whose name starts with it.
    void KeysKeyPress(char typed);

private:
    void Select(int slot);
    void SwitchTo(int tab);

    MainWindowState& state_;
    std::function<void(int)> selectTab_;
    std::function<void(int)> click_;
    std::function<void()> caption_;
};

} // namespace lv

namespace lv {
// A page switch ends the keyboard selection.
void ClearSelection(MainWindowState& state);
} // namespace lv
