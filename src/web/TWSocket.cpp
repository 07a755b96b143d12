#include "web/TWSocket.h"

#include "web/HostResolver.h"
#include "web/HttpUrl.h"
#include "web/TlsContext.h"
#include "web/WinsockErrors.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <sys/socket.h>
#include <system_error>
#include <unistd.h>

namespace lv {

namespace {

// Reading stops while this much waits unread, so a peer cannot fill memory faster than the
// program consumes.
constexpr std::size_t kRxLimit = 1024 * 1024;
constexpr std::size_t kReadChunk = 64 * 1024;

std::mutex gDefaultCaMutex;
std::string gDefaultCaFile;

} // namespace

struct TWSocket::Impl {
    TWSocket& self;
    EventLoop& loop;
    std::shared_ptr<bool> alive = std::make_shared<bool>(true);
    int fd = -1;
    std::uint64_t generation = 0;
    EventLoop::WatchId watch = 0;
    bool watching = false;
    unsigned interest = 0;
    SSL* ssl = nullptr;
    bool tlsActive = false;
    bool tlsByStartTls = false;
    bool tlsPendingStart = false;
    bool sslWantsWrite = false;
    std::string tlsHost;
    std::string tlsErrorText;
    std::string rx;
    std::size_t rxPos = 0;
    std::string tx;
    std::size_t txPos = 0;
    std::string txAfterTls;
    bool eof = false;
    bool readPaused = false;
    std::shared_ptr<HostResolver::Lookup> lookup;
    std::shared_ptr<HostResolver::Lookup> connectLookup;

    Impl(TWSocket& s, EventLoop& l) : self(s), loop(l) {}

    // Runs fn if set; false when the socket was destroyed or closed meanwhile.
    template <class... Args> bool Fire(const std::function<void(Args...)>& event, Args... args) {
        if (!event) {
            return true;
        }
        auto token = alive;
        const std::uint64_t gen = generation;
        auto fn = event; // the handler may replace itself
        fn(args...);
        return *token && generation == gen;
    }
    bool FireSimple(const std::function<void(int)>& event, int error) {
        return Fire<int>(event, error);
    }
    bool SetState(SocketState state) {
        const SocketState old = self.state_;
        self.state_ = state;
        if (old == state || !self.OnChangeState) {
            return true;
        }
        auto token = alive;
        auto fn = self.OnChangeState;
        fn(old, state);
        return *token;
    }
    // Posts fn to run later unless the socket is gone or was closed and reopened meanwhile.
    void PostGuarded(std::function<void(Impl&)> fn) {
        std::weak_ptr<bool> token = alive;
        const std::uint64_t gen = generation;
        Impl* impl = this;
        loop.Post([token, gen, impl, fn = std::move(fn)] {
            auto locked = token.lock();
            if (locked && *locked && impl->generation == gen) {
                fn(*impl);
            }
        });
    }

    std::size_t RxSize() const { return rx.size() - rxPos; }
    void Consume(std::size_t count) {
        rxPos += count;
        if (rxPos == rx.size()) {
            rx.clear();
            rxPos = 0;
        } else if (rxPos > 64 * 1024 && rxPos > rx.size() / 2) {
            rx.erase(0, rxPos);
            rxPos = 0;
        }
        if (readPaused && RxSize() < kRxLimit / 2 && fd >= 0) {
            readPaused = false;
            UpdateInterest();
            // TLS may hold decrypted bytes that poll() cannot see.
            PostGuarded([](Impl& impl) {
                if (impl.self.state_ == SocketState::Connected) {
                    impl.ReadAndDeliver();
                }
            });
        }
    }
    std::size_t LineLength() const {
        const std::string_view view(rx.data() + rxPos, RxSize());
        const auto end = view.find(self.lineEnd_);
        return end == std::string_view::npos ? 0 : end + self.lineEnd_.size();
    }

