// The DataFile engine on a large file: 1,000 pages of 80 bookmarks (about 8 MB). A page switch
// (open, read six keys of 80 slots, save) must stay far below 50 ms.
#include "store/Backup.h"
#include "store/DataFile.h"
#include "store/FileIo.h"
#include "store/TIniFile32.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kPages = 1000;

const std::string& BigDataFile() {
    static const std::string path = [] {
        std::string dir =
            (std::filesystem::temp_directory_path() / "lv-store-bench-XXXXXX").string();
        if (mkdtemp(dir.data()) == nullptr) {
            std::perror("mkdtemp");
            std::exit(1);
        }
        std::string bytes = "\r\n[Tabs]\r\nCount=" + std::to_string(kPages) + "\r\n";
        for (int page = 1; page <= kPages; ++page) {
            bytes += "Tab" + std::to_string(page) + "=Page " + std::to_string(page) + "\r\n";
        }
        for (int page = 1; page <= kPages; ++page) {
            bytes += "\r\n[Page " + std::to_string(page) + "]\r\n";
            for (int slot = 1; slot <= lv::datafile::kSlotCount; ++slot) {
                const std::string p = lv::SlotPrefix(slot);
                const std::string id = std::to_string(page) + "-" + std::to_string(slot);
                bytes += p + "N=Bookmark title number " + id + "\r\n";
                bytes += p + "U=http://www.example.com/section/" + id + "/index.html\r\n";
                if (slot % 3 == 0) {
                    bytes += p + "P=Notes about this site|~second line " + id + "\r\n";
                }
                bytes += p + "G=" + std::to_string(600 + slot % 3) + "\r\n";
            }
        }
        const std::string file = dir + "/Big.lvd";
        lv::WriteFileAtomic(file, bytes);
        std::atexit([] {
            std::filesystem::remove_all(std::filesystem::path(BigDataFile()).parent_path());
        });
        return file;
    }();
    return path;
}

const std::string kLastPage = "Page " + std::to_string(kPages);

void OpenEngine(benchmark::State& state) {
    for (auto _ : state) {
        lv::TIniFile32 ini(BigDataFile());
        benchmark::DoNotOptimize(ini.LineCount());
    }
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(BigDataFile()));
}
BENCHMARK(OpenEngine)->Unit(benchmark::kMillisecond);

// The engine remembers its last few answers; asking for five pages in turn measures the scan.
void FindLastSection(benchmark::State& state) {
    const lv::TIniFile32 ini(BigDataFile());
    std::vector<std::string> names;
    for (int page = kPages - 4; page <= kPages; ++page) {
        names.push_back("Page " + std::to_string(page));
    }
    std::size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ini.FindSection(names[next]));
        next = (next + 1) % names.size();
    }
}
BENCHMARK(FindLastSection)->Unit(benchmark::kMicrosecond);

void ReadPageKeys(benchmark::State& state) {
    const lv::TIniFile32 ini(BigDataFile());
    for (auto _ : state) {
        for (int slot = 1; slot <= lv::datafile::kSlotCount; ++slot) {
            for (const char letter : std::string_view("NUIGPC")) {
                benchmark::DoNotOptimize(ini.ReadString(kLastPage, lv::SlotKey(slot, letter), ""));
            }
        }
    }
}
BENCHMARK(ReadPageKeys)->Unit(benchmark::kMillisecond);

// Open, read six keys of each of the 80 slots, save (with its flush to disk).
void PageSwitchOn(benchmark::State& state, const std::string& file) {
    for (auto _ : state) {
        lv::TIniFile32 ini(file);
        ini.SetDeferSaves(true);
        for (int slot = 1; slot <= lv::datafile::kSlotCount; ++slot) {
            benchmark::DoNotOptimize(lv::ReadSlotForDisplay(ini, kLastPage, slot, {}));
        }
        ini.UpdateFile();
    }
}
void PageSwitch(benchmark::State& state) {
    PageSwitchOn(state, BigDataFile());
}
BENCHMARK(PageSwitch)->Unit(benchmark::kMillisecond);

// The same in memory-backed /dev/shm, where the flush is free: the engine's own share.
void PageSwitchInMemory(benchmark::State& state) {
    const std::string file = "/dev/shm/lv-store-bench-" + std::to_string(getpid()) + ".lvd";
    if (!std::filesystem::is_directory("/dev/shm")) {
        state.SkipWithError("no /dev/shm");
        return;
    }
    std::filesystem::copy_file(BigDataFile(), file,
                               std::filesystem::copy_options::overwrite_existing);
    PageSwitchOn(state, file);
    std::filesystem::remove(file);
}
BENCHMARK(PageSwitchInMemory)->Unit(benchmark::kMillisecond);

void WriteOneString(benchmark::State& state) {
    lv::TIniFile32 ini(BigDataFile());
    int n = 0;
    for (auto _ : state) {
        ini.WriteString(kLastPage, "80N", "Changed " + std::to_string(++n));
    }
}
BENCHMARK(WriteOneString)->Unit(benchmark::kMillisecond);

// One command that changes a bookmark, as the user makes it: the backup armed, then the save.
// With history on (argument 1) the change also keeps the state before it (a hard link, no copy)
// and rewrites the history's index; off (0) it is the bare save.
void ChangeWithHistory(benchmark::State& state) {
    const bool history = state.range(0) != 0;
    int n = 0;
    for (auto _ : state) {
        lv::TakeModificationBackup(BigDataFile(), history, "Edit bookmark");
        lv::TIniFile32(BigDataFile())
            .WriteString(kLastPage, "79N", "Edited " + std::to_string(++n));
    }
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(BigDataFile()));
}
BENCHMARK(ChangeWithHistory)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
