// The greeting beyond HELO: EHLO, STARTTLS and AUTH, for servers that want them.
#include "web/HttpUrl.h"
#include "web/SmtpClient.h"

#include "web/SmtpMessage.h"

namespace lv {

bool TCustomSmtpClient::Greet() {
    const std::string name = SmtpOneLine(SignOn.empty() ? LocalName() : SignOn);
    const bool wantExtensions =
        Security != SmtpSecurity::Plain || UseImplicitTls() || !UserName.empty();
    extensions_ = {};
    if (!wantExtensions) {
        SendCommand("HELO " + name);
        return Check(250, true);
    }
    SendCommand("EHLO " + name);
    if (Check(250, false)) {
        extensions_ = SmtpParseEhlo(replyLines_);
    } else {
        if (state_ == ConnState::NotConnected || timedOut_) {
            CloseSocket();
            return false;
        }
        // A server from before EHLO: the classic greeting, and no extensions.
        errorMessage_.clear();
        SendCommand("HELO " + name);
        if (!Check(250, true)) {
            return false;
        }
    }
    const bool wantTls = Security == SmtpSecurity::StartTlsRequired ||
                         (Security == SmtpSecurity::StartTlsIfOffered && extensions_.startTls);
    if (wantTls && !socket_->IsTls()) {
        if (!extensions_.startTls) {
            SetError("Server does not offer STARTTLS");
            Display(errorMessage_);
            CloseSocket();
            return false;
        }
        if (!StartTls()) {
            return false;
        }
        // What the server offers may change once the connection is encrypted.
        SendCommand("EHLO " + name);
        if (!Check(250, true)) {
            return false;
        }
        extensions_ = SmtpParseEhlo(replyLines_);
    }
    return UserName.empty() || Authenticate();
}

bool TCustomSmtpClient::StartTls() {
    SendCommand("STARTTLS");
    if (!Check(220, true)) {
        return false;
    }
    // Anything the server sent before the handshake was not protected: drop it, so nobody on
    // the path can slip in answers to the commands that follow.
    lines_.clear();
    tlsDone_ = false;
    tlsError_ = 0;
    socket_->StartTls(SmtpTrim(Host));
    WaitFor([this] { return tlsDone_; });
    if (tlsDone_ && tlsError_ == 0 && socket_->IsTls()) {
        return true;
    }
    SetError(timedOut_ ? std::string("554 receive timeout")
                       : "TLS handshake failed: " + socket_->LastErrorText());
    Display(errorMessage_);
    CloseSocket();
    return false;
}

bool TCustomSmtpClient::Authenticate() {
    if (!socket_->IsTls() && !AllowPlainTextAuth) {
        SetError("Authentication needs an encrypted connection");
        Display(errorMessage_);
        CloseSocket();
        return false;
    }
    if (extensions_.authPlain) {
        const std::string token = Base64Encode(std::string(1, '\0') + UserName + '\0' + Password);
        SendCommand("AUTH PLAIN " + token, "AUTH PLAIN ****");
        return Check(235, true);
    }
    if (extensions_.authLogin) {
        SendCommand("AUTH LOGIN");
        if (!Check(334, true)) {
            return false;
        }
        SendCommand(Base64Encode(UserName), "****");
        if (!Check(334, true)) {
            return false;
        }
        SendCommand(Base64Encode(Password), "****");
        return Check(235, true);
    }
    SetError("Server offers no supported authentication");
    Display(errorMessage_);
    CloseSocket();
    return false;
}

} // namespace lv
