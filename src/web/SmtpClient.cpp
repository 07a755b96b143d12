#include "web/SmtpClient.h"

#include "web/SmtpMessage.h"
#include "web/TWait.h"

#include <algorithm>
#include <cctype>
#include <netdb.h>
#include <unistd.h>

namespace lv {

namespace {

// Once this much waits in the socket's send queue, the body waits for the server to take it,
// so a large attachment is never held whole in memory.
constexpr std::size_t kSendHighWater = 256 * 1024;
constexpr std::size_t kSendLowWater = 64 * 1024;
// A reply that keeps saying "more follows" would hold the caller forever; real servers send a
// few dozen lines at most.
constexpr std::size_t kMaxReplyLines = 1000;

// In a header value a line break would start a header (or end the header block) of its own.
std::string HeaderValue(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return text;
}

std::string Lower(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

// Service names as the port: the socket wants a number.
std::string ServicePort(const std::string& port) {
    const std::string name = Lower(SmtpTrim(port));
    if (name.empty() || std::all_of(name.begin(), name.end(), [](char c) {
            return std::isdigit(static_cast<unsigned char>(c)) != 0;
        })) {
        return name;
    }
    if (name == "smtp") {
        return "25";
    }
    if (name == "submission") {
        return "587";
    }
    if (name == "smtps" || name == "submissions") {
        return "465";
    }
    if (const servent* entry = ::getservbyname(name.c_str(), "tcp")) {
        return std::to_string(ntohs(static_cast<uint16_t>(entry->s_port)));
    }
    return port;
}

} // namespace

TCustomSmtpClient::TCustomSmtpClient(EventLoop& loop)
    : loop_(loop), socket_(std::make_unique<TWSocket>(loop)) {
    socket_->OnSessionConnected = [this](int error) {
        connectDone_ = true;
        connectError_ = error;
    };
    socket_->OnDataAvailable = [this](int) { Drain(); };
    socket_->OnSessionClosed = [this](int error) { SocketClosed(error); };
    socket_->OnTlsDone = [this](int error) {
        tlsDone_ = true;
        tlsError_ = error;
    };
}

TCustomSmtpClient::~TCustomSmtpClient() {
    socket_->OnSessionConnected = nullptr;
    socket_->OnDataAvailable = nullptr;
    socket_->OnSessionClosed = nullptr;
    socket_->OnTlsDone = nullptr;
    socket_->Abort();
}

void TCustomSmtpClient::Display(const std::string& text) {
    if (OnDisplay) {
        OnDisplay(*this, text);
    }
}

void TCustomSmtpClient::SetError(const std::string& message) {
    if (errorMessage_.empty()) {
        errorMessage_ = message;
    }
}

bool TCustomSmtpClient::UseImplicitTls() const {
    const std::string port = Lower(SmtpTrim(Port));
    return Security == SmtpSecurity::ImplicitTls || port == "465" || port == "smtps" ||
           port == "submissions";
}

std::string TCustomSmtpClient::LocalName() const {
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0) {
        throw ESocketException("Winsock.GetHostName failed");
    }
    return name;
}

// --- Waiting and the socket ------------------------------------------------------------------

bool TCustomSmtpClient::WaitFor(const std::function<bool()>& arrived) {
    timedOut_ = false;
    if (Wait == nullptr) {
        return arrived();
    }
    Wait->OnTimeout = [this] { timedOut_ = true; };
    return Wait->Run(TimeOut, arrived);
}

void TCustomSmtpClient::Drain() {
    std::string line;
    while (socket_->ReceiveLine(line)) {
        lines_.push_back(line);
    }
}

void TCustomSmtpClient::SocketClosed(int error) {
    Drain();
    // A last line without its line end still counts as a line.
    if (socket_->RcvdBytesWaiting() > 0) {
        std::string rest = socket_->ReceiveStr();
        while (!rest.empty() && (rest.back() == '\r' || rest.back() == '\n')) {
            rest.pop_back();
        }
        lines_.push_back(rest);
    }
    state_ = ConnState::NotConnected;
    if (!connectDone_) {
        connectDone_ = true;
        connectError_ = error != 0 ? error : 10053;
    }
    if (!tlsDone_) {
        tlsDone_ = true;
        tlsError_ = error != 0 ? error : 10053;
    }
    if (Wait != nullptr && Wait->Running()) {
        Wait->Stop();
    }
}

void TCustomSmtpClient::CloseSocket() {
    socket_->Close();
    state_ = ConnState::NotConnected;
}

bool TCustomSmtpClient::Connect() {
    CloseSocket();
    lines_.clear();
    connectDone_ = false;
    connectError_ = 0;
    tlsDone_ = true;
    try {
        socket_->SetProto("tcp");
        socket_->SetAddr(SmtpTrim(Host));
        socket_->SetPort(ServicePort(Port));
        socket_->SetSslEnable(UseImplicitTls());
        socket_->SetSslServerName(SmtpTrim(Host));
        socket_->SetCaFile(CaFile);
        socket_->SetLineEnd("\n");
        socket_->SetLineMode(true);
        socket_->Connect();
    } catch (const ESocketException&) {
        return false;
    }
    WaitFor([this] { return connectDone_; });
    return connectDone_ && connectError_ == 0 && socket_->State() == SocketState::Connected;
}

// --- Commands and replies --------------------------------------------------------------------

void TCustomSmtpClient::SendCommand(const std::string& line, const std::string& shown) {
    if (state_ == ConnState::NotConnected) {
        return;
    }
    Display("> " + (shown.empty() ? line : shown));
    loop_.ProcessPending();
    if (state_ == ConnState::NotConnected) {
        return;
    }
    socket_->SendStr(line + "\r\n");
}

bool TCustomSmtpClient::ReadLine() {
    if (lines_.empty() && state_ != ConnState::NotConnected) {
        WaitFor([this] { return !lines_.empty(); });
    }
    if (lines_.empty()) {
        return false;
    }
    lastResponse_ = std::move(lines_.front());
    lines_.pop_front();
    return true;
}

void TCustomSmtpClient::ReadReply() {
    replyLines_.clear();
    if (state_ == ConnState::NotConnected && lines_.empty()) {
        lastResponse_ = "554 not connected";
        Display("< " + lastResponse_);
        replyLines_.push_back(lastResponse_);
        return;
    }
    for (;;) {
        if (!ReadLine()) {
            lastResponse_ = timedOut_ ? "554 receive timeout" : "554 not connected";
            Display("< " + lastResponse_);
            replyLines_.push_back(lastResponse_);
            return;
        }
        Display("< " + lastResponse_);
        replyLines_.push_back(lastResponse_);
        if (SmtpIsLastReplyLine(lastResponse_)) {
            return;
        }
        if (replyLines_.size() >= kMaxReplyLines) {
            lastResponse_ = "554 reply too long";
            Display("< " + lastResponse_);
            return;
        }
    }
}

bool TCustomSmtpClient::Check(int code, bool closeOnFailure, int otherCode) {
    ReadReply();
    const int got = SmtpReplyCode(lastResponse_);
    if (got == code || (otherCode >= 0 && got == otherCode)) {
        return true;
    }
    SetError(lastResponse_);
    if (closeOnFailure) {
        CloseSocket();
    }
    return false;
}

// --- Open ------------------------------------------------------------------------------------

bool TCustomSmtpClient::Open() {
    if (Wait == nullptr) {
        errorMessage_ = "No wait object";
        Display(errorMessage_);
        return false;
    }
    timedOut_ = false;
    if (state_ != ConnState::NotConnected) {
        return true;
    }
    errorMessage_.clear();
    if (SmtpTrim(Host).empty()) {
        errorMessage_ = "No host specified";
        return false;
    }
    if (!Connect()) {
        errorMessage_ = "Can't connect to host '" + Host + "'";
        Display(errorMessage_);
        CloseSocket();
        return false;
    }
    Display("Connected with SMTP server");
    state_ = ConnState::Connected;
    if (!Check(220, true) || !Greet()) {
        return false;
    }
    state_ = ConnState::Greeted;
    return true;
}

// --- Mail and Quit ---------------------------------------------------------------------------

bool TCustomSmtpClient::AskOnGetData(int lineNum, std::string& line) {
    bool more = true;
    line.clear();
    if (!OnGetData) {
        return false;
    }
    OnGetData(*this, lineNum, line, kBodyBufferSize, more);
    return more;
}

bool TCustomSmtpClient::NextBodyLine(int lineNum, std::string& line) {
    return AskOnGetData(lineNum, line);
}

void TCustomSmtpClient::AbortMessage(const std::string& reason) {
    SetError(reason);
    Display(reason);
    CloseSocket();
}

bool TCustomSmtpClient::Mail() {
    if (!PrepareMail()) {
        return false;
    }
    if (state_ == ConnState::NotConnected && !Open()) {
        MailEnded();
        return false;
    }
    const auto fail = [this] {
        MailEnded();
        return false;
    };
    SendCommand("MAIL FROM:<" + SmtpOneLine(SmtpTrim(FromName)) + ">");
    if (!Check(250, false)) {
        return fail();
    }
    for (const std::string& rcpt : RcptName) {
        SendCommand("RCPT TO:<" + SmtpOneLine(SmtpTrim(rcpt)) + ">");
        if (!Check(250, false, 251)) {
            return fail();
        }
    }
    SendCommand("DATA");
    if (!Check(354, false)) {
        return fail();
    }

    const std::string headers[] = {"From: " + HeaderValue(HdrFrom), "To: " + HeaderValue(HdrTo),
                                   "Subject: " + HeaderValue(HdrSubject), "Mime-Version: 1.0",
                                   std::string(kSmtpTextContentType) + HeaderValue(CharSet) + "\""};
    for (std::string line : headers) {
        line.resize(std::min(line.size(), kHeaderBufferSize - 1));
        HeaderLine(line);
        if (OnHeaderLine) {
            OnHeaderLine(*this, line, kHeaderBufferSize);
        }
        line.resize(std::min(line.size(), kHeaderBufferSize - 1));
        if (!line.empty()) {
            SendCommand(line);
        }
    }
    SendCommand("");

    std::string line;
    for (int n = 1; state_ == ConnState::Greeted; ++n) {
        if (!NextBodyLine(n, line)) {
            break;
        }
        line.resize(std::min(line.size(), kBodyBufferSize - 1));
        // A line break inside a line would let the text end the message early ("\r\n.\r\n");
        // each piece goes out as a line of its own, dot-stuffed.
        std::size_t start = 0;
        for (;;) {
            const std::size_t brk = line.find_first_of("\r\n", start);
            SendCommand(SmtpDotStuff(std::string_view(line).substr(
                start, brk == std::string::npos ? std::string::npos : brk - start)));
            if (brk == std::string::npos) {
                break;
            }
            start = brk +
                    ((line[brk] == '\r' && brk + 1 < line.size() && line[brk + 1] == '\n') ? 2 : 1);
        }
        loop_.ProcessPending();
        if (socket_->BufferedSendBytes() > kSendHighWater && state_ == ConnState::Greeted) {
            if (!WaitFor([this] {
                    return state_ == ConnState::NotConnected ||
                           socket_->BufferedSendBytes() < kSendLowWater;
                }) &&
                state_ != ConnState::NotConnected) {
                AbortMessage("554 send timeout");
            }
        }
    }
    SendCommand(".");
    const bool sent = Check(250, false);
    MailEnded();
    return sent;
}

void TCustomSmtpClient::Quit() {
    if (state_ == ConnState::NotConnected) {
        return;
    }
    SendCommand("QUIT");
    ReadReply();
    state_ = ConnState::NotConnected;
    CloseSocket();
}

} // namespace lv
