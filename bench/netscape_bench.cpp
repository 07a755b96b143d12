// Importing a browser's bookmark file of 10,000 and 50,000 links in 200 folders, beside buku
// (another bookmark manager, Debian's package) importing the same file in the same run. Each
// import runs in a child process, so its peak memory (peak_MB) is its own. The goal: at least
// 16 times faster than buku at 50,000 links, under 100 MB.
#include "exchange/NetscapeImport.h"
#include "support/TempDir.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

extern char** environ;

namespace {

constexpr int kFolders = 200;

// A file as a current browser writes it: attributes in its order, an icon on every tenth link,
// a description now and then.
std::string BookmarkFile(int links) {
    std::string html = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
                       "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
                       "<TITLE>Bookmarks</TITLE>\n<H1>Bookmarks Menu</H1>\n\n<DL><p>\n";
    const int perFolder = links / kFolders;
    for (int folder = 0; folder < kFolders; ++folder) {
        html += "    <DT><H3 ADD_DATE=\"1700000000\" LAST_MODIFIED=\"1700000001\">Folder " +
                std::to_string(folder) + " &amp; friends</H3>\n    <DL><p>\n";
        for (int i = 0; i < perFolder; ++i) {
            const std::string id = std::to_string(folder) + "-" + std::to_string(i);
            html +=
                "        <DT><A HREF=\"https://www.example.com/section/" + id +
                "/index.html?q=1&amp;r=2\" ADD_DATE=\"1700000000\" LAST_MODIFIED=\"1700000002\"";
            if (i % 10 == 0) {
                html += " ICON_URI=\"https://www.example.com/favicon.ico\" ICON=\"data:image/png;"
                        "base64,iVBORw0KGgoAAAANSUhEUgAAABAAAAAQCAYAAAAf8/9hAAAAAXNSR0IArs4c6QAA\"";
            }
            html += ">Caf\xC3\xA9 page " + id + " \xE2\x80\x94 a title of usual length</A>\n";
            if (i % 7 == 0) {
                html += "        <DD>A description of the page " + id + "\n";
            }
        }
        html += "    </DL><p>\n";
    }
    html += "</DL>\n";
    return html;
}

struct Files {
    lvtest::TempDir dir;
    std::map<int, std::string> bookmarks;

    const std::string& For(int links) {
        auto found = bookmarks.find(links);
        if (found == bookmarks.end()) {
            const std::string path = dir.File("bookmarks-" + std::to_string(links) + ".html");
            lvtest::WriteBytes(path, BookmarkFile(links));
            found = bookmarks.emplace(links, path).first;
        }
        return found->second;
    }
};

Files& TheFiles() {
    static Files files;
    return files;
}

struct ChildRun {
    double seconds = 0;
    double peakMb = 0;
    bool ok = false;
};

ChildRun Finish(pid_t child, std::chrono::steady_clock::time_point start) {
    ChildRun run;
    int status = 0;
    rusage usage{};
    if (child < 0 || ::wait4(child, &status, 0, &usage) != child) {
        return run;
    }
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.peakMb = static_cast<double>(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return run;
}

ChildRun OurImport(const std::string& file, const std::string& dataFile) {
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        try {
            lv::ImportNetscapeFile(file, dataFile);
        } catch (...) {
            ::_exit(1);
        }
        ::_exit(0);
    }
    return Finish(child, start);
}

std::string FindBuku() {
    for (const char* dir : {"/usr/bin/", "/usr/local/bin/"}) {
        const std::string path = std::string(dir) + "buku";
        if (::access(path.c_str(), X_OK) == 0) {
            return path;
        }
    }
    return {};
}

ChildRun BukuImport(const std::string& buku, const std::string& file, const std::string& home) {
    std::filesystem::remove_all(home);
    std::filesystem::create_directories(home);
    std::vector<std::string> env = {"HOME=" + home, "XDG_DATA_HOME=" + home, "PATH=/usr/bin:/bin",
                                    "LC_ALL=C.UTF-8"};
    std::vector<char*> envp;
    for (std::string& entry : env) {
        envp.push_back(entry.data());
    }
    envp.push_back(nullptr);
    std::vector<std::string> words = {buku, "--nostdin", "--tacit", "-i", file};
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t child = -1;
    if (posix_spawn(&child, buku.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0) {
        child = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    return Finish(child, start);
}

// Our best time per file size, for the comparison in buku's row.
std::map<long, double>& OurBest() {
    static std::map<long, double> best;
    return best;
}

void Report(benchmark::State& state, const ChildRun& run) {
    if (!run.ok) {
        state.SkipWithError("the import failed");
        return;
    }
    state.SetIterationTime(run.seconds);
    state.counters["peak_MB"] = run.peakMb;
    state.counters["links"] = static_cast<double>(state.range(0));
}

void BM_NetscapeImport(benchmark::State& state) {
    const std::string& file = TheFiles().For(static_cast<int>(state.range(0)));
    const std::string dataFile = TheFiles().dir.File("Netscape.lvd");
    for (auto _ : state) {
        const ChildRun run = OurImport(file, dataFile);
        Report(state, run);
        double& best = OurBest()[static_cast<long>(state.range(0))];
        if (run.ok && (best == 0 || run.seconds < best)) {
            best = run.seconds;
        }
    }
}

void BM_BukuImport(benchmark::State& state) {
    const std::string buku = FindBuku();
    if (buku.empty()) {
        state.SkipWithError("buku is not installed (scripts/install-deps test): no comparison");
        return;
    }
    const std::string& file = TheFiles().For(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const ChildRun run = BukuImport(buku, file, TheFiles().dir.File("buku-home"));
        Report(state, run);
        // How many times faster our import of the same file was, in this run.
        if (const double ours = OurBest()[static_cast<long>(state.range(0))]; run.ok && ours > 0) {
            state.counters["ours_faster_x"] = run.seconds / ours;
        }
    }
}

} // namespace

BENCHMARK(BM_NetscapeImport)
    ->Arg(10000)
    ->Arg(50000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK(BM_BukuImport)
    ->Arg(10000)
    ->Arg(50000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