    void SetInterest(unsigned events);
    void UpdateInterest();
    void CloseFd();
    void OnReady(unsigned ready);
    void OpenAndConnect(const std::string& address);
    void ConnectDone(int error);
    void FailConnect(int error);
    void BeginTls();
    void DoHandshake();
    void BecomeConnected();
    int FlushTx();
    void AfterFlush(int error, bool wrote);
    void ReadAndDeliver();
    void CloseWithError(int error);
};

void TWSocket::Impl::SetInterest(unsigned events) {
    if (fd < 0) {
        return;
    }
    if (events == 0) {
        // Off the poll set entirely: a hung-up descriptor would otherwise wake poll() forever.
        if (watching) {
            loop.Unwatch(watch);
            watching = false;
        }
        interest = 0;
        return;
    }
    if (!watching) {
        std::weak_ptr<bool> token = alive;
        const std::uint64_t gen = generation;
        watch = loop.WatchSocket(fd, events, [this, token, gen](unsigned ready) {
            auto locked = token.lock();
            if (locked && *locked && generation == gen) {
                OnReady(ready);
            }
        });
        watching = true;
    } else if (events != interest) {
        loop.UpdateWatch(watch, events);
    }
    interest = events;
}

void TWSocket::Impl::UpdateInterest() {
    unsigned events = 0;
    switch (self.state_) {
    case SocketState::Connecting:
        events = EventLoop::Writable;
        break;
    case SocketState::Connected:
        events = readPaused ? 0u : EventLoop::Readable;
        if (txPos < tx.size() || sslWantsWrite) {
            events |= EventLoop::Writable;
        }
        break;
    default:
        return; // the handshake sets its own interest
    }
    SetInterest(events);
}

void TWSocket::Impl::CloseFd() {
    if (watching) {
        loop.Unwatch(watch);
        watching = false;
    }
    interest = 0;
    if (ssl != nullptr) {
        SSL_free(ssl);
        ssl = nullptr;
    }
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
    ++generation;
    tlsActive = false;
    tlsPendingStart = false;
    sslWantsWrite = false;
    tx.clear();
    txPos = 0;
    txAfterTls.clear();
    readPaused = false;
}

void TWSocket::Impl::OpenAndConnect(const std::string& address) {
    char* end = nullptr;
    const long port = std::strtol(self.port_.c_str(), &end, 10);
    sockaddr_storage storage{};
    socklen_t length = 0;
    int family = AF_INET;
    if (port <= 0 || port > 65535 || end == nullptr || *end != '\0') {
        throw ESocketException("Connect: Invalid port " + self.port_, WSAEINVAL);
    }
    auto* v4 = reinterpret_cast<sockaddr_in*>(&storage);
    auto* v6 = reinterpret_cast<sockaddr_in6*>(&storage);
    if (inet_pton(AF_INET, address.c_str(), &v4->sin_addr) == 1) {
        v4->sin_family = AF_INET;
        v4->sin_port = htons(static_cast<std::uint16_t>(port));
        length = sizeof(sockaddr_in);
    } else if (inet_pton(AF_INET6, address.c_str(), &v6->sin6_addr) == 1) {
        family = AF_INET6;
        v6->sin6_family = AF_INET6;
        v6->sin6_port = htons(static_cast<std::uint16_t>(port));
        length = sizeof(sockaddr_in6);
    } else {
        throw ESocketException("Connect: Invalid address " + address, WSAEINVAL);
    }
    fd = ::socket(family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        const int code = WinsockErrorFromErrno(errno);
        self.lastError_ = code;
        throw ESocketException("Connect: " + WinsockErrorText(code), code);
    }
    ++generation;
    const int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    SetState(SocketState::Connecting);
    int rc = 0;
    do {
        rc = ::connect(fd, reinterpret_cast<sockaddr*>(&storage), length);
    } while (rc < 0 && errno == EINTR);
    if (rc == 0 || errno == EINPROGRESS) {
        UpdateInterest();
        return;
    }
    // As with the asynchronous sockets users knew: a refusal arrives as an event, not a throw.
    const int code = WinsockErrorFromErrno(errno);
    PostGuarded([code](Impl& impl) { impl.FailConnect(code); });
}

void TWSocket::Impl::FailConnect(int error) {
    CloseFd();
    self.lastError_ = error;
    if (!SetState(SocketState::Closed)) {
        return;
    }
    FireSimple(self.OnSessionConnected, error);
}

void TWSocket::Impl::ConnectDone(int error) {
    if (error != 0) {
        FailConnect(error);
    } else if (self.sslEnable_) {
        tlsByStartTls = false;
        BeginTls();
    } else {
        BecomeConnected();
    }
}

void TWSocket::Impl::BecomeConnected() {
    if (!SetState(SocketState::Connected)) {
        return;
    }
    UpdateInterest();
    FireSimple(self.OnSessionConnected, 0);
}

void TWSocket::Impl::BeginTls() {
    std::string caFile = self.caFile_.empty() ? DefaultCaFile() : self.caFile_;
    try {
        ssl = NewClientTlsSession(caFile, fd, tlsHost, self.verifyPeer_);
    } catch (const std::exception& e) {
        tlsErrorText = e.what();
        if (tlsByStartTls) {
            self.lastError_ = kTlsHandshakeError;
            if (FireSimple(self.OnTlsDone, kTlsHandshakeError)) {
                CloseWithError(kTlsHandshakeError);
            }
        } else {
            FailConnect(kTlsHandshakeError);
        }
        return;
    }
    if (!SetState(SocketState::TlsHandshake)) {
        return;
    }
    DoHandshake();
}

void TWSocket::Impl::DoHandshake() {
    ERR_clear_error();
    errno = 0;
    const int rc = SSL_connect(ssl);
    if (rc == 1) {
        tlsActive = true;
        tx += txAfterTls; // what was sent during the handshake goes out encrypted now
        txAfterTls.clear();
        if (!tlsByStartTls) {
            BecomeConnected();
            return;
        }
        if (!SetState(SocketState::Connected)) {
            return;
        }
        UpdateInterest();
        FireSimple(self.OnTlsDone, 0);
        return;
    }
    const int sysErrno = errno;
    const int error = SSL_get_error(ssl, rc);
    if (error == SSL_ERROR_WANT_READ) {
        SetInterest(EventLoop::Readable);
        return;
    }
    if (error == SSL_ERROR_WANT_WRITE) {
        SetInterest(EventLoop::Writable);
        return;
    }
    bool verifyFailed = false;
    tlsErrorText = TlsFailureText(ssl, error, sysErrno, verifyFailed);
    const int code = verifyFailed ? kTlsVerifyError : kTlsHandshakeError;
    if (tlsByStartTls) {
        self.lastError_ = code;
        if (FireSimple(self.OnTlsDone, code)) {
            CloseWithError(code);
        }
    } else {
        FailConnect(code);
    }
}

// Writes what the connection takes now; returns a Winsock error or 0.
int TWSocket::Impl::FlushTx() {
    sslWantsWrite = false;
    while (txPos < tx.size()) {
        const std::size_t left = tx.size() - txPos;
        if (tlsActive) {
            ERR_clear_error();
            errno = 0;
            const int n = SSL_write(ssl, tx.data() + txPos,
                                    static_cast<int>(std::min<std::size_t>(left, 1 << 20)));
            if (n > 0) {
                txPos += static_cast<std::size_t>(n);
                continue;
            }
            const int error = SSL_get_error(ssl, n);
            if (error == SSL_ERROR_WANT_WRITE) {
                break;
            }
            if (error == SSL_ERROR_WANT_READ) {
                sslWantsWrite = true;
                break;
            }
            return errno != 0 ? WinsockErrorFromErrno(errno) : WSAECONNABORTED;
        }
        const ssize_t n = ::send(fd, tx.data() + txPos, left, MSG_NOSIGNAL);
        if (n >= 0) {
            txPos += static_cast<std::size_t>(n);
            continue;
        }
        if (errno == EINTR) {
            continue;
        }
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            break;
        }
        return WinsockErrorFromErrno(errno);
    }
    if (txPos == tx.size()) {
        tx.clear();
        txPos = 0;
    }
    return 0;
}

