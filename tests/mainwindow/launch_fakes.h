#pragma once

// Recording stand-ins for the launch ports and a main window wired to them.

#include "mainwindow/TBConfigForm.h"
#include "mainwindow/TForm1.h"
#include "platform/BrowserTransport.h"
#include "platform/ProcessLauncher.h"
#include "platform/Shell.h"
#include "store/TIniFile32.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

#include "Harness.h"

#include <cerrno>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace lvtest {

struct StartRecord {
    std::string program;
    std::string argument;
    std::int64_t id;
    bool operator==(const StartRecord&) const = default;
};

class RecordingLauncher : public lv::ProcessLauncher {
public:
    std::vector<StartRecord> starts;
    std::string failure; // set: every start fails with this message
    lv::ProcessStart Start(const std::string& program, const std::string& argument,
                           std::int64_t id) override {
        starts.push_back({program, argument, id});
        if (!failure.empty()) {
            return {false, ENOENT, failure, 0};
        }
        return {true, 0, {}, 1};
    }
    bool IsWatching(const std::string&, std::int64_t) const override { return false; }
};

class RecordingShell : public lv::Shell {
public:
    std::vector<lv::LocalTarget> opened;
    std::set<std::string> missing; // files that are not there; every other one is
    std::string failure;           // set: every open fails with this message
    lv::ShellResult Open(const std::string& file, const std::string& parameters,
                         const std::string& directory) override {
        opened.push_back({file, parameters, directory});
        if (!failure.empty()) {
            return {false, EACCES, failure};
        }
        return {true, 0, {}};
    }
    bool Exists(const std::string& file) const override { return missing.count(file) == 0; }
};

// A browser that answers the link's topics: its front page, and the addresses it was asked to
// open. With answering false nobody listens.
class FakeBrowser : public lv::BrowserTransport {
public:
    bool answering = true;
    std::string frontPage; // the WWW_GetWindowInfo reply
    std::vector<std::string> topics;
    std::vector<std::string> opened;

    bool Connect(const std::string&, const std::string& topic) override {
        topics.push_back(topic);
        topic_ = topic;
        return answering;
    }
    std::optional<std::string> Request(const std::string& item,
                                       std::chrono::milliseconds) override {
        if (topic_ == "WWW_OpenURL") {
            opened.push_back(item);
            return std::string("1");
        }
        if (topic_ == "WWW_GetWindowInfo") {
            return frontPage;
        }
        return std::string();
    }
    void Disconnect() override {}

private:
    std::string topic_;
};

// A main window over a temporary program directory whose launches land in the fakes.
struct LaunchHarness {
    TempDir dir;
    ScriptedDialogs dialogs;
    lv::FixedScreen screen{1280, 1024};
    FixedClock clock;
    RecordingLauncher launcher;
    RecordingShell shell;
    FakeBrowser browser;
    std::unique_ptr<lv::TForm1> form;
    // The page list of the DataFile's [Tabs] section.
    std::string tabs = "Count=2\r\nTab1=Page1\r\nTab2=Page2\r\n";
    // The tray's ports, when a test gives them.
    lv::TrayIcon* trayIcon = nullptr;
    lv::AutoStart* autoStart = nullptr;
    std::function<bool()> showHotKeyRegistered;
    std::function<void(lv::TBConfigForm&)> editor;       // answers the bookmark editor
    std::function<void(lv::MainWindowPorts&)> morePorts; // what else a test gives the window

    std::string ProgramDir() const { return dir.Path().string() + "/"; }
    std::string Browser(int n) const { return dir.File("browser" + std::to_string(n)); }

    // Settings naming browsers 1..count (real files), browser 1 selected, and a DataFile whose
    // body follows the page list of its [Tabs] section (so it may start with more [Tabs] keys).
    lv::TForm1& Start(const std::string& pages, int browsers = 1,
                      const std::string& mode = "Multiple",
                      lv::ProcessLauncher* realLauncher = nullptr) {
        std::string ini = "[Show]\r\nPages=" + mode +
                          "\r\n[Browser]\r\nCount=" + std::to_string(browsers) +
                          "\r\nSelected=1\r\n";
        for (int i = 1; i <= browsers; ++i) {
            WriteBytes(Browser(i), "#!/bin/sh\n");
            ini += std::to_string(i) + "=" + Browser(i) + "\r\n";
        }
        WriteBytes(dir.File("lvd.ini"), ini);
        WriteBytes(dir.File("Disk.LVD"), "[Tabs]\r\n" + tabs + pages);
        lv::MainWindowPorts ports{dialogs, screen, clock, {}};
        ports.launcher = realLauncher != nullptr ? realLauncher : &launcher;
        ports.shell = &shell;
        ports.browser = &browser;
        ports.trayIcon = trayIcon;
        ports.autoStart = autoStart;
        ports.showHotKeyRegistered = showHotKeyRegistered;
        ports.bookmarkEditor = [this](lv::TBConfigForm& shown) {
            if (editor) {
                editor(shown);
            }
        };
        if (morePorts) {
            morePorts(ports);
        }
        form = std::make_unique<lv::TForm1>(ports, ProgramDir());
        form->FormCreate({});
        return *form;
    }

    const lv::BookmarkButton& Button(const lv::TForm1& f, int slot) const {
        return f.State().buttons.at(static_cast<std::size_t>(slot - 1));
    }
    std::string Read(const std::string& section, const std::string& key) const {
        return lv::TIniFile32(dir.File("Disk.LVD")).ReadString(section, key, "<none>");
    }
    std::string Setting(const std::string& section, const std::string& key) const {
        return lv::TIniFile32(dir.File("lvd.ini")).ReadString(section, key, "<none>");
    }
};

} // namespace lvtest
