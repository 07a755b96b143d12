#include "mainwindow/BrowserList.h"

#include "store/Settings.h"
#include "store/TIniFile32.h"
#include "store/Text.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace lv {
namespace {

constexpr std::string_view kSection = settings::kBrowserSection;

std::string FileNameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

int StoredCount(const TIniFile32& ini) {
    return std::clamp<int>(
        ini.ReadInteger(settings::kBrowserCount.section, settings::kBrowserCount.key, 0), 0,
        kMaxBrowsers);
}

} // namespace

std::string RecordProbedBrowsers(const std::string& settingsFile,
                                 const std::vector<std::string>& found) {
    if (found.empty()) {
        return {};
    }
    TIniFile32 ini(settingsFile);
    const std::size_t count = std::min<std::size_t>(found.size(), 2);
    for (std::size_t i = 0; i < count; ++i) {
        ini.WriteString(kSection, std::to_string(i + 1), Utf8ToCp1252(found[i]));
    }
    ini.WriteInteger(settings::kBrowserCount.section, settings::kBrowserCount.key,
                     static_cast<int>(count));
    return Utf8ToCp1252(found.front());
}

void BrowserList::BuildMenu() {
    const TIniFile32 ini(state_.SettingsFile());
    const int count = StoredCount(ini);
    state_.browserMenu.clear();
    for (int i = 1; i <= count; ++i) {
        state_.browserMenu.push_back(ini.ReadString(kSection, std::to_string(i), ""));
    }
    const int selected =
        ini.ReadInteger(settings::kBrowserSelected.section, settings::kBrowserSelected.key, 1);
    state_.browserTicked = selected >= 1 && selected <= count ? selected - 1 : -1;
}

void BrowserList::ChangeBrowser(int position) {
    if (position < 0 || position >= static_cast<int>(state_.browserMenu.size())) {
        return;
    }
    state_.browserTicked = position;
    TIniFile32 ini(state_.SettingsFile());
    state_.BrowserPath = ini.ReadString(kSection, std::to_string(position + 1), "");
    ini.WriteInteger(settings::kBrowserSelected.section, settings::kBrowserSelected.key,
                     position + 1);
}

void BrowserList::AddBrowserClick() {
    UserDlgRequest request;
    request.title = "Add or Remove Browser";
    request.message = {"Add         =  Add an installed browser to list.",
                       "Remove  =  Remove browser from list."};
    request.buttons = {"Add", "Remove", "Ignore"};
    request.cancelButton = 2;
    const int answer = ports_.dialogs.UserDlg(request);
    if (answer == 0) {
        state_.browserTicked = -1;
        Add();
    } else if (answer == 1) {
        state_.browserTicked = -1;
        Remove();
    }
}

void BrowserList::Add() {
    const char* home = std::getenv("HOME");
    const OpenFileResult choice = ports_.dialogs.OpenFile(
        {"Select Browser", "Browser|*", home != nullptr ? std::string(home) : std::string("/")});
    if (!choice.accepted || choice.path.empty()) {
        return;
    }
    TIniFile32 ini(state_.SettingsFile());
    const int count = StoredCount(ini);
    if (count >= kMaxBrowsers) {
        ports_.dialogs.Message({MsgKind::Information,
                                {},
                                "The browser list is full: remove a browser before adding one."});
        BuildMenu();
        return;
    }
    const std::string path = Utf8ToCp1252(choice.path);
    ini.WriteString(kSection, std::to_string(count + 1), path);
    ini.WriteInteger(settings::kBrowserCount.section, settings::kBrowserCount.key, count + 1);
    ini.WriteInteger(settings::kBrowserSelected.section, settings::kBrowserSelected.key, count + 1);
    state_.browserMenu.resize(static_cast<std::size_t>(count));
    state_.browserMenu.push_back(path);
    state_.browserTicked = count;
    state_.BrowserPath = path;
}

void BrowserList::Remove() {
    TIniFile32 ini(state_.SettingsFile());
    const int count = StoredCount(ini);
    const int selected =
        ini.ReadInteger(settings::kBrowserSelected.section, settings::kBrowserSelected.key, 1);
    if (selected < 1 || selected > count) {
        // Nothing selected to remove: the menu shows what is stored.
        BuildMenu();
        return;
    }
    const std::string path = ini.ReadString(kSection, std::to_string(selected), "");
    const MessageRequest question{MsgKind::Confirmation,
                                  {},
                                  "Are you sure you want to delete [ " + FileNameOf(path) +
                                      " ] from the browser list?",
                                  MsgButtons::YesNo};
    if (ports_.dialogs.Message(question) != MsgResult::Yes) {
        return;
    }
    std::vector<std::string> remaining;
    for (int i = 1; i <= count; ++i) {
        if (i != selected) {
            remaining.push_back(ini.ReadString(kSection, std::to_string(i), ""));
        }
    }
    ini.WriteInteger(settings::kBrowserCount.section, settings::kBrowserCount.key, count - 1);
    ini.WriteInteger(settings::kBrowserSelected.section, settings::kBrowserSelected.key, 1);
    ini.DeleteKey(kSection, std::to_string(selected));
    int next = 1;
    for (const std::string& entry : remaining) {
        if (!entry.empty()) {
            ini.WriteString(kSection, std::to_string(next++), entry);
        }
    }
    // Entries past the new end would come back as stale browsers with the next "Add".
    for (int i = next; i <= count; ++i) {
        ini.DeleteKey(kSection, std::to_string(i));
    }
    BuildMenu();
    state_.browserTicked = state_.browserMenu.empty() ? -1 : 0;
    state_.BrowserPath = state_.browserMenu.empty() ? std::string() : state_.browserMenu.front();
}

void BrowserList::SingleButtonClick(bool single) {
    state_.checks.singleWindow = single;
    state_.checks.multipleWindows = !single;
    TIniFile32 ini(state_.SettingsFile());
    ini.WriteString(settings::kShowPages.section, settings::kShowPages.key,
                    single ? "Single" : "Multiple");
}

} // namespace lv