// After a flush on the loop: report the drained queue, start a pending TLS switch.
void TWSocket::Impl::AfterFlush(int error, bool wrote) {
    if (error != 0) {
        CloseWithError(error);
        return;
    }
    const bool drained = txPos == tx.size();
    if (drained && tlsPendingStart) {
        tlsPendingStart = false;
        tlsByStartTls = true;
        BeginTls();
        return;
    }
    UpdateInterest();
    if (drained && wrote) {
        FireSimple(self.OnDataSent, 0);
    }
}

void TWSocket::Impl::ReadAndDeliver() {
    int readError = 0;
    std::size_t total = 0;
    char buffer[16 * 1024];
    while (!eof && RxSize() < kRxLimit) {
        ssize_t n = 0;
        if (tlsActive) {
            ERR_clear_error();
            errno = 0;
            const int rc = SSL_read(ssl, buffer, sizeof buffer);
            if (rc <= 0) {
                const int error = SSL_get_error(ssl, rc);
                if (error == SSL_ERROR_WANT_READ) {
                    break;
                }
                if (error == SSL_ERROR_WANT_WRITE) {
                    sslWantsWrite = true;
                    break;
                }
                if (error == SSL_ERROR_ZERO_RETURN || (error == SSL_ERROR_SYSCALL && errno == 0)) {
                    eof = true; // HTTP/1.0 servers often close without a TLS close notify
                    break;
                }
                readError = errno != 0 ? WinsockErrorFromErrno(errno) : WSAECONNABORTED;
                break;
            }
            n = rc;
        } else {
            n = ::recv(fd, buffer, sizeof buffer, 0);
            if (n == 0) {
                eof = true;
                break;
            }
            if (n < 0) {
                if (errno == EINTR) {
                    continue;
                }
                if (errno != EAGAIN && errno != EWOULDBLOCK) {
                    readError = WinsockErrorFromErrno(errno);
                }
                break;
            }
        }
        rx.append(buffer, static_cast<std::size_t>(n));
        total += static_cast<std::size_t>(n);
        if (total >= kReadChunk) {
            break; // let other sockets and timers run between chunks
        }
    }
    self.rcvdCount_ += total;
    if (RxSize() >= kRxLimit && !readPaused) {
        readPaused = true;
    }
    UpdateInterest();

    while (RxSize() > 0) {
        if (self.lineMode_ && LineLength() == 0 && !eof && readError == 0) {
            break;
        }
        const std::size_t before = RxSize();
        if (!FireSimple(self.OnDataAvailable, 0)) {
            return;
        }
        if (RxSize() == before) {
            break; // the handler reads later, or not at all
        }
    }
    if (readError != 0) {
        CloseWithError(readError);
    } else if (eof) {
        CloseWithError(0);
    }
}

