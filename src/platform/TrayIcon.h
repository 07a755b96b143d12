#pragma once

#include <string>
#include <vector>

namespace lv {

// The program's icon in the desktop's notification area (system tray), with its pop-up menu.
// The menu's commands and a click on the icon come back to the main window through the
// implementation's own callbacks. Texts are Windows-1252, as stored; the implementation
// converts them for the desktop.
class TrayIcon {
public:
    // Longest tip the icon shows; longer ones are cut.
    static constexpr std::size_t kMaxTip = 63;

    virtual ~TrayIcon() = default;
    // Whether the desktop has a notification area to show the icon in.
    virtual bool Available() const = 0;
    virtual void Show() = 0;
    virtual void Hide() = 0;
    virtual bool Shown() const = 0;
    virtual void SetTip(const std::string& tip) = 0;
    // The recent entries at the bottom of the menu, in this order.
    virtual void SetRecent(const std::vector<std::string>& captions) = 0;
};

// Cuts a tip to what the icon shows.
inline std::string TrayTip(const std::string& text) {
    return text.size() > TrayIcon::kMaxTip ? text.substr(0, TrayIcon::kMaxTip) : text;
}

} // namespace lv
