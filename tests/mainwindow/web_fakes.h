#pragma once

// A main window wired to the web ports: a clipboard, a browser, the network state, an echo and
// (for the network tests) a real event loop.

#include "mainwindow/TForm1.h"
#include "mainwindow/TPForm.h"
#include "mainwindow/TTabForm.h"
#include "platform/Clipboard.h"
#include "platform/EventLoop.h"
#include "platform/IcmpEcho.h"
#include "platform/NetworkState.h"
#include "store/TIniFile32.h"

#include "launch_fakes.h"

#include <functional>
#include <map>
#include <memory>
#include <string>

namespace lvtest {

// Echo replies by address: a round-trip time, or no entry for a host that stays silent.
class FakeIcmpEcho : public lv::IcmpEcho {
public:
    std::map<std::string, int> times;
    std::vector<std::string> asked;
    std::string unavailable; // set: no echo can be sent at all
    std::string Unavailable() const override { return unavailable; }
    lv::EchoResult Echo(const std::string& address, int, int, std::chrono::milliseconds) override {
        asked.push_back(address);
        const auto found = times.find(address);
        if (found == times.end()) {
            return {0, 0, "Request timed out"};
        }
        return {1, found->second, {}};
    }
};

struct WebHarness {
    TempDir dir;
    ScriptedDialogs dialogs;
    lv::FixedScreen screen{1280, 1024};
    FixedClock clock;
    RecordingLauncher launcher;
    FakeBrowser browser;
    lv::MemoryClipboard clipboard;
    lv::FixedNetworkState network;
    FakeIcmpEcho icmp;
    std::unique_ptr<lv::TForm1> form;
    // The page options and access-speed dialogs, as the user works them.
    std::function<void(lv::TTabForm&)> onTabForm;
    std::function<void(lv::TPForm&)> onPingForm;

    std::string DataFile() const { return dir.File("Disk.LVD"); }

    // A DataFile with the page list and body given, one browser, and the loop when the test
    // talks to servers.
    lv::TForm1& Start(const std::string& tabs, const std::string& pages,
                      lv::EventLoop* loop = nullptr, const std::string& caFile = "") {
        WriteBytes(dir.File("browser1"), "#!/bin/sh\n");
        WriteBytes(dir.File("lvd.ini"),
                   "[Browser]\r\nCount=1\r\nSelected=1\r\n1=" + dir.File("browser1") + "\r\n");
        WriteBytes(DataFile(), "[Tabs]\r\n" + tabs + pages);
        lv::MainWindowPorts ports{dialogs, screen, clock, {}};
        ports.launcher = &launcher;
        ports.browser = &browser;
        ports.clipboard = &clipboard;
        ports.network = &network;
        ports.icmp = &icmp;
        ports.loop = loop;
        ports.caFile = caFile;
        ports.tabForm = [this](lv::TTabForm& f) {
            if (onTabForm) {
                onTabForm(f);
            }
            if (!f.Closed()) {
                f.CloseClick();
            }
        };
        ports.pingForm = [this](lv::TPForm& f) {
            if (onPingForm) {
                onPingForm(f);
            }
        };
        form = std::make_unique<lv::TForm1>(ports, dir.Path().string() + "/");
        form->FormCreate({});
        return *form;
    }

    std::string Read(const std::string& section, const std::string& key) const {
        return lv::TIniFile32(DataFile()).ReadString(section, key, "<none>");
    }
};

} // namespace lvtest
