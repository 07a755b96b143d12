#pragma once

#include "platform/Dialogs.h"
#include "tools/BookmarkIndex.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace lv {

inline constexpr std::string_view kDupeCaption = "Search Linkvane Bookmarks";
inline constexpr std::string_view kDupeHintLaunchDelete =
    "Click on Bookmark for Launch or Delete option.";
inline constexpr std::string_view kDupeHintLaunchDeleteEdit =
    "Click on Bookmark for Launch, Delete or Edit option.";
inline constexpr std::string_view kDupeHintNoDuplicates = "** No Duplicate Bookmarks Found **";
// Told when a listed bookmark is no longer in its slot (changed in the main window since the
// search): acting on the slot would hit a bookmark the user never saw in the list.
inline constexpr std::string_view kDupeChangedSince =
    "This bookmark has changed since the search.  Please search again.";
inline constexpr std::string_view kDupeChangedRows =
    " bookmark(s) of the list had changed since the search and were left as they are.";
inline constexpr int kDupeHelpTopic = 36;

// The search window's modes, in the order of its radio group.
enum DupeMode : int { kDupeUrl = 0, kDupeTitle = 1, kDupeKeyword = 2, kDupeDuplicates = 3 };

// What the search window needs from the main window.
struct DupeHooks {
    std::function<std::string()> dataFile;
    std::function<int()> columnCount;
    // The modification backup before a change, named after the command.
    std::function<void(const char* command)> backup;
    // Launches the slot's target as a click does; the window's launch flag is set meanwhile.
    std::function<void(const std::string& page, int slot, const std::string& target)> launch;
    std::function<void(const std::string& page, int slot, bool webIconQuestion)> eraseButton;
    // The bookmark editor, modal, on that page and slot (its page and file actions hidden).
    std::function<void(const std::string& page, int slot, const std::string& title,
                       const std::string& url)>
        editBookmark;
    // The page name dialog on a proposal; its answer (the proposal when emptied or escaped).
    std::function<std::string(const std::string& proposal)> askPageName;
    // Appends a page tab under a name made unique among the pages, saves the page list and
    // returns the name the page got.
    std::function<std::string(const std::string& name)> appendPage;
    // Loads the new last page and selects its tab.
    std::function<void()> showLastPage;
    std::function<void(int topic)> openHelp;
    // The selected tab's colour and the tab font colour.
    std::function<int()> backColor;
    std::function<int()> fontColor;
};

// The modeless search window "Search Linkvane Bookmarks": text search over the bookmark index,
// the duplicate listing, and what can be done with one row or the whole list. The view shows
// the fields below and calls the handlers. Texts are stored bytes (Windows-1252).
class TDupe {
public:
    TDupe(Dialogs& dialogs, DupeHooks hooks) : dialogs_(dialogs), hooks_(std::move(hooks)) {}

    // Controls.
    std::string Caption{kDupeCaption};
    int SearchGroup = kDupeTitle;
    bool CaseBox = false;
    std::string Edit1;
    bool searchTextVisible = true; // Edit1 and CaseBox
    bool listVisible = false;      // ListView2
    std::string listHint{kDupeHintLaunchDelete};
    bool busy = false; // the hourglass
    int backColor = 0;
    int fontColor = 0;
    // Options of this program, off by default: refresh the list on every change of the text,
    // over title, address and notes together; and group addresses that lead to the same page.
    bool searchAsYouType = false;
    bool ignoreTrivialDifferences = false;
    // Set while a bookmark launched from the list starts.
    bool LaunchFromSearch = false;

    // The window became the program's active window (not on coming back from its own dialogs).
    void FormActivate();
    void FormClose();
    void SearchGroupClick(int mode);
    // The search text changed (typing).
    void Edit1Change(const std::string& text);
    // The search button, and Enter in the search text.
    void SearchButtonClick();
    // A click on row `row` of the result list (0-based), -1 when none is selected.
    void ListView2Click(int row);
    // "Move": move, copy or erase the whole list.
    void MoveBtnClick();
    void HelpBtnClick();
    void CloseBtnClick() { closeRequested_ = true; }
    bool CloseRequested() const { return closeRequested_; }

    // The result list: its rows, and one column of a row (empty for a blank row).
    std::size_t RowCount() const { return rows_.size(); }
    const std::vector<ResultRow>& Rows() const { return rows_; }
    const IndexRow* RowAt(std::size_t row) const;
    std::string Cell(std::size_t row, int column) const;
    static constexpr int kColumnCount = 5;
    static const char* ColumnTitle(int column);
    static int ColumnWidth(int column);

    bool IndexBuilt() const { return index_ != nullptr; }
    void EmptyIndex() { index_.reset(); }

    // The rows of the list beyond the first page's capacity go on to further pages.
    int PageCapacity() const;

private:
    void ClearList();
    void EnsureIndex();
    void RunSearch(SearchField field);
    SearchField TextField() const;
    enum class ListAction { Move, Copy, Erase };
    void ActOnList(ListAction action);
    bool StillThere(const TIniFile32& ini, const IndexRow& row) const;
    void Backup(const char* command);

    Dialogs& dialogs_;
    DupeHooks hooks_;
    std::shared_ptr<const BookmarkIndex> index_;
    // The index the result rows point into; it outlives an emptied index_ while the list shows.
    std::shared_ptr<const BookmarkIndex> listIndex_;
    std::vector<ResultRow> rows_;
    std::string proposedPage_;
    bool closeRequested_ = false;
};

} // namespace lv
