#pragma once

#include "platform/Screen.h"

#include <QGuiApplication>
#include <QScreen>

namespace lv {

// The primary screen's available size.
class QtScreen : public Screen {
public:
    int Width() const override {
        QScreen* screen = QGuiApplication::primaryScreen();
        return screen != nullptr ? screen->geometry().width() : 1024;
    }
    int Height() const override {
        QScreen* screen = QGuiApplication::primaryScreen();
        return screen != nullptr ? screen->geometry().height() : 768;
    }
};

} // namespace lv
