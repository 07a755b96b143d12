#pragma once

#include "platform/PollEventLoop.h"
#include "web/THttpCli.h"

#include <chrono>
#include <string>
#include <vector>

namespace lvtest {

// Records the events of a THttpCli as short texts ("State 5", "HeaderData HTTP/1.0 200 OK",
// "DocData 12", "RequestDone 1 0") and pumps the loop until the request is done.
class HttpCliProbe {
public:
    explicit HttpCliProbe(lv::THttpCli& cli) : cli_(cli) {
        using lv::THttpCli;
        auto note = [this](const char* name) {
            return [this, name](THttpCli&) { events.push_back(name); };
        };
        cli.OnSessionConnected = note("SessionConnected");
        cli.OnHeaderData = [this](THttpCli& c) { events.push_back("HeaderData " + c.LastLine()); };
        cli.OnCommand = [this](THttpCli&, const std::string& line) {
            events.push_back("Command " + line);
        };
        cli.OnHeaderBegin = note("HeaderBegin");
        cli.OnHeaderEnd = note("HeaderEnd");
        cli.OnRequestHeaderBegin = note("RequestHeaderBegin");
        cli.OnRequestHeaderEnd = note("RequestHeaderEnd");
        cli.OnDocBegin = note("DocBegin");
        cli.OnDocData = [this](THttpCli&, const char* data, std::size_t length) {
            document.append(data, length);
            if (recordDocData) {
                events.push_back("DocData");
            }
        };
        cli.OnDocEnd = note("DocEnd");
        cli.OnStateChange = [this](THttpCli& c) {
            events.push_back("State " + std::to_string(static_cast<int>(c.State())));
        };
        cli.OnRequestDone = [this](THttpCli&, lv::THttpRequest request, int error) {
            events.push_back("RequestDone " + std::to_string(static_cast<int>(request)) + " " +
                             std::to_string(error));
            ++doneCount;
            lastError = error;
        };
        cli.OnLocationChange = [this](THttpCli& c) {
            events.push_back("LocationChange " + c.CurrentAddress());
        };
        cli.OnCookie = [this](THttpCli&, const std::string& data, bool&) {
            events.push_back("Cookie " + data);
        };
    }

    // Pumps until OnRequestDone has come (true) or the bound passes.
    bool WaitDone(lv::PollEventLoop& loop,
                  std::chrono::milliseconds bound = std::chrono::seconds(10)) {
        const int before = doneSeen_;
        const bool ok = loop.RunUntil([&] { return doneCount > before; }, bound);
        doneSeen_ = doneCount;
        return ok;
    }

    // Events whose text starts with prefix, in order.
    std::vector<std::string> Only(const std::string& prefix) const {
        std::vector<std::string> out;
        for (const auto& e : events) {
            if (e.rfind(prefix, 0) == 0) {
                out.push_back(e);
            }
        }
        return out;
    }

    std::vector<std::string> events;
    std::string document;
    bool recordDocData = true;
    int doneCount = 0;
    int lastError = -1;

private:
    lv::THttpCli& cli_;
    int doneSeen_ = 0;
};

} // namespace lvtest
