#pragma once

#include "exchange/LinkList.h"
#include "mainwindow/BookmarkEdit.h"
#include "mainwindow/Keyboard.h"
#include "mainwindow/MainState.h"
#include "mainwindow/PageCommands.h"
#include "mainwindow/Ports.h"
#include "mainwindow/TUserDlg.h"
#include "tools/TDupe.h"
#include "tools/THotKeyForm.h"
#include "tools/THotKeyManager.h"
#include "tools/TSearchForm.h"
#include "tools/UserFile.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace lv {

class TINetDetector;

// The main window: its state and every handler. Handlers keep the names of the controls and
// events they serve; the work is done by the helpers of each area (start-up, the page grid, the
// settings switches). The view renders State() after every handler and turns user input into
// handler calls. File errors leave a handler as lv::FileError; the view shows them.
class TForm1 {
public:
    TForm1(MainWindowPorts ports, std::string programDir);

    MainWindowState& State() { return state_; }
    const MainWindowState& State() const { return state_; }
    TUserDlg& Dlg1() { return dlg1_; }

    // Start-up: command line (without the program name), settings, DataFile, first page.
    void FormCreate(const std::vector<std::string>& args);
    void FormCaption();

    // The button area and the window's width follow the client size.
    void FormResize(int clientWidth, int clientHeight);
    void MResetSizeClick();

    // A tab is about to become current: true when the switch may happen (the page password,
    // when there is one, was given).
    bool TabSet1Change(int newTab);
    // The tab has changed: load its page.
    void TabSet1Click();
    // A click on a tab: both of the above.
    void SelectTab(int index);
    // Fills the buttons from a page (and saves the DataFile).
    void Load(const std::string& page);

    // Left button pressed on a bookmark button: it becomes the current button and its bookmark
    // is taken in hand.
    void ButtonMouseDown(int slot);

    // Shut-down: "Exit Linkvane" asks the view to close; closing saves the window's place and
    // writes the page passwords back.
    void MExit1Click() { closeRequested_ = true; }
    bool CloseRequested() const { return closeRequested_; }
    bool FormCloseQuery(const WindowPlace& actual);
    void SaveLocation();
    void FormClose();

    // Setup menu.
    void MIconsClick();
    void MNotesClick();
    void MUrlClick();
    void MColumn2Click() { Columns(2); }
    void MColumn3Click() { Columns(3); }
    void MColumn4Click() { Columns(4); }
    void MFontClick();
    void MBackupClick();
    void MConfirmClick();
    void MConfirmWebIconClick();
    void MWebIconSearchClick();

    // Bookmarks menu.
    void MCountClick();
    // Undo and Redo step through the DataFile's history; their captions name the command.
    void MUndoClick();
    void MRedoClick();
    struct UndoMenu {
        bool undoEnabled = false;
        bool redoEnabled = false;
        std::string undoCaption;
        std::string redoCaption;
    };
    // Both items from one read of the history, for a view that shows them after every handler.
    UndoMenu UndoItems() const;
    bool UndoEnabled() const { return UndoItems().undoEnabled; }
    bool RedoEnabled() const { return UndoItems().redoEnabled; }
    std::string UndoCaption() const { return UndoItems().undoCaption; }
    std::string RedoCaption() const { return UndoItems().redoCaption; }

    // File menu: DataFiles (Save As and Rename share one handler) and the copy to removable
    // media; "&Alphabetize" of the Bookmarks menu. DriveMenuPopup refreshes the drive captions.
    void MFNewClick();
    void MFOpenClick();
    void MFSaveAsClick(bool rename);
    void MFDeleteClick();
    void MFMergeClick();
    void AlphaButtonClick();
    void DriveMenuPopup();
    void MADriveClick(int index);
    void DiskButtonClick();
    // Netscape bookmark files: import into "Netscape.lvd", export the file or the current page.
    void MImportNSClick();
    void MExportNSClick(bool currentPageOnly);

    // Launching and the browser list.
    void ButtonClick(int slot);
    void Launch(const std::string& page, const std::string& target);
    void AddBookmarkClick();
    void ChangeBrowser(int position);
    void AddBrowserClick();
    void SingleButtonClick(bool single);

    // The URL box, the key sink `Keys` and the page navigator.
    void URLBoxOpen(const std::string& text);
    void URLBoxRemove(int index);
    void KeysKeyDown(NavKey key);
    void KeysKeyPress(char typed);
    void GoPageBtnClick();

    // "Access Protected File" on a locked window.
    void ProgPassButtonClick();

    // Editing: right click on a button, dragging one button onto another, files dropped on
    // the window (client coordinates), and the password commands.
    void SetButtonParams(int slot);
    void ButtonDragDrop(int source, int target);
    void FormDropFiles(const std::vector<std::string>& files, int x, int y);
    bool PutPending() const { return edit_.putPending; }
    TBConfigForm& BConfigForm() { return edit_.BConfigForm; }
    void MPagePassClick();
    void MProgPassClick();

