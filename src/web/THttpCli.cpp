#include "web/THttpCli.h"

#include "web/HttpUrl.h"
#include "web/WinsockErrors.h"

#include <ctime>

namespace lv {

namespace {

std::string HttpDate(std::time_t when) {
    std::tm tm{};
    gmtime_r(&when, &tm);
    char text[64];
    std::strftime(text, sizeof text, "%a, %d %b %Y %H:%M:%S", &tm);
    return text;
}

// host, with ":port" when the port is not the scheme's own: relative links of the document
// resolve against this address, so it must name the server really asked.
std::string HostAndPort(const std::string& scheme, const std::string& host,
                        const std::string& port) {
    return port.empty() || port == DefaultPortForScheme(scheme) ? host : host + ":" + port;
}

std::string ErrorWithNumber(const std::string& text, int error) {
    return text + " (Error #" + std::to_string(error) + ")";
}

bool HasLineBreak(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

std::string DurationText(std::chrono::milliseconds duration) {
    const auto ms = duration.count();
    return ms % 1000 == 0 ? std::to_string(ms / 1000) + " s" : std::to_string(ms) + " ms";
}

constexpr int kTimedOutError = 10060; // "Connection timed out"

} // namespace

THttpCli::THttpCli(EventLoop& loop)
    : loop_(loop), socket_(loop), alive_(std::make_shared<bool>(true)) {
    socket_.OnDnsLookupDone = [this](int error) { SocketDnsLookupDone(error); };
    socket_.OnSessionConnected = [this](int error) { SocketSessionConnected(error); };
    socket_.OnDataAvailable = [this](int error) { SocketDataAvailable(error); };
    socket_.OnDataSent = [this](int error) { SocketDataSent(error); };
    socket_.OnSessionClosed = [this](int error) { SocketSessionClosed(error); };
}

THttpCli::~THttpCli() {
    *alive_ = false;
    StopDeadline();
    socket_.OnSessionClosed = nullptr;
    socket_.Abort();
}

void THttpCli::SetMultiThreaded(bool value) {
    multiThreaded_ = value;
    socket_.SetMultiThreaded(value);
}

bool THttpCli::Fire(const Notify& event) {
    if (!event) {
        return true;
    }
    auto token = alive_;
    const std::uint64_t epoch = epoch_;
    auto fn = event; // a handler may replace itself
    fn(*this);
    return *token && epoch_ == epoch;
}

// Runs call (an event with arguments); false when the client was destroyed or the request
// aborted or replaced meanwhile, so the caller must stop.
template <class Fn> bool THttpCli::Guarded(Fn&& call) {
    auto token = alive_;
    const std::uint64_t epoch = epoch_;
    call();
    return *token && epoch_ == epoch;
}

void THttpCli::SetState(THttpState state) {
    if (state_ == state) {
        return;
    }
    state_ = state;
    if (state == THttpState::httpReady) {
        StopDeadline();
    }
    if (!Fire(OnStateChange)) {
        return;
    }
    if (state == THttpState::httpReady) {
        std::weak_ptr<bool> token = alive_;
        const THttpRequest request = requestType_;
        const int error = requestError_;
        loop_.Post([this, token, request, error] {
            auto locked = token.lock();
            if (locked && *locked && OnRequestDone) {
                auto fn = OnRequestDone;
                fn(*this, request, error);
            }
        });
    }
}

void THttpCli::PostReady() {
    std::weak_ptr<bool> token = alive_;
    const std::uint64_t epoch = epoch_;
    loop_.Post([this, token, epoch] {
        auto locked = token.lock();
        if (locked && *locked && epoch_ == epoch) {
            SetState(THttpState::httpReady);
        }
    });
}

// --- Starting a request ----------------------------------------------------------------------

void THttpCli::GetAsync() {
    StartRequest(THttpRequest::httpGET);
}
void THttpCli::PostAsync() {
    StartRequest(THttpRequest::httpPOST);
}
void THttpCli::HeadAsync() {
    StartRequest(THttpRequest::httpHEAD);
}
void THttpCli::Get() {
    DoRequestSync(THttpRequest::httpGET);
}
void THttpCli::Post() {
    DoRequestSync(THttpRequest::httpPOST);
}
void THttpCli::Head() {
    DoRequestSync(THttpRequest::httpHEAD);
}

void THttpCli::DoRequestSync(THttpRequest request) {
    StartRequest(request);
    auto token = alive_;
    while (*token && state_ != THttpState::httpReady) {
        loop_.ProcessPending(std::chrono::milliseconds(100));
    }
    if (*token && statusCode_ >= 400) {
        throw EHttpException(reasonPhrase_, statusCode_);
    }
}

void THttpCli::StartRequest(THttpRequest request) {
    if (state_ != THttpState::httpReady) {
        throw EHttpException("HTTP component is busy", 1);
    }
    if (request == THttpRequest::httpPOST && PostStream == nullptr) {
        throw EHttpException("HTTP component has nothing to post", 2);
    }
    ++epoch_;
    responseHeader_.clear();
    wwwAuthenticate_.clear();
    requestType_ = request;
    requestError_ = 0;
    closedHandler_ = ClosedHandler::Normal;
    lineHandler_ = LineHandler::None;
    buffer_.Clear();
    locationFlag_ = false;
    connected_ = false;
    relocationCount_ = 0;
    headerBytes_ = 0;
    reasonPhrase_.clear();
    SetState(THttpState::httpNotConnected);
    documentFileName_.clear();
    statusCode_ = 0;
    receivedCount_ = 0;
    postedCount_ = 0;
    headerLineCount_ = 0;
    bodyLineCount_ = 0;
    statusSeen_ = false;
    contentLength_ = -1;
    contentType_.clear();
    postInProgress_ = false;
    currentAddress_ = URL;

    const HttpUrlParts parts = ParseHttpUrl(URL);
    scheme_ = parts.scheme.empty() ? std::string("http") : AsciiLower(parts.scheme);
    requestHost_ = parts.host;
    requestPort_ = parts.port.empty() ? DefaultPortForScheme(scheme_) : parts.port;
    target_ = parts.path.empty() ? std::string("/") : parts.path;
    firstOrigin_ = HttpOrigin({scheme_, requestHost_, requestPort_, target_});
    // Credentials in an address belong to that address: they are not kept for the next one.
    requestUser_ = parts.user.empty() ? Username : parts.user;
    requestPassword_ = parts.password.empty() ? Password : parts.password;
    if (Proxy.empty()) {
        requestPath_ = parts.path;
        connectHost_ = parts.host;
        connectPort_ = parts.port.empty() ? DefaultPortForScheme(scheme_) : parts.port;
    } else {
        requestPath_ = scheme_ + "://" + parts.host + (parts.port.empty() ? "" : ":" + parts.port) +
                       parts.path;
        const HttpUrlParts proxy = ParseHttpUrl(Proxy);
        connectHost_ = proxy.host;
        connectPort_ = proxy.port.empty() ? ProxyPort : proxy.port;
    }
    documentFileName_ = DocumentFileNameFromPath(parts.path);
    if (requestPath_.empty()) {
        requestPath_ = "/";
    }
    StartLookup();
    StartDeadline();
}

void THttpCli::StartDeadline() {
    StopDeadline();
    if (RequestTimeout.count() <= 0) {
        return;
    }
    const std::uint64_t epoch = epoch_;
    const std::chrono::milliseconds timeout = RequestTimeout;
    deadlineRunning_ = true;
    deadline_ = loop_.StartTimer(timeout, false, [this, epoch, timeout] {
        deadlineRunning_ = false;
        if (epoch_ == epoch && state_ != THttpState::httpReady &&
            state_ != THttpState::httpAborting) {
            StopRequest("no complete answer within " + DurationText(timeout), kTimedOutError);
        }
    });
}

void THttpCli::StopDeadline() {
    if (deadlineRunning_) {
        deadlineRunning_ = false;
        loop_.StopTimer(deadline_);
    }
}

void THttpCli::StartLookup() {
    SetState(THttpState::httpDnsLookup);
    try {
        socket_.DnsLookup(connectHost_);
    } catch (...) {
        // The caller gets the exception; the client must not stay busy for ever.
        state_ = THttpState::httpReady;
        Fire(OnStateChange);
        throw;
    }
}

// --- Name resolution and connection ----------------------------------------------------------

void THttpCli::SocketDnsLookupDone(int error) {
    if (error != 0) {
        if (state_ != THttpState::httpAborting) {
            requestError_ = error;
            statusCode_ = 404;
            reasonPhrase_ = "can't resolve hostname to IP address";
            ConnectionClosed();
        }
        return;
    }
    SetState(THttpState::httpDnsLookupDone);
    try {
        socket_.SetAddr(socket_.DnsResult());
        socket_.SetPort(connectPort_);
        socket_.SetProto("tcp");
        socket_.SetSslEnable(scheme_ == "https" && Proxy.empty());
        socket_.SetSslServerName(connectHost_);
        socket_.SetCaFile(CaFile);
        socket_.Connect();
    } catch (const ESocketException& e) {
        requestError_ = e.ErrorCode() != 0 ? e.ErrorCode() : socket_.LastError();
        statusCode_ = 404;
        reasonPhrase_ =
            "can't connect: " + ErrorWithNumber(e.ErrorCode() != 0 ? WinsockErrorText(requestError_)
                                                                   : std::string(e.what()),
                                                requestError_);
        socket_.Abort();
        ConnectionClosed();
    }
}

void THttpCli::SocketSessionConnected(int error) {
    if (error != 0) {
        requestError_ = error;
        statusCode_ = 404;
        const std::string text =
            error == socket_.LastError() ? socket_.LastErrorText() : WinsockErrorText(error);
        reasonPhrase_ = ErrorWithNumber(text, error);
        ConnectionClosed();
        return;
    }
    connected_ = true;
    SetState(THttpState::httpConnected);
    if (!Fire(OnSessionConnected)) {
        return;
    }
    lineHandler_ = LineHandler::Header;
    SetState(THttpState::httpWaitingHeader);
    SendRequest();
}

// --- Writing the request ---------------------------------------------------------------------

void THttpCli::SendCommand(std::string& header, const std::string& line) {
    if (OnCommand) {
        auto fn = OnCommand;
        fn(*this, line);
    }
    header += line;
    header += "\r\n";
}

void THttpCli::SendRequest() {
    const std::uint64_t epoch = epoch_;
    auto token = alive_;
    if (!Fire(OnRequestHeaderBegin)) {
        return;
    }
    // Nothing goes out that would end a line early: a value with a CR or LF (a relocation, a
    // range taken from the last response, a property) would start a header of its own.
    const std::pair<const char*, const std::string*> values[] = {
        {"request target", &requestPath_},
        {"Host", &requestHost_},
        {"From", &Sender},
        {"Accept", &Accept},
        {"Referer", &Reference},
        {"Content-Type", &ContentTypePost},
        {"User-Agent", &Agent},
        {"Cookie", &Cookie},
        {"Range", &ContentRangeBegin},
        {"Range", &ContentRangeEnd},
    };
    for (const auto& [name, value] : values) {
        if (HasLineBreak(*value)) {
            ContentRangeBegin.clear();
            ContentRangeEnd.clear();
            FailRequest(std::string("request not sent: the ") + name + " value holds a line break");
            return;
        }
    }
    const char* method = requestType_ == THttpRequest::httpPOST   ? "POST"
                         : requestType_ == THttpRequest::httpHEAD ? "HEAD"
                                                                  : "GET";
    std::string header;
    header.reserve(512);
    SendCommand(header,
                std::string(method) + " " + EncodeRequestTarget(requestPath_) + " HTTP/1.0");
    if (!Sender.empty()) {
        SendCommand(header, "From: " + Sender);
    }
    if (!Accept.empty()) {
        SendCommand(header, "Accept: " + Accept);
    }
    if (!Reference.empty()) {
        SendCommand(header, "Referer: " + Reference);
    }
    if (requestType_ == THttpRequest::httpPOST && !ContentTypePost.empty()) {
        SendCommand(header, "Content-Type: " + ContentTypePost);
    }
    if (!Agent.empty()) {
        SendCommand(header, "User-Agent: " + Agent);
    }
    // The port is part of the name of the server asked (a virtual host on port 8080 is not the
    // one on port 80).
    SendCommand(header, "Host: " + HostAndPort(scheme_, requestHost_, requestPort_));
    if (NoCache) {
        SendCommand(header, "Pragma: no-cache");
    }
    if (requestType_ == THttpRequest::httpPOST) {
        std::streamoff size = 0;
        if (PostStream != nullptr) {
            const auto here = PostStream->tellg();
            PostStream->seekg(0, std::ios::end);
            size = PostStream->tellg() - here;
            PostStream->seekg(here);
        }
        SendCommand(header, "Content-Length: " + std::to_string(size));
    }
    if (ModifiedSince != 0) {
        SendCommand(header, "If-Modified-Since: " + HttpDate(ModifiedSince) + " GMT");
    }
    if (!requestUser_.empty()) {
        SendCommand(header,
                    "Authorization: Basic " + Base64Encode(requestUser_ + ":" + requestPassword_));
    }
    if (!Proxy.empty() && !ProxyUsername.empty()) {
        SendCommand(header, "Proxy-Authorization: Basic " +
                                Base64Encode(ProxyUsername + ":" + ProxyPassword));
    }
    if (!Cookie.empty()) {
        SendCommand(header, "Cookie: " + Cookie);
    }
    if (!ContentRangeBegin.empty() || !ContentRangeEnd.empty()) {
        SendCommand(header, "Range: bytes=" + ContentRangeBegin + "-" + ContentRangeEnd);
        ContentRangeBegin.clear();
        ContentRangeEnd.clear();
    }
    if (!*token || epoch_ != epoch) {
        return;
    }
    acceptRanges_.clear();
    if (!Fire(OnRequestHeaderEnd)) {
        return;
    }
    SendCommand(header, "");
    if (!*token || epoch_ != epoch) {
        return;
    }
    socket_.SendStr(header);
    if (requestType_ == THttpRequest::httpPOST) {
        if (!Fire(OnSendBegin)) {
            return;
        }
        postInProgress_ = true;
        SendNextPostBlock();
    }
}

void THttpCli::SendNextPostBlock() {
    char block[HttpLineBuffer::kCapacity];
    std::streamsize count = 0;
    if (PostStream != nullptr && *PostStream) {
        PostStream->read(block, sizeof block);
        count = PostStream->gcount();
    }
    if (count <= 0) {
        postInProgress_ = false;
        Fire(OnSendEnd);
        return;
    }
    postedCount_ += count;
    socket_.Send(block, static_cast<std::size_t>(count));
    Fire(OnSendData);
}

void THttpCli::SocketDataSent(int error) {
    if (error == 0 && postInProgress_) {
        SendNextPostBlock();
    }
}

// --- Receiving -------------------------------------------------------------------------------

void THttpCli::SocketDataAvailable(int error) {
    if (buffer_.Full()) {
        FailRequest("HTTP line too long");
        return;
    }
    const int count = socket_.Receive(buffer_.FreeSpace(), buffer_.FreeRoom());
    if (requestType_ == THttpRequest::httpNone || count <= 0) {
        return;
    }
    buffer_.Commit(static_cast<std::size_t>(count));
    auto token = alive_;
    const std::uint64_t epoch = epoch_;
    auto stillHere = [&] { return *token && epoch_ == epoch && connected_; };

    if (state_ == THttpState::httpWaitingBody) {
        lastLine_.assign(buffer_.View());
        buffer_.Clear();
        if (lineHandler_ == LineHandler::None) {
            PostReady();
        } else {
            BodyBlock(lastLine_.data(), lastLine_.size());
        }
        return;
    }
    std::string line;
    std::size_t rawLength = 0;
    while (buffer_.TakeLine(line, &rawLength)) {
        lastLine_ = line;
        lastLineEndLength_ = rawLength - line.size();
        if (state_ != THttpState::httpWaitingHeader && state_ != THttpState::httpWaitingBody) {
            continue;
        }
        if (lineHandler_ == LineHandler::None) {
            PostReady();
            continue;
        }
        FeedLine(line);
        if (!stillHere()) {
            return;
        }
        if (state_ == THttpState::httpWaitingBody && buffer_.Size() > 0) {
            // The rest is document: handed on as it came, line ends and all.
            const std::string block(buffer_.View());
            buffer_.Clear();
            BodyBlock(block.data(), block.size());
            return;
        }
    }
    if (state_ == THttpState::httpWaitingHeader && buffer_.Full()) {
        FailRequest("HTTP line too long");
    }
}

void THttpCli::FeedLine(const std::string& line) {
    if (lineHandler_ == LineHandler::Header) {
        HeaderLine(line);
    } else if (lineHandler_ == LineHandler::Body) {
        std::string block = line;
        block.append(lastLineEndLength_ == 2 ? "\r\n" : "\n");
        BodyBlock(block.data(), block.size());
    }
}

void THttpCli::HeaderLine(const std::string& line) {
    if (headerLineCount_ == 0 && !Fire(OnHeaderBegin)) {
        return;
    }
    ++headerLineCount_;
    headerBytes_ += line.size() + lastLineEndLength_;
    if (headerBytes_ > kMaxHeaderBytes) {
        FailRequest("HTTP header too large");
        return;
    }
    if (IsHeaderlessHtml(line)) {
        if (contentType_.empty()) {
            contentType_ = "text/html";
        }
        SetState(THttpState::httpWaitingBody);
        lineHandler_ = LineHandler::Body;
        if (!Fire(OnHeaderEnd)) {
            return;
        }
        std::string block = line;
        block.append(lastLineEndLength_ == 2 ? "\r\n" : "\n");
        BodyBlock(block.data(), block.size());
        return;
    }
    if (line.empty()) {
        HeaderComplete();
        return;
    }
    responseHeader_.push_back(line);
    const HttpHeaderLine parsed = ParseHttpHeaderLine(line);
    if (parsed.kind == HttpHeaderLine::Kind::Status) {
        statusSeen_ = true;
        statusCode_ = parsed.statusCode;
        reasonPhrase_ = parsed.reason;
    } else if (parsed.kind == HttpHeaderLine::Kind::Field) {
        const std::string& name = parsed.name;
        if (name == "location") {
            locationFlag_ = true;
            if (!ApplyLocation(parsed.value)) {
                return;
            }
        } else if (name == "content-length") {
            contentLength_ = ParseContentLength(parsed.value);
        } else if (name == "content-range") {
            ParseContentRange(parsed.value, ContentRangeBegin, ContentRangeEnd);
        } else if (name == "accept-ranges") {
            acceptRanges_ = parsed.value;
        } else if (name == "content-type") {
            contentType_ = AsciiLower(parsed.value);
        } else if (name == "www-authenticate") {
            wwwAuthenticate_.push_back(parsed.value);
        } else if (name == "set-cookie" && OnCookie) {
            bool accept = true;
            if (!Guarded([&] {
                    auto fn = OnCookie;
                    fn(*this, parsed.value, accept);
                })) {
                return;
            }
        }
    }
    lastLine_ = line;
    if (!Fire(OnHeaderData)) {
        return;
    }
    if (statusCode_ >= 400) {
        socket_.Close(); // the rest of the response is not read
    }
}

void THttpCli::HeaderComplete() {
    if (!statusSeen_ || statusCode_ < 100 || statusCode_ > 599) {
        FailRequest("the server's answer has no valid status line");
        return;
    }
    if (locationFlag_) {
        if (++relocationCount_ > kMaxRelocations) {
            FailRequest("too many relocations (more than " + std::to_string(kMaxRelocations) +
                        " in a row)");
            return;
        }
        if (!Fire(OnHeaderEnd)) {
            return;
        }
        buffer_.Clear();
        headerLineCount_ = 0;
        bodyLineCount_ = 0;
        headerBytes_ = 0;
        statusSeen_ = false;
        contentLength_ = -1;
        contentType_.clear();
        closedHandler_ = ClosedHandler::Relocation;
        socket_.Close();
        return;
    }
    const auto dot = documentFileName_.rfind('.');
    if (dot != std::string::npos && AsciiLower(documentFileName_.substr(dot)) == ".exe" &&
        contentType_ == "text/html") {
        documentFileName_ = documentFileName_.substr(0, dot + 1) + "htm";
    }
    if (BodyExpected() && MaxDocumentBytes > 0 && contentLength_ > MaxDocumentBytes) {
        FailRequest("document too large (" + std::to_string(contentLength_) +
                    " bytes announced, at most " + std::to_string(MaxDocumentBytes) + " accepted)");
        return;
    }
    SetState(THttpState::httpWaitingBody);
    lineHandler_ = LineHandler::Body;
    if (!Fire(OnHeaderEnd)) {
        return;
    }
    if (!BodyExpected() || contentLength_ == 0) {
        socket_.Close(); // nothing more belongs to this answer
    }
    // Bytes already buffered are handed on by the receive loop as one block.
}

// Whether the answer has a document whose end Content-Length tells (RFC 9112 section 6.3).
bool THttpCli::BodyExpected() const {
    return requestType_ != THttpRequest::httpHEAD && statusCode_ >= 200 && statusCode_ != 204 &&
           statusCode_ != 304;
}

void THttpCli::BodyBlock(const char* data, std::size_t length) {
    // Content-Length ends the document: bytes beyond it are not part of this answer.
    bool complete = false;
    const bool sized = contentLength_ >= 0 && BodyExpected();
    if (sized && receivedCount_ + static_cast<std::int64_t>(length) >= contentLength_) {
        length = static_cast<std::size_t>(contentLength_ - receivedCount_);
        complete = true;
    }
    if (MaxDocumentBytes > 0 &&
        receivedCount_ + static_cast<std::int64_t>(length) > MaxDocumentBytes) {
        FailRequest("document too large (more than " + std::to_string(MaxDocumentBytes) +
                    " bytes)");
        return;
    }
    if (length == 0) {
        if (complete) {
            socket_.Close();
        }
        return;
    }
    if (bodyLineCount_ == 0 && !Fire(OnDocBegin)) {
        return;
    }
    ++bodyLineCount_;
    receivedCount_ += static_cast<std::int64_t>(length);
    if (DocumentStream != nullptr) {
        DocumentStream->write(data, static_cast<std::streamsize>(length));
    }
    if (OnDocData && !Guarded([&] {
            auto fn = OnDocData;
            fn(*this, data, length);
        })) {
        return;
    }
    if (complete) {
        socket_.Close();
    }
}

// --- Relocation ------------------------------------------------------------------------------

bool THttpCli::ApplyLocation(const std::string& value) {
    std::string_view reference = value;
    while (!reference.empty() && (reference.back() == ' ' || reference.back() == '\t')) {
        reference.remove_suffix(1);
    }
    const HttpTarget here{scheme_, requestHost_, requestPort_, target_};
    HttpTarget next;
    std::string why;
    if (!ResolveHttpReference(here, reference, next, why)) {
        FailRequest("relocation not followed: " + why);
        return false;
    }
    SetTarget(next);
    return true;
}

void THttpCli::SetTarget(const HttpTarget& where) {
    // Passwords belong to the server they were given for: once a relocation leaves it (another
    // host or port, or https for http), they are not sent again for this request.
    if (HttpOrigin(where) != firstOrigin_) {
        requestUser_.clear();
        requestPassword_.clear();
    }
    scheme_ = where.scheme;
    requestHost_ = where.host;
    requestPort_ = where.port;
    target_ = where.target;
    currentAddress_ = scheme_ + "://" + HostAndPort(scheme_, requestHost_, requestPort_) + target_;
    if (Proxy.empty()) {
        connectHost_ = requestHost_;
        connectPort_ = requestPort_;
        requestPath_ = target_;
    } else {
        // Through a proxy the connection stays with the proxy; only the target changes.
        requestPath_ = currentAddress_;
    }
}

void THttpCli::RelocationClosed() {
    connected_ = false;
    locationFlag_ = false;
    closedHandler_ = ClosedHandler::Normal;
    if (!Fire(OnLocationChange)) {
        return;
    }
    std::weak_ptr<bool> token = alive_;
    const std::uint64_t epoch = epoch_;
    loop_.Post([this, token, epoch] {
        auto locked = token.lock();
        if (!locked || !*locked || epoch_ != epoch) {
            return;
        }
        try {
            StartLookup();
        } catch (const ESocketException& e) {
            // A location without a host name: end the request, do not throw into the loop.
            statusCode_ = 404;
            reasonPhrase_ = e.what();
            state_ = THttpState::httpWaitingHeader;
            ConnectionClosed();
        }
    });
}

// --- Closing ---------------------------------------------------------------------------------

void THttpCli::SocketSessionClosed(int error) {
    if (closedHandler_ == ClosedHandler::Relocation) {
        RelocationClosed();
        return;
    }
    // A connection that ends before the header is complete, or breaks in the middle of the
    // document, is a failed transfer, not an answer.
    if (state_ == THttpState::httpWaitingHeader && statusCode_ < 400) {
        statusCode_ = 404;
        requestError_ = error;
        reasonPhrase_ =
            error != 0 ? ErrorWithNumber(WinsockErrorText(error), error)
                       : std::string("connection closed before the response header was complete");
    } else if (state_ == THttpState::httpWaitingBody && error != 0) {
        statusCode_ = 404;
        requestError_ = error;
        reasonPhrase_ = ErrorWithNumber(WinsockErrorText(error), error);
    } else if (state_ == THttpState::httpWaitingBody && statusCode_ < 400 && BodyExpected() &&
               contentLength_ >= 0 && receivedCount_ < contentLength_) {
        statusCode_ = 404;
        reasonPhrase_ = "connection closed after " + std::to_string(receivedCount_) + " of " +
                        std::to_string(contentLength_) + " bytes of the document";
    }
    ConnectionClosed();
}

void THttpCli::ConnectionClosed() {
    connected_ = false;
    lineHandler_ = LineHandler::None;
    if (bodyLineCount_ > 0 && !Fire(OnDocEnd)) {
        return;
    }
    PostReady();
}

void THttpCli::FailRequest(const std::string& reason) {
    statusCode_ = 404;
    reasonPhrase_ = reason;
    locationFlag_ = false;
    closedHandler_ = ClosedHandler::Normal;
    if (socket_.State() != SocketState::Closed) {
        socket_.Close(); // runs the connection-closed steps
    } else {
        ConnectionClosed();
    }
}

void THttpCli::Abort() {
    if (state_ == THttpState::httpReady) {
        socket_.Abort();
        return;
    }
    StopRequest("Connection aborted on request", 3);
}

// Ends the request under way from outside its own steps (Abort, the deadline).
void THttpCli::StopRequest(const std::string& reason, int error) {
    ++epoch_; // drops a pending relocation restart and stale posts
    const bool wasLookup = state_ == THttpState::httpDnsLookup;
    SetState(THttpState::httpAborting);
    socket_.CancelDnsLookup();
    statusCode_ = 404;
    reasonPhrase_ = reason;
    requestError_ = error;
    closedHandler_ = ClosedHandler::Normal;
    locationFlag_ = false;
    auto token = alive_;
    if (wasLookup || socket_.State() == SocketState::Closed) {
        socket_.Abort();
        ConnectionClosed();
    } else {
        socket_.Close();
    }
    if (*token) {
        SetState(THttpState::httpReady);
    }
}

} // namespace lv
