#include "mainwindow/TaskTray.h"

#include "mainwindow/PagePasswords.h"
#include "platform/AutoStart.h"
#include "platform/ProcessLauncher.h"
#include "platform/TrayIcon.h"
#include "store/DataFile.h"
#include "store/Settings.h"
#include "store/TIniFile32.h"
#include "store/Text.h"

#include <algorithm>
#include <filesystem>

namespace lv {
namespace {

std::string ModeValue(const MenuChecks& checks) {
    if (checks.trayTray) {
        return "Yes";
    }
    if (checks.trayBar) {
        return "Bar";
    }
    if (checks.trayMini) {
        return "Mini";
    }
    if (checks.trayHide) {
        return "Hide";
    }
    return "No";
}

// Notes keep their line breaks as "|" and "~"; the tip is one line.
std::string TipOfNotes(std::string notes) {
    std::replace(notes.begin(), notes.end(), '|', ' ');
    std::replace(notes.begin(), notes.end(), '~', ' ');
    return notes;
}

std::optional<std::string> PageOf(const std::vector<std::string>& names, const std::string& page) {
    for (const std::string& name : names) {
        if (SameText1252(name, page)) {
            return name;
        }
    }
    return std::nullopt;
}

} // namespace

bool TaskTray::TrayAvailable() const {
    return ports_.trayIcon != nullptr && ports_.trayIcon->Available();
}

bool TaskTray::HotKeyWayBack() const {
    return ports_.showHotKeyRegistered && ports_.showHotKeyRegistered();
}

void TaskTray::StripHeight(bool mini) {
    state_.place.height = mini ? kMiniHeight : kWindowHeight;
    state_.place.stayOnTop = mini;
}

void TaskTray::ToTray(const std::string& tip) {
    state_.place.visible = false;
    ports_.trayIcon->SetTip(TrayTip(tip));
    ports_.trayIcon->Show();
}

void TaskTray::ChooseMode(LaunchMode mode) {
    MenuChecks& checks = state_.checks;
    bool* items[] = {&checks.trayTray, &checks.trayBar, &checks.trayMini, &checks.trayHide};
    bool& clicked = *items[static_cast<int>(mode)];
    const std::string settingsFile = state_.SettingsFile();
    if (mode == LaunchMode::Hide) {
        const TIniFile32 settings(settingsFile);
        const std::string d2 = settings.ReadString(
            settings::kHotKeySection, "D" + std::to_string(settings::kRestoreHotKey), "");
        // A disabled show hotkey leaves the item alone, unless the tray icon can bring the
        // window back.
        if (d2 == "Off" && !TrayAvailable()) {
            return;
        }
    }
    const bool checked = !clicked;
    for (bool* item : items) {
        *item = false;
    }
    clicked = checked;
    if (mode == LaunchMode::Hide && checked) {
        const TIniFile32 settings(settingsFile);
        const std::string index = std::to_string(settings::kRestoreHotKey);
        const std::string key =
            settings.ReadString(settings::kHotKeySection, "Shift" + index,
                                settings::DefaultHotKeyShift(settings::kRestoreHotKey)) +
            " " +
            settings.ReadString(settings::kHotKeySection, "Key" + index,
                                settings::DefaultHotKey(settings::kRestoreHotKey));
        // Hidden means no window, no task-bar entry and no tray icon: without a hotkey that
        // really works (or a tray to fall back on) there would be no way back.
        if (key != " " && HotKeyWayBack()) {
            ports_.dialogs.Message(
                {MsgKind::Information, {}, std::string(kUnhideHotKeyText) + key});
        } else if (!TrayAvailable()) {
            ports_.dialogs.Message({MsgKind::Information, {}, std::string(kConfigureHotKeysText)});
            clicked = false;
        }
    }
    if (mode == LaunchMode::Mini && checks.trayMini) {
        StripHeight(true);
    }
    if (!checks.trayMini) {
        StripHeight(false);
    }
    state_.Tray = ModeValue(checks);
    TIniFile32(settingsFile).WriteString(settings::kTray.section, settings::kTray.key, state_.Tray);
    ++state_.place.showRequests;
}

void TaskTray::StartUp() {
    if (state_.checks.autoRun && ports_.autoStart != nullptr) {
        ports_.autoStart->Apply(true);
    }
    if (state_.checks.trayTray) {
        if (TrayAvailable()) {
            ToTray(std::string(kTrayTip));
        } else {
            // No notification area: a program started "in the tray" would be nowhere.
            state_.place.visible = true;
        }
    }
    ShowRecent();
    ++state_.place.showRequests;
}

void TaskTray::AfterLaunch(const std::string& page, int slot, bool fromSearch) {
    MenuChecks& checks = state_.checks;
    if (!fromSearch) {
        if (checks.trayHide) {
            if (HotKeyWayBack()) {
                state_.place.visible = false;
                if (ports_.trayIcon != nullptr) {
                    ports_.trayIcon->Hide();
                }
            } else if (TrayAvailable()) {
                // The hotkey did not register: the tray icon is the way back.
                ToTray(std::string(kTrayTip));
            }
        } else if (checks.trayTray) {
            if (TrayAvailable()) {
                std::string notes;
                if (!page.empty() && slot > 0) {
                    notes =
                        TIniFile32(state_.DataFileName).ReadString(page, SlotKey(slot, 'P'), "");
                }
                ToTray(notes.empty() ? std::string(kTrayTip) : TipOfNotes(notes));
            } else {
                state_.place.minimized = true;
            }
        } else if (checks.trayBar) {
            state_.place.minimized = true;
        }
    }
    if (checks.trayMini) {
        StripHeight(true);
    }
    ++state_.place.showRequests;
}

void TaskTray::ApplicationMinimize() {
    if (state_.checks.trayTray && TrayAvailable()) {
        ToTray(std::string(kTrayTip));
        state_.place.minimized = false;
        ++state_.place.showRequests;
    } else if (state_.checks.trayMini) {
        state_.place.minimized = false;
        state_.place.visible = true;
        StripHeight(true);
        ++state_.place.showRequests;
    } else {
        state_.place.minimized = true;
    }
}

void TaskTray::RestoreFromTray() {
    state_.place.visible = true;
    state_.place.minimized = false;
    if (ports_.trayIcon != nullptr) {
        ports_.trayIcon->Hide();
        ports_.trayIcon->SetTip(std::string(kTrayTip));
    }
    ++state_.place.showRequests;
}

void TaskTray::LeaveMiniStrip() {
    if (state_.checks.trayMini) {
        StripHeight(false);
        ++state_.place.showRequests;
    }
}

void TaskTray::RecordLaunch(const std::string& page, int slot) {
    TMruList& list = state_.MruList1;
    std::string address;
    if (!page.empty() && slot > 0) {
        const TIniFile32 ini(state_.DataFileName);
        const std::string title = ini.ReadString(page, SlotKey(slot, 'N'), "");
        if (!title.empty()) {
            state_.MruCurrent = MruEntryText(title, page, slot);
            address = ini.ReadString(page, SlotKey(slot, 'U'), "");
        }
    }
    if (state_.MruCurrent.empty()) {
        return;
    }
    // An untitled launch only moves the previous entry up; one taken off the list since (its
    // bookmark erased) does not come back.
    if (address.empty() && list.Find(state_.MruCurrent) == nullptr) {
        return;
    }
    list.Add(state_.MruCurrent, address);
    ShowRecent();
}

void TaskTray::MruClick(const std::string& text, const LaunchFn& launch) {
    TMruList& list = state_.MruList1;
    if (state_.locked || list.Find(text) == nullptr) {
        return;
    }
    const std::string address = list.Find(text)->address;
    const auto parts = SplitMruEntry(text, state_.TabSet1.names);
    std::string page;
    int slot = 0;
    std::string target;
    std::string title;
    {
        const TIniFile32 ini(state_.DataFileName);
        if (parts) {
            if (auto name = PageOf(state_.TabSet1.names, parts->page)) {
                title = ini.ReadString(*name, SlotKey(parts->slot, 'N'), "");
                target = ini.ReadString(*name, SlotKey(parts->slot, 'U'), "");
                if (SameText1252(title, parts->title) && !target.empty()) {
                    page = *name;
                    slot = parts->slot;
                }
            }
        }
        // The slot holds another bookmark now (or none): the entry's own bookmark is looked
        // for by its address, wherever it went.
        if (slot == 0 && !address.empty()) {
            const int slots = datafile::kRowCount * 4;
            for (const std::string& name : state_.TabSet1.names) {
                for (int s = 1; s <= slots && slot == 0; ++s) {
                    if (ini.ReadString(name, SlotKey(s, 'U'), "") == address) {
                        page = name;
                        slot = s;
                        target = address;
                        title = ini.ReadString(name, SlotKey(s, 'N'), "");
                    }
                }
                if (slot != 0) {
                    break;
                }
            }
        }
    }
    if (slot == 0) {
        RemoveEntry(text);
        ports_.dialogs.Message(
            {MsgKind::Information, {}, std::string(kRecentGoneText) + "\n" + text});
        return;
    }
    if (!SameText1252(MruEntryText(title, page, slot), text)) {
        // Moved or renamed: the launch records it as it is now; the old text goes.
        list.Drop(text);
    }
    // Protected bookmarks ask for their password as a click on them does.
    const auto pagePassword = FindPagePass(state_.PagePassBox, page, state_.TabSet1.names);
    if (pagePassword) {
        if (ports_.dialogs.Password({true}).password != *pagePassword) {
            ports_.dialogs.Message({MsgKind::Information, {}, "Invalid Password!"});
            return;
        }
        if (target.find(datafile::kProtectedMarker) != std::string::npos) {
            target = Decrypt(target);
        }
    } else if (IsScrambled(target)) {
        if (ports_.dialogs.Password({true}).password != StoredPassword(target)) {
            ports_.dialogs.Message({MsgKind::Information, {}, "Invalid Password!"});
            return;
        }
        target = Decrypt(target);
    }
    state_.CurrentButtonName = ButtonName(slot);
    launch(page, target);
}

void TaskTray::RemoveEntry(const std::string& text, TIniFile32* ini) {
    if (SameText1252(state_.MruCurrent, text)) {
        state_.MruCurrent.clear();
    }
    TMruList& list = state_.MruList1;
    if (list.Find(text) == nullptr) {
        return;
    }
    if (ini != nullptr && ini->FileName() == list.File()) {
        list.RemoveEntry(text, *ini);
    } else {
        list.RemoveEntry(text);
    }
    ShowRecent();
}

void TaskTray::RemoveEntries(const std::vector<std::string>& texts) {
    for (const std::string& text : texts) {
        RemoveEntry(text);
    }
}

void TaskTray::SaveRecent() {
    SaveRecentList(state_);
}

void SaveRecentList(MainWindowState& state) {
    TMruList& list = state.MruList1;
    // A file deleted or renamed away is not made again for its recent list.
    if (list.Changed() && !list.File().empty() && std::filesystem::exists(list.File())) {
        list.Save();
    }
}

void PointRecentList(MainWindowState& state, const TIniFile32& ini) {
    TMruList& list = state.MruList1;
    if (list.File() == state.DataFileName) {
        // The same file again (undo, redo): launches not saved yet are kept.
        if (!list.Changed()) {
            list.Load(ini);
        }
        return;
    }
    // The old file's launches are kept when its file can take them; a failure there must not
    // stop the new file from opening.
    try {
        SaveRecentList(state);
    } catch (const std::exception&) {
    }
    state.MruCurrent.clear();
    list.SetFile(state.DataFileName, ini);
}

void TaskTray::ShowRecent() {
    if (ports_.trayIcon == nullptr) {
        return;
    }
    ports_.trayIcon->SetRecent(state_.locked ? std::vector<std::string>{}
                                             : state_.MruList1.Shown());
}

void TaskTray::MMRUClick() {
    state_.checks.mruTrack = !state_.checks.mruTrack;
    TIniFile32(state_.DataFileName)
        .WriteString(datafile::kMrux, datafile::kTrack, state_.checks.mruTrack ? "On" : "Off");
}

void TaskTray::MAutoRunClick() {
    state_.checks.autoRun = !state_.checks.autoRun;
    if (ports_.autoStart != nullptr) {
        ports_.autoStart->Apply(state_.checks.autoRun);
    }
    TIniFile32(state_.SettingsFile())
        .WriteString(settings::kAutoRun.section, settings::kAutoRun.key,
                     state_.checks.autoRun ? "Yes" : "No");
}

void TaskTray::ScreenSaverClick() {
    if (ports_.launcher != nullptr) {
        ports_.launcher->Start("xdg-screensaver", "activate", 0);
    }
}

void TaskTray::InstanceStarted(const std::vector<std::string>& /*args*/) {
    ports_.dialogs.Message({MsgKind::Information, {}, std::string(kAlreadyRunningText)});
}

} // namespace lv
