#pragma once

#include "platform/EventLoop.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>

namespace lv {

// Downloads one address into a file on a worker thread (THTTPGetThread), one download at a
// time. The worker runs its own THttpCli on a private loop; progress and the outcome come back
// as events on the caller's loop. With WaitThread, FetchFile returns only when the download has
// ended, pumping the caller's loop meanwhile so the program stays responsive.
//
// The file appears under FileName only when the download succeeded: the worker writes to a
// temporary file beside it and renames it at the end. A failed download leaves no file of its
// own and does not touch an existing file of that name.
class THTTPGet {
public:
    explicit THTTPGet(EventLoop& loop);
    // Cancels a running download and waits for its worker to end; no event follows.
    ~THTTPGet();
    THTTPGet(const THTTPGet&) = delete;
    THTTPGet& operator=(const THTTPGet&) = delete;

    // --- Published properties, in their order --------------------------------------------
    std::string Agent;
    bool BinaryData = true; // require a Content-Length and the exact number of bytes
    std::string URL;        // http:// or https://; a host and a path are required
    std::string FileName;
    std::string UserName;
    std::string Password;
    std::string PostQuery; // set: POST it as the body instead of GET
    std::string Referer;
    bool WaitThread = true;

    // Deadline of the whole download, counted from its start: when it passes the download ends
    // as failed ("timed out"), however steadily bytes still arrive (the system internet library
    // this replaces had such limits built in).
    std::chrono::milliseconds TimeOut = std::chrono::seconds(30);
    // The largest document taken, in bytes; a larger one fails the download (0: the HTTP
    // client's own bound).
    std::int64_t MaxBytes = 0;
    // Extra PEM file of trusted CAs for https (empty: the process-wide default).
    std::string CaFile;

    // --- Published events (on the caller's loop) -----------------------------------------
    std::function<void(THTTPGet& sender, std::int64_t total, std::int64_t received)> OnProgress;
    std::function<void(THTTPGet& sender, const std::string& fileName, std::int64_t size)>
        OnDoneFile;
    std::function<void(THTTPGet& sender, const std::string& text)> OnDoneString;
    std::function<void(THTTPGet& sender)> OnError;

    // Starts the download; does nothing and returns false while a worker still runs.
    bool FetchFile();
    bool Busy() const { return running_; }
    // Asks the running worker to stop; OnError follows.
    void Abort();
    // Why the last download failed (for traces; the events carry no reason).
    const std::string& LastError() const { return lastError_; }

    struct Job;
    struct Result {
        bool ok = false;
        std::int64_t size = 0;
        std::string error;
    };

private:
    void Finished(const std::string& fileName, const Result& result);

    EventLoop& loop_;
    std::shared_ptr<THTTPGet*> self_; // the worker's posts reach us only while this lives
    std::shared_ptr<Job> job_;
    std::thread thread_;
    bool running_ = false;
    std::string lastError_;
};

} // namespace lv
