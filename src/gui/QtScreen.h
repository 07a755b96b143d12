#pragma once

#include "platform/Screen.h"

#include <QGuiApplication>
#include <QScreen>

namespace lv {

// The primary screen's available size (without the desktop's panels), in device-independent
// pixels: the unit of every place and size the program stores.
class QtScreen : public Screen {
public:
    int Width() const override {
        QScreen* screen = QGuiApplication::primaryScreen();
        return screen != nullptr ? screen->availableGeometry().width() : 1024;
    }
    int Height() const override {
        QScreen* screen = QGuiApplication::primaryScreen();
        return screen != nullptr ? screen->availableGeometry().height() : 768;
    }
};

} // namespace lv