    // Tabs menu, the page tool buttons and the tab row: whole pages, carried pages and
    // bookmarks, the tabs' colours and font.
    void MAddPageTab1Click();
    void MDeletePageTab1Click();
    void MMovePageTab1Click();
    void MCopyPageTabClick();
    void MEraseBClick();
    void MChangePageTabName1Click(PageSender sender);
    void TabSet1MouseDown(TabButton button, int tab);
    bool TabSet1DragOver(int tab);
    void TabSet1DragDrop(int tab);
    void MChangeColor2Click(bool selectedTab);
    void MFontTabClick();
    void SaveTabs();

    // The link checker window ("Check Links" and the tool button CheckBtn).
    void CheckBtnClick();

    TNameForm& NameForm() { return pageForms_.NameForm; }
    TTabForm& TabForm() { return pageForms_.TabForm; }

    // Link lists of a page range (tool buttons Print, HTML and Email1 and their menu items),
    // and the favourites folder import and export.
    void PrintClick(LinkListMode mode);
    void MImportIEClick();
    void MExportIEClick(bool wholeFile);
    // Shows the e-mail dialog over the lines in Memo1, in the e-mail mode "All", "Page" or
    // "One".
    void ShowEmailDialog(const std::string& mode);
    // Tools: the bookmark search window, "User Setup", and the clipboard commands of the tray
    // menu (named after its items).
    void MSearchAClick();
    void SearchLinkvaneButtonClick() { MSearchAClick(); }
    TDupe& Dupe();
    void MChangeUserINfoClick();
    void UserButton1Click() { MChangeUserINfoClick(); }
    std::string UserFile() const;
    void UserID1Click();
    void WebPassClick();
    void CopyUserDetail(std::string_view item);
    void FirstClick() { CopyUserDetail("First"); }
    void LastClick() { CopyUserDetail("Last"); }
    void FullClick() { CopyUserDetail("Full"); }
    void CompanyClick() { CopyUserDetail("Company"); }
    void Address1Click() { CopyUserDetail("Address1"); }
    void Address2Click() { CopyUserDetail("Address2"); }
    void CityClick() { CopyUserDetail("City"); }
    void StateClick() { CopyUserDetail("State"); }
    void ZipClick() { CopyUserDetail("Zip"); }
    void CountryClick() { CopyUserDetail("Country"); }
    void PhoneClick() { CopyUserDetail("Phone"); }
    void FaxClick() { CopyUserDetail("Fax"); }
    void EmailClick() { CopyUserDetail("Email"); }
    void URLClick() { CopyUserDetail("URL"); }
    void OtherClick() { CopyUserDetail("Other"); }
    void MiscClick() { CopyUserDetail("Misc"); }
    void TextClick();
    // Web access: links from the browser's page (the WebIn button, "Import from Web Page") or
    // the clipboard ("Import from Clipboard"), the connection lamp, the access-speed dialog.
    void MWSImportClick();
    void MCBImportClick();
    void NetDetectorChanged();
    TPForm& PForm() { return pageForms_.PForm; }
    // Internet search ("SearchNetButton", "Search the &Internet"): the window, and the launch
    // of its result in the current browser.
    void SearchNetButtonClick();
    TSearchForm& SearchForm() { return searchForm_; }
    // The tray: the Setup menu's launch behaviours, "Store last 10 bookmarks in Tray" and
    // auto-run; the tray icon's click and menu (screen saver, recent entries); the window's
    // minimise event; another copy that was started.
    void MStartSmallClick();
    void MStartBarClick();
    void MMiniClick();
    void MHideClick();
    void MMRUClick();
    void MAutoRunClick();
    void RestoreFromTray();
    void MScreenSaverClick();
    void MruList1Click(const std::string& text);
    void ApplicationMinimize();
    void InstanceStarted(const std::vector<std::string>& args);
    // The recent entries the tray menu shows, newest first.
    std::vector<std::string> RecentEntries() const;
    // Global hotkeys: loaded once at start-up (SetHotKeys), "Change &Hotkeys", and what the
    // hide and show keys do (the window's visibility in the model). The icon chooser for the
    // default icon of bookmarks: "Change Default &Icon for Bookmarks".
    void SetHotKeys();
    void MHotkeysClick();
    void HotKeyHide();
    void HotKeyShow();
    THotKeyManager& HotKeyMgr() { return hotKeyMgr_; }
    THotKeyForm& HotKeyForm() { return hotKeyForm_; }
    void MDefaultIconClick();

private:
    void ReloadAfterUndo();
    void Columns(int count);
    BookmarkEdit Edit();
    PageCommands Pages();
    void ButtonClickHook(int slot);
    void ReloadCurrent();
    void Relayout();

    MainWindowPorts ports_;
    MainWindowState state_;
    TUserDlg dlg1_;
    EditState edit_;
    PageForms pageForms_;
    TSearchForm searchForm_;
    bool closeRequested_ = false;
    // The search window, created on first use.
    std::unique_ptr<TDupe> dupe_;
    void SearchEdit(const std::string& page, int slot, const std::string& title,
                    const std::string& url);
    void CopyToClipboard(const std::string& text);
    std::shared_ptr<TINetDetector> netDetector_;
    THotKeyManager hotKeyMgr_{ports_.hotKeys};
    THotKeyForm hotKeyForm_;
};

} // namespace lv
