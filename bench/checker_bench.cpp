// The link checker's speed: 2,006 links against a local nginx (2,000 pages with Last-Modified,
// five missing, one 301), one at a time and eight at once, beside `wget --spider -i` and
// `linkchecker` over the same links in the same run; and 400 links on eight loopback hosts
// whose server answers after 20 ms, where checking several at once pays.
#include "support/Nginx.h"
#include "support/SlowHttpServer.h"
#include "support/TempDir.h"

#include "platform/PollEventLoop.h"
#include "store/DataFile.h"
#include "tools/LinkChecker.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <memory>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

constexpr int kPages = 2000;
constexpr int kMissing = 5;
constexpr int kSlowLinks = 400;
constexpr int kSlowHosts = 8;

double Seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

std::map<std::string, double>& Rates() {
    static std::map<std::string, double> rates;
    return rates;
}

// The local site and its 2,006 links, made once for every benchmark of the run.
struct Site {
    lvtest::TempDir dir;
    lvtest::Nginx nginx;
    std::vector<lv::CheckEntry> entries;
    std::string listFile;
    std::string indexUrl;
    std::string linkcheckerConfig;

    Site() {
        std::string index = "<html><body>\n";
        for (int i = 0; i < kPages; ++i) {
            nginx.WriteDoc("p/" + std::to_string(i) + ".html",
                           "<html><body>page " + std::to_string(i) + "</body></html>\n");
        }
        // linkchecker caps its own rate at 10 requests a second to one host unless the server
        // answers with a "LinkChecker" header; every answer carries one so it runs unthrottled.
        nginx.Start("add_header LinkChecker yes always;\n"
                    "location = /moved { return 301 /p/0.html; }\n");
        std::vector<std::string> paths;
        for (int i = 0; i < kPages; ++i) {
            paths.push_back("/p/" + std::to_string(i) + ".html");
        }
        for (int i = 0; i < kMissing; ++i) {
            paths.push_back("/missing/" + std::to_string(i) + ".html");
        }
        paths.emplace_back("/moved");
        std::string list;
        for (std::size_t i = 0; i < paths.size(); ++i) {
            const std::string url = nginx.BaseUrl() + paths[i];
            entries.push_back({url, "Link " + std::to_string(i),
                               "Page" + std::to_string(i / lv::datafile::kSlotCount + 1),
                               lv::SlotPrefix(static_cast<int>(i % lv::datafile::kSlotCount) + 1)});
            list += url + "\n";
            index += "<a href=\"" + url + "\">" + std::to_string(i) + "</a>\n";
        }
        nginx.WriteDoc("index.html", index + "</body></html>\n");
        indexUrl = nginx.BaseUrl() + "/index.html";
        listFile = dir.File("list.txt");
        lvtest::WriteBytes(listFile, list);
        // Unthrottled (with the header above), ten threads.
        linkcheckerConfig = dir.File("linkcheckerrc");
        lvtest::WriteBytes(linkcheckerConfig,
                           "[checking]\nmaxrequestspersecond=100000\nthreads=10\n"
                           "[output]\nstatus=0\nwarnings=0\n");
    }
};

Site& TheSite() {
    static Site site;
    return site;
}

// Runs the checker over the entries with a fresh DataFile; returns links per second.
double RunChecker(const std::vector<lv::CheckEntry>& entries, int jobs, const std::string& file,
                  int* bad = nullptr) {
    std::filesystem::remove(file);
    lv::PollEventLoop loop;
    bool done = false;
    lv::LinkChecker::Events events;
    events.finished = [&](bool) { done = true; };
    lv::LinkChecker checker(loop, file, events);
    checker.SetJobs(jobs);
    const auto start = std::chrono::steady_clock::now();
    checker.Start(entries);
    while (!done) {
        loop.ProcessPending(std::chrono::milliseconds(100));
    }
    const double seconds = Seconds(std::chrono::steady_clock::now() - start);
    if (bad != nullptr) {
        *bad = checker.BadCount();
    }
    return static_cast<double>(entries.size()) / seconds;
}

// Wall time of a program run; negative when it cannot be started, was killed or ended with
// another status than the one it gives for "some links are bad" (so a run that failed for
// another reason is never timed as a result).
double RunProgram(std::vector<std::string> args, int badLinksStatus) {
    std::vector<char*> argv;
    for (auto& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = -1;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        return -1;
    }
    // A tool that does not finish in time is stopped after a bound.
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() - start > std::chrono::seconds(120)) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return -1;
        }
        usleep(10000);
    }
    const double elapsed = Seconds(std::chrono::steady_clock::now() - start);
    return WIFEXITED(status) && WEXITSTATUS(status) == badLinksStatus ? elapsed : -1;
}

