#include "mainwindow/WebAccess.h"

#include "platform/EventLoop.h"
#include "platform/NetworkState.h"
#include "web/THttpCli.h"

#include <memory>

namespace lv {

FetchedPage FetchMainWindowPage(MainWindowState& state, MainWindowPorts& ports,
                                const std::string& url) {
    FetchedPage page;
    if (ports.loop == nullptr) {
        return page;
    }
    if (state.webFetch != nullptr) {
        state.webFetch->Abort(); // its Get raises, and that command ends without writing
    }
    THttpCli cli(*ports.loop);
    cli.URL = url;
    cli.Cookie = "Linkvane";
    cli.SetMultiThreaded(true);
    cli.CaFile = ports.caFile;
    // The guard ends the request; the client's own deadline only backs it up.
    cli.RequestTimeout = kPageFetchGuard + std::chrono::seconds(1);
    cli.OnCookie = [&state](THttpCli&, const std::string&, bool& accept) {
        accept = true;
        state.DialUp.image = ConnectionLamp::Image::LedYellow;
    };
    cli.OnDocData = [&page](THttpCli&, const char* data, std::size_t length) {
        const std::size_t room = kPageKeepBytes - page.body.size();
        page.body.append(data, length < room ? length : room);
    };
    const auto alive = std::make_shared<bool>(true);
    const EventLoop::TimerId guard = ports.loop->StartTimer(kPageFetchGuard, false, [&cli, alive] {
        if (*alive) {
            cli.Abort();
        }
    });
    THttpCli* previous = state.webFetch;
    state.webFetch = &cli;
    bool failed = false;
    try {
        cli.Get();
    } catch (const std::exception&) {
        failed = true;
    }
    *alive = false;
    ports.loop->StopTimer(guard);
    if (state.webFetch == &cli) {
        state.webFetch = previous;
    }
    // Only a document that came whole counts (an abort or a reset leaves half a page).
    if (failed || cli.RequestError() != 0 || cli.StatusCode() < 200 || cli.StatusCode() > 299) {
        page.body.clear();
        return page;
    }
    page.ok = true;
    page.address = cli.CurrentAddress().empty() ? url : cli.CurrentAddress();
    return page;
}

void ShowConnection(MainWindowState& state, bool online) {
    state.DialUp.image = online ? ConnectionLamp::Image::LedOn : ConnectionLamp::Image::LedOff;
    state.DialUp.hint = online ? "Dialup = OnLine" : "Dialup = OffLine";
}

void RestoreConnectionLamp(MainWindowState& state, MainWindowPorts& ports) {
    if (ports.network == nullptr) {
        return;
    }
    if (const std::optional<bool> online = ports.network->Online()) {
        ShowConnection(state, *online);
    }
}

} // namespace lv
