#include "web/TWwwDde.h"

#include "platform/LaunchTarget.h"
#include "store/Text.h"

#include <algorithm>
#include <cstdio>

namespace lv {

namespace {

// Restores the normal cursor on every way out.
class BusyScope {
public:
    explicit BusyScope(const std::function<void(bool)>& onBusy) : onBusy_(onBusy) {
        if (onBusy_) {
            onBusy_(true);
        }
    }
    ~BusyScope() {
        if (onBusy_) {
            onBusy_(false);
        }
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    const std::function<void(bool)>& onBusy_;
};

void ShowError(Dialogs& dialogs, const std::string& text) {
    MessageRequest request;
    request.kind = MsgKind::Error;
    request.text = text;
    request.buttons = MsgButtons::Ok;
    dialogs.Message(request);
}

} // namespace

// The Windows text sent the user to an "Options" menu; here the browser answers only when it
// was started with its debugging port, so the text says how.
std::string TWwwDde::NotAnsweringText(const std::string& programPath, int port) {
    const std::string number = std::to_string(port);
    return programPath + " does not answer.  For launches into the current browser window, " +
           "start the browser with its debugging port, for example:\r\n\r\n    chromium " +
           "--remote-debugging-port=" + number +
           "\r\n\r\nThe port is DebugPort in the [Browser] section of the settings file.";
}

std::string TWwwDde::ServiceName(std::string_view programPath) {
    const std::size_t slash = programPath.find_last_of("/\\");
    std::string_view name =
        slash == std::string_view::npos ? programPath : programPath.substr(slash + 1);
    return std::string(name.substr(0, name.find('.')));
}

// The Windows program looked at no more than 255 characters here, which cut long addresses
// short; the whole text is used.
std::string TWwwDde::Between(std::string_view text, std::string_view left, std::string_view right) {
    std::size_t start = 0;
    if (!left.empty()) {
        const std::size_t at = text.find(left);
        if (at == std::string_view::npos) {
            return {};
        }
        start = at + left.size();
    }
    const std::string_view rest = text.substr(start);
    if (right.empty()) {
        return std::string(rest);
    }
    const std::size_t end = rest.find(right);
    if (end == std::string_view::npos) {
        return {};
    }
    return std::string(rest.substr(0, end));
}

std::string TWwwDde::NormaliseAddress(std::string_view address) {
    std::string scheme = Between(address, "", ":");
    if (!scheme.empty()) {
        scheme += ':';
    }
    std::string authority = Between(address, "//", "/");
    if (authority.empty()) {
        authority = Between(address, "//", "");
    }
    if (!authority.empty()) {
        authority = "//" + authority + "/";
    }
    if (address.find("///") != std::string_view::npos) {
        authority = "///";
    }
    std::string rest(address);
    rest.erase(0, std::min(rest.size(), scheme.size() + authority.size()));
    if (scheme.empty()) {
        scheme = "http:";
    }
    if (authority.empty()) {
        authority = "///";
    }
    return LowerCase1252(scheme) + authority + rest;
}

void TWwwDde::SetLink(const std::string& topic) {
    service_ = ServiceName(ProgramPath);
    topic_ = topic;
}

bool TWwwDde::OpenLink() {
    CloseLink();
    open_ = transport_.Connect(service_, topic_);
    return open_;
}

void TWwwDde::CloseLink() {
    if (open_) {
        transport_.Disconnect();
        open_ = false;
    }
}

std::optional<std::string> TWwwDde::Request(const std::string& item) {
    if (!open_ || pending_) {
        return std::nullopt;
    }
    pending_ = true;
    std::optional<std::string> reply;
    try {
        reply = transport_.Request(item, kRequestTimeout);
    } catch (...) {
        pending_ = false;
        throw;
    }
    pending_ = false;
    return reply;
}

bool TWwwDde::CheckReply(const std::optional<std::string>& reply) {
    if (!reply) {
        return false;
    }
    if (!reply->empty() && static_cast<unsigned char>((*reply)[0]) == 255) {
        // A short reply has no more bytes to show; those read as 0.
        unsigned bytes[4] = {};
        for (std::size_t i = 0; i < 4 && i < reply->size(); ++i) {
            bytes[i] = static_cast<unsigned char>((*reply)[i]);
        }
        char text[64];
        std::snprintf(text, sizeof text, "Error %x%x%x%x", bytes[0], bytes[1], bytes[2], bytes[3]);
        ShowError(dialogs_, text);
        return false;
    }
    return true;
}

bool TWwwDde::Activate() {
    if (ProgramPath.empty()) {
        return false;
    }
    {
        const BusyScope busy(OnBusy);
        for (int attempt = 0; attempt < kActivateAttempts; ++attempt) {
            SetLink("WWW_Activate");
            if (OpenLink()) {
                (void)Request("0xFFFFFFFF,0x0");
                CloseLink();
                return true;
            }
        }
    }
    ShowError(dialogs_, NotAnsweringText(ProgramPath, DebugPort));
    return false;
}

bool TWwwDde::OpenURL(const std::string& address) {
    if (ProgramPath.empty()) {
        return false;
    }
    // The address goes to the browser as data, not as an option, but what it holds must still
    // be what the user sees.
    if (const std::string refusal = TargetRefusal(Cp1252ToUtf8(address), TargetKind::WebAddress);
        !refusal.empty()) {
        ShowError(dialogs_, Utf8ToCp1252(refusal));
        return false;
    }
    if (!Activate()) {
        return false;
    }
    SetLink("WWW_OpenURL");
    if (!OpenLink()) {
        ShowError(dialogs_, "Could not open link");
        return false;
    }
    const std::optional<std::string> reply =
        Request("\"" + NormaliseAddress(address) + "\",,0xFFFFFFFF,0x0,,,,");
    const bool ok = CheckReply(reply);
    CloseLink();
    return ok;
}

bool TWwwDde::GetWindowInfo(std::string& title, std::string& address) {
    title.clear();
    address.clear();
    if (ProgramPath.empty()) {
        return false;
    }
    const BusyScope busy(OnBusy);
    SetLink("WWW_GetWindowInfo");
    bool ok = false;
    if (OpenLink()) {
        const std::optional<std::string> reply = Request("0xFFFFFFFF");
        if (CheckReply(reply) && !reply->empty()) {
            address = Between(*reply, "\"", "\"");
            title = Between(*reply, ",\"", "\"");
            if (title.find('[') != std::string::npos) {
                title = Between(title, "[", "]");
            }
            ok = true;
        }
        CloseLink();
    }
    return ok;
}

} // namespace lv
