// Sequential GETs of small documents from a local nginx: THttpCli, one new connection per
// request, against `wget --spider -i list` over the same addresses in the same run.
#include "support/Nginx.h"
#include "support/TempDir.h"

#include "platform/PollEventLoop.h"
#include "web/THttpCli.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

constexpr int kDocuments = 2000;

double Seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// Runs wget over the list; returns its wall time, or a negative value when wget is missing or
// failed.
double RunWget(const std::string& listFile) {
    std::vector<std::string> args = {"wget", "--spider", "-q", "-i", listFile};
    std::vector<char*> argv;
    for (auto& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = -1;
    if (posix_spawnp(&pid, "wget", nullptr, nullptr, argv.data(), environ) != 0) {
        return -1;
    }
    int status = 0;
    waitpid(pid, &status, 0);
    const double elapsed = Seconds(std::chrono::steady_clock::now() - start);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? elapsed : -1;
}

void BM_SequentialGet(benchmark::State& state) {
    lvtest::Nginx nginx;
    std::vector<std::string> urls;
    std::string list;
    for (int i = 0; i < kDocuments; ++i) {
        const std::string name = "doc" + std::to_string(i) + ".htm";
        nginx.WriteDoc(name, "<html><head><title>" + name + "</title></head><body>" +
                                 std::string(200, 'x') + "</body></html>\n");
    }
    nginx.Start();
    for (int i = 0; i < kDocuments; ++i) {
        urls.push_back(nginx.BaseUrl() + "/doc" + std::to_string(i) + ".htm");
        list += urls.back() + "\n";
    }
    lvtest::TempDir dir;
    const std::string listFile = dir.File("list.txt");
    lvtest::WriteBytes(listFile, list);

    lv::PollEventLoop loop;
    lv::THttpCli cli(loop);
    std::int64_t bytes = 0;
    double clientSeconds = 0;
    double wgetSeconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        for (const auto& url : urls) {
            cli.URL = url;
            cli.Get();
            bytes += cli.ReceivedCount();
        }
        clientSeconds += Seconds(std::chrono::steady_clock::now() - start);
        state.PauseTiming();
        wgetSeconds += RunWget(listFile);
        state.ResumeTiming();
    }
    const double runs = static_cast<double>(state.iterations());
    const double clientRate = kDocuments * runs / clientSeconds;
    state.counters["client_docs_per_s"] = clientRate;
    state.SetBytesProcessed(bytes);
    if (wgetSeconds > 0) {
        const double wgetRate = kDocuments * runs / wgetSeconds;
        state.counters["wget_docs_per_s"] = wgetRate;
        state.counters["client_to_wget"] = clientRate / wgetRate;
        std::printf("THttpCli %.0f docs/s, wget --spider %.0f docs/s, ratio %.2f\n", clientRate,
                    wgetRate, clientRate / wgetRate);
    } else {
        state.SetLabel("wget not available");
    }
}

BENCHMARK(BM_SequentialGet)->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace
