#include "mainwindow/TForm1.h"

#include "mainwindow/BookmarkCount.h"
#include "mainwindow/BrowserList.h"
#include "mainwindow/DriveMenu.h"
#include "mainwindow/DroppedFiles.h"
#include "mainwindow/ExchangeCommands.h"
#include "mainwindow/FileCommands.h"
#include "mainwindow/Launching.h"
#include "mainwindow/LinkImport.h"
#include "mainwindow/NetscapeCommands.h"
#include "mainwindow/PageGrid.h"
#include "mainwindow/PagePasswords.h"
#include "mainwindow/PasswordProtection.h"
#include "mainwindow/SettingsSwitches.h"
#include "mainwindow/StartUp.h"
#include "mainwindow/TINetDetector.h"
#include "mainwindow/TNavPage.h"
#include "mainwindow/TaskTray.h"
#include "mainwindow/UrlBox.h"
#include "mainwindow/WebAccess.h"
#include "store/Backup.h"
#include "store/DataFile.h"
#include "store/FileIo.h"
#include "store/Settings.h"
#include "store/TIniFile32.h"

namespace lv {

TForm1::TForm1(MainWindowPorts ports, std::string programDir)
    : ports_(std::move(ports)), dlg1_(ports_.dialogs), searchForm_(ports_.dialogs) {
    state_.ProgramDir = std::move(programDir);
    if (!ports_.showHotKeyRegistered) {
        ports_.showHotKeyRegistered = [this] {
            return hotKeyMgr_.Registered(THotKeyManager::ShowLinkvane);
        };
    }
}

void TForm1::FormCreate(const std::vector<std::string>& args) {
    // The start-up raises a failed first page load only after the window is complete; the
    // browser menu belongs to a complete window too.
    try {
        StartUp(state_, ports_).FormCreate(args);
    } catch (...) {
        BrowserList(state_, ports_).BuildMenu();
        SetHotKeys();
        throw;
    }
    BrowserList(state_, ports_).BuildMenu();
    UrlBox(state_, ports_, nullptr).Load();
    if (ports_.loop != nullptr && ports_.network != nullptr && !netDetector_) {
        netDetector_ = std::make_shared<TINetDetector>(*ports_.loop, *ports_.network);
        netDetector_->OnChanged = [this](TINetDetector&) { NetDetectorChanged(); };
        netDetector_->Tick(); // the lamp is right from the start
    }
    TaskTray(state_, ports_).StartUp();
    SetHotKeys();
}

void TForm1::MWSImportClick() {
    LinkImport(state_, ports_).MWSImportClick(LinkImport::Source::WebPage);
}

void TForm1::MCBImportClick() {
    LinkImport(state_, ports_).MWSImportClick(LinkImport::Source::Clipboard);
}

void TForm1::NetDetectorChanged() {
    ShowConnection(state_, netDetector_ && netDetector_->Online());
}

void TForm1::FormCaption() {
    state_.caption = lv::FormCaption(state_, ports_.clock);
}

void TForm1::Load(const std::string& page) {
    PageGrid(state_).Load(page);
}

void TForm1::ReloadCurrent() {
    if (!state_.TabSet1.names.empty()) {
        Load(state_.TabSet1.Current());
    }
}

void TForm1::FormResize(int clientWidth, int clientHeight) {
    const int windowWidth = clientWidth + kFrameWidth;
    state_.place.height = clientHeight + kFrameHeight;
    const bool changed = windowWidth != state_.WindowWidth;
    state_.place.width = windowWidth;
    if (state_.InitialLoad) {
        return;
    }
    state_.WindowWidth = windowWidth;
    if (changed) {
        PageGrid(state_).Buttons(false);
        ReloadCurrent();
    }
}

void TForm1::MResetSizeClick() {
    ++state_.place.sizeRequests;
    FormResize(kDefaultWindowWidth - kFrameWidth, kWindowHeight - kFrameHeight);
}

bool TForm1::TabSet1Change(int newTab) {
    const auto& names = state_.TabSet1.names;
    if (newTab < 0 || newTab >= static_cast<int>(names.size())) {
        return false;
    }
    FormCaption();
    bool allowed = true;
    if (auto password = FindPagePass(state_.PagePassBox, names[static_cast<std::size_t>(newTab)],
                                     state_.TabSet1.names)) {
        PasswordResult typed = ports_.dialogs.Password({true});
        allowed = typed.password == *password;
        if (!allowed) {
            ports_.dialogs.Message({MsgKind::Information, {}, "Invalid Password!"});
        }
    }
    const std::string& onScreen =
        names[static_cast<std::size_t>(allowed ? newTab : state_.TabSet1.selected)];
    state_.checks.pagePass =
        FindPagePass(state_.PagePassBox, onScreen, state_.TabSet1.names).has_value();
    return allowed;
}

void TForm1::TabSet1Click() {
    ClearSelection(state_);
    ReloadCurrent();
    FormCaption();
}

void TForm1::SelectTab(int index) {
    if (index == state_.TabSet1.selected || !TabSet1Change(index)) {
        return;
    }
    state_.TabSet1.selected = index;
    TabSet1Click();
}

void TForm1::ButtonMouseDown(int slot) {
    if (state_.TabSet1.names.empty() || slot < 1 ||
        slot > static_cast<int>(state_.buttons.size())) {
        return;
    }
    if (edit_.putPending) {
        Edit().PutPending(slot);
        return;
    }
    state_.CurrentButtonName = ButtonName(slot);
    state_.BookmarkBox =
        StoreButton(state_.DataFileName, state_.TabSet1.Current(), SlotPrefix(slot)).ToBoxLines();
}

bool TForm1::FormCloseQuery(const WindowPlace& actual) {
    state_.place.left = actual.left;
    state_.place.top = actual.top;
    state_.place.width = actual.width;
    state_.place.minimized = actual.minimized;
    SaveLocation();
    return true;
}

void TForm1::SaveLocation() {
    TIniFile32 ini(state_.SettingsFile());
    ini.WriteInteger(settings::kTop.section, settings::kTop.key, state_.place.top);
    ini.WriteInteger(settings::kLeft.section, settings::kLeft.key, state_.place.left);
    ini.WriteInteger(settings::kWidth.section, settings::kWidth.key, state_.place.width);
    ini.WriteString(settings::kWindowState.section, settings::kWindowState.key,
                    state_.place.minimized ? "Min" : "Norm");
}

void TForm1::FormClose() {
    Pages().ReturnMovedPage();
    WritePagePass(state_);
    SaveRecentList(state_);
}

void TForm1::Columns(int count) {
    SettingsSwitches(state_, ports_, [this] { ReloadCurrent(); }).MColumnsClick(count);
}

#define LV_SWITCH(Handler)                                                                         \
    void TForm1::Handler() {                                                                       \
        SettingsSwitches(state_, ports_, [this] { ReloadCurrent(); }).Handler();                   \
    }
LV_SWITCH(MIconsClick)
LV_SWITCH(MNotesClick)
LV_SWITCH(MUrlClick)
LV_SWITCH(MFontClick)
LV_SWITCH(MBackupClick)
LV_SWITCH(MConfirmClick)
LV_SWITCH(MConfirmWebIconClick)
LV_SWITCH(MWebIconSearchClick)
#undef LV_SWITCH

void TForm1::MCountClick() {
    const int total = CountBookmarks(state_.DataFileName, state_.TabSet1.names, state_.ColumnCount);
    CountRequest request;
    request.caption = "Counting: " + std::to_string(total);
    request.label = "You have " + std::to_string(total) + " Bookmarks.";
    request.backColor = state_.TabSelectedColor;
    request.fontColor = state_.TabFontColor;
    ports_.dialogs.Count(request);
}

void TForm1::MUndoClick() {
    RestoreModificationBackup(state_.DataFileName);
    ReloadAfterUndo();
}

void TForm1::MRedoClick() {
    RedoModification(state_.DataFileName);
    ReloadAfterUndo();
}

// Undo and Redo work only while the backup switch is on: off means no backup and no history.
TForm1::UndoMenu TForm1::UndoItems() const {
    const ModificationHistoryMenu history = ReadModificationHistory(state_.DataFileName);
    UndoMenu menu;
    menu.undoEnabled = state_.checks.autoBackup && history.canUndo;
    menu.redoEnabled = state_.checks.autoBackup && history.canRedo;
    menu.undoCaption = history.canUndo && !history.undoCommand.empty()
                           ? "&Undo " + history.undoCommand
                           : "&Undo last Edit";
    menu.redoCaption =
        history.canRedo && !history.redoCommand.empty() ? "&Redo " + history.redoCommand : "&Redo";
    return menu;
}

void TForm1::ReloadAfterUndo() {
    const std::string first =
        ReadFromIniSLVD(state_.DataFileName, datafile::kTabs, "Tab1", "Page1");
    state_.TabSet1.selected = 0;
    state_.InitialLoad = true;
    try {
        Load(first);
    } catch (...) {
        state_.InitialLoad = false;
        FormCaption();
        throw;
    }
    state_.InitialLoad = false;
    FormCaption();
}

void TForm1::MFNewClick() {
    FileCommands(state_, ports_).MFNewClick();
}

void TForm1::MFOpenClick() {
    FileCommands(state_, ports_).MFOpenClick();
}

void TForm1::MFSaveAsClick(bool rename) {
    FileCommands(state_, ports_).MFSaveAsClick(rename);
}

void TForm1::MFDeleteClick() {
    FileCommands(state_, ports_).MFDeleteClick();
}

void TForm1::MFMergeClick() {
    FileCommands(state_, ports_).MFMergeClick();
}

void TForm1::AlphaButtonClick() {
    FileCommands(state_, ports_).AlphaButtonClick();
}

void TForm1::DriveMenuPopup() {
    DriveMenu(state_, ports_).Popup();
}

void TForm1::MADriveClick(int index) {
    DriveMenu(state_, ports_).MADriveClick(index);
}

void TForm1::DiskButtonClick() {
    DriveMenu(state_, ports_).DiskButtonClick();
}

void TForm1::MImportNSClick() {
    NetscapeCommands(state_, ports_).MImportNSClick();
}

void TForm1::MExportNSClick(bool currentPageOnly) {
    NetscapeCommands(state_, ports_).MExportNSClick(currentPageOnly);
}

void TForm1::ButtonClick(int slot) {
    // A bookmark waiting to be put down is put by the press; the click neither launches nor
    // captures the browser's page into the slot.
    if (edit_.putPending) {
        return;
    }
    Launching(state_, ports_).ButtonClick(slot);
}

void TForm1::Launch(const std::string& page, const std::string& target) {
    Launching(state_, ports_).Launch(page, target);
}

void TForm1::AddBookmarkClick() {
    Launching(state_, ports_).AddBookmarkClick();
}

void TForm1::ChangeBrowser(int position) {
    BrowserList(state_, ports_).ChangeBrowser(position);
}

void TForm1::AddBrowserClick() {
    BrowserList(state_, ports_).AddBrowserClick();
}

void TForm1::SingleButtonClick(bool single) {
    BrowserList(state_, ports_).SingleButtonClick(single);
}

void TForm1::URLBoxOpen(const std::string& text) {
    if (text.empty()) {
        return;
    }
    UrlBox(state_, ports_, [this](const std::string& target, bool local) {
        return Launching(state_, ports_).Launch("", target, {local, false});
    }).Open(text);
}

void TForm1::URLBoxRemove(int index) {
    UrlBox(state_, ports_, nullptr).Remove(index);
}

void TForm1::KeysKeyDown(NavKey key) {
    // Enter does what the mouse does on the slot: a waiting bookmark is put down there, else
    // the slot is clicked.
    const auto press = [this](int slot) {
        if (edit_.putPending) {
            ButtonMouseDown(slot);
        } else {
            ButtonClick(slot);
        }
    };
    Keyboard(
        state_, [this](int tab) { SelectTab(tab); }, press, [this] { FormCaption(); })
        .KeysKeyDown(key);
}

void TForm1::KeysKeyPress(char typed) {
    Keyboard(
        state_, [this](int tab) { SelectTab(tab); }, [this](int slot) { ButtonClick(slot); },
        [this] { FormCaption(); })
        .KeysKeyPress(typed);
}

void TForm1::GoPageBtnClick() {
    const int current = state_.TabSet1.selected;
    const int chosen = ports_.dialogs.NavPage(
        {state_.TabSet1.names, state_.TabSelectedColor, state_.TabFontColor, current});
    if (state_.checks.trayMini) {
        state_.place.height = kWindowHeight;
        state_.place.stayOnTop = false;
    }
    SelectTab(NavPageTarget(current, chosen, static_cast<int>(state_.TabSet1.names.size())));
}

// A local bookmark without a target asks for its program as a click on the empty slot does.
void TForm1::ButtonClickHook(int slot) {
    ButtonClick(slot);
}

BookmarkEdit TForm1::Edit() {
    return BookmarkEdit(
        state_, ports_, edit_, [this](int slot) { ButtonClickHook(slot); },
        [this] { ReloadCurrent(); });
}

void TForm1::SetButtonParams(int slot) {
    Edit().SetButtonParams(slot);
}

// A drag or a drop that was refused changed nothing: the backup it armed must not be taken by
// some later save.
void TForm1::ButtonDragDrop(int source, int target) {
    Edit().ButtonDragDrop(source, target);
    if (!edit_.putPending) {
        DisarmBeforeFirstChange();
    }
}

void TForm1::FormDropFiles(const std::vector<std::string>& files, int x, int y) {
    BookmarkEdit edit = Edit();
    DroppedFiles(state_, ports_.dialogs, edit).Drop(files, x, y);
    if (!edit_.putPending) {
        DisarmBeforeFirstChange();
    }
}

void TForm1::MPagePassClick() {
    PasswordProtection(state_, ports_).MPagePassClick();
}

void TForm1::MProgPassClick() {
    PasswordProtection(state_, ports_).MProgPassClick();
}

void TForm1::ProgPassButtonClick() {
    const PasswordResult typed = ports_.dialogs.Password({true});
    const std::string& marker = state_.FileProtection;
    const std::string stored =
        Unshift(marker.substr(0, marker.size() >= 3 ? marker.size() - 3 : 0));
    if (typed.password != stored) {
        ports_.dialogs.Message({MsgKind::Information, {}, "Invalid Password!"});
        return;
    }
    MessageRequest question{
        MsgKind::Confirmation, {}, "Remove Password Protection?", MsgButtons::YesNoHelp, 48};
    if (ports_.dialogs.Message(question) == MsgResult::Yes) {
        TIniFile32 ini(state_.DataFileName);
        ini.WriteString(datafile::kTabs, datafile::kFilePasswordKey, "");
        ini.EraseSection(datafile::kProgram);
    }
    state_.FileProtection.clear();
    state_.locked = false;
    const std::string first =
        ReadFromIniSLVD(state_.DataFileName, datafile::kTabs, "Tab1", "Page1");
    state_.TabSet1.selected = 0;
    Load(first);
    FormCaption();
}

PageCommands TForm1::Pages() {
    PageHooks hooks;
    hooks.selectTab = [this](int tab) { SelectTab(tab); };
    hooks.showCurrent = [this] { TabSet1Click(); };
    hooks.eraseButton = [this](const std::string& page, int slot) {
        Edit().EraseButton(page, slot, true);
    };
    hooks.launch = [this](const std::string& page, const std::string& target) {
        Launch(page, target);
    };
    hooks.pagePass = [this] { MPagePassClick(); };
    hooks.clickButton = [this](int slot) { ButtonClick(slot); };
    return PageCommands(state_, ports_, pageForms_, std::move(hooks));
}

void TForm1::MAddPageTab1Click() {
    Pages().MAddPageTab1Click();
}

void TForm1::MDeletePageTab1Click() {
    Pages().MDeletePageTab1Click();
}

void TForm1::MMovePageTab1Click() {
    Pages().MMovePageTab1Click();
}

void TForm1::MCopyPageTabClick() {
    Pages().MCopyPageTabClick();
}

void TForm1::MEraseBClick() {
    Pages().MEraseBClick();
}

void TForm1::MChangePageTabName1Click(PageSender sender) {
    Pages().MChangePageTabName1Click(sender);
}

void TForm1::TabSet1MouseDown(TabButton button, int tab) {
    Pages().TabSet1MouseDown(button, tab);
}

bool TForm1::TabSet1DragOver(int tab) {
    return Pages().TabSet1DragOver(tab);
}

void TForm1::TabSet1DragDrop(int tab) {
    Pages().TabSet1DragDrop(tab);
}

void TForm1::MChangeColor2Click(bool selectedTab) {
    Pages().MChangeColor2Click(selectedTab);
}

void TForm1::MFontTabClick() {
    Pages().MFontTabClick();
}

void TForm1::SaveTabs() {
    Pages().SaveTabs();
}

void TForm1::SearchNetButtonClick() {
    TSearchForm::Context context;
    context.settingsFile = state_.SettingsFile();
    context.dataFileName = state_.DataFileName;
    context.programDir = state_.ProgramDir;
    context.browserPath = state_.BrowserPath;
    context.browser = ports_.browser;
    context.tabColor = state_.TabSelectedColor;
    context.tabFontColor = state_.TabFontColor;
    searchForm_.onHelp = ports_.openHelp;
    searchForm_.FormActivate(context);
    if (ports_.searchForm) {
        ports_.searchForm(searchForm_);
    } else {
        searchForm_.CloseButton1Click();
    }
    const std::string result = searchForm_.Result();
    if (!result.empty()) {
        Launching(state_, ports_).Launch("", result);
    }
}

void TForm1::PrintClick(LinkListMode mode) {
    ExchangeCommands(state_, ports_).PrintClick(mode, [this](const std::string& emailMode) {
        ShowEmailDialog(emailMode);
    });
}

void TForm1::MImportIEClick() {
    ExchangeCommands(state_, ports_).MImportIEClick();
}

void TForm1::MExportIEClick(bool wholeFile) {
    ExchangeCommands(state_, ports_).MExportIEClick(wholeFile);
}

void TForm1::ShowEmailDialog(const std::string& mode) {
    if (!ports_.emailForm) {
        return;
    }
    std::vector<std::string> lines;
    const std::string& memo = state_.Memo1;
    for (std::size_t start = 0; start < memo.size();) {
        std::size_t end = memo.find('\n', start);
        if (end == std::string::npos) {
            end = memo.size();
        }
        std::string line = memo.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(std::move(line));
        start = end + 1;
    }
    const EmailMode emailMode = mode == "All"    ? EmailMode::All
                                : mode == "Page" ? EmailMode::Page
                                : mode == "One"  ? EmailMode::One
                                                 : EmailMode::None;
    ports_.emailForm(emailMode, lines);
}

void TForm1::MStartSmallClick() {
    TaskTray(state_, ports_).ChooseMode(LaunchMode::Tray);
}

void TForm1::MStartBarClick() {
    TaskTray(state_, ports_).ChooseMode(LaunchMode::Bar);
}

void TForm1::MMiniClick() {
    TaskTray(state_, ports_).ChooseMode(LaunchMode::Mini);
}

void TForm1::MHideClick() {
    TaskTray(state_, ports_).ChooseMode(LaunchMode::Hide);
}

void TForm1::MMRUClick() {
    TaskTray(state_, ports_).MMRUClick();
}

void TForm1::MAutoRunClick() {
    TaskTray(state_, ports_).MAutoRunClick();
}

void TForm1::RestoreFromTray() {
    TaskTray(state_, ports_).RestoreFromTray();
}

void TForm1::MScreenSaverClick() {
    TaskTray(state_, ports_).ScreenSaverClick();
}

void TForm1::MruList1Click(const std::string& text) {
    TaskTray(state_, ports_)
        .MruClick(text, [this](const std::string& page, const std::string& target) {
            Launch(page, target);
        });
}

void TForm1::ApplicationMinimize() {
    TaskTray(state_, ports_).ApplicationMinimize();
}

void TForm1::InstanceStarted(const std::vector<std::string>& args) {
    TaskTray(state_, ports_).InstanceStarted(args);
}

std::vector<std::string> TForm1::RecentEntries() const {
    return state_.locked ? std::vector<std::string>{} : state_.MruList1.Shown();
}

} // namespace lv
