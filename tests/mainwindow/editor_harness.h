#pragma once

#include "Harness.h"

#include "mainwindow/TBConfigForm.h"
#include "store/DataFile.h"
#include "store/TIniFile32.h"

#include <functional>
#include <string>

namespace lvtest {

// A main window over one DataFile whose bookmark editor is played by a script: each showing
// runs the next step, which edits the form's fields and presses one of its buttons.
struct EditorHarness : MainWindowHarness {
    std::string path = dir.File("work.lvd");
    std::function<void(lv::TBConfigForm&)> editor;
    int shown = 0;

    explicit EditorHarness(const std::string& page1 = "") {
        WriteBytes(path,
                   "\r\n[Tabs]\r\nCount=2\r\nTab1=Links\r\nTab2=Other\r\n\r\n[Links]\r\n" + page1);
    }

    lv::TForm1& Open() {
        lv::MainWindowPorts ports{dialogs, screen, clock, {}};
        ports.bookmarkEditor = [this](lv::TBConfigForm& form) {
            ++shown;
            if (editor) {
                editor(form);
            } else {
                form.CancelClick();
            }
        };
        form = std::make_unique<lv::TForm1>(ports, ProgramDir());
        form->FormCreate({path});
        return *form;
    }

    std::string Key(const std::string& page, int slot, char letter) const {
        return lv::ReadFromIniSLVD(path, page, lv::SlotKey(slot, letter), "");
    }
    bool HasKey(const std::string& page, int slot, char letter) const {
        return lv::ReadFromIniSLVD(path, page, lv::SlotKey(slot, letter), "\x01") != "\x01";
    }
};

// Slots first..last filled with bookmarks "Site N" at http://siteN.example/.
inline std::string FilledSlots(int first, int last) {
    std::string text;
    for (int slot = first; slot <= last; ++slot) {
        const std::string n = std::to_string(slot);
        text += lv::SlotKey(slot, 'N') + "=Site " + n + "\r\n" + lv::SlotKey(slot, 'U') +
                "=http://site" + n + ".example/\r\n";
    }
    return text;
}

} // namespace lvtest
