#include "tools/TDupe.h"

#include "store/DataFile.h"
#include "store/TIniFile32.h"

#include <algorithm>

namespace lv {
namespace {

constexpr const char* kColumnTitles[] = {"URL", "Title", "Page", "Btn", "Notes"};
constexpr int kColumnWidths[] = {200, 150, 110, 30, 100};

} // namespace

const char* TDupe::ColumnTitle(int column) {
    return column >= 0 && column < kColumnCount ? kColumnTitles[column] : "";
}

int TDupe::ColumnWidth(int column) {
    return column >= 0 && column < kColumnCount ? kColumnWidths[column] : 0;
}

int TDupe::PageCapacity() const {
    const int columns = hooks_.columnCount ? hooks_.columnCount() : 4;
    return datafile::kRowCount * std::clamp(columns, 1, 4);
}

const IndexRow* TDupe::RowAt(std::size_t row) const {
    if (row >= rows_.size() || rows_[row].Blank() || listIndex_ == nullptr) {
        return nullptr;
    }
    return &(*listIndex_)[static_cast<std::size_t>(rows_[row].row)];
}

std::string TDupe::Cell(std::size_t row, int column) const {
    const IndexRow* bookmark = RowAt(row);
    if (bookmark == nullptr) {
        return {};
    }
    switch (column) {
    case 0:
        return bookmark->url;
    case 1:
        return bookmark->title;
    case 2:
        return bookmark->page;
    case 3:
        return bookmark->btn;
    case 4:
        return bookmark->notes;
    default:
        return {};
    }
}

void TDupe::ClearList() {
    rows_.clear();
    listIndex_.reset();
    listVisible = false;
}

void TDupe::Backup(const char* command) {
    if (hooks_.backup) {
        hooks_.backup(command);
    }
}

void TDupe::FormActivate() {
    SearchGroup = kDupeTitle;
    searchTextVisible = true;
    ClearList();
    LaunchFromSearch = false;
    closeRequested_ = false;
    if (hooks_.backColor) {
        backColor = hooks_.backColor();
    }
    if (hooks_.fontColor) {
        fontColor = hooks_.fontColor();
    }
}

void TDupe::FormClose() {
    Caption = std::string(kDupeCaption);
    index_.reset();
    ClearList();
    Edit1.clear();
    CaseBox = false;
    LaunchFromSearch = false;
}

void TDupe::SearchGroupClick(int mode) {
    SearchGroup = std::clamp(mode, 0, 3);
    searchTextVisible = SearchGroup != kDupeDuplicates;
    ClearList();
}

SearchField TDupe::TextField() const {
    if (searchAsYouType) {
        return SearchField::All;
    }
    switch (SearchGroup) {
    case kDupeUrl:
        return SearchField::Url;
    case kDupeKeyword:
        return SearchField::Notes;
    default:
        return SearchField::Title;
    }
}

void TDupe::EnsureIndex() {
    if (index_ == nullptr) {
        TIniFile32 ini(hooks_.dataFile());
        index_ = BuildBookmarkIndex(ini, hooks_.columnCount ? hooks_.columnCount() : 4);
    }
}

void TDupe::RunSearch(SearchField field) {
    ClearList();
    busy = true;
    EnsureIndex();
    listIndex_ = index_;
    rows_ = SearchIndex(*index_, Edit1, field, CaseBox);
    listVisible = true;
    busy = false;
}

void TDupe::Edit1Change(const std::string& text) {
    Edit1 = text;
    if (searchAsYouType && SearchGroup != kDupeDuplicates) {
        RunSearch(SearchField::All);
    }
}

void TDupe::SearchButtonClick() {
    if (SearchGroup != kDupeDuplicates) {
        RunSearch(TextField());
        return;
    }
    ClearList();
    busy = true;
    listHint = std::string(kDupeHintLaunchDelete);
    EnsureIndex();
    listIndex_ = index_;
    rows_ = ListDuplicates(*index_, ignoreTrivialDifferences);
    if (rows_.empty()) {
        listHint = std::string(kDupeHintNoDuplicates);
    }
    listVisible = true;
    busy = false;
}

bool TDupe::StillThere(const TIniFile32& ini, const IndexRow& row) const {
    const std::string prefix = SlotNumberText(row.slot);
    return ini.ReadString(row.page, prefix + "U", "") == row.StoredUrl() &&
           ini.ReadString(row.page, prefix + "N", "") == row.title;
}

void TDupe::ListView2Click(int row) {
    if (row < 0) {
        return;
    }
    const IndexRow* picked = RowAt(static_cast<std::size_t>(row));
    if (picked == nullptr) {
        return;
    }
    const IndexRow bookmark = *picked;
    const std::string dataFile = hooks_.dataFile();
    const std::string prefix = SlotNumberText(bookmark.slot);
    const bool isProtected = ReadFromIniSLVD(dataFile, bookmark.page, prefix + "U", "")
                                 .find(datafile::kProtectedMarker) != std::string::npos;
    listHint = std::string(kDupeHintLaunchDeleteEdit);

    UserDlgRequest question;
    question.title = "Launch, Delete or Edit bookmark";
    question.message = {"Select an Option for " + bookmark.title};
    question.buttons = {"Launch", "Delete", "Edit", "Ignore"};
    question.defaultButton = 0;
    question.cancelButton = 3;
    int answer = dialogs_.UserDlg(question);
    if (isProtected) {
        answer = 3;
    }
    if (answer < 0 || answer > 2) {
        return;
    }
    if (answer != 0 && !StillThere(TIniFile32(dataFile), bookmark)) {
        dialogs_.Message({MsgKind::Information, {}, std::string(kDupeChangedSince)});
        return;
    }
    const auto removeRow = [this, row] {
        rows_.erase(rows_.begin() + row);
        index_.reset();
    };
    switch (answer) {
    case 0: {
        const std::string target = ReadFromIniSLVD(dataFile, bookmark.page, prefix + "U", "");
        LaunchFromSearch = true;
        if (hooks_.launch) {
            hooks_.launch(bookmark.page, bookmark.slot, target);
        }
        LaunchFromSearch = false;
        break;
    }
    case 1:
        Backup("Delete bookmark");
        if (hooks_.eraseButton) {
            hooks_.eraseButton(bookmark.page, bookmark.slot, true);
        }
        removeRow();
        break;
    case 2:
        if (hooks_.editBookmark) {
            hooks_.editBookmark(bookmark.page, bookmark.slot, bookmark.title, bookmark.url);
        }
        removeRow();
        break;
    default:
        break;
    }
}

void TDupe::HelpBtnClick() {
    if (hooks_.openHelp) {
        hooks_.openHelp(kDupeHelpTopic);
    }
}

void TDupe::MoveBtnClick() {
    UserDlgRequest question;
    question.title = "Move, Copy or Erase Bookmarks.";
    question.message = {"Move  = Move list of bookmarks to new page.",
                        "Copy  = Copy list of bookmarks to new page.",
                        "Erase = Erase list of bookmarks from Linkvane."};
    question.buttons = {"Move", "Copy", "Erase", "Ignore"};
    question.defaultButton = 0;
    question.cancelButton = 3;
    int answer = dialogs_.UserDlg(question);
    if (answer == 2) {
        const std::string text =
            SearchGroup == kDupeDuplicates
                ? "This will Erase all duplicate bookmarks, except the last entry of each "
                  "type.  Do you want to continue?"
                : "Are you sure you want to delete these bookmarks from Linkvane?";
        if (dialogs_.Message({MsgKind::Information, {}, text, MsgButtons::YesNo}) !=
            MsgResult::Yes) {
            answer = 3;
        }
    }
    switch (answer) {
    case 0:
        ActOnList(ListAction::Move);
        break;
    case 1:
        ActOnList(ListAction::Copy);
        break;
    case 2:
        ActOnList(ListAction::Erase);
        break;
    default:
        break;
    }
    if (answer >= 0 && answer <= 2) {
        index_.reset();
    }
    ClearList();
    proposedPage_.clear();
    busy = false;
}

void TDupe::ActOnList(ListAction action) {
    const std::string dataFile = hooks_.dataFile();
    // Rows whose slot changed since the search are left alone: the list no longer shows what
    // they hold.
    std::vector<bool> valid(rows_.size(), false);
    int changed = 0;
    {
        const TIniFile32 ini(dataFile);
        for (std::size_t p = 0; p < rows_.size(); ++p) {
            if (const IndexRow* row = RowAt(p)) {
                valid[p] = StillThere(ini, *row);
                changed += valid[p] ? 0 : 1;
            }
        }
    }

    if (action == ListAction::Erase) {
        busy = true;
        Backup("Erase bookmarks");
        const bool duplicates = SearchGroup == kDupeDuplicates;
        for (std::size_t p = 0; p < rows_.size(); ++p) {
            const IndexRow* row = RowAt(p);
            if (row == nullptr || !valid[p]) {
                continue;
            }
            if (!duplicates) {
                hooks_.eraseButton(row->page, row->slot, true);
                continue;
            }
            // The last entry of each group that is still in place survives.
            bool laterInGroup = false;
            for (std::size_t q = p + 1; q < rows_.size() && rows_[q].group == rows_[p].group; ++q) {
                laterInGroup = laterInGroup || valid[q];
            }
            if (laterInGroup) {
                hooks_.eraseButton(row->page, row->slot, false);
            }
        }
    } else {
        proposedPage_ = Edit1 + " Search";
        std::string name = hooks_.askPageName ? hooks_.askPageName(proposedPage_) : "";
        if (name.empty()) {
            name = proposedPage_;
        }
        busy = true;
        Backup(action == ListAction::Move ? "Move bookmarks" : "Copy bookmarks");
        const std::size_t capacity = static_cast<std::size_t>(PageCapacity());
        // Rows past the page's capacity continue on further pages; all of them exist before
        // the first bookmark is copied.
        std::size_t pagesNeeded = 1;
        for (std::size_t p = 0; p < rows_.size(); ++p) {
            if (valid[p]) {
                pagesNeeded = std::max(pagesNeeded, p / capacity + 1);
            }
        }
        std::vector<std::string> targets{hooks_.appendPage(name)};
        while (targets.size() < pagesNeeded) {
            targets.push_back(hooks_.appendPage(targets.front()));
        }
        std::vector<std::size_t> moved;
        {
            // Every copy is saved before any old slot goes: a failure on the way leaves a
            // bookmark twice, never nowhere.
            TIniFile32 ini(dataFile);
            ini.SetDeferSaves(true);
            for (std::size_t p = 0; p < rows_.size(); ++p) {
                const IndexRow* row = RowAt(p);
                if (row == nullptr || !valid[p]) {
                    continue;
                }
                const std::string& target = targets[p / capacity];
                const std::string prefix = SlotNumberText(static_cast<int>(p % capacity) + 1);
                MoveButtons(ini, row->page, target, prefix, SlotNumberText(row->slot));
                const std::string notes = ini.ReadString(target, prefix + "P", "");
                ini.WriteString(target, prefix + "P", notes + " " + row->page);
                moved.push_back(p);
            }
            ini.UpdateFile();
        }
        if (action == ListAction::Move) {
            for (const std::size_t p : moved) {
                const IndexRow* row = RowAt(p);
                hooks_.eraseButton(row->page, row->slot, false);
            }
        }
        if (hooks_.showLastPage) {
            hooks_.showLastPage();
        }
    }
    if (changed > 0) {
        dialogs_.Message(
            {MsgKind::Information, {}, std::to_string(changed) + std::string(kDupeChangedRows)});
    }
}

} // namespace lv
