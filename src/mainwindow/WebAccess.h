#pragma once

#include "mainwindow/MainState.h"
#include "mainwindow/Ports.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

namespace lv {

// The guard of a page fetch by the main window (Timer1): past it the fetch is aborted.
inline constexpr std::chrono::milliseconds kPageFetchGuard{10000};
// The largest site icon taken: icons are a few kilobytes, and a larger download is something
// else (a file the site hands out for any address) that must not fill the icon folder.
inline constexpr std::int64_t kMaxWebIconBytes = 1024 * 1024;
// How much of a page the main window keeps: the head and far more than any page's links.
inline constexpr std::size_t kPageKeepBytes = 4 * 1024 * 1024;

struct FetchedPage {
    bool ok = false;
    std::string body;    // at most kPageKeepBytes of the document
    std::string address; // where the document came from, after relocations
};

// The main window's HttpCli1: a synchronous GET of a page that pumps the loop meanwhile, so the
// window stays responsive; a fetch that starts while another runs aborts the older one. Fails
// for a status of 400 or more, an address that cannot be reached, and at the guard. A cookie
// from the site lights the yellow lamp.
FetchedPage FetchMainWindowPage(MainWindowState& state, MainWindowPorts& ports,
                                const std::string& url);

// NetDetectorChanged: the lamp and its hint from the on-line flag.
void ShowConnection(MainWindowState& state, bool online);
// The lamp as the network state has it now; unchanged when that cannot be read.
void RestoreConnectionLamp(MainWindowState& state, MainWindowPorts& ports);

} // namespace lv
