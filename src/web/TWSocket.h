#pragma once

#include "platform/EventLoop.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace lv {

// Raised for calls the socket refuses (wrong state, missing address, ...). Transport failures
// never raise: they arrive as error numbers in the events.
class ESocketException : public std::runtime_error {
public:
    explicit ESocketException(const std::string& message, int errorCode = 0)
        : std::runtime_error(message), errorCode_(errorCode) {}
    int ErrorCode() const { return errorCode_; }

private:
    int errorCode_;
};

// Error numbers of the TLS layer. They lie outside the Winsock range so that the Winsock texts
// stay untouched; LastErrorText() carries the detail ("TLS certificate verify failed: ...").
inline constexpr int kTlsHandshakeError = 12001;
inline constexpr int kTlsVerifyError = 12002;

enum class SocketState {
    Closed,       // no descriptor
    DnsLookup,    // Connect() with a host name: resolving first
    Connecting,   // TCP connect in progress
    TlsHandshake, // TLS on connect or after StartTls, handshake running
    Connected,    // data can flow
};

// Non-blocking TCP client socket on an EventLoop. Events are plain callbacks with a Winsock
// error number (0 = success); they never fire inside the call that caused them, except
// OnChangeState (fired as the state changes) and OnSessionClosed, which Close() fires at once
// when the socket was open (callers rely on the connection-closed handling running inside
// Close). Destroying the socket inside any of its own callbacks is allowed.
class TWSocket {
public:
    explicit TWSocket(EventLoop& loop);
    ~TWSocket();
    TWSocket(const TWSocket&) = delete;
    TWSocket& operator=(const TWSocket&) = delete;

    EventLoop& Loop() const { return loop_; }

    // Where Connect() goes. Addr is a dotted numeric address or a host name (resolved in the
    // background first). Changing them while the socket is open raises ESocketException.
    const std::string& Addr() const { return addr_; }
    void SetAddr(const std::string& addr);
    const std::string& Port() const { return port_; }
    void SetPort(const std::string& port);
    const std::string& Proto() const { return proto_; }
    void SetProto(const std::string& proto);

    // Kept for the components built on the socket; the poll loop has one pump either way.
    bool MultiThreaded() const { return multiThreaded_; }
    void SetMultiThreaded(bool value) { multiThreaded_ = value; }

    // --- TLS ---------------------------------------------------------------------------------
    // With SslEnable, Connect() runs the TLS handshake before OnSessionConnected (https, SMTP on
    // port 465). The peer's certificate chain is verified against the system trust store plus
    // CaFile (a PEM file, empty = none), and its name against SslServerName (default: the host
    // name given to Connect, i.e. Addr). VerifyPeer false skips both checks (not used by the
    // program; for peers the user explicitly trusts).
    bool SslEnable() const { return sslEnable_; }
    void SetSslEnable(bool value);
    const std::string& SslServerName() const { return sslServerName_; }
    void SetSslServerName(const std::string& name) { sslServerName_ = name; }
    const std::string& CaFile() const { return caFile_; }
    void SetCaFile(const std::string& file) { caFile_ = file; }
    bool VerifyPeer() const { return verifyPeer_; }
    void SetVerifyPeer(bool value) { verifyPeer_ = value; }
    bool IsTls() const;

    // Process-wide extra CA file, used when a socket has no CaFile of its own (private CAs, and
    // tests that sign their own certificates).
    static void SetDefaultCaFile(const std::string& file);
    static std::string DefaultCaFile();

    // STARTTLS: switches a connected plain socket to TLS. Data sent before the call is sent in
    // the clear first; OnTlsDone(error) follows when the handshake has ended. On failure the
    // socket is closed (OnSessionClosed with the same error) after OnTlsDone.
    void StartTls(const std::string& hostName);

    // --- Operations --------------------------------------------------------------------------
    // Resolves host in the background; OnDnsLookupDone(error) follows, DnsResult() then holds the
    // first address (IPv4 preferred) in numeric form. A numeric address is answered without a
    // look-up. Raises "DNS lookup: invalid host name." for an empty name.
    void DnsLookup(const std::string& host);
    void CancelDnsLookup();
    const std::string& DnsResult() const { return dnsResult_; }

    // Connects to Addr:Port with Proto "tcp"; OnSessionConnected(error) follows (after the TLS
    // handshake with SslEnable). Raises "Connect: Socket already in use", "Connect: No Port
    // Specified", "Connect: No IP Address Specified" or "Connect: No Protocol Specified", and
    // ESocketException with the Winsock number as code when the connect call itself fails. A
    // connection that cannot be made is reported by OnSessionConnected alone, without
    // OnSessionClosed.
    void Connect();
    void Connect(const std::string& host, const std::string& port);

    // Queues bytes and transmits them as the connection allows; OnDataSent(0) when the queue
    // has drained. Returns the number of bytes taken (all of them), or -1 when not connected
    // (LastError then 10057).
    int Send(const void* data, std::size_t length);
    int SendStr(std::string_view text) { return Send(text.data(), text.size()); }
    std::size_t BufferedSendBytes() const;

    // Received bytes wait in the socket until read. Receive copies at most length bytes and
    // returns their number (0 when nothing waits). In line mode OnDataAvailable fires only when
    // a whole line (ending in LineEnd) is waiting, or for the rest when the peer closes, and
    // Receive returns at most one line, line end included.
    int Receive(void* buffer, std::size_t length);
    std::string ReceiveStr();
    // Takes one whole line without its line end (and a CR before an LF line end); false when no
    // whole line waits.
    bool ReceiveLine(std::string& line);
    std::size_t RcvdBytesWaiting() const;
    bool LineMode() const { return lineMode_; }
    void SetLineMode(bool value);
    const std::string& LineEnd() const { return lineEnd_; }
    void SetLineEnd(const std::string& end) { lineEnd_ = end.empty() ? std::string("\n") : end; }

    // Close: graceful end (what is queued is sent if the connection takes it at once); fires
    // OnSessionClosed(0) before returning when State was not Closed. A running look-up is
    // cancelled silently. Abort: immediate end without any event.
    void Close();
    void Abort();

    SocketState State() const { return state_; }
    std::uint64_t RcvdCount() const { return rcvdCount_; }
    int LastError() const { return lastError_; }
    // Text of LastError(): the Winsock text, or the TLS detail for the TLS error numbers.
    std::string LastErrorText() const;

    // --- Events ------------------------------------------------------------------------------
    std::function<void(int error)> OnDnsLookupDone;
    std::function<void(int error)> OnSessionConnected;
    std::function<void(int error)> OnDataAvailable;
    std::function<void(int error)> OnDataSent;
    std::function<void(int error)> OnSessionClosed;
    std::function<void(SocketState oldState, SocketState newState)> OnChangeState;
    std::function<void(int error)> OnTlsDone;

    struct Impl;

private:
    EventLoop& loop_;
    std::string addr_;
    std::string port_;
    std::string proto_ = "tcp";
    std::string dnsResult_;
    std::string sslServerName_;
    std::string caFile_;
    std::string lineEnd_ = "\n";
    bool multiThreaded_ = false;
    bool sslEnable_ = false;
    bool verifyPeer_ = true;
    bool lineMode_ = false;
    SocketState state_ = SocketState::Closed;
    std::uint64_t rcvdCount_ = 0;
    int lastError_ = 0;
    std::unique_ptr<Impl> impl_;

    friend struct Impl;
};

} // namespace lv
