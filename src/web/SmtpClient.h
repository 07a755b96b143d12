#pragma once

#include "platform/EventLoop.h"
#include "web/SmtpMessage.h"
#include "web/SmtpReply.h"
#include "web/TWSocket.h"

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace lv {

class TWait;

// How the connection is protected. Plain keeps the classic conversation (HELO, no TLS); the
// others greet with EHLO. Port "465" or "smtps" always means ImplicitTls.
enum class SmtpSecurity {
    Plain,             // never TLS
    StartTlsIfOffered, // STARTTLS when the server offers it
    StartTlsRequired,  // fail unless STARTTLS succeeds
    ImplicitTls,       // TLS from the first byte (submission over TLS, port 465)
};

// Sends one plain-text message to one or more recipients, one command and one reply at a time.
// Open, Mail and Quit block their caller while pumping the EventLoop through the Wait control;
// none raises on a protocol failure: the result says false and ErrorMessage() says why.
class TCustomSmtpClient {
public:
    // Header lines are built in a 1024-byte buffer and body lines asked for in a 1023-byte one;
    // longer texts are cut to fit (one byte stays for the terminating zero of the old buffers).
    static constexpr std::size_t kHeaderBufferSize = 1024;
    static constexpr std::size_t kBodyBufferSize = 1023;

    explicit TCustomSmtpClient(EventLoop& loop);
    virtual ~TCustomSmtpClient();
    TCustomSmtpClient(const TCustomSmtpClient&) = delete;
    TCustomSmtpClient& operator=(const TCustomSmtpClient&) = delete;

    // --- Published properties, in their order --------------------------------------------
    std::string Host;
    std::string Port = "smtp";
    std::string SignOn; // name in the greeting; empty = the local host name
    std::string FromName;
    std::vector<std::string> RcptName;
    std::string HdrFrom;
    std::string HdrTo;
    std::string HdrSubject;
    TWait* Wait = nullptr; // not owned
    std::string CharSet = "iso-8859-1";
    int TimeOut = 15; // seconds, for the connection and for each reply line
    const std::string& ErrorMessage() const { return errorMessage_; }
    const std::string& LastResponse() const { return lastResponse_; }
    // The socket's error number (Windows Socket numbering) of the last connection attempt; 0
    // after a success or a time-out.
    int ConnectError() const { return connectError_; }

    // What today's servers ask for. With the defaults the conversation is the classic one.
    SmtpSecurity Security = SmtpSecurity::Plain;
    std::string UserName; // set: AUTH PLAIN or LOGIN after the greeting
    std::string Password;
    // Credentials go only over TLS unless this is set (for a relay on a trusted network).
    bool AllowPlainTextAuth = false;
    std::string CaFile; // extra trusted CAs for the server's certificate (PEM)

    // --- Published events ------------------------------------------------------------------
    // Trace: status texts, "> " + each command, "< " + each reply line.
    std::function<void(TCustomSmtpClient& sender, const std::string& text)> OnDisplay;
    // Supplies body line lineNum (from 1) into line, at most bufSize - 1 characters; clear more
    // to end the body.
    std::function<void(TCustomSmtpClient& sender, int lineNum, std::string& line,
                       std::size_t bufSize, bool& more)>
        OnGetData;
    // May change or empty each header line before it is sent; an emptied line is not sent.
    std::function<void(TCustomSmtpClient& sender, std::string& line, std::size_t bufSize)>
        OnHeaderLine;

    // --- Operations ----------------------------------------------------------------------
    bool Open();
    bool Mail();
    void Quit();

    enum class ConnState { NotConnected = 0, Connected = 1, Greeted = 2 };
    ConnState State() const { return state_; }

protected:
    // Hooks for TSmtpClient. PrepareMail runs before anything is sent and may refuse the
    // message (with ErrorMessage set); HeaderLine sees each header line before OnHeaderLine;
    // NextBodyLine produces the body, by default from OnGetData.
    virtual bool PrepareMail() { return true; }
    virtual void HeaderLine(std::string& line) {}
    virtual bool NextBodyLine(int lineNum, std::string& line);
    virtual void MailEnded() {}
    // Ends the conversation without the final "." so the server drops the half message.
    void AbortMessage(const std::string& reason);
    bool AskOnGetData(int lineNum, std::string& line);
    void SetError(const std::string& message);
    void Display(const std::string& text);

private:
    bool Connect();
    bool Greet();
    bool StartTls();
    bool Authenticate();
    void SendCommand(const std::string& line, const std::string& shown = {});
    void SendData(const std::string& line);
    void ReadReply();
    bool Check(int code, bool closeOnFailure, int otherCode = -1);
    bool ReadLine();
    void Drain();
    void SocketDataAvailable(int error);
    void SocketClosed(int error);
    void CloseSocket();
    bool WaitFor(const std::function<bool()>& arrived);
    std::string LocalName() const;
    bool UseImplicitTls() const;

    EventLoop& loop_;
    std::unique_ptr<TWSocket> socket_;
    ConnState state_ = ConnState::NotConnected;
    bool timedOut_ = false;
    bool connectDone_ = false;
    int connectError_ = 0;
    bool tlsDone_ = false;
    int tlsError_ = 0;
    std::deque<std::string> lines_;
    std::vector<std::string> replyLines_;
    std::string errorMessage_;
    std::string lastResponse_;
    SmtpExtensions extensions_;
};

// Adds files as MIME attachments (base64, 60 characters a line) after the user's text. Without
// EmailFiles the message is exactly the one TCustomSmtpClient sends.
class TSmtpClient : public TCustomSmtpClient {
public:
    using TCustomSmtpClient::TCustomSmtpClient;

    std::vector<std::string> EmailFiles;

protected:
    bool PrepareMail() override;
    void HeaderLine(std::string& line) override;
    bool NextBodyLine(int lineNum, std::string& line) override;
    void MailEnded() override;

private:
    void QueuePartHeader(const std::string& fileName);

    std::deque<std::string> queue_;
    std::string boundary_;
    std::size_t nextFile_ = 0;
    bool sendingUserText_ = false;
    int userLine_ = 0;
    bool encoding_ = false;
    SmtpBase64File file_;
};

} // namespace lv
