// A page switch as the user makes it: TForm1 selects another tab, loads the page's 80 slots
// through one engine and saves the DataFile, on a file of 1,000 pages of 80 bookmarks; with and
// without something on the page that makes the save write.
#include "NoDialogs.h"
#include "mainwindow/TForm1.h"
#include "platform/Clock.h"
#include "platform/Screen.h"
#include "store/TIniFile32.h"
#include "support/FixedClock.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <sys/stat.h>

namespace {

using lvbench::NoDialogs;

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

// The DataFile's identity: a save replaces the file, so a new inode or time means a write.
struct FileStamp {
    ino_t inode = 0;
    std::int64_t mtime = 0;
    bool operator==(const FileStamp&) const = default;
};
FileStamp StampOf(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return {st.st_ino,
            static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

// A switch between two pages, either as it is (nothing to change: the save finds the file's
// bytes equal and writes nothing) or with an old glyph value on the page it goes to, which the
// page load converts, so every switch writes the whole file, flushed to disk.
void PageSwitch(benchmark::State& state, bool writes) {
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
    std::int64_t written = 0;
    for (auto _ : state) {
        if (writes) {
            state.PauseTiming();
            lv::WriteToIniSLVD(dataFile, "Page " + std::to_string(pages[next] + 1), "01G", "Icon7");
            state.ResumeTiming();
        }
        const FileStamp before = StampOf(dataFile);
        form.SelectTab(pages[next]);
        next ^= 1;
        written += StampOf(dataFile) == before ? 0 : 1;
    }
    state.counters["file_MB"] =
        static_cast<double>(std::filesystem::file_size(dataFile)) / (1024.0 * 1024.0);
    state.counters["writes_per_switch"] =
        static_cast<double>(written) /
        static_cast<double>(std::max<std::int64_t>(1, state.iterations()));
    std::filesystem::remove_all(dir);
}

void BM_PageSwitch(benchmark::State& state) {
    PageSwitch(state, false);
}
BENCHMARK(BM_PageSwitch)->Unit(benchmark::kMillisecond);

void BM_PageSwitchThatWrites(benchmark::State& state) {
    PageSwitch(state, true);
}
BENCHMARK(BM_PageSwitchThatWrites)->Unit(benchmark::kMillisecond);

} // namespace
