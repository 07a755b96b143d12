#pragma once

#include "gui/ToolIcons.h"

#include <QString>
#include <QToolButton>
#include <QWidget>

namespace lv {

// A flat speed button of the tool bar with its hint. It never takes the keyboard focus, which
// stays on the key sink. The main window lays the buttons out by name; each name has its own
// picture.
inline QToolButton* NewToolButton(QWidget* toolBar, const QString& name, const QString& hint) {
    auto* button = new QToolButton(toolBar);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setIcon(ToolIcon(name));
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace lv
