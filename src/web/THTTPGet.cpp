#include "web/THTTPGet.h"

#include "platform/PollEventLoop.h"
#include "web/THttpCli.h"

#include <cctype>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace lv {

// The copies a worker owns: it never reads the component's properties.
struct THTTPGet::Job {
    std::string agent;
    std::string url;
    std::string fileName;
    std::string userName;
    std::string password;
    std::string postQuery;
    std::string referer;
    std::string caFile;
    bool binaryData = true;
    std::chrono::milliseconds timeOut = std::chrono::seconds(30);
    std::int64_t maxBytes = 0;
    std::atomic<bool> cancel{false};
};

namespace {

// Everything the old worker could split: an optional scheme, then a host and a path that
// starts with "/". Addresses relative to a page have no host and fail here.
bool HasHostAndPath(const std::string& url) {
    std::string lower = url;
    for (char& c : lower) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    std::size_t start = 0;
    if (lower.rfind("http://", 0) == 0) {
        start = 7;
    } else if (lower.rfind("https://", 0) == 0) {
        start = 8;
    }
    const std::size_t slash = url.find('/', start);
    return slash != std::string::npos && slash > start;
}

// The worker thread of one download (THTTPGetThread).
class THTTPGetThread {
public:
    using Progress = std::function<void(std::int64_t total, std::int64_t received)>;

    THTTPGetThread(THTTPGet::Job& job, Progress progress)
        : job_(job), progress_(std::move(progress)) {}

    THTTPGet::Result Execute() {
        THTTPGet::Result result;
        if (!HasHostAndPath(job_.url)) {
            result.error = "no host in address '" + job_.url + "'";
            return result;
        }
        std::string temp = job_.fileName + ".partXXXXXX";
        const int fd = ::mkstemp(temp.data());
        if (fd < 0) {
            result.error = "Cannot create file " + job_.fileName;
            return result;
        }
        ::fchmod(fd, 0644); // mkstemp makes it private; an icon file is an ordinary file
        ::close(fd);
        result = Download(temp);
        if (result.ok && ::rename(temp.c_str(), job_.fileName.c_str()) != 0) {
            result.ok = false;
            result.error = "Cannot create file " + job_.fileName;
        }
        if (!result.ok) {
            ::unlink(temp.c_str());
        }
        return result;
    }

private:
    THTTPGet::Result Download(const std::string& temp) {
        THTTPGet::Result result;
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        PollEventLoop loop;
        THttpCli cli(loop);
        cli.URL = job_.url;
        cli.Agent = job_.agent;
        cli.Accept.clear(); // no list of accepted types
        cli.Reference = job_.referer;
        cli.Username = job_.userName;
        cli.Password = job_.password;
        cli.NoCache = true; // always from the server, never from a cache on the way
        cli.CaFile = job_.caFile;
        cli.DocumentStream = &out;
        if (job_.maxBytes > 0) {
            cli.MaxDocumentBytes = job_.maxBytes;
        }
        const auto limit = job_.timeOut.count() > 0 ? job_.timeOut : std::chrono::seconds(30);
        // The client's own deadline ends the request; the worker's clock below only backs it up.
        cli.RequestTimeout = limit;
        const auto deadline = std::chrono::steady_clock::now() + limit;
        std::int64_t received = 0;
        cli.OnDocData = [&](THttpCli& sender, const char*, std::size_t length) {
            received += static_cast<std::int64_t>(length);
            progress_(sender.ContentLength(), received);
        };
        bool done = false;
        cli.OnRequestDone = [&](THttpCli&, THttpRequest, int) { done = true; };

        std::istringstream body(job_.postQuery);
        try {
            if (!job_.postQuery.empty()) {
                cli.PostStream = &body;
                cli.PostAsync();
            } else {
                cli.GetAsync();
            }
        } catch (const std::exception& e) {
            result.error = e.what();
            return result;
        }
        while (!done) {
            if (result.error.empty() && job_.cancel.load()) {
                result.error = "cancelled";
                cli.Abort();
            } else if (result.error.empty() && std::chrono::steady_clock::now() > deadline) {
                result.error = "timed out";
                cli.Abort();
            }
            loop.ProcessPending(std::chrono::milliseconds(50));
        }
        out.flush();
        const bool written = out.good();
        out.close();

        if (!result.error.empty()) {
            return result;
        }
        if (cli.RequestError() == 10060) {
            result.error = "timed out";
            return result;
        }
        if (cli.RequestError() != 0 || cli.StatusCode() < 200 || cli.StatusCode() > 299) {
            result.error = std::to_string(cli.StatusCode()) + " " + cli.ReasonPhrase();
            return result;
        }
        const std::int64_t expected = cli.ContentLength();
        if (job_.binaryData && expected < 0) {
            result.error = "no Content-Length";
            return result;
        }
        // Without BinaryData an unknown size is fine: the download ended with the connection.
        if (expected >= 0 && received != expected) {
            result.error = "received " + std::to_string(received) + " of " +
                           std::to_string(expected) + " bytes";
            return result;
        }
        if (!written || !SyncFile(temp)) {
            result.error = "Cannot create file " + job_.fileName;
            return result;
        }
        result.ok = true;
        result.size = received;
        return result;
    }

