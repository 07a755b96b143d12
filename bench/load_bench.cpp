// Opening a DataFile with many pages, from the file to the tab set the window shows: the page
// names alone, and the whole start-up of the main window model (settings, first page, tabs).
// 10,000 and 65,536 pages (the most a DataFile may have) must both take well under a second.
#include "NoDialogs.h"
#include "mainwindow/PagePasswords.h"
#include "mainwindow/TForm1.h"
#include "platform/Screen.h"
#include "store/DataFile.h"
#include "store/FileIo.h"
#include "store/TIniFile32.h"
#include "support/FixedClock.h"
#include "support/TempDir.h"

#include <benchmark/benchmark.h>

#include <stdexcept>
#include <string>

namespace {

using lvbench::NoDialogs;

// [Tabs] first, as the program writes it, then every page with three bookmarks; each page can
// have a password.
std::string ManyPages(int pages, bool passwords = false) {
    std::string bytes = "\r\n[Tabs]\r\nCount=" + std::to_string(pages) + "\r\n";
    if (passwords) {
        std::vector<std::string> box;
        for (int page = 1; page <= pages; ++page) {
            box.push_back("Page " + std::to_string(page) + "secret");
        }
        bytes +=
            std::string(lv::datafile::kPagePasswordKey) + "=" + lv::PagePassValue(box) + "\r\n";
    }
    for (int page = 1; page <= pages; ++page) {
        bytes += "Tab" + std::to_string(page) + "=Page " + std::to_string(page) + "\r\n";
    }
    for (int page = 1; page <= pages; ++page) {
        bytes += "\r\n[Page " + std::to_string(page) + "]\r\n";
        for (int slot = 1; slot <= 3; ++slot) {
            const std::string p = lv::SlotPrefix(slot);
            const std::string id = std::to_string(page) + "-" + std::to_string(slot);
            bytes += p + "N=Bookmark " + id + "\r\n";
            bytes += p + "U=http://www.example.com/" + id + "/index.html\r\n";
        }
    }
    return bytes;
}

void ReadPageNames(benchmark::State& state) {
    const auto pages = static_cast<int>(state.range(0));
    lvtest::TempDir dir;
    const std::string file = dir.File("Many.lvd");
    lv::WriteFileAtomic(file, ManyPages(pages));
    for (auto _ : state) {
        const lv::TIniFile32 ini(file);
        const std::vector<std::string> names = lv::ReadTabs(ini);
        if (static_cast<int>(names.size()) != pages ||
            names.back() != "Page " + std::to_string(pages)) {
            state.SkipWithError("wrong page names");
        }
    }
}
BENCHMARK(ReadPageNames)->Arg(10000)->Arg(65536)->Unit(benchmark::kMillisecond);

// What the window needs before it can show: settings, first page, page names; the second
// argument gives every page a password.
void StartWithDataFile(benchmark::State& state) {
    const auto pages = static_cast<int>(state.range(0));
    lvtest::TempDir dir;
    const std::string file = dir.File("Many.lvd");
    lv::WriteFileAtomic(file, ManyPages(pages, state.range(1) != 0));
    lv::WriteFileAtomic(dir.File("LVD.INI"), "[File]\r\nName=" + file + "\r\n");
    NoDialogs dialogs;
    lv::FixedScreen screen(1280, 1024);
    lvtest::FixedClock clock;
    for (auto _ : state) {
        lv::TForm1 form(lv::MainWindowPorts{dialogs, screen, clock, {}}, dir.Path().string() + "/");
        form.FormCreate({});
        if (static_cast<int>(form.State().TabSet1.names.size()) != pages ||
            form.State().buttons.front().caption != "Bookmark 1-1") {
            state.SkipWithError("wrong start-up");
        }
    }
}
BENCHMARK(StartWithDataFile)
    ->Args({10000, 0})
    ->Args({65536, 0})
    ->Args({10000, 1})
    ->Args({65536, 1})
    ->Unit(benchmark::kMillisecond);

} // namespace