void TWSocket::Impl::CloseWithError(int error) {
    CloseFd();
    eof = false;
    if (error != 0) {
        self.lastError_ = error;
    }
    if (!SetState(SocketState::Closed)) {
        return;
    }
    FireSimple(self.OnSessionClosed, error);
}

void TWSocket::Impl::OnReady(unsigned ready) {
    switch (self.state_) {
    case SocketState::Connecting: {
        int error = 0;
        socklen_t length = sizeof error;
        if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0) {
            error = errno;
        }
        ConnectDone(WinsockErrorFromErrno(error));
        return;
    }
    case SocketState::TlsHandshake:
        DoHandshake();
        return;
    case SocketState::Connected:
        break;
    default:
        return;
    }
    const std::uint64_t gen = generation;
    if ((ready & EventLoop::Writable) || (sslWantsWrite && (ready & EventLoop::Readable))) {
        const bool had = txPos < tx.size();
        const int error = FlushTx();
        AfterFlush(error, had);
        if (generation != gen || self.state_ != SocketState::Connected) {
            return;
        }
    }
    if (ready & (EventLoop::Readable | EventLoop::Error)) {
        ReadAndDeliver();
    }
}

// --- TWSocket ------------------------------------------------------------------------------

TWSocket::TWSocket(EventLoop& loop) : loop_(loop), impl_(std::make_unique<Impl>(*this, loop)) {}

TWSocket::~TWSocket() {
    *impl_->alive = false;
    HostResolver::Cancel(impl_->lookup);
    HostResolver::Cancel(impl_->connectLookup);
    impl_->CloseFd();
}

