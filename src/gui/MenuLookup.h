#pragma once

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace lv {

// The controls of each feature add their items to the menus the main window built; these find
// a menu by its caption and an item by its object name.

inline QAction* MenuBarAction(QMainWindow& window, const QString& title) {
    for (QAction* action : window.menuBar()->actions()) {
        if (action->menu() != nullptr && action->text() == title) {
            return action;
        }
    }
    return nullptr;
}

inline QMenu* FindMenu(QMainWindow& window, const QString& title) {
    QAction* action = MenuBarAction(window, title);
    return action == nullptr ? nullptr : action->menu();
}

// The menu of that caption, added at the end of the menu bar when the window has none yet.
inline QMenu* MenuOf(QMainWindow& window, const QString& title) {
    QMenu* menu = FindMenu(window, title);
    return menu != nullptr ? menu : window.menuBar()->addMenu(title);
}

inline QAction* FindAction(QMenu* menu, const QString& name) {
    for (QAction* action : menu->actions()) {
        if (action->objectName() == name) {
            return action;
        }
    }
    return nullptr;
}

} // namespace lv
