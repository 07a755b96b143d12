#include "web/HostResolver.h"

#include "web/WinsockErrors.h"

#include <arpa/inet.h>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <netdb.h>
#include <netinet/in.h>
#include <string_view>
#include <sys/socket.h>
#include <thread>

namespace lv {

class HostResolver::Lookup {
public:
    std::mutex mutex;
    bool cancelled = false;
    EventLoop* loop = nullptr;
    std::string host;
    Done done;
};

namespace {

std::string AddressText(const sockaddr* sa) {
    char text[INET6_ADDRSTRLEN] = {};
    if (sa->sa_family == AF_INET) {
        inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(sa)->sin_addr, text, sizeof text);
    } else if (sa->sa_family == AF_INET6) {
        inet_ntop(AF_INET6, &reinterpret_cast<const sockaddr_in6*>(sa)->sin6_addr, text,
                  sizeof text);
    }
    return text;
}

std::atomic<std::uint64_t> systemLookups{0};

void Resolve(const std::string& host, int& error, std::string& address) {
    systemLookups.fetch_add(1);
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* list = nullptr;
    errno = 0;
    const int rc = getaddrinfo(host.c_str(), nullptr, &hints, &list);
    error = WinsockErrorFromGai(rc, errno);
    if (rc != 0) {
        return;
    }
    const addrinfo* chosen = nullptr;
    for (const addrinfo* ai = list; ai != nullptr; ai = ai->ai_next) {
        if (ai->ai_family == AF_INET) {
            chosen = ai;
            break;
        }
        if (chosen == nullptr && ai->ai_family == AF_INET6) {
            chosen = ai;
        }
    }
    if (chosen != nullptr) {
        address = AddressText(chosen->ai_addr);
    } else {
        error = WSANO_DATA;
    }
    freeaddrinfo(list);
}

void Deliver(const std::shared_ptr<HostResolver::Lookup>& lookup, int error,
             const std::string& address) {
    std::lock_guard<std::mutex> lock(lookup->mutex);
    if (lookup->cancelled) {
        return;
    }
    // Posted while holding the lock: Cancel() cannot return while the loop is being touched.
    lookup->loop->Post([lookup, error, address] {
        HostResolver::Done done;
        {
            std::lock_guard<std::mutex> inner(lookup->mutex);
            if (lookup->cancelled) {
                return;
            }
            lookup->cancelled = true; // delivered once
            done = std::move(lookup->done);
        }
        done(error, address);
    });
}

// The worker pool. It is never destroyed: detached workers may still be waiting when the
// program exits, and must not find their queue gone.
class Pool {
public:
    static Pool& Instance() {
        static Pool* pool = new Pool;
        return *pool;
    }

    void Enqueue(std::shared_ptr<HostResolver::Lookup> lookup) {
        std::unique_lock<std::mutex> lock(mutex_);
        queue_.push_back(std::move(lookup));
        if (idle_ > 0) {
            wake_.notify_one();
            return;
        }
        if (workers_ < kMaxWorkers) {
            ++workers_;
            try {
                std::thread([this] { Work(); }).detach();
            } catch (...) {
                --workers_;
                if (workers_ == 0) {
                    queue_.pop_back();
                    throw;
                }
            }
        }
    }

private:
    static constexpr int kMaxWorkers = 8;
    static constexpr std::chrono::seconds kIdleTime{30};

    void Work() {
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            while (queue_.empty()) {
                ++idle_;
                const bool woke =
                    wake_.wait_for(lock, kIdleTime, [this] { return !queue_.empty(); });
                --idle_;
                if (!woke) {
                    --workers_;
                    return;
                }
            }
            auto lookup = std::move(queue_.front());
            queue_.pop_front();
            lock.unlock();
            bool skip = false;
            {
                std::lock_guard<std::mutex> guard(lookup->mutex);
                skip = lookup->cancelled;
            }
            if (!skip) {
                int error = 0;
                std::string address;
                Resolve(lookup->host, error, address);
                Deliver(lookup, error, address);
            }
            lookup.reset();
            lock.lock();
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::shared_ptr<HostResolver::Lookup>> queue_;
    int workers_ = 0;
    int idle_ = 0;
};

} // namespace

std::string HostResolver::NumericAddress(const std::string& host) {
    unsigned char buf[sizeof(in6_addr)];
    if (inet_pton(AF_INET, host.c_str(), buf) == 1) {
        return host;
    }
    std::string bare = host;
    if (bare.size() > 2 && bare.front() == '[' && bare.back() == ']') {
        bare = bare.substr(1, bare.size() - 2);
    }
    if (inet_pton(AF_INET6, bare.c_str(), buf) == 1) {
        return bare;
    }
    return {};
}

bool HostResolver::IsInvalidName(const std::string& host) {
    std::string name = host;
    if (!name.empty() && name.back() == '.') {
        name.pop_back();
    }
    for (char& c : name) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    constexpr std::string_view kSuffix = ".invalid";
    return name == "invalid" || (name.size() > kSuffix.size() && name.ends_with(kSuffix));
}

std::uint64_t HostResolver::SystemLookups() {
    return systemLookups.load();
}

std::shared_ptr<HostResolver::Lookup> HostResolver::Start(EventLoop& loop, const std::string& host,
                                                          Done done) {
    auto lookup = std::make_shared<Lookup>();
    lookup->loop = &loop;
    lookup->host = host;
    lookup->done = std::move(done);
    const std::string numeric = NumericAddress(host);
    if (!numeric.empty()) {
        Deliver(lookup, 0, numeric);
    } else if (IsInvalidName(host)) {
        Deliver(lookup, WSAHOST_NOT_FOUND, std::string());
    } else {
        Pool::Instance().Enqueue(lookup);
    }
    return lookup;
}

void HostResolver::Cancel(const std::shared_ptr<Lookup>& lookup) {
    if (!lookup) {
        return;
    }
    Done dropped;
    {
        std::lock_guard<std::mutex> lock(lookup->mutex);
        lookup->cancelled = true;
        lookup->loop = nullptr;
        dropped = std::move(lookup->done);
    }
}

} // namespace lv
