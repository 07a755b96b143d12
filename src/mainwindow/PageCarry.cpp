// Page commands that carry pages and bookmarks (drops, tab drags) and the tab row's look.
#include "mainwindow/PageCommands.h"

#include "mainwindow/PageGrid.h"
#include "mainwindow/PagePasswords.h"
#include "pages/ColorFilter.h"
#include "pages/MergePage.h"
#include "pages/PageNames.h"
#include "pages/TAlphaForm.h"
#include "store/Backup.h"
#include "store/DataFile.h"
#include "store/Settings.h"
#include "store/Text.h"
#include "tools/TGlyphForm.h"

#include <algorithm>
#include <filesystem>
#include <set>

namespace lv {

namespace {

// The colour dialog with the palette written back whether or not a colour was chosen.
std::optional<std::int32_t> PickKeepingPalette(Dialogs& dialogs, const std::string& settingsFile,
                                               std::int32_t initial) {
    TIniFile32 settings(settingsFile);
    std::array<std::string, 16> palette = ReadCustomColors(settings);
    const std::optional<std::int32_t> chosen = DialogsColorPicker(dialogs)(initial, palette, 0);
    WriteCustomColors(settings, palette);
    return chosen;
}

// A page moved into another DataFile has been copied there; its section in the source file has
// no tab any more and would come back as the bookmarks of any later page of that name there. It
// goes once every bookmark of it is known to be on the arrived page.
void ForgetMovedSection(const std::string& sourceFile, const std::string& page,
                        const std::string& targetFile, const std::string& arrived) {
    std::error_code missing;
    if (!std::filesystem::exists(sourceFile, missing)) {
        return;
    }
    TIniFile32 source(sourceFile);
    const std::vector<std::string> sourcePages = ReadTabs(source);
    if (std::find(sourcePages.begin(), sourcePages.end(), page) != sourcePages.end()) {
        return; // the page has a tab there again
    }
    const TIniFile32 target(targetFile);
    std::set<std::string> there;
    for (int slot = 1; slot <= datafile::kSlotCount; ++slot) {
        there.insert(target.ReadString(arrived, SlotKey(slot, 'U'), ""));
    }
    for (int slot = 1; slot <= datafile::kSlotCount; ++slot) {
        const std::string url = source.ReadString(page, SlotKey(slot, 'U'), "");
        if (!url.empty() && there.count(url) == 0) {
            return;
        }
    }
    source.EraseSection(page);
}

} // namespace

void PageCommands::TabSet1MouseDown(TabButton button, int tab) {
    if (state_.checks.trayMini) {
        state_.place.stayOnTop = false;
        state_.place.height = kWindowHeight;
    }
    const int count = static_cast<int>(state_.TabSet1.names.size());
    if (button != TabButton::Right || tab < 0 || tab >= count) {
        return; // a left press starts a tab drag in the view
    }
    if (!ops_.Carrying()) {
        hooks_.selectTab(tab);
        Backup("Page options");
        MChangePageTabName1Click(PageSender::TabSet);
    } else if (ops_.PendingBookmarkOperation != "No") {
        // The bookmarks land on the tab that was right-clicked, not on whatever page happened
        // to be showing; a page whose password is refused takes nothing and they stay in hand.
        hooks_.selectTab(tab);
        if (state_.TabSet1.selected == tab) {
            DropBookmarks();
        }
    } else {
        DropPage(tab);
    }
}

void PageCommands::DropBookmarks() {
    ops_.cursor = ScreenCursor::Busy;
    const std::string target = state_.TabSet1.Current();
    std::string refusal;
    try {
        refusal = DropCarriedBookmarks(ops_.BookmarkSourceFile, ops_.PendingPageName,
                                       ops_.CarriedSlots, state_.DataFileName, target,
                                       ops_.PendingBookmarkOperation == "Move");
    } catch (...) {
        RestoreCursor();
        throw;
    }
    ops_.PendingBookmarkOperation = "No";
    ops_.CarriedSlots.clear();
    RestoreCursor();
    if (!refusal.empty()) {
        ports_.dialogs.Message({MsgKind::Information, {}, refusal});
        return;
    }
    PageGrid(state_).Load(target);
}

void PageCommands::DropPage(int tab) {
    auto& names = state_.TabSet1.names;
    const std::string settings = state_.SettingsFile();
    ops_.cursor = ScreenCursor::Busy;
    try {
        if (ops_.PendingPageOperation == "Copy") {
            UserDlgRequest question;
            question.title = "Insert / Merge";
            question.buttons = {"Insert", "Merge"};
            question.message = {"Insert  =  Insert Page to the left of the selected page.",
                                "Merge  =  Merge Bookmarks into selected page."};
            const int answer = ports_.dialogs.UserDlg(question);
            if (answer == 0) {
                const std::string name = DropCarriedPage(
                    ops_.PendingSourceFile, ops_.PendingPageName, state_.DataFileName, names,
                    static_cast<std::size_t>(tab), PageDrop::Insert, ReadFilterColor(settings));
                ops_.PendingPageName.clear();
                ops_.PendingPageOperation.clear();
                ShowNew(IndexOf(name));
            } else if (answer == 1) {
                MColor(ports_.dialogs, settings, "Merge", DialogsColorPicker(ports_.dialogs),
                       ports_.openHelp);
                MergePageFiles(ops_.PendingSourceFile, ops_.PendingPageName, state_.DataFileName,
                               names[static_cast<std::size_t>(tab)], ReadFilterColor(settings),
                               false);
                RestoreCursor();
                hooks_.selectTab(tab);
                hooks_.showCurrent();
                ops_.PendingSourceFile = state_.DataFileName;
            }
        } else if (ops_.PendingPageOperation == "Move") {
            // A moved page brings every bookmark: no colour filter. A page of that name in
            // another DataFile is not given a second tab (both would share one section); the
            // moved page arrives beside it under a name of its own.
            const bool taken = IndexOf(ops_.PendingPageName) >= 0;
            const std::string name =
                DropCarriedPage(ops_.PendingSourceFile, ops_.PendingPageName, state_.DataFileName,
                                names, static_cast<std::size_t>(tab),
                                taken ? PageDrop::Insert : PageDrop::Move, kNoColorFilter);
            if (ops_.PendingSourceFile != state_.DataFileName) {
                ForgetMovedSection(ops_.PendingSourceFile, ops_.PendingPageName,
                                   state_.DataFileName, name);
            }
            ops_.PendingPageName.clear();
            ops_.PendingPageOperation.clear();
            ops_.PendingSourceFile = state_.DataFileName;
            RestoreCursor();
            ShowNew(IndexOf(name));
        }
    } catch (...) {
        RestoreCursor();
        throw;
    }
    RestoreCursor();
}

bool PageCommands::TabSet1DragOver(int tab) const {
    return tab >= 0 && tab < static_cast<int>(state_.TabSet1.names.size()) &&
           tab != state_.TabSet1.selected;
}

void PageCommands::TabSet1DragDrop(int tab) {
    auto& names = state_.TabSet1.names;
    const int source = state_.TabSet1.selected;
    if (tab < 0 || tab == source || tab > static_cast<int>(names.size())) {
        return;
    }
    UserDlgRequest question;
    question.title = "Move / Copy";
    question.buttons = {"Move", "Copy", "Leave"};
    question.message = {"Move  =  Move dragged page to this page.",
                        "Copy  =  Copy dragged page to this page.", "Leave  =  Do not drag page."};
    const int answer = ports_.dialogs.UserDlg(question);
    if (answer != 0 && answer != 1) {
        return;
    }
    if (tab == static_cast<int>(names.size())) {
        tab = static_cast<int>(names.size()) - 1;
    }
    ops_.cursor = ScreenCursor::Busy;
    try {
        Backup(answer == 0 ? "Move page" : "Copy page");
        if (answer == 0) {
            const std::string name = names[static_cast<std::size_t>(source)];
            names.erase(names.begin() + source);
            names.insert(names.begin() + tab, name);
            SaveTabs();
            ShowNew(tab);
        } else {
            DragCopy(source, tab);
        }
    } catch (...) {
        RestoreCursor();
        throw;
    }
    RestoreCursor();
}

void PageCommands::DragCopy(int source, int target) {
    auto& names = state_.TabSet1.names;
    UserDlgRequest question;
    question.title = "Insert / Merge";
    question.buttons = {"Insert", "Merge", "Help"};
    question.message = {"Insert  =  Insert Page to the left of the selected page.",
                        "Merge  =  Merge Bookmarks into selected page."};
    int answer = ports_.dialogs.UserDlg(question);
    if (answer == 2) {
        if (ports_.openHelp) {
            ports_.openHelp(60);
        }
        question.buttons.pop_back();
        answer = ports_.dialogs.UserDlg(question);
    }
    const std::string sourceName = names[static_cast<std::size_t>(source)];
    if (answer == 0) {
        if (const std::string problem = Problem(sourceName); !problem.empty()) {
            ports_.dialogs.Message({MsgKind::Warning, {}, problem});
            return;
        }
        const std::string name = DupePageName(sourceName, names);
        names.insert(names.begin() + target, name);
        TIniFile32 ini(state_.DataFileName);
        ini.SetDeferSaves(true);
        for (int slot = 1; slot <= datafile::kSlotCount; ++slot) {
            MoveButtons(ini, sourceName, name, SlotPrefix(slot), SlotPrefix(slot));
        }
        lv::SaveTabs(ini, names);
        ini.UpdateFile();
        RestoreCursor();
        ShowNew(target);
    } else if (answer == 1) {
        const std::string settings = state_.SettingsFile();
        MColor(ports_.dialogs, settings, "Merge", DialogsColorPicker(ports_.dialogs),
               ports_.openHelp);
        MergePageFiles(state_.DataFileName, sourceName, state_.DataFileName,
                       names[static_cast<std::size_t>(target)], ReadFilterColor(settings), false);
        RestoreCursor();
        hooks_.selectTab(target);
        hooks_.showCurrent();
    }
}

// One icon for every selected bookmark. The chooser only reports the choice; a file icon is
// written with its file, or G alone would name an icon of each bookmark's own target.
void PageCommands::IconSelected(const std::string& page, const std::vector<int>& slots) {
    TGlyphForm chooser;
    chooser.backColor = state_.TabSelectedColor;
    chooser.fontColor = state_.TabFontColor;
    chooser.onHelp = ports_.openHelp;
    chooser.FormActivate(
        {state_.DataFileName, page, slots.empty() ? "" : SlotPrefix(slots[0]), false, false},
        &ports_.dialogs);
    if (ports_.glyphForm) {
        ports_.glyphForm(chooser);
    }
    if (chooser.GetChoice() != TGlyphForm::Choice::None) {
        TIniFile32 ini(state_.DataFileName);
        ini.SetDeferSaves(true);
        for (const int slot : slots) {
            switch (chooser.GetChoice()) {
            case TGlyphForm::Choice::File:
                ini.WriteString(page, SlotKey(slot, 'G'), std::to_string(chooser.Result()));
                ini.WriteString(page, SlotKey(slot, 'I'), Utf8ToCp1252(chooser.ChosenFile()));
                break;
            case TGlyphForm::Choice::BuiltIn:
                ini.WriteString(page, SlotKey(slot, 'G'), std::to_string(chooser.Result()));
                ini.DeleteKey(page, SlotKey(slot, 'I'));
                break;
            default: // "Default Icon"
                ini.DeleteKey(page, SlotKey(slot, 'G'));
                ini.DeleteKey(page, SlotKey(slot, 'I'));
                break;
            }
        }
        if (ini.Modified()) {
            ini.UpdateFile();
        }
    }
    PageGrid(state_).Load(page);
}

void PageCommands::BookmarkAction(int item) {
    TTabForm& form = forms_.TabForm;
    const std::string& page = form.Page();
    const std::vector<int> slots = form.SelectedSlots();
    switch (item) {
    case TTabForm::ColorBookmarks: {
        const auto chosen =
            PickKeepingPalette(ports_.dialogs, state_.SettingsFile(), state_.ButtonFontColor);
        if (chosen) {
            TIniFile32 ini(state_.DataFileName);
            ini.SetDeferSaves(true);
            for (const int slot : slots) {
                ini.WriteInteger(page, SlotKey(slot, 'C'), *chosen);
            }
            if (ini.Modified()) {
                ini.UpdateFile();
            }
        }
        PageGrid(state_).Load(page);
        break;
    }
    case TTabForm::IconBookmarks:
        IconSelected(page, slots);
        break;
    case TTabForm::MoveBookmarks:
    case TTabForm::CopyBookmarks:
        ops_.CarriedSlots = slots;
        ops_.PendingPageName = page;
        ops_.BookmarkSourceFile = state_.DataFileName;
        ops_.PendingBookmarkOperation = item == TTabForm::MoveBookmarks ? "Move" : "Copy";
        ops_.PageActionCode = "CB";
        break;
    case TTabForm::EraseBookmarks: {
        if (state_.checks.confirmDialog) {
            const MessageRequest question{MsgKind::Confirmation,
                                          {},
                                          "Are you sure you want to delete the selected bookmarks?",
                                          MsgButtons::YesNo};
            if (ports_.dialogs.Message(question) != MsgResult::Yes) {
                break;
            }
        }
        for (const int slot : slots) {
            hooks_.eraseButton(page, slot);
        }
        break;
    }
    case TTabForm::PingBookmarks: {
        TIniFile32 ini(state_.DataFileName);
        TPForm& speed = forms_.PForm;
        for (const int slot : slots) {
            speed.HostEditItems.push_back(PingHost(ini.ReadString(page, SlotKey(slot, 'U'), "")));
            speed.ListBox3.push_back(ButtonName(slot));
        }
        ops_.PageActionCode = "Ping";
        break;
    }
    case TTabForm::EmailBookmarks:
        if (!slots.empty()) {
            EmailPage(page, slots);
        }
        break;
    case TTabForm::LaunchLinks: {
        TIniFile32 ini(state_.DataFileName);
        ops_.LaunchLinks.clear();
        for (std::size_t i = 0; i < slots.size(); ++i) {
            ops_.LaunchLinks +=
                (i == 0 ? "" : ";;") + ini.ReadString(page, SlotKey(slots[i], 'U'), "");
        }
        ops_.PageActionCode = "LaunchLink";
        break;
    }
    case TTabForm::LaunchFiles: {
        TIniFile32 ini(state_.DataFileName);
        ops_.LaunchButtons.clear();
        ops_.LaunchTargets.clear();
        for (const int slot : slots) {
            ops_.LaunchButtons.push_back(ButtonName(slot));
            ops_.LaunchTargets.push_back(ini.ReadString(page, SlotKey(slot, 'U'), ""));
        }
        ops_.PageActionCode = "LaunchApp";
        break;
    }
    default:
        break;
    }
}

void PageCommands::TabColor(bool selectedTab, bool savePaletteOnCancel) {
    int& colour = selectedTab ? state_.TabSelectedColor : state_.TabUnselectedColor;
    const std::string settings = state_.SettingsFile();
    const auto chosen =
        savePaletteOnCancel
            ? PickKeepingPalette(ports_.dialogs, settings, colour)
            : PickColorWithPalette(settings, DialogsColorPicker(ports_.dialogs), colour, 32);
    if (!chosen) {
        return;
    }
    colour = *chosen;
    const settings::Key& key =
        selectedTab ? settings::kTabSelectedColor : settings::kTabUnselectedColor;
    TIniFile32(settings).WriteInteger(key.section, key.key, colour);
}

void PageCommands::MChangeColor2Click(bool selectedTab) {
    TabColor(selectedTab, false);
}

void PageCommands::MFontTabClick() {
    const FontResult font =
        ports_.dialogs.Font({state_.TabFontName, state_.TabFontSize, state_.TabFontColor});
    if (!font.accepted) {
        return;
    }
    state_.TabFontName = font.name;
    state_.TabFontSize = font.size;
    state_.TabFontColor = font.color;
    TIniFile32 ini(state_.SettingsFile());
    ini.SetDeferSaves(true);
    ini.WriteString(settings::kTabFontName.section, settings::kTabFontName.key, font.name);
    ini.WriteInteger(settings::kTabFontSize.section, settings::kTabFontSize.key, font.size);
    ini.WriteInteger(settings::kTabFontColor.section, settings::kTabFontColor.key, font.color);
    ini.UpdateFile();
}

} // namespace lv
