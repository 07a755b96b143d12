#pragma once

#include "mainwindow/MainState.h"
#include "mainwindow/Ports.h"

#include <optional>
#include <string>

namespace lv {

// The operations around passwords that read the DataFile or the main window's list.

// True when the slot's U holds the marker of a protected target.
bool CheckEncrypt(const std::string& dataFile, const std::string& page, int slot);
// True when the candidate equals the password stored with the slot's target.
bool TestPassword(const std::string& dataFile, const std::string& page, int slot,
                  const std::string& candidate);
// The current page's entry in PagePassBox.
bool PageProtected(const MainWindowState& state);
std::string GetPagePass(const MainWindowState& state);
// PagePassBox from, and back to, the current DataFile (start-up, file change, close).
void ReadPagePassFromFile(MainWindowState& state);
void WritePagePass(const MainWindowState& state);

// The texts shown when a value cannot be scrambled so that it comes back whole.
inline constexpr std::string_view kCannotProtectBookmark =
    "The bookmark \"%s\" cannot be password protected: its scrambled address would not be "
    "stored safely in the Linkvane file. Nothing was changed.";
inline constexpr std::string_view kCannotUsePassword =
    "This password cannot be stored safely in the Linkvane file. Please choose another "
    "password. Nothing was changed.";
std::string CannotProtectText(std::string_view title);

// "&Password Protect Page", "Password Protect File" and the menu check mark.
class PasswordProtection {
public:
    PasswordProtection(MainWindowState& state, MainWindowPorts& ports)
        : state_(state), ports_(ports) {}

    void MPagePassClick();
    void MProgPassClick();

private:
    void ProtectPage();
    void UnprotectPage();
    void Tell(std::string text);

    MainWindowState& state_;
    MainWindowPorts& ports_;
};

} // namespace lv
