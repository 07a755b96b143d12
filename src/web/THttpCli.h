#pragma once

#include "platform/EventLoop.h"
#include "web/HttpResponseParser.h"
#include "web/HttpUrl.h"
#include "web/TWSocket.h"

#include <chrono>
#include <cstdint>
#include <ctime>
#include <functional>
#include <istream>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace lv {

// Raised by the HTTP client: busy (1), nothing to post (2), and by Get for a status of 400 or
// more (the status as code, the reason phrase as message).
class EHttpException : public std::runtime_error {
public:
    EHttpException(const std::string& message, int errorCode)
        : std::runtime_error(message), errorCode_(errorCode) {}
    int ErrorCode() const { return errorCode_; }

private:
    int errorCode_;
};

enum class THttpState {
    httpReady = 0,
    httpNotConnected = 1,
    httpConnected = 2,
    httpDnsLookup = 3,
    httpDnsLookupDone = 4,
    httpWaitingHeader = 5,
    httpWaitingBody = 6,
    httpAborting = 7,
};

enum class THttpRequest { httpNone = 0, httpGET = 1, httpPOST = 2, httpHEAD = 3 };

// Non-blocking HTTP/1.0 client over TWSocket; "https" addresses take the same path over TLS.
// Every step runs from the EventLoop; the caller learns the outcome through the events, ending
// with exactly one OnRequestDone per request. A document ends after its Content-Length, or
// when the server closes if it has none; a request ends at its deadline at the latest.
class THttpCli {
public:
    // The longest run of relocations followed for one request; one more ends it as a failure.
    static constexpr int kMaxRelocations = 20;
    // Bound on everything the header of one response may hold.
    static constexpr std::size_t kMaxHeaderBytes = 1024 * 1024;
    // Default of RequestTimeout: longer than any caller's own timer (the link checker waits up
    // to five minutes), so that it only ends requests nobody else would.
    static constexpr std::chrono::milliseconds kDefaultRequestTimeout = std::chrono::seconds(360);

    explicit THttpCli(EventLoop& loop);
    ~THttpCli();
    THttpCli(const THttpCli&) = delete;
    THttpCli& operator=(const THttpCli&) = delete;

    // --- Published properties, in their order --------------------------------------------
    std::string Proxy;
    std::string ProxyPort = "80";
    std::string Sender;
    std::string Agent = "Mozilla/3.0 (compatible)";
    std::string Accept = "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*";
    std::string Reference;
    std::string Username;
    std::string Password;
    std::string ProxyUsername;
    std::string ProxyPassword;
    bool NoCache = false;
    std::time_t ModifiedSince = 0; // seconds since 1970 (UTC); 0 = none
    std::string Cookie;
    std::string ContentTypePost = "application/x-www-form-urlencoded";
    std::string ContentRangeBegin;
    std::string ContentRangeEnd;
    const std::string& AcceptRanges() const { return acceptRanges_; }
    bool MultiThreaded() const { return multiThreaded_; }
    void SetMultiThreaded(bool value);

    // Extra PEM file of trusted CAs for https (empty: the socket's process-wide default).
    std::string CaFile;

    // Deadline of a whole request, relocations included, counted from its start; bytes that
    // arrive do not extend it. When it passes, the request ends with status 404, "no complete
    // answer within ..." and RequestError 10060. Zero or less: no deadline.
    std::chrono::milliseconds RequestTimeout = kDefaultRequestTimeout;
    // Bound on the document of one response; a longer one ends the request as failed (status
    // 404, "document too large ..."). Zero or less: no bound.
    std::int64_t MaxDocumentBytes = 64 * 1024 * 1024;

    // --- Published events, in their order ------------------------------------------------
    using Notify = std::function<void(THttpCli& sender)>;
    Notify OnTrace;
    Notify OnSessionConnected;
    Notify OnHeaderData;
    std::function<void(THttpCli& sender, const std::string& line)> OnCommand;
    Notify OnHeaderBegin;
    Notify OnHeaderEnd;
    Notify OnRequestHeaderBegin;
    Notify OnRequestHeaderEnd;
    Notify OnDocBegin;
    std::function<void(THttpCli& sender, const char* buffer, std::size_t length)> OnDocData;
    Notify OnDocEnd;
    Notify OnSendBegin;
    Notify OnSendData;
    Notify OnSendEnd;
    Notify OnStateChange;
    std::function<void(THttpCli& sender, THttpRequest request, int error)> OnRequestDone;
    Notify OnLocationChange;
    std::function<void(THttpCli& sender, const std::string& data, bool& accept)> OnCookie;

    // --- Run-time state ------------------------------------------------------------------
    std::string URL;
    std::ostream* DocumentStream = nullptr; // not owned
    std::istream* PostStream = nullptr;     // not owned

