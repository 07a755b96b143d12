#include "mainwindow/TUserDlg.h"

#include <algorithm>

namespace lv {

std::string StripAccelerator(const std::string& caption) {
    std::string out;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&') {
            if (i + 1 < caption.size() && caption[i + 1] == '&') {
                out += '&';
                ++i;
            }
            continue;
        }
        out += caption[i];
    }
    return out;
}

UserDlgLayout LayoutUserDlg(const UserDlgRequest& request, const TextMetrics& metrics,
                            int screenWidth) {
    UserDlgLayout layout;
    const bool icon = request.icon != UserDlgIcon::None;
    layout.hasIcon = icon;
    if (icon) {
        layout.icon = {10, 10, kUserDlgIconSide, kUserDlgIconSide};
        layout.label.left = 10 + kUserDlgIconSide + 10;
        layout.label.top = 10;
    } else {
        layout.label.left = 8;
        layout.label.top = 8;
    }

    int widest = 0;
    for (const auto& line : request.message) {
        widest = std::max(widest, metrics.TextWidth(line));
    }
    const int limit = screenWidth * 60 / 100;
    layout.width = layout.label.left + widest + 18;
    int textHeight = static_cast<int>(request.message.size()) * metrics.LineHeight();
    layout.label.width = widest;
    if (layout.width >= limit) {
        layout.wrap = true;
        layout.width = limit;
        layout.label.width = std::max(1, limit - layout.label.left - 18);
        textHeight = metrics.WrappedHeight(request.message, layout.label.width);
    }
    layout.label.height = textHeight;
    const int iconHeight = icon ? layout.icon.top + kUserDlgIconSide : 0;
    layout.height = std::max(textHeight, iconHeight) + 40;

    layout.captions = request.buttons;
    if (layout.captions.empty()) {
        layout.captions = {"OK"};
    }
    const int minWidth = std::max(20, request.buttonsMinWidth);
    std::vector<int> widths;
    int widestButton = minWidth;
    for (const auto& caption : layout.captions) {
        widths.push_back(metrics.TextWidth(StripAccelerator(caption)) + 16);
        widestButton = std::max(widestButton, widths.back());
    }
    int x = 8;
    for (int natural : widths) {
        int width = request.buttonsSameWidth ? widestButton : std::max(natural, minWidth);
        layout.buttons.push_back({x, layout.height, width, 25});
        x += width + 5;
    }
    const int rowRight = layout.buttons.back().left + layout.buttons.back().width;

    layout.height += 60;
    if (rowRight + 8 > layout.width) {
        layout.width = rowRight + 8;
    } else {
        const int shift = (layout.width - (rowRight + 8)) / 2;
        for (auto& button : layout.buttons) {
            button.left += shift;
        }
    }

    const int count = static_cast<int>(layout.buttons.size());
    auto valid = [count](int index) { return index >= 0 && index < count; };
    layout.defaultButton = valid(request.defaultButton) ? request.defaultButton : -1;
    layout.cancelButton = valid(request.cancelButton) ? request.cancelButton : -1;
    return layout;
}

int TUserDlg::Execute() {
    result_ = dialogs_.UserDlg(request_);
    return result_;
}

} // namespace lv
