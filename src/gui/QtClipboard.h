#pragma once

#include "platform/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace lv {

// The desktop clipboard through Qt.
class QtClipboard : public Clipboard {
public:
    std::string Text() const override { return QGuiApplication::clipboard()->text().toStdString(); }
    void SetText(const std::string& utf8) override {
        QGuiApplication::clipboard()->setText(QString::fromStdString(utf8));
    }
};

} // namespace lv
