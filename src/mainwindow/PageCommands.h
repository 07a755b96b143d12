#pragma once

#include "mainwindow/MainState.h"
#include "mainwindow/Ports.h"
#include "mainwindow/TNameForm.h"
#include "mainwindow/TPForm.h"
#include "mainwindow/TTabForm.h"
#include "store/TIniFile32.h"

#include <functional>
#include <string>

namespace lv {

// The two page dialogs, created once with the main window.
struct PageForms {
    TNameForm NameForm;
    TTabForm TabForm;
    TPForm PForm;
};

// Who asked for the page options: "Change &Name on Page Tab", "EMail Page of &Bookmarks" or a
// right click on a tab.
enum class PageSender { NameMenu, TabSet, EmailMenu };
enum class TabButton { Left, Right };

// What the page commands need from the main window.
struct PageHooks {
    // Makes a tab current as a click does (a protected page asks for its password).
    std::function<void(int tab)> selectTab;
    // Shows the current tab's page again (after the tab list changed under it).
    std::function<void()> showCurrent;
    std::function<void(const std::string& page, int slot)> eraseButton;
    std::function<void(const std::string& page, const std::string& target)> launch;
    std::function<void()> pagePass;
    // Clicks a bookmark button of the current page, as the user does.
    std::function<void(int slot)> clickButton;
};

// Everything done with whole pages: add, delete, rename, erase, move and copy (by menu and
// right click, or by dragging a tab), carrying selected bookmarks to another page, and the look
// of the tab row.
class PageCommands {
public:
    PageCommands(MainWindowState& state, MainWindowPorts& ports, PageForms& forms, PageHooks hooks)
        : state_(state), ops_(state.pageOps), ports_(ports), forms_(forms),
          hooks_(std::move(hooks)) {}

    void MAddPageTab1Click();
    void MDeletePageTab1Click();
    void MMovePageTab1Click();
    void MCopyPageTabClick();
    void MEraseBClick();
    void MChangePageTabName1Click(PageSender sender);

    // A press on the tab row; tab is the absolute index of the tab under the pointer, or -1.
    void TabSet1MouseDown(TabButton button, int tab);
    bool TabSet1DragOver(int tab) const;
    void TabSet1DragDrop(int tab);

    void MChangeColor2Click(bool selectedTab);
    void MFontTabClick();

    // Writes the page list to [Tabs] and ends a busy cursor.
    void SaveTabs();

    // A page carried by Move Page has no tab until it is dropped. When the carry is given up
    // (another Move or Copy Page, closing the program) it goes back to the end of its own
    // file's page list, so its bookmarks never end up in a section no tab shows.
    void ReturnMovedPage();

private:
    void ShowNameForm();
    void Backup(const char* command);
    void RestoreCursor();
    void Rename();
    void ActOnCode(const std::string& code);
    void AccessSpeed();
    void TabFormStep();
    void BookmarkAction(int item);
    // The page's bookmarks (all of them, or the given slots) as anchor lines to the e-mail
    // dialog.
    void EmailPage(const std::string& page, const std::vector<int>& slots);
    void IconSelected(const std::string& page, const std::vector<int>& slots);
    void TabColor(bool selectedTab, bool savePaletteOnCancel);
    void DropBookmarks();
    void DropPage(int tab);
    void DragCopy(int source, int target);
    // Shows the page at index after its tab was inserted or renamed: no password is asked, the
    // user has just worked on that page.
    void ShowNew(int index);
    // Shows a page after the current tab went away.
    void ShowAfterRemoval(int removedIndex);
    int IndexOf(const std::string& name) const;
    std::string Problem(const std::string& name) const;

    MainWindowState& state_;
    PageOpsState& ops_;
    MainWindowPorts& ports_;
    PageForms& forms_;
    PageHooks hooks_;
};

} // namespace lv