    const std::string& DocumentFileName() const { return documentFileName_; }
    int StatusCode() const { return statusCode_; }
    const std::string& ReasonPhrase() const { return reasonPhrase_; }
    std::int64_t ContentLength() const { return contentLength_; }
    const std::string& ContentType() const { return contentType_; }
    const std::string& CurrentAddress() const { return currentAddress_; }
    const std::string& LastLine() const { return lastLine_; }
    const std::vector<std::string>& ResponseHeader() const { return responseHeader_; }
    std::int64_t ReceivedCount() const { return receivedCount_; }
    std::int64_t PostedCount() const { return postedCount_; }
    const std::string& ConnectHost() const { return connectHost_; }
    const std::string& ConnectPort() const { return connectPort_; }
    const std::string& RequestHost() const { return requestHost_; }
    const std::string& RequestPath() const { return requestPath_; }
    THttpState State() const { return state_; }
    THttpRequest RequestType() const { return requestType_; }
    int RequestError() const { return requestError_; }
    const std::vector<std::string>& WwwAuthenticate() const { return wwwAuthenticate_; }
    TWSocket& CtrlSocket() { return socket_; }

    // --- Operations ----------------------------------------------------------------------
    void GetAsync();
    void PostAsync();
    void HeadAsync();
    // Blocking forms: start, then pump the loop until the client is Ready again; a status of
    // 400 or more raises EHttpException.
    void Get();
    void Post();
    void Head();
    void Abort();

private:
    enum class LineHandler { None, Header, Body };
    enum class ClosedHandler { Normal, Relocation };

    void StartRequest(THttpRequest request);
    void DoRequestSync(THttpRequest request);
    void SetState(THttpState state);
    void PostReady();
    void StartLookup();
    void ApplyTransport(const std::string& scheme);

    void SocketDnsLookupDone(int error);
    void SocketSessionConnected(int error);
    void SocketDataAvailable(int error);
    void SocketDataSent(int error);
    void SocketSessionClosed(int error);

    void SendRequest();
    void SendCommand(std::string& header, const std::string& line);
    void SendNextPostBlock();
    void FeedLine(const std::string& line);
    void HeaderLine(const std::string& line);
    void BodyBlock(const char* data, std::size_t length);
    void HeaderComplete();
    bool BodyExpected() const;
    bool ApplyLocation(const std::string& value);
    void SetTarget(const HttpTarget& where);
    void StartDeadline();
    void StopDeadline();
    void StopRequest(const std::string& reason, int error);
    void ConnectionClosed();
    void RelocationClosed();
    void FailRequest(const std::string& reason);
    bool Fire(const Notify& event);
    template <class Fn> bool Guarded(Fn&& call);

    EventLoop& loop_;
    TWSocket socket_;
    std::shared_ptr<bool> alive_;
    bool multiThreaded_ = false;

    std::string acceptRanges_;
    std::string documentFileName_;
    int statusCode_ = 0;
    std::string reasonPhrase_;
    std::int64_t contentLength_ = -1;
    std::string contentType_;
    std::string currentAddress_;
    std::string lastLine_;
    std::vector<std::string> responseHeader_;
    std::vector<std::string> wwwAuthenticate_;
    std::int64_t receivedCount_ = 0;
    std::int64_t postedCount_ = 0;
    std::string connectHost_;
    std::string connectPort_;
    std::string requestHost_;
    std::string requestPath_;
    std::string requestPort_; // port of the server asked (the proxy's target, with a proxy)
    std::string target_;      // path and query asked of that server
    std::string firstOrigin_; // origin of URL: credentials go nowhere else
    std::string scheme_ = "http";
    THttpState state_ = THttpState::httpReady;
    THttpRequest requestType_ = THttpRequest::httpNone;
    int requestError_ = 0;

    HttpLineBuffer buffer_;
    int headerLineCount_ = 0;
    bool statusSeen_ = false; // the answer under way has had its status line
    int bodyLineCount_ = 0;
    std::size_t headerBytes_ = 0;
    std::size_t lastLineEndLength_ = 1; // line end ("\n" or "\r\n") of the line being handled
    int relocationCount_ = 0;
    std::uint64_t epoch_ = 0; // changes with each request and abort; stale posts check it
    std::string requestUser_;
    std::string requestPassword_;
    bool locationFlag_ = false;
    bool connected_ = false;
    bool postInProgress_ = false;
    bool deadlineRunning_ = false;
    EventLoop::TimerId deadline_ = 0;
    LineHandler lineHandler_ = LineHandler::None;
    ClosedHandler closedHandler_ = ClosedHandler::Normal;
};

} // namespace lv
