#include "mainwindow/PageCommands.h"

#include "mainwindow/PageGrid.h"
#include "mainwindow/PagePasswords.h"
#include "pages/PageNames.h"
#include "platform/IcmpEcho.h"
#include "store/Backup.h"
#include "store/DataFile.h"

#include <algorithm>
#include <filesystem>

namespace lv {

int PageCommands::IndexOf(const std::string& name) const {
    const auto& names = state_.TabSet1.names;
    const auto hit = std::find(names.begin(), names.end(), name);
    return hit == names.end() ? -1 : static_cast<int>(hit - names.begin());
}

std::string PageCommands::Problem(const std::string& name) const {
    std::string problem = PageNameProblem(name, state_.TabSet1.names);
    if (problem.empty()) {
        // "a" taken gives "a+", which may still clash with a page "A+".
        problem = PageNameProblem(DupePageName(name, state_.TabSet1.names), state_.TabSet1.names);
    }
    return problem;
}

void PageCommands::ShowNameForm() {
    TNameForm& form = forms_.NameForm;
    form.Open(ops_.PendingPageName);
    if (ports_.nameForm) {
        ports_.nameForm(form);
    } else {
        form.EscapeKey();
    }
    form.Finish(ops_.PendingPageName);
}

void PageCommands::Backup(const char* command) {
    TakeModificationBackup(state_.DataFileName, state_.checks.autoBackup, command);
}

void PageCommands::RestoreCursor() {
    if (ops_.PendingPageOperation == "Move") {
        // A page carried by Move Page has no tab until it is dropped; ending its carry here
        // would leave it out of reach.
        ops_.cursor = ScreenCursor::MultiDrag;
        return;
    }
    ops_.cursor = ScreenCursor::Normal;
    ops_.PendingBookmarkOperation = "No";
    ops_.CarriedSlots.clear();
}

void PageCommands::SaveTabs() {
    TIniFile32 ini(state_.DataFileName);
    lv::SaveTabs(ini, state_.TabSet1.names);
    RestoreCursor();
}

void PageCommands::ShowNew(int index) {
    state_.TabSet1.selected = index;
    state_.checks.pagePass =
        FindPagePass(state_.PagePassBox, state_.TabSet1.Current(), state_.TabSet1.names)
            .has_value();
    hooks_.showCurrent();
}

void PageCommands::ShowAfterRemoval(int removedIndex) {
    const auto& names = state_.TabSet1.names;
    int index = std::min(removedIndex, static_cast<int>(names.size()) - 1);
    // The page that slides under the removed tab keeps its password; without it, the first
    // page that has none shows instead.
    if (const auto password = FindPagePass(
            state_.PagePassBox, names[static_cast<std::size_t>(index)], state_.TabSet1.names)) {
        if (ports_.dialogs.Password({true}).password != *password) {
            ports_.dialogs.Message({MsgKind::Information, {}, "Invalid Password!"});
            const auto open = std::find_if(names.begin(), names.end(), [&](const auto& name) {
                return !FindPagePass(state_.PagePassBox, name, state_.TabSet1.names);
            });
            if (open != names.end()) {
                index = static_cast<int>(open - names.begin());
            }
        }
    }
    ShowNew(index);
}

void PageCommands::MAddPageTab1Click() {
    if (ops_.PageActionCode != "A") {
        ShowNameForm();
    }
    if (ops_.PendingPageName.empty()) {
        return;
    }
    if (const std::string problem = Problem(ops_.PendingPageName); !problem.empty()) {
        ops_.PendingPageName.clear();
        ports_.dialogs.Message({MsgKind::Warning, {}, problem});
        return;
    }
    Backup("Add page");
    auto& names = state_.TabSet1.names;
    const int at = std::clamp(state_.TabSet1.selected, 0, static_cast<int>(names.size()));
    names.insert(names.begin() + at, DupePageName(ops_.PendingPageName, names));
    SaveTabs();
    ShowNew(at);
    ops_.PendingPageName.clear();
}

void PageCommands::MDeletePageTab1Click() {
    auto& names = state_.TabSet1.names;
    if (names.empty()) {
        return;
    }
    const std::string page = state_.TabSet1.Current();
    if (names.size() == 1) {
        // With no tab left there is no page to show or to add a page beside.
        ports_.dialogs.Message(
            {MsgKind::Warning, {}, "The last page of a Linkvane file cannot be deleted."});
        return;
    }
    const MessageRequest question{MsgKind::Confirmation,
                                  {},
                                  "Are you sure you want to delete the \"" + page + "\" page?",
                                  MsgButtons::YesNo};
    if (ports_.dialogs.Message(question) != MsgResult::Yes) {
        return;
    }
    Backup("Delete page");
    const auto own = PagePassEntry(state_.PagePassBox, page, names);
    const int index = state_.TabSet1.selected;
    names.erase(names.begin() + index);
    {
        TIniFile32 ini(state_.DataFileName);
        ini.SetDeferSaves(true);
        ini.EraseSection(page);
        ini.DeleteKey(datafile::kTabs, "Tab" + std::to_string(names.size() + 1));
        lv::SaveTabs(ini, names);
        ini.UpdateFile();
    }
    RestoreCursor();
    if (own) {
        state_.PagePassBox.erase(state_.PagePassBox.begin() + static_cast<std::ptrdiff_t>(*own));
    }
    ShowAfterRemoval(index);
}

void PageCommands::MEraseBClick() {
    if (state_.TabSet1.names.empty()) {
        return;
    }
    const std::string page = state_.TabSet1.Current();
    const MessageRequest question{MsgKind::Confirmation,
                                  {},
                                  "Are you sure you want to delete all the bookmarks on the \"" +
                                      page + "\" page?",
                                  MsgButtons::YesNo};
    if (ports_.dialogs.Message(question) != MsgResult::Yes) {
        return;
    }
    TIniFile32(state_.DataFileName).EraseSection(page);
    PageGrid(state_).Load(page);
}

void PageCommands::MMovePageTab1Click() {
    auto& names = state_.TabSet1.names;
    if (names.size() < 2) {
        ports_.dialogs.Message({MsgKind::Warning,
                                {},
                                "The last page of a Linkvane file cannot be moved, please copy "
                                "it instead."});
        return;
    }
    ReturnMovedPage();
    ops_.PendingPageOperation = "Move";
    ops_.PendingPageName = state_.TabSet1.Current();
    ops_.PendingSourceFile = state_.DataFileName;
    ops_.PendingBookmarkOperation = "No";
    ops_.CarriedSlots.clear();
    const int index = state_.TabSet1.selected;
    names.erase(names.begin() + index);
    SaveTabs();
    ShowAfterRemoval(index);
    ops_.cursor = ScreenCursor::MultiDrag;
}

void PageCommands::ReturnMovedPage() {
    if (ops_.PendingPageOperation != "Move" || ops_.PendingPageName.empty() ||
        ops_.PendingSourceFile.empty()) {
        return;
    }
    const std::string page = ops_.PendingPageName;
    const std::string source = ops_.PendingSourceFile;
    ops_.PendingPageOperation.clear();
    ops_.PendingPageName.clear();
    if (source == state_.DataFileName) {
        auto& names = state_.TabSet1.names;
        if (std::find(names.begin(), names.end(), page) == names.end()) {
            names.push_back(page);
            TIniFile32 ini(source);
            lv::SaveTabs(ini, names);
        }
        return;
    }
    std::error_code missing;
    if (!std::filesystem::exists(source, missing)) {
        return; // deleted meanwhile: there is no page list to return to
    }
    TIniFile32 ini(source);
    std::vector<std::string> names = ReadTabs(ini);
    if (std::find(names.begin(), names.end(), page) == names.end()) {
        names.push_back(page);
        lv::SaveTabs(ini, names);
    }
}

void PageCommands::MCopyPageTabClick() {
    if (state_.TabSet1.names.empty()) {
        return;
    }
    ReturnMovedPage();
    ops_.PendingPageOperation = "Copy";
    ops_.PendingSourceFile = state_.DataFileName;
    ops_.PendingPageName = state_.TabSet1.Current();
    ops_.PendingBookmarkOperation = "No";
    ops_.CarriedSlots.clear();
    ops_.cursor = ScreenCursor::MultiDrag;
}

void PageCommands::Rename() {
    auto& names = state_.TabSet1.names;
    const std::string oldName = state_.TabSet1.Current();
    if (ops_.PendingPageName == oldName) {
        return;
    }
    ops_.cursor = ScreenCursor::Busy;
    const auto own = PagePassEntry(state_.PagePassBox, oldName, names);
    const auto index = static_cast<std::size_t>(state_.TabSet1.selected);
    RenameResult renamed;
    try {
        TIniFile32 ini(state_.DataFileName);
        renamed = RenamePage(ini, names, index, ops_.PendingPageName);
    } catch (...) {
        RestoreCursor();
        throw;
    }
    ops_.PendingPageName.clear();
    RestoreCursor();
    if (!renamed.problem.empty()) {
        ports_.dialogs.Message({MsgKind::Warning, {}, renamed.problem});
        return;
    }
    if (own) {
        auto& box = state_.PagePassBox;
        const std::string password = box[*own].substr(oldName.size());
        box.erase(box.begin() + static_cast<std::ptrdiff_t>(*own));
        box.push_back(renamed.name + password);
    }
    ShowNew(static_cast<int>(index));
}

void PageCommands::MChangePageTabName1Click(PageSender sender) {
    if (state_.TabSet1.names.empty()) {
        return;
    }
    ops_.PageActionCode = sender == PageSender::EmailMenu ? "EM" : "R";
    ops_.PendingPageName = state_.TabSet1.Current();
    if (sender == PageSender::NameMenu) {
        ShowNameForm();
    } else if (sender == PageSender::EmailMenu) {
        // The menu item goes straight to the e-mail of the page.
    } else {
        TTabForm& form = forms_.TabForm;
        std::vector<std::string> captions;
        for (const BookmarkButton& button : state_.buttons) {
            captions.push_back(button.caption);
        }
        form.Open(state_.TabSet1.Current(), captions,
                  FindPagePass(state_.PagePassBox, state_.TabSet1.Current(), state_.TabSet1.names)
                      .has_value(),
                  state_.TabSelectedColor, state_.TabFontColor);
        if (ports_.tabForm) {
            ports_.tabForm(form);
        } else {
            form.CloseClick();
        }
        ops_.PageActionCode = form.Code();
        TabFormStep();
    }
    if (ops_.PageActionCode == "R") {
        Rename();
    }
    if (sender == PageSender::TabSet || sender == PageSender::EmailMenu) {
        const std::string code = ops_.PageActionCode;
        ActOnCode(code);
    }
    ops_.PageActionCode.clear();
}

// Steps the page options dialog carries out itself before it closes.
void PageCommands::TabFormStep() {
    TTabForm& form = forms_.TabForm;
    switch (form.GetChoice()) {
    case TTabForm::Choice::PageAction:
        if (form.Code() == "R" || form.Code() == "A") {
            ShowNameForm();
        }
        break;
    case TTabForm::Choice::Bookmarks:
        BookmarkAction(form.BookmarkItem());
        break;
    case TTabForm::Choice::SelectedColor:
    case TTabForm::Choice::UnselectedColor:
        TabColor(form.GetChoice() == TTabForm::Choice::SelectedColor, true);
        break;
    case TTabForm::Choice::Font:
        MFontTabClick();
        break;
    case TTabForm::Choice::None:
    case TTabForm::Choice::Password:
        break;
    }
}

// "Ping Selected Bookmarks": the access-speed dialog over the hosts gathered for it; a click on
// a bar launches that bookmark once the dialog has closed.
void PageCommands::AccessSpeed() {
    TPForm& speed = forms_.PForm;
    speed.icmp = ports_.icmp;
    if (ports_.icmp != nullptr) {
        if (const std::string why = ports_.icmp->Unavailable(); !why.empty()) {
            ports_.dialogs.Message({MsgKind::Error, {}, why});
            speed.FormClose();
            return;
        }
    }
    if (ports_.pingForm) {
        ports_.pingForm(speed);
    }
    const std::string chosen = speed.Chosen();
    speed.FormClose();
    if (!chosen.empty() && hooks_.clickButton) {
        hooks_.clickButton(SlotFromPrefix(chosen));
    }
}

void PageCommands::ActOnCode(const std::string& code) {
    if (code == "D") {
        MDeletePageTab1Click();
    } else if (code == "A") {
        MAddPageTab1Click();
    } else if (code == "M") {
        MMovePageTab1Click();
    } else if (code == "C") {
        MCopyPageTabClick();
    } else if (code == "CB") {
        ops_.cursor = ScreenCursor::MultiDrag;
    } else if (code == "E") {
        MEraseBClick();
    } else if (code == "P") {
        hooks_.pagePass();
    } else if (code == "Ping") {
        AccessSpeed();
    } else if (code == "EM") {
        EmailPage(state_.TabSet1.Current(), {});
    } else if (code == "LaunchLink") {
        hooks_.launch(state_.TabSet1.Current(), ops_.LaunchLinks);
    } else if (code == "LaunchApp") {
        const std::string page = state_.TabSet1.Current();
        for (std::size_t i = 0; i < ops_.LaunchButtons.size(); ++i) {
            state_.CurrentButtonName = ops_.LaunchButtons[i];
            hooks_.launch(page, ops_.LaunchTargets[i]);
        }
        ops_.LaunchButtons.clear();
        ops_.LaunchTargets.clear();
    }
}

void PageCommands::EmailPage(const std::string& page, const std::vector<int>& slots) {
    std::vector<int> all;
    if (slots.empty()) {
        for (int slot = 1; slot <= state_.ColumnCount * datafile::kRowCount; ++slot) {
            all.push_back(slot);
        }
    }
    const bool pageProtected =
        FindPagePass(state_.PagePassBox, page, state_.TabSet1.names).has_value();
    std::vector<std::string> lines;
    {
        const TIniFile32 ini(state_.DataFileName);
        for (const int slot : slots.empty() ? all : slots) {
            std::string target = ini.ReadString(page, SlotKey(slot, 'U'), "");
            if (target.empty()) {
                continue;
            }
            // The reader gets the address, not its scrambled form on a protected page; a
            // bookmark with a password of its own keeps its address to itself.
            if (pageProtected && target.find(datafile::kProtectedMarker) != std::string::npos) {
                target = Decrypt(target);
            } else if (IsScrambled(target)) {
                continue;
            }
            lines.push_back("<A HREF=\"" + target + "\">" +
                            ini.ReadString(page, SlotKey(slot, 'N'), "") + "</A><BR>");
        }
    }
    state_.Memo1.clear();
    for (const std::string& line : lines) {
        state_.Memo1 += line + "\r\n";
    }
    if (ports_.emailForm) {
        ports_.emailForm(EmailMode::Page, lines);
    }
    state_.Memo1.clear();
}

} // namespace lv
