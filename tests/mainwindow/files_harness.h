#pragma once

#include "Harness.h"

#include "pages/TAlphaForm.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace lvtest {

// A main window whose page range dialog, removable volumes and immediate redraws are seen by
// the test.
struct FilesHarness : MainWindowHarness {
    std::function<void(lv::TAlphaForm&)> pageRange;
    std::vector<std::string> volumes;
    std::vector<std::string> shownCaptions; // the caption at each immediate redraw

    lv::TForm1& StartFiles(const std::vector<std::string>& args = {}) {
        lv::MainWindowPorts ports{dialogs, screen, clock, {}};
        ports.pageRange = [this](lv::TAlphaForm& range) {
            if (pageRange) {
                pageRange(range);
            }
        };
        ports.removableVolumes = [this] { return volumes; };
        ports.showNow = [this] { shownCaptions.push_back(form->State().caption); };
        form = std::make_unique<lv::TForm1>(ports, ProgramDir());
        form->FormCreate(args);
        return *form;
    }

    void Choose(const std::string& path) { dialogs.Queue(lv::OpenFileResult{true, path}); }
};

// A DataFile's text: the page list and, per page, slot lines such as "01N=Alpha".
inline std::string DataFileText(const std::vector<std::string>& pages,
                                const std::map<std::string, std::vector<std::string>>& slots) {
    std::string text = "[Tabs]\r\nCount=" + std::to_string(pages.size()) + "\r\n";
    for (std::size_t i = 0; i < pages.size(); ++i) {
        text += "Tab" + std::to_string(i + 1) + "=" + pages[i] + "\r\n";
    }
    for (const auto& [page, lines] : slots) {
        text += "\r\n[" + page + "]\r\n";
        for (const std::string& line : lines) {
            text += line + "\r\n";
        }
    }
    return text;
}

} // namespace lvtest
