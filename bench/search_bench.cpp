// The bookmark search over 1,000 pages of 80 bookmarks (80,000 rows): building the index, one
// search in each mode (and a keystroke of search-as-you-type), and the duplicate listing.
// Aims: the index under 100 ms, each search under 10 ms, the duplicates under 100 ms.
#include "store/DataFile.h"
#include "store/FileIo.h"
#include "store/TIniFile32.h"
#include "support/TempDir.h"
#include "tools/BookmarkIndex.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

constexpr int kPages = 1000;

// Every tenth address is also bookmarked on another page; notes on every third bookmark.
std::string BigDataFile() {
    std::string bytes = "\r\n[Tabs]\r\nCount=" + std::to_string(kPages) + "\r\n";
    for (int page = 1; page <= kPages; ++page) {
        bytes += "Tab" + std::to_string(page) + "=Page " + std::to_string(page) + "\r\n";
    }
    for (int page = 1; page <= kPages; ++page) {
        bytes += "\r\n[Page " + std::to_string(page) + "]\r\n";
        for (int slot = 1; slot <= lv::datafile::kSlotCount; ++slot) {
            const std::string p = lv::SlotPrefix(slot);
            const int site = slot % 10 == 0 ? slot : page * 100 + slot;
            bytes += p + "N=Bookmark " + std::to_string(page) + "-" + std::to_string(slot) + "\r\n";
            bytes += p + "U=http://www.site" + std::to_string(site) + ".example.com/index.html\r\n";
            if (slot % 3 == 0) {
                bytes += p + "P=Notes of this|~bookmark number " + std::to_string(slot) + "\r\n";
            }
        }
    }
    return bytes;
}

struct Data {
    lvtest::TempDir dir;
    std::string file = dir.File("Big.lvd");
    Data() { lv::WriteFileAtomic(file, BigDataFile()); }
};

Data& Shared() {
    static Data data;
    return data;
}

const lv::BookmarkIndex& SharedIndex() {
    static const auto index = lv::BuildBookmarkIndex(lv::TIniFile32(Shared().file), 4);
    return *index;
}

void IndexFromOpenFile(benchmark::State& state) {
    const lv::TIniFile32 ini(Shared().file);
    for (auto _ : state) {
        const auto index = lv::BuildBookmarkIndex(ini, 4);
        if (index->size() != 80000U) {
            state.SkipWithError("wrong row count");
        }
    }
}
BENCHMARK(IndexFromOpenFile)->Unit(benchmark::kMillisecond);

// What the window's first search does: open the DataFile and build the index.
void IndexWithFileLoad(benchmark::State& state) {
    for (auto _ : state) {
        const auto index = lv::BuildBookmarkIndex(lv::TIniFile32(Shared().file), 4);
        benchmark::DoNotOptimize(index->size());
    }
}
BENCHMARK(IndexWithFileLoad)->Unit(benchmark::kMillisecond);

void Search(benchmark::State& state, lv::SearchField field, const char* text, bool exact) {
    const lv::BookmarkIndex& index = SharedIndex();
    for (auto _ : state) {
        const auto rows = lv::SearchIndex(index, text, field, exact);
        benchmark::DoNotOptimize(rows.size());
    }
}
BENCHMARK_CAPTURE(Search, Url, lv::SearchField::Url, "SITE77", false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Search, Title, lv::SearchField::Title, "mark 5-", false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Search, Keyword, lv::SearchField::Notes, "number 3", false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Search, UrlCaseSensitive, lv::SearchField::Url, "site77", true)
    ->Unit(benchmark::kMillisecond);
// One keystroke of search-as-you-type: a short text over all three fields, most rows match.
BENCHMARK_CAPTURE(Search, AsYouTypeKeystroke, lv::SearchField::All, "b", false)
    ->Unit(benchmark::kMillisecond);

void Duplicates(benchmark::State& state) {
    const lv::BookmarkIndex& index = SharedIndex();
    for (auto _ : state) {
        const auto rows = lv::ListDuplicates(index, state.range(0) != 0);
        if (rows.empty()) {
            state.SkipWithError("no duplicates found");
        }
    }
}
BENCHMARK(Duplicates)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
