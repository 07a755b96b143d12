#include "gui/DesktopHotKeys.h"

#include "gui/PortalHotKeys.h"

#include <QDBusConnection>
#include <QGuiApplication>

namespace lv {

std::unique_ptr<GlobalHotKeys> OpenDesktopHotKeys(EventLoop& loop) {
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        if (std::unique_ptr<GlobalHotKeys> x11 = OpenX11GlobalHotKeys(loop)) {
            return x11;
        }
    }
    // Wayland lets no program grab keys; the desktop's portal binds them for us where it can.
    if (std::unique_ptr<GlobalHotKeys> portal = PortalGlobalHotKeys::Open(
            QDBusConnection::sessionBus(), QGuiApplication::desktopFileName())) {
        return portal;
    }
    return std::make_unique<NoGlobalHotKeys>(kNoHotKeysText);
}

} // namespace lv
