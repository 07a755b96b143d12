#pragma once

#include "gui/MainWindowView.h"
#include "mainwindow/TForm1.h"
#include "platform/Screen.h"
#include "support/FixedClock.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QStringList>

#include <string>
#include <vector>

namespace lvtest {

// The real main window on a program directory of its own, for tests of its menus: started on
// a DataFile holding dataFileText, or on none.
struct MenuWindow {
    TempDir dir;
    ScriptedDialogs dialogs;
    lv::FixedScreen screen{1280, 1024};
    FixedClock clock;
    lv::TForm1 form{Ports(), dir.Path().string() + "/"};
    lv::MainWindowView view{form, dialogs, QString()};

    // No volume: the machine's own sticks are never written to.
    lv::MainWindowPorts Ports() {
        lv::MainWindowPorts ports{dialogs, screen, clock, {}};
        ports.removableVolumes = [] { return std::vector<std::string>(); };
        return ports;
    }

    explicit MenuWindow(const std::string& dataFileText = {}) {
        std::vector<std::string> args;
        if (!dataFileText.empty()) {
            args.push_back(dir.File("Start.lvd"));
            WriteBytes(args.back(), dataFileText);
        }
        view.Dispatch([this, args] { form.FormCreate(args); });
        view.ApplyPlace();
    }

    QAction* Item(const QString& name) const { return view.findChild<QAction*>(name); }

    QMenu* Menu(const QString& title) const {
        for (QAction* action : view.menuBar()->actions()) {
            if (action->text() == title) {
                return action->menu();
            }
        }
        return nullptr;
    }
};

// The object names of a menu's items (a submenu by its own name), separators left out.
inline QStringList ItemNames(QMenu* menu) {
    QStringList names;
    for (QAction* action : menu->actions()) {
        if (!action->isSeparator()) {
            names << (action->menu() != nullptr ? action->menu()->objectName()
                                                : action->objectName());
        }
    }
    return names;
}

} // namespace lvtest
