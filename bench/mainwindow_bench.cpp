// A page switch as the user makes it: TForm1 selects another tab, loads the page's 80 slots
// through one engine and saves the DataFile, on a file of 1,000 pages of 80 bookmarks.
#include "mainwindow/TForm1.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Screen.h"
#include "support/FixedClock.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

namespace {

// No page has a password, so nothing asks; an unexpected question ends the run.
class NoDialogs : public lv::Dialogs {
public:
    lv::MsgResult Message(const lv::MessageRequest&) override { throw Unexpected(); }
    int UserDlg(const lv::UserDlgRequest&) override { throw Unexpected(); }
    lv::PasswordResult Password(const lv::PasswordRequest&) override { throw Unexpected(); }
    lv::FontResult Font(const lv::FontRequest&) override { throw Unexpected(); }
    void Count(const lv::CountRequest&) override { throw Unexpected(); }
    lv::ColorResult Color(const lv::ColorRequest&) override { throw Unexpected(); }
    lv::OpenFileResult OpenFile(const lv::OpenFileRequest&) override { throw Unexpected(); }
    lv::OpenFileResult SaveFile(const lv::SaveFileRequest&) override { throw Unexpected(); }
    int NavPage(const lv::NavPageRequest&) override { throw Unexpected(); }
    void Error(const std::string&) override { throw Unexpected(); }

private:
    static std::logic_error Unexpected() { return std::logic_error("unexpected question"); }
};

constexpr int kPages = 1000;

void WriteDataFile(const std::string& path) {
    std::string text = "\r\n[Tabs]\r\nCount=" + std::to_string(kPages) + "\r\n";
    for (int p = 1; p <= kPages; ++p) {
        text += "Tab" + std::to_string(p) + "=Page " + std::to_string(p) + "\r\n";
    }
    for (int p = 1; p <= kPages; ++p) {
        text += "\r\n[Page " + std::to_string(p) + "]\r\n";
        for (int s = 1; s <= 80; ++s) {
            const std::string k = (s < 10 ? "0" : "") + std::to_string(s);
            text +=
                k + "N=Bookmark " + std::to_string(s) + " of page " + std::to_string(p) + "\r\n";
            text += k + "U=http://www.example" + std::to_string(s) + ".com/page/" +
                    std::to_string(p) + "/index.html\r\n";
            text += k + "P=Notes about this site|~second line\r\n";
            text += k + "G=" + std::to_string(s % 120 + 1) + "\r\n";
        }
    }
    std::ofstream(path, std::ios::binary) << text;
}

void BM_PageSwitch(benchmark::State& state) {
    std::string pattern = (std::filesystem::temp_directory_path() / "lv-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        state.SkipWithError("no temporary directory");
        return;
    }
    const std::filesystem::path dir = pattern;
    const std::string dataFile = (dir / "Big.lvd").string();
    WriteDataFile(dataFile);

    NoDialogs dialogs;
    lv::FixedScreen screen(1280, 1024);
    lvtest::FixedClock clock;
    lv::TForm1 form(lv::MainWindowPorts{dialogs, screen, clock, {}}, dir.string() + "/");
    form.FormCreate({dataFile});

    const int pages[] = {kPages - 1, kPages / 2};
    int next = 0;
    for (auto _ : state) {
        form.SelectTab(pages[next]);
        next ^= 1;
    }
    state.counters["file_MB"] =
        static_cast<double>(std::filesystem::file_size(dataFile)) / (1024.0 * 1024.0);
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_PageSwitch)->Unit(benchmark::kMillisecond);

} // namespace