    static bool SyncFile(const std::string& path) {
        const int fd = ::open(path.c_str(), O_RDONLY);
        if (fd < 0) {
            return false;
        }
        const bool ok = ::fsync(fd) == 0;
        ::close(fd);
        return ok;
    }

    THTTPGet::Job& job_;
    Progress progress_;
};

} // namespace

THTTPGet::THTTPGet(EventLoop& loop) : loop_(loop), self_(std::make_shared<THTTPGet*>(this)) {}

THTTPGet::~THTTPGet() {
    self_.reset(); // results still on their way are dropped
    if (job_) {
        job_->cancel = true;
    }
    if (thread_.joinable()) {
        thread_.join();
    }
}

bool THTTPGet::FetchFile() {
    if (running_) {
        return false;
    }
    if (thread_.joinable()) {
        thread_.join(); // a finished worker not yet collected
    }
    job_ = std::make_shared<Job>();
    job_->agent = Agent;
    job_->url = URL;
    job_->fileName = FileName;
    job_->userName = UserName;
    job_->password = Password;
    job_->postQuery = PostQuery;
    job_->referer = Referer;
    job_->caFile = CaFile;
    job_->binaryData = BinaryData;
    job_->timeOut = TimeOut;
    job_->maxBytes = MaxBytes;
    running_ = true;

    std::weak_ptr<THTTPGet*> self = self_;
    EventLoop& loop = loop_;
    thread_ = std::thread([job = job_, self, &loop] {
        THTTPGetThread worker(*job, [self, &loop](std::int64_t total, std::int64_t received) {
            loop.Post([self, total, received] {
                if (auto owner = self.lock(); owner && (*owner)->OnProgress) {
                    (*owner)->OnProgress(**owner, total, received);
                }
            });
        });
        const Result result = worker.Execute();
        loop.Post([self, result, fileName = job->fileName] {
            if (auto owner = self.lock()) {
                (*owner)->Finished(fileName, result);
            }
        });
    });

    if (WaitThread) {
        while (running_) {
            loop_.ProcessPending(std::chrono::milliseconds(50));
        }
    }
    return true;
}

void THTTPGet::Abort() {
    if (job_) {
        job_->cancel = true;
    }
}

void THTTPGet::Finished(const std::string& fileName, const Result& result) {
    // The worker posts this as its very last act, so the join is immediate.
    if (thread_.joinable()) {
        thread_.join();
    }
    running_ = false;
    if (result.ok) {
        lastError_.clear();
        if (OnDoneFile) {
            OnDoneFile(*this, fileName, result.size);
        }
    } else {
        lastError_ = result.error;
        if (OnError) {
            OnError(*this);
        }
    }
}

} // namespace lv
