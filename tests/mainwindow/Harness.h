#pragma once

#include "mainwindow/TForm1.h"
#include "platform/Clock.h"
#include "platform/Screen.h"
#include "support/FixedClock.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

#include <memory>
#include <string>
#include <vector>

namespace lvtest {

// A main window over a temporary program directory, with scripted dialogs.
struct MainWindowHarness {
    TempDir dir;
    ScriptedDialogs dialogs;
    lv::FixedScreen screen{1280, 1024};
    FixedClock clock;
    std::unique_ptr<lv::TForm1> form;

    std::string ProgramDir() const { return dir.Path().string() + "/"; }

    lv::TForm1& Start(const std::vector<std::string>& args = {}) {
        form = std::make_unique<lv::TForm1>(lv::MainWindowPorts{dialogs, screen, clock, {}},
                                            ProgramDir());
        form->FormCreate(args);
        return *form;
    }

    // Closing as the window does it.
    void Close() {
        form->FormCloseQuery(form->State().place);
        form->FormClose();
    }

    const lv::BookmarkButton& Button(int slot) const {
        return form->State().buttons.at(static_cast<std::size_t>(slot - 1));
    }
};

} // namespace lvtest
