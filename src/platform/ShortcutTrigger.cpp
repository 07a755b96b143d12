#include "platform/GlobalHotKeys.h"

namespace lv {
namespace {

// Keysym names of the keys of the table that are not letters, digits or function keys.
std::string NamedKey(std::uint32_t sym) {
    switch (sym) {
    case 0xFF52:
        return "Up";
    case 0xFF54:
        return "Down";
    case 0xFF51:
        return "Left";
    case 0xFF53:
        return "Right";
    case 0xFF1B:
        return "Escape";
    case 0xFF09:
        return "Tab";
    case 0xFF63:
        return "Insert";
    case 0xFFFF:
        return "Delete";
    case 0xFF50:
        return "Home";
    case 0xFF57:
        return "End";
    case 0xFF55:
        return "Page_Up";
    case 0xFF56:
        return "Page_Down";
    default:
        return {};
    }
}

} // namespace

std::string ShortcutTriggerOf(int modifiers, int virtualKey) {
    const std::uint32_t sym = KeySymOfVirtualKey(virtualKey);
    std::string key;
    if ((sym >= 'a' && sym <= 'z') || (sym >= '0' && sym <= '9')) {
        key = std::string(1, static_cast<char>(sym));
    } else if (sym >= 0xFFBE && sym <= 0xFFC9) {
        key = "F" + std::to_string(sym - 0xFFBE + 1);
    } else {
        key = NamedKey(sym);
    }
    if (key.empty()) {
        return {};
    }
    std::string trigger;
    if ((modifiers & kHotKeyCtrl) != 0) {
        trigger += "CTRL+";
    }
    if ((modifiers & kHotKeyAlt) != 0) {
        trigger += "ALT+";
    }
    if ((modifiers & kHotKeyShift) != 0) {
        trigger += "SHIFT+";
    }
    return trigger + key;
}

} // namespace lv
