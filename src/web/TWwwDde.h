#pragma once

#include "platform/BrowserTransport.h"
#include "platform/Dialogs.h"

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace lv {

// The link to the running browser: which page it shows, bring it to the front, open an
// address in its current window. Each operation opens its own conversation and closes it
// before returning; every request waits at most kRequestTimeout.
class TWwwDde {
public:
    static constexpr std::chrono::milliseconds kRequestTimeout{1000};
    static constexpr int kActivateAttempts = 6;

    TWwwDde(BrowserTransport& transport, Dialogs& dialogs)
        : transport_(transport), dialogs_(dialogs) {}

    // Full path of the browser program; the link does nothing while it is empty.
    std::string ProgramPath;
    // The port the browser must have been started with; named when it does not answer.
    int DebugPort = 9222;
    // The hourglass while a request runs: called with true before, false after.
    std::function<void(bool busy)> OnBusy;

    bool Activate();
    bool OpenURL(const std::string& address);
    // Title and address of the page the browser shows; both empty when that fails.
    bool GetWindowInfo(std::string& title, std::string& address);

    // --- Building blocks ---------------------------------------------------------------------
    // Sets the service (from ProgramPath) and topic for the next OpenLink.
    void SetLink(const std::string& topic);
    bool OpenLink();
    void CloseLink();
    // A request in the open conversation: nothing when none is open or a request is pending.
    std::optional<std::string> Request(const std::string& item);
    // No for no reply; a reply starting with byte 255 is the browser's error, shown with its
    // first four bytes.
    bool CheckReply(const std::optional<std::string>& reply);

    // Told when the browser does not answer: how to start it so that it does.
    static std::string NotAnsweringText(const std::string& programPath, int port);
    // The program's file name without folder and without everything from its first ".".
    static std::string ServiceName(std::string_view programPath);
    // Text after the first left (from the start when left is empty) up to the next right (the
    // rest when right is empty); empty when either is not found.
    static std::string Between(std::string_view text, std::string_view left,
                               std::string_view right);
    // The address as the browser is given it: scheme in lower case, "http:" and "///" where
    // scheme or authority are missing.
    static std::string NormaliseAddress(std::string_view address);

private:
    BrowserTransport& transport_;
    Dialogs& dialogs_;
    std::string service_;
    std::string topic_;
    bool open_ = false;
    bool pending_ = false;
};

} // namespace lv
