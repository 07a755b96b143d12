#pragma once

// Stand-ins for the desktop ports of the tray: they remember what the program asked for.

#include "platform/AutoStart.h"
#include "platform/TrayIcon.h"

#include <string>
#include <vector>

namespace lvtest {

class FakeTrayIcon : public lv::TrayIcon {
public:
    bool available = true; // false: the desktop has no notification area
    bool shown = false;
    std::string tip = "Linkvane";
    std::vector<std::string> recent;

    bool Available() const override { return available; }
    void Show() override { shown = true; }
    void Hide() override { shown = false; }
    bool Shown() const override { return shown; }
    void SetTip(const std::string& text) override { tip = lv::TrayTip(text); }
    void SetRecent(const std::vector<std::string>& captions) override { recent = captions; }
};

class FakeAutoStart : public lv::AutoStart {
public:
    bool on = false;
    std::vector<bool> applied;

    bool IsOn() const override { return on; }
    void Apply(bool value) override {
        on = value;
        applied.push_back(value);
    }
};

} // namespace lvtest
