#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace lv {

// The page options dialog: what to do with the whole page, with selected bookmarks of it, or
// with the look of the tabs. Any choice closes it; the main window carries the choice out.
class TTabForm {
public:
    // "Action for entire Page:" and the code each item sets.
    struct PageItem {
        std::string_view caption;
        std::string_view code;
    };
    static constexpr std::array<PageItem, 7> kPageItems{{{"Rename Page", "R"},
                                                         {"Delete Page", "D"},
                                                         {"Add Page", "A"},
                                                         {"Move Page", "M"},
                                                         {"Copy Page", "C"},
                                                         {"Erase Bookmarks", "E"},
                                                         {"Email Bookmarks", "EM"}}};
    // The actions for selected bookmarks that are offered.
    enum BookmarkAction {
        ColorBookmarks,
        IconBookmarks,
        MoveBookmarks,
        CopyBookmarks,
        EraseBookmarks,
        EmailBookmarks,
        PingBookmarks,
        LaunchLinks,
        LaunchFiles
    };
    static constexpr std::array<std::string_view, 9> kBookmarkItems{
        "Color Selected Bookmarks", "Icon Selected Bookmarks",  "Move Selected Bookmarks",
        "Copy Selected Bookmarks",  "Erase Selected Bookmarks", "Email Selected Bookmarks",
        "Ping Selected Bookmarks",  "Launch Selected Links",    "Launch Selected Files"};

    // What closed the dialog.
    enum class Choice {
        None,
        PageAction,
        Password,
        Bookmarks,
        SelectedColor,
        UnselectedColor,
        Font
    };

    struct Row {
        std::string btn;   // "Btn": the two-digit slot number
        std::string title; // "Bookmark Title": the button's caption
    };

    // Opening for a page: the caption, the colours of the tab row, the password check box and
    // one row per button of the grid that shows a caption (captions[i] belongs to slot i + 1).
    void Open(const std::string& page, const std::vector<std::string>& captions, bool protectedPage,
              int backColor, int fontColor);

    void SelectRow(int row, bool selected);
    void PageActionClick(int item);
    void PassBoxClick();
    void BookmarkActionClick(int item);
    void SelectedColorClick() { CloseWith(Choice::SelectedColor); }
    void UnselectedColorClick() { CloseWith(Choice::UnselectedColor); }
    void FontClick() { CloseWith(Choice::Font); }
    // The close box or Escape: no choice.
    void CloseClick() { closed_ = true; }

    const std::string& Caption() const { return caption_; }
    const std::string& Page() const { return page_; }
    int BackColor() const { return backColor_; }
    int FontColor() const { return fontColor_; }
    bool PassBox() const { return passBox_; }
    const std::vector<Row>& Rows() const { return rows_; }
    bool RowSelected(int row) const;
    std::string BookmarkGroupCaption() const;
    bool Closed() const { return closed_; }

    Choice GetChoice() const { return choice_; }
    // The page action code: "R" unless an item set another.
    const std::string& Code() const { return code_; }
    int BookmarkItem() const { return bookmarkItem_; }
    // Slot numbers of the selected rows, in list order.
    std::vector<int> SelectedSlots() const;

private:
    void CloseWith(Choice choice);

    std::string page_;
    std::string caption_;
    int backColor_ = 0;
    int fontColor_ = 0;
    bool passBox_ = false;
    std::vector<Row> rows_;
    std::vector<bool> selected_;
    Choice choice_ = Choice::None;
    std::string code_ = "R";
    int bookmarkItem_ = -1;
    bool closed_ = true;
};

} // namespace lv
