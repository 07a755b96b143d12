#pragma once

#include "Harness.h"

#include "mainwindow/TNameForm.h"
#include "mainwindow/TTabForm.h"
#include "store/DataFile.h"
#include "store/TIniFile32.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace lvtest {

// A main window over one DataFile whose page name and page options dialogs are played by
// scripts: each showing runs the next queued step. A showing with nothing queued fails the
// test and closes the dialog without a choice.
struct PagesHarness : MainWindowHarness {
    std::string path = dir.File("work.lvd");
    std::deque<std::function<void(lv::TNameForm&)>> nameSteps;
    std::deque<std::function<void(lv::TTabForm&)>> optionSteps;
    std::vector<int> helpTopics;

    explicit PagesHarness(const std::string& dataFile) { WriteBytes(path, dataFile); }

    lv::TForm1& Open() {
        lv::MainWindowPorts ports{dialogs, screen, clock, {}};
        ports.nameForm = [this](lv::TNameForm& f) {
            if (nameSteps.empty()) {
                ADD_FAILURE() << "unexpected page name dialog";
                f.EscapeKey();
                return;
            }
            auto step = std::move(nameSteps.front());
            nameSteps.pop_front();
            step(f);
        };
        ports.tabForm = [this](lv::TTabForm& f) {
            if (optionSteps.empty()) {
                ADD_FAILURE() << "unexpected page options dialog";
                f.CloseClick();
                return;
            }
            auto step = std::move(optionSteps.front());
            optionSteps.pop_front();
            step(f);
        };
        ports.openHelp = [this](int topic) { helpTopics.push_back(topic); };
        form = std::make_unique<lv::TForm1>(ports, ProgramDir());
        form->FormCreate({path});
        return *form;
    }

    // The name typed into the page name dialog, confirmed with "Save Name".
    void TypeName(std::string name) {
        nameSteps.push_back([name = std::move(name)](lv::TNameForm& f) {
            f.Edit1 = name;
            f.SaveNameClick();
        });
    }
    void EscapeName() {
        nameSteps.push_back([](lv::TNameForm& f) { f.EscapeKey(); });
    }

    std::vector<std::string> Tabs() const { return lv::ReadTabs(lv::TIniFile32(path)); }
    std::string Key(const std::string& page, int slot, char letter) const {
        return lv::ReadFromIniSLVD(path, page, lv::SlotKey(slot, letter), "");
    }
    bool HasSection(const std::string& page) const {
        return lv::TIniFile32(path).FindSection(page).has_value();
    }
};

// A DataFile: the pages in tab order, each with the lines of its section.
inline std::string PagesFile(const std::vector<std::pair<std::string, std::string>>& pages) {
    std::string tabs = "\r\n[Tabs]\r\nCount=" + std::to_string(pages.size()) + "\r\n";
    std::string sections;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        tabs += "Tab" + std::to_string(i + 1) + "=" + pages[i].first + "\r\n";
        sections += "\r\n[" + pages[i].first + "]\r\n" + pages[i].second;
    }
    return tabs + sections;
}

// One bookmark "<title>" at http://<title>.example/ in the slot.
inline std::string Mark(int slot, const std::string& title, const std::string& extra = "") {
    return lv::SlotKey(slot, 'N') + "=" + title + "\r\n" + lv::SlotKey(slot, 'U') + "=http://" +
           title + ".example/\r\n" + extra;
}

} // namespace lvtest
