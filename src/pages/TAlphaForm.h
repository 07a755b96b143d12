#pragma once

#include "pages/ColorFilter.h"
#include "platform/Dialogs.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace lv {

// The colour dialog, shown by the front end: the initial colour, the sixteen custom colours
// ("ColorA=FFFFFF" .. "ColorP=..."), which it may change, and the help context. The chosen
// colour, or nothing on Cancel.
using ColorPicker = std::function<std::optional<std::int32_t>(
    std::int32_t initial, std::array<std::string, 16>& customColors, int helpContext)>;
// Opens a numbered help topic.
using HelpOpener = std::function<void(int topic)>;

// The page range dialog: a run of pages and a colour filter for alphabetizing, printing, export,
// e-mail and the link checker. The view shows this state and forwards the user's actions.
class TAlphaForm {
public:
    enum ColorItem { AllColors = 0, DefaultColor = 1, SelectedColor = 2 };
    struct Row {
        std::string name;   // "Page Tab Name"
        std::string number; // "Pg.", from 1
    };
    static constexpr int kHelpTopic = 50;
    static constexpr int kColorHelpContext = 62;

    TAlphaForm(std::string settingsFile, ColorPicker pickColor, HelpOpener openHelp);

    // The caller's caption and action-button caption, set before showing the dialog.
    void SetTexts(std::string caption, std::string actionCaption);

    // Opening: fills the list and resets range, mode and the stored filter colour.
    void FormActivate(const std::vector<std::string>& pages, int currentPage);
    void SelectRow(int row, bool selected);
    void PageListViewClick();
    void ColorGroupClick(int item);
    void AlphaBtnClick();
    void CloseBtnClick();
    void HelpBtnClick();

    const std::string& Caption() const { return caption_; }
    const std::string& ActionCaption() const { return actionCaption_; }
    const std::vector<Row>& Rows() const { return rows_; }
    bool RowSelected(int row) const;
    int ColorGroupIndex() const { return colorItem_; }
    bool Closed() const { return closed_; }

    // The results: -1 for both ends when the dialog was closed without its action button.
    int FirstPage() const { return firstPage_; }
    int LastPage() const { return lastPage_; }
    const std::string& ColorMode() const { return colorMode_; }
    // The colour test for the chosen mode, with the stored filter colour.
    ColorFilter Filter() const;

private:
    std::string settingsFile_;
    ColorPicker pickColor_;
    HelpOpener openHelp_;
    std::string caption_;
    std::string actionCaption_;
    std::vector<Row> rows_;
    std::vector<bool> selected_;
    int currentPage_ = 0;
    int colorItem_ = AllColors;
    int firstPage_ = -1;
    int lastPage_ = -1;
    std::string colorMode_ = "All";
    bool closed_ = false;
};

// The colour dialog of the Dialogs port as a ColorPicker, over the sixteen palette entries
// (updated after Cancel too).
ColorPicker DialogsColorPicker(Dialogs& dialogs);

// Picks a colour through the shared custom palette of the SettingsFile: loads it, asks, and
// saves it back after OK.
std::optional<std::int32_t> PickColorWithPalette(const std::string& settingsFile,
                                                 const ColorPicker& pickColor, std::int32_t initial,
                                                 int helpContext);

// The colour-filter question asked before a page merge ("Merge"), stored in the SettingsFile.
void MColor(Dialogs& dialogs, const std::string& settingsFile, const std::string& action,
            const ColorPicker& pickColor, const HelpOpener& openHelp);

} // namespace lv