void BM_CheckLocalLinks(benchmark::State& state) {
    Site& site = TheSite();
    const int jobs = static_cast<int>(state.range(0));
    double rate = 0;
    int bad = 0;
    for (auto _ : state) {
        rate = RunChecker(site.entries, jobs, site.dir.File("bench.lvd"), &bad);
        state.SetIterationTime(static_cast<double>(site.entries.size()) / rate);
    }
    if (bad != kMissing + 1) {
        state.SkipWithError("the checker did not find the six bad links");
        return;
    }
    state.counters["links_per_s"] = rate;
    Rates()["checker x" + std::to_string(jobs)] = rate;
}
BENCHMARK(BM_CheckLocalLinks)
    ->Arg(1)
    ->Arg(8)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_WgetSpider(benchmark::State& state) {
    Site& site = TheSite();
    double seconds = 0;
    for (auto _ : state) {
        // wget ends with 8 when a server answered with an error.
        seconds = RunProgram({"wget", "--spider", "-q", "-i", site.listFile}, 8);
        if (seconds < 0) {
            state.SkipWithError("wget is not installed or did not report the bad links");
            return;
        }
        state.SetIterationTime(seconds);
    }
    const double rate = static_cast<double>(site.entries.size()) / seconds;
    state.counters["links_per_s"] = rate;
    Rates()["wget --spider"] = rate;
}
BENCHMARK(BM_WgetSpider)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_Linkchecker(benchmark::State& state) {
    Site& site = TheSite();
    double seconds = 0;
    for (auto _ : state) {
        // linkchecker ends with 1 when it found bad links.
        seconds = RunProgram(
            {"linkchecker", "-f", site.linkcheckerConfig, "--no-robots", "-r", "1", site.indexUrl},
            1);
        if (seconds < 0) {
            state.SkipWithError("linkchecker is not installed, failed or did not finish in 120 s");
            return;
        }
        state.SetIterationTime(seconds);
    }
    // The index page is checked too.
    const double rate = static_cast<double>(site.entries.size() + 1) / seconds;
    state.counters["links_per_s"] = rate;
    Rates()["linkchecker"] = rate;
}
BENCHMARK(BM_Linkchecker)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_CheckSlowHosts(benchmark::State& state) {
    const int jobs = static_cast<int>(state.range(0));
    lvtest::SlowHttpServer server(kSlowHosts, std::chrono::milliseconds(20));
    lvtest::TempDir dir;
    std::vector<lv::CheckEntry> entries;
    for (int i = 0; i < kSlowLinks; ++i) {
        entries.push_back({server.Url(i % kSlowHosts + 1, "page" + std::to_string(i)),
                           "Link " + std::to_string(i), "Page" + std::to_string(i / 80 + 1),
                           lv::SlotPrefix(i % 80 + 1)});
    }
    double rate = 0;
    for (auto _ : state) {
        rate = RunChecker(entries, jobs, dir.File("slow.lvd"));
        state.SetIterationTime(static_cast<double>(entries.size()) / rate);
    }
    state.counters["links_per_s"] = rate;
    Rates()["slow hosts x" + std::to_string(jobs)] = rate;
}
BENCHMARK(BM_CheckSlowHosts)
    ->Arg(1)
    ->Arg(8)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// The comparison, once everything above has run.
void BM_Summary(benchmark::State& state) {
    for (auto _ : state) {
    }
    const auto& rates = Rates();
    auto rate = [&](const std::string& name) {
        const auto hit = rates.find(name);
        return hit == rates.end() ? 0.0 : hit->second;
    };
    std::printf("\nlinks per second over the same %d local links:\n",
                static_cast<int>(TheSite().entries.size()));
    for (const auto& [name, value] : rates) {
        std::printf("  %-16s %8.0f\n", name.c_str(), value);
    }
    if (rate("wget --spider") > 0) {
        std::printf("checker x1 / wget --spider: %.2f (target at least 1)\n",
                    rate("checker x1") / rate("wget --spider"));
    }
    if (rate("linkchecker") > 0) {
        std::printf("checker x1 / linkchecker: %.1f, checker x8 / linkchecker: %.1f (target at "
                    "least 7)\n",
                    rate("checker x1") / rate("linkchecker"),
                    rate("checker x8") / rate("linkchecker"));
    }
    if (rate("slow hosts x1") > 0) {
        std::printf("slow hosts, 8 at once / 1 at a time: %.1f (target at least 5)\n",
                    rate("slow hosts x8") / rate("slow hosts x1"));
    }
}
BENCHMARK(BM_Summary)->Iterations(1);

} // namespace
