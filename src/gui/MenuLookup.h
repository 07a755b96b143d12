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

inline QAction* FindAction(QMenu* menu, const QString& name) {
    for (QAction* action : menu->actions()) {
        if (action->objectName() == name) {
            return action;
        }
    }
    return nullptr;
}

} // namespace lv
