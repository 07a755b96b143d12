#pragma once

#include "platform/BrowserTransport.h"
#include "platform/EventLoop.h"

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lv {

// The browser conversation over the DevTools HTTP endpoints of a Chromium-family browser
// started with --remote-debugging-port, on 127.0.0.1 only. Connecting lists the browser's
// pages (GET /json/list); the topics are answered as the browser link expects them:
//   WWW_GetWindowInfo  "<url>","<title>","" of the most recently used page
//   WWW_Activate       activates that page (GET /json/activate/<id>)
//   WWW_OpenURL        opens the quoted address of the item in a new tab (PUT /json/new?<url>)
//                      and activates it; the reply is the new page's id
// Every request pumps the loop until its answer or its time-out, as the link's requests are
// synchronous. The service name is not checked: whichever browser listens on the port answers.
class DevToolsTransport final : public BrowserTransport {
public:
    static constexpr int kDefaultPort = 9222; // SettingsFile [Browser] DebugPort

    explicit DevToolsTransport(EventLoop& loop, int port = kDefaultPort)
        : loop_(loop), port_(port) {}

    int Port() const { return port_; }
    void SetPort(int port) { port_ = port; }
    // Bound on the listing done by Connect.
    std::chrono::milliseconds connectTimeout{1000};

    bool Connect(const std::string& service, const std::string& topic) override;
    std::optional<std::string> Request(const std::string& item,
                                       std::chrono::milliseconds timeout) override;
    void Disconnect() override;

    struct HttpAnswer {
        int status = 0;
        std::string body;
    };
    using JsonObject = std::map<std::string, std::string>;

    // The string members of each object of a JSON array (or of a lone object); other members
    // are skipped. Nothing when the text is not such JSON.
    static std::optional<std::vector<JsonObject>> ParseObjects(std::string_view json);
    // An address made safe as the query of /json/new: everything but unreserved characters
    // and ":/" percent-encoded.
    static std::string EncodeQuery(std::string_view url);

private:
    using Clock = std::chrono::steady_clock;
    static constexpr std::size_t kMaxAnswerBytes = 16 * 1024 * 1024;
    std::optional<HttpAnswer> Send(const std::string& method, const std::string& path,
                                   Clock::time_point deadline);
    std::optional<std::string> OpenUrl(const std::string& item, Clock::time_point deadline);

    EventLoop& loop_;
    int port_;
    bool connected_ = false;
    std::string topic_;
    std::vector<JsonObject> pages_;
};

} // namespace lv
