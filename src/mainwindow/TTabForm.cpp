#include "mainwindow/TTabForm.h"

#include "store/DataFile.h"

#include <algorithm>

namespace lv {

void TTabForm::Open(const std::string& page, const std::vector<std::string>& captions,
                    bool protectedPage, int backColor, int fontColor) {
    page_ = page;
    caption_ = "Page Options for the " + page + " page.";
    backColor_ = backColor;
    fontColor_ = fontColor;
    passBox_ = protectedPage;
    rows_.clear();
    for (std::size_t i = 0; i < captions.size(); ++i) {
        if (!captions[i].empty()) {
            rows_.push_back({SlotPrefix(static_cast<int>(i) + 1), captions[i]});
        }
    }
    selected_.assign(rows_.size(), false);
    choice_ = Choice::None;
    code_ = "R";
    bookmarkItem_ = -1;
    closed_ = false;
}

void TTabForm::SelectRow(int row, bool selected) {
    if (row >= 0 && row < static_cast<int>(selected_.size())) {
        selected_[static_cast<std::size_t>(row)] = selected;
    }
}

bool TTabForm::RowSelected(int row) const {
    return row >= 0 && row < static_cast<int>(selected_.size()) &&
           selected_[static_cast<std::size_t>(row)];
}

std::string TTabForm::BookmarkGroupCaption() const {
    const auto count = std::count(selected_.begin(), selected_.end(), true);
    return "Action for " + std::to_string(count) + " Bookmarks:";
}

void TTabForm::PageActionClick(int item) {
    if (item < 0 || item >= static_cast<int>(kPageItems.size())) {
        return;
    }
    code_ = std::string(kPageItems[static_cast<std::size_t>(item)].code);
    CloseWith(Choice::PageAction);
}

void TTabForm::PassBoxClick() {
    passBox_ = !passBox_;
    code_ = "P";
    CloseWith(Choice::Password);
}

void TTabForm::BookmarkActionClick(int item) {
    if (item < 0 || item >= static_cast<int>(kBookmarkItems.size())) {
        return;
    }
    bookmarkItem_ = item;
    CloseWith(Choice::Bookmarks);
}

std::vector<int> TTabForm::SelectedSlots() const {
    std::vector<int> slots;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (selected_[i]) {
            slots.push_back(SlotFromPrefix(rows_[i].btn));
        }
    }
    return slots;
}

void TTabForm::CloseWith(Choice choice) {
    choice_ = choice;
    closed_ = true;
}

} // namespace lv
