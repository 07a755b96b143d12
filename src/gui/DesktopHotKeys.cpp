#include "gui/DesktopHotKeys.h"

#include <QGuiApplication>

namespace lv {

std::unique_ptr<GlobalHotKeys> OpenDesktopHotKeys(EventLoop& loop) {
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        if (std::unique_ptr<GlobalHotKeys> x11 = OpenX11GlobalHotKeys(loop)) {
            return x11;
        }
    }
    return std::make_unique<NoGlobalHotKeys>(kNoHotKeysText);
}

} // namespace lv
