#include "pages/TAlphaForm.h"

#include "store/Settings.h"
#include "store/TIniFile32.h"

#include <algorithm>

namespace lv {

TAlphaForm::TAlphaForm(std::string settingsFile, ColorPicker pickColor, HelpOpener openHelp)
    : settingsFile_(std::move(settingsFile)), pickColor_(std::move(pickColor)),
      openHelp_(std::move(openHelp)) {}

void TAlphaForm::SetTexts(std::string caption, std::string actionCaption) {
    caption_ = std::move(caption);
    actionCaption_ = std::move(actionCaption);
}

void TAlphaForm::FormActivate(const std::vector<std::string>& pages, int currentPage) {
    rows_.clear();
    for (std::size_t i = 0; i < pages.size(); ++i) {
        rows_.push_back({pages[i], std::to_string(i + 1)});
    }
    selected_.assign(rows_.size(), false);
    currentPage_ = currentPage;
    WriteFilterColor(settingsFile_, kNoColorFilter);
    firstPage_ = -1;
    lastPage_ = -1;
    colorMode_ = "All";
    colorItem_ = AllColors;
    closed_ = false;
}

void TAlphaForm::SelectRow(int row, bool selected) {
    if (row >= 0 && static_cast<std::size_t>(row) < selected_.size()) {
        selected_[static_cast<std::size_t>(row)] = selected;
    }
}

bool TAlphaForm::RowSelected(int row) const {
    return row >= 0 && static_cast<std::size_t>(row) < selected_.size() &&
           selected_[static_cast<std::size_t>(row)];
}

void TAlphaForm::PageListViewClick() {
    caption_ = "Pages Selected from List!";
}

void TAlphaForm::ColorGroupClick(int item) {
    colorMode_ = "All";
    colorItem_ = item;
    if (item == DefaultColor) {
        const std::int32_t defaultColor = ReadFromIniI(
            settingsFile_, settings::kButtonFontColor.section, settings::kButtonFontColor.key, 0);
        WriteFilterColor(settingsFile_, defaultColor);
        colorMode_ = "Default";
    } else if (item == SelectedColor) {
        const auto chosen = PickColorWithPalette(settingsFile_, pickColor_,
                                                 ReadFilterColor(settingsFile_), kColorHelpContext);
        if (chosen) {
            WriteFilterColor(settingsFile_, *chosen);
            colorMode_ = "Select";
        } else {
            colorItem_ = AllColors;
        }
    }
}

void TAlphaForm::AlphaBtnClick() {
    const auto first = std::find(selected_.begin(), selected_.end(), true);
    if (first == selected_.end()) {
        firstPage_ = currentPage_;
        lastPage_ = currentPage_;
    } else {
        const auto last = std::find(selected_.rbegin(), selected_.rend(), true);
        firstPage_ = static_cast<int>(first - selected_.begin());
        lastPage_ = static_cast<int>(selected_.rend() - last) - 1;
    }
    closed_ = true;
}

void TAlphaForm::CloseBtnClick() {
    closed_ = true;
}

void TAlphaForm::HelpBtnClick() {
    if (openHelp_) {
        openHelp_(kHelpTopic);
    }
}

ColorFilter TAlphaForm::Filter() const {
    ColorFilter filter;
    filter.mode = colorMode_;
    filter.filterColor = ReadFilterColor(settingsFile_);
    filter.defaultBookmarkColor = ReadFromIniI(settingsFile_, settings::kButtonFontColor.section,
                                               settings::kButtonFontColor.key, 0);
    return filter;
}

std::optional<std::int32_t> PickColorWithPalette(const std::string& settingsFile,
                                                 const ColorPicker& pickColor, std::int32_t initial,
                                                 int helpContext) {
    if (!pickColor) {
        return std::nullopt;
    }
    std::array<std::string, 16> palette = ReadCustomColors(TIniFile32(settingsFile));
    const std::optional<std::int32_t> chosen = pickColor(initial, palette, helpContext);
    if (chosen) {
        TIniFile32 ini(settingsFile);
        WriteCustomColors(ini, palette);
    }
    return chosen;
}

void MColor(Dialogs& dialogs, const std::string& settingsFile, const std::string& action,
            const ColorPicker& pickColor, const HelpOpener& openHelp) {
    const std::int32_t stored = ReadFilterColor(settingsFile);
    const bool filterSet = stored != kNoColorFilter;
    UserDlgRequest request;
    request.title = "Select " + action + " Bookmark Color";
    request.buttons = {"Yes", "No", "Color", "Help"};
    request.defaultButton = 1;
    request.message = {"Do you want to " + action + " by a selected bookmark color", "",
                       filterSet ? "Yes   =  Accept displayed color for " + action + "."
                                 : "Yes   =  Select filter color for " + action + ".",
                       "No    =  Turn off color filter for " + action + ".",
                       "Color  =  Change filter color for " + action + "."};
    enum { Yes = 0, No = 1, Color = 2, Help = 3 };
    int answer = dialogs.UserDlg(request);
    if (answer == Help) {
        if (openHelp) {
            openHelp(62);
        }
        request.buttons.pop_back();
        answer = dialogs.UserDlg(request);
    }
    if (answer == Color || (answer == Yes && !filterSet)) {
        if (const auto chosen = PickColorWithPalette(settingsFile, pickColor, stored, 62)) {
            WriteFilterColor(settingsFile, *chosen);
        }
    } else if (answer == No) {
        WriteFilterColor(settingsFile, kNoColorFilter);
    }
}

ColorPicker DialogsColorPicker(Dialogs& dialogs) {
    return [&dialogs](std::int32_t initial, std::array<std::string, 16>& customColors,
                      int /*helpContext*/) -> std::optional<std::int32_t> {
        ColorRequest request;
        request.color = initial;
        for (std::size_t i = 0; i < customColors.size(); ++i) {
            request.customColors[i] = CustomColorValue(customColors[i]);
        }
        const ColorResult chosen = dialogs.Color(request);
        // The dialog keeps custom colours defined before Cancel; callers decide whether to save.
        for (std::size_t i = 0; i < customColors.size(); ++i) {
            customColors[i] = CustomColorEntry(static_cast<char>('A' + i), chosen.customColors[i]);
        }
        if (!chosen.accepted) {
            return std::nullopt;
        }
        return chosen.color;
    };
}

} // namespace lv