void TWSocket::SetAddr(const std::string& addr) {
    if (state_ != SocketState::Closed) {
        throw ESocketException("Cannot change Addr if not closed");
    }
    addr_ = addr;
}

void TWSocket::SetPort(const std::string& port) {
    if (state_ != SocketState::Closed) {
        throw ESocketException("Cannot change Port if not closed");
    }
    port_ = port;
}

void TWSocket::SetProto(const std::string& proto) {
    if (state_ != SocketState::Closed) {
        throw ESocketException("Cannot change Proto if not closed");
    }
    proto_ = proto;
}

void TWSocket::SetSslEnable(bool value) {
    if (state_ != SocketState::Closed) {
        throw ESocketException("Cannot change SslEnable if not closed");
    }
    sslEnable_ = value;
}

bool TWSocket::IsTls() const {
    return impl_->tlsActive;
}

void TWSocket::SetDefaultCaFile(const std::string& file) {
    std::lock_guard<std::mutex> lock(gDefaultCaMutex);
    gDefaultCaFile = file;
}

std::string TWSocket::DefaultCaFile() {
    std::lock_guard<std::mutex> lock(gDefaultCaMutex);
    return gDefaultCaFile;
}

void TWSocket::StartTls(const std::string& hostName) {
    if (state_ != SocketState::Connected || impl_->tlsActive || impl_->tlsPendingStart) {
        throw ESocketException("StartTls: socket not connected in plain mode");
    }
    impl_->tlsHost = hostName.empty() ? addr_ : hostName;
    impl_->tlsPendingStart = true;
    impl_->PostGuarded([](Impl& impl) {
        if (impl.tlsPendingStart && impl.txPos == impl.tx.size()) {
            impl.tlsPendingStart = false;
            impl.tlsByStartTls = true;
            impl.BeginTls();
        }
    });
}

void TWSocket::DnsLookup(const std::string& host) {
    if (host.empty()) {
        throw ESocketException("DNS lookup: invalid host name.");
    }
    HostResolver::Cancel(impl_->lookup);
    impl_->lookup.reset();
    Impl* impl = impl_.get();
    try {
        impl_->lookup =
            HostResolver::Start(loop_, host, [impl](int error, const std::string& address) {
                impl->lookup.reset();
                if (error == 0) {
                    impl->self.dnsResult_ = address;
                }
                impl->FireSimple(impl->self.OnDnsLookupDone, error);
            });
    } catch (const std::system_error& e) {
        throw ESocketException(host + ": can't start DNS lookup, error #" +
                                   std::to_string(WinsockErrorFromErrno(e.code().value())),
                               WinsockErrorFromErrno(e.code().value()));
    }
}

void TWSocket::CancelDnsLookup() {
    HostResolver::Cancel(impl_->lookup);
    impl_->lookup.reset();
}

void TWSocket::Connect(const std::string& host, const std::string& port) {
    SetAddr(host);
    SetPort(port);
    Connect();
}

void TWSocket::Connect() {
    if (state_ != SocketState::Closed) {
        throw ESocketException("Connect: Socket already in use");
    }
    if (port_.empty()) {
        throw ESocketException("Connect: No Port Specified");
    }
    if (addr_.empty()) {
        throw ESocketException("Connect: No IP Address Specified");
    }
    if (proto_.empty()) {
        throw ESocketException("Connect: No Protocol Specified");
    }
    if (AsciiLower(proto_) != "tcp") {
        throw ESocketException("Connect: Protocol not supported", 10043);
    }
    lastError_ = 0;
    rcvdCount_ = 0;
    impl_->rx.clear();
    impl_->rxPos = 0;
    impl_->eof = false;
    impl_->tlsErrorText.clear();
    impl_->tlsHost = sslServerName_.empty() ? addr_ : sslServerName_;
    const std::string numeric = HostResolver::NumericAddress(addr_);
    if (!numeric.empty()) {
        impl_->OpenAndConnect(numeric);
        return;
    }
    Impl* impl = impl_.get();
    try {
        impl_->connectLookup =
            HostResolver::Start(loop_, addr_, [impl](int error, const std::string& address) {
                impl->connectLookup.reset();
                if (error != 0) {
                    impl->FailConnect(error);
                    return;
                }
                try {
                    impl->OpenAndConnect(address);
                } catch (const ESocketException& e) {
                    impl->FailConnect(e.ErrorCode() != 0 ? e.ErrorCode() : WSAEINVAL);
                }
            });
    } catch (const std::system_error& e) {
        const int code = WinsockErrorFromErrno(e.code().value());
        throw ESocketException(addr_ + ": can't start DNS lookup, error #" + std::to_string(code),
                               code);
    }
    impl_->SetState(SocketState::DnsLookup);
}

