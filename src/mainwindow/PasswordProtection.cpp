#include "mainwindow/PasswordProtection.h"

#include "mainwindow/PagePasswords.h"
#include "store/DataFile.h"
#include "store/TIniFile32.h"

#include <vector>

namespace lv {

std::string CannotProtectText(std::string_view title) {
    std::string text(kCannotProtectBookmark);
    text.replace(text.find("%s"), 2, title);
    return text;
}

bool CheckEncrypt(const std::string& dataFile, const std::string& page, int slot) {
    return IsScrambled(ReadFromIniSLVD(dataFile, page, SlotKey(slot, 'U'), ""));
}

bool TestPassword(const std::string& dataFile, const std::string& page, int slot,
                  const std::string& candidate) {
    const std::string stored = ReadFromIniSLVD(dataFile, page, SlotKey(slot, 'U'), "");
    return IsScrambled(stored) && StoredPassword(stored) == candidate;
}

bool PageProtected(const MainWindowState& state) {
    return !state.TabSet1.names.empty() &&
           FindPagePass(state.PagePassBox, state.TabSet1.Current(), state.TabSet1.names)
               .has_value();
}

std::string GetPagePass(const MainWindowState& state) {
    if (state.TabSet1.names.empty()) {
        return {};
    }
    return FindPagePass(state.PagePassBox, state.TabSet1.Current(), state.TabSet1.names)
        .value_or("");
}

void ReadPagePassFromFile(MainWindowState& state) {
    state.PagePassBox = ReadPagePass(
        ReadFromIniSLVD(state.DataFileName, datafile::kTabs, datafile::kPagePasswordKey, ""));
}

void WritePagePass(const MainWindowState& state) {
    WriteToIniSLVD(state.DataFileName, datafile::kTabs, datafile::kPagePasswordKey,
                   PagePassValue(state.PagePassBox));
}

void PasswordProtection::Tell(std::string text) {
    ports_.dialogs.Message({MsgKind::Information, {}, std::move(text)});
}

void PasswordProtection::MPagePassClick() {
    if (state_.TabSet1.names.empty()) {
        return;
    }
    if (PageProtected(state_)) {
        UnprotectPage();
    } else {
        ProtectPage();
    }
    state_.checks.pagePass = PageProtected(state_);
}

void PasswordProtection::ProtectPage() {
    const std::string page = state_.TabSet1.Current();
    const std::string password = ports_.dialogs.Password({false}).password;
    if (password.empty()) {
        return;
    }
    const std::string entry = page + password;
    // The password's part of every target, and the page's entry in the stored list.
    if (!StorableValue("x" + Shift(password)) || !StorablePageEntry(entry)) {
        Tell(std::string(kCannotUsePassword));
        return;
    }
    // Every target is scrambled in memory first: when one of them would not survive, the
    // page stays as it was.
    TIniFile32 ini(state_.DataFileName);
    std::vector<std::pair<int, std::string>> scrambled;
    for (int slot = 1; slot <= datafile::kSlotCount; ++slot) {
        const std::string target = ini.ReadString(page, SlotKey(slot, 'U'), "");
        if (target.empty()) {
            continue;
        }
        const auto stored = SafeEncrypt(target, password);
        if (!stored) {
            Tell(CannotProtectText(ini.ReadString(page, SlotKey(slot, 'N'), "")));
            return;
        }
        scrambled.emplace_back(slot, *stored);
    }
    ini.SetDeferSaves(true);
    for (const auto& [slot, stored] : scrambled) {
        ini.WriteString(page, SlotKey(slot, 'U'), stored);
    }
    ini.UpdateFile();
    state_.PagePassBox.push_back(entry);
}

void PasswordProtection::UnprotectPage() {
    const std::string page = state_.TabSet1.Current();
    const auto password = FindPagePass(state_.PagePassBox, page, state_.TabSet1.names);
    if (!password) {
        Tell("Could not a find Password for this Page!");
        return;
    }
    if (ports_.dialogs.Password({false}).password != *password) {
        Tell("Invalid Password!");
        return;
    }
    TIniFile32 ini(state_.DataFileName);
    ini.SetDeferSaves(true);
    for (int slot = 1; slot <= datafile::kSlotCount; ++slot) {
        const std::string target = ini.ReadString(page, SlotKey(slot, 'U'), "");
        if (IsScrambled(target)) {
            ini.WriteString(page, SlotKey(slot, 'U'), Decrypt(target));
        }
    }
    ini.UpdateFile();
    PagePassMove(state_.PagePassBox, page, page, state_.TabSet1.names);
}

void PasswordProtection::MProgPassClick() {
    TIniFile32 ini(state_.DataFileName);
    if (!ini.ReadString(datafile::kTabs, datafile::kFilePasswordKey, "").empty() ||
        !ini.ReadString(datafile::kProgram, datafile::kVersion, "").empty()) {
        Tell("File already Protected!");
        return;
    }
    const std::string password = ports_.dialogs.Password({false}).password;
    if (password.empty()) {
        return;
    }
    if (!StorableFilePassword(password)) {
        Tell(std::string(kCannotUsePassword));
        return;
    }
    ini.WriteString(datafile::kTabs, datafile::kFilePasswordKey, Shift(password));
    ini.WriteString(datafile::kProgram, datafile::kVersion, "3.x");
}

} // namespace lv
