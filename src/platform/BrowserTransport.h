#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace lv {

// A conversation with the running browser in the shape of the browser's "WWW_" request
// topics: connect to a service about a topic, send requests whose item carries the
// arguments, read the text reply, disconnect. Texts are Windows-1252 bytes, as the program
// stores them.
class BrowserTransport {
public:
    virtual ~BrowserTransport() = default;

    // Opens a conversation with the browser named service about topic; false when no browser
    // answers. A conversation already open is closed first.
    virtual bool Connect(const std::string& service, const std::string& topic) = 0;
    // One request in the open conversation; nothing when none is open or no reply came
    // within timeout.
    virtual std::optional<std::string> Request(const std::string& item,
                                               std::chrono::milliseconds timeout) = 0;
    virtual void Disconnect() = 0;
};

} // namespace lv