int TWSocket::Send(const void* data, std::size_t length) {
    if (state_ == SocketState::Closed) {
        lastError_ = WSAENOTCONN;
        return -1;
    }
    const char* bytes = static_cast<const char*>(data);
    if (impl_->tlsPendingStart || state_ == SocketState::TlsHandshake) {
        impl_->txAfterTls.append(bytes, length);
        return static_cast<int>(length);
    }
    impl_->tx.append(bytes, length);
    if (state_ != SocketState::Connected) {
        return static_cast<int>(length); // sent once connected
    }
    const int error = impl_->FlushTx();
    // Events of this send come from the loop, never from inside Send.
    if (error != 0 || impl_->txPos == impl_->tx.size()) {
        impl_->PostGuarded([error](Impl& impl) { impl.AfterFlush(error, true); });
    } else {
        impl_->UpdateInterest();
    }
    return static_cast<int>(length);
}

std::size_t TWSocket::BufferedSendBytes() const {
    return impl_->tx.size() - impl_->txPos + impl_->txAfterTls.size();
}

int TWSocket::Receive(void* buffer, std::size_t length) {
    std::size_t count = std::min(length, impl_->RxSize());
    if (lineMode_) {
        const std::size_t line = impl_->LineLength();
        if (line != 0) {
            count = std::min(count, line);
        }
    }
    if (count == 0) {
        return 0;
    }
    std::memcpy(buffer, impl_->rx.data() + impl_->rxPos, count);
    impl_->Consume(count);
    return static_cast<int>(count);
}

std::string TWSocket::ReceiveStr() {
    std::size_t count = impl_->RxSize();
    if (lineMode_ && impl_->LineLength() != 0) {
        count = impl_->LineLength();
    }
    std::string out(impl_->rx.data() + impl_->rxPos, count);
    impl_->Consume(count);
    return out;
}

bool TWSocket::ReceiveLine(std::string& line) {
    const std::size_t length = impl_->LineLength();
    if (length == 0) {
        return false;
    }
    line.assign(impl_->rx.data() + impl_->rxPos, length - lineEnd_.size());
    if (lineEnd_ == "\n" && !line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    impl_->Consume(length);
    return true;
}

std::size_t TWSocket::RcvdBytesWaiting() const {
    return impl_->RxSize();
}

void TWSocket::SetLineMode(bool value) {
    lineMode_ = value;
}

void TWSocket::Close() {
    HostResolver::Cancel(impl_->lookup);
    impl_->lookup.reset();
    if (state_ == SocketState::Closed) {
        return;
    }
    HostResolver::Cancel(impl_->connectLookup);
    impl_->connectLookup.reset();
    if (state_ == SocketState::Connected && impl_->fd >= 0) {
        impl_->FlushTx();
        if (impl_->tlsActive) {
            SSL_shutdown(impl_->ssl);
        }
    }
    impl_->CloseFd();
    if (!impl_->SetState(SocketState::Closed)) {
        return;
    }
    impl_->FireSimple(OnSessionClosed, 0);
}

void TWSocket::Abort() {
    HostResolver::Cancel(impl_->lookup);
    impl_->lookup.reset();
    HostResolver::Cancel(impl_->connectLookup);
    impl_->connectLookup.reset();
    impl_->CloseFd();
    state_ = SocketState::Closed;
}

std::string TWSocket::LastErrorText() const {
    if (lastError_ == kTlsHandshakeError || lastError_ == kTlsVerifyError) {
        return impl_->tlsErrorText;
    }
    return WinsockErrorText(lastError_);
}

} // namespace lv
