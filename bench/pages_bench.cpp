// Page commands on large DataFiles: alphabetizing ten full pages together, merging a 1,000-page
// DataFile into another, and renaming a page of an 8 MB DataFile. Each must stay under a second.
#include "pages/Alphabetize.h"
#include "pages/FileMerge.h"
#include "pages/PageNames.h"
#include "store/DataFile.h"
#include "store/FileIo.h"
#include "store/TIniFile32.h"
#include "support/TempDir.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

std::string PageName(int page) {
    return "Page " + std::to_string(page);
}

// pages x slots bookmarks; `first` shifts the URLs so that two files can share some of them.
std::string DataFileBytes(int pages, int slots, int first, bool notes) {
    std::string bytes = "[Tabs]\r\nCount=" + std::to_string(pages) + "\r\n";
    for (int page = 1; page <= pages; ++page) {
        bytes += "Tab" + std::to_string(page) + "=" + PageName(page) + "\r\n";
    }
    for (int page = 1; page <= pages; ++page) {
        bytes += "[" + PageName(page) + "]\r\n";
        for (int slot = 1; slot <= slots; ++slot) {
            const std::string p = lv::SlotPrefix(slot);
            // Titles out of order, so that sorting has work to do.
            const std::string id = std::to_string((slot * 37 + page * 11) % 997) + "-" +
                                   std::to_string(page) + "-" + std::to_string(first + slot);
            bytes += p + "N=Bookmark title " + id + "\r\n";
            bytes += p + "U=http://www.example.com/section/" + std::to_string(page) + "/" +
                     std::to_string(first + slot) + "/index.html\r\n";
            if (notes && slot % 3 == 0) {
                bytes += p + "P=Notes about this site|~second line " + id + "\r\n";
            }
            bytes += p + "G=" + std::to_string(600 + slot % 3) + "\r\n";
        }
    }
    return bytes;
}

void AlphabetizeTenPages(benchmark::State& state) {
    lvtest::TempDir dir;
    const std::string file = dir.File("Ten.lvd");
    const std::string bytes = DataFileBytes(10, 80, 0, true);
    lv::AlphabetizeRequest request;
    request.dataFile = file;
    for (int page = 1; page <= 10; ++page) {
        request.pages.push_back(PageName(page));
    }
    request.lastPage = 9;
    request.autoBackup = true;
    for (auto _ : state) {
        state.PauseTiming();
        lv::WriteFileAtomic(file, bytes);
        state.ResumeTiming();
        benchmark::DoNotOptimize(lv::AlphabetizePages(request).sorted);
    }
}
BENCHMARK(AlphabetizeTenPages)->Unit(benchmark::kMillisecond);

// Both files have the same 1,000 pages; half of each source page is already in the target, so
// 40 bookmarks a page are laid into the target's free slots.
void MergeThousandPageFile(benchmark::State& state) {
    lvtest::TempDir dir;
    const std::string source = dir.File("Source.lvd");
    const std::string target = dir.File("Target.lvd");
    lv::WriteFileAtomic(source, DataFileBytes(1000, 80, 40, false));
    const std::string targetBytes = DataFileBytes(1000, 40, 0, false);
    for (auto _ : state) {
        state.PauseTiming();
        lv::WriteFileAtomic(target, targetBytes);
        state.ResumeTiming();
        const auto result = lv::MergeDataFile(source, target, lv::MergeMode::Match, 111);
        if (result.bookmarksCopied != 40000) {
            state.SkipWithError("unexpected merge result");
        }
    }
}
BENCHMARK(MergeThousandPageFile)->Unit(benchmark::kMillisecond);

void RenamePageOfEightMegabytes(benchmark::State& state) {
    lvtest::TempDir dir;
    const std::string file = dir.File("Big.lvd");
    lv::WriteFileAtomic(file, DataFileBytes(1000, 80, 0, true));
    state.counters["bytes"] = static_cast<double>(lv::ReadFileBytes(file)->size());
    bool renamed = false;
    for (auto _ : state) {
        lv::TIniFile32 ini(file);
        std::vector<std::string> pages = lv::ReadTabs(ini);
        const auto result = lv::RenamePage(ini, pages, 499, renamed ? "Page 500" : "Renamed");
        renamed = !renamed;
        benchmark::DoNotOptimize(result.name);
    }
}
BENCHMARK(RenamePageOfEightMegabytes)->Unit(benchmark::kMillisecond);

} // namespace
