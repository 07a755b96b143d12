#include "mainwindow/TUserDlg.h"

#include <gtest/gtest.h>

namespace lvtest {
namespace {

// Every character 6 pixels wide, lines 13 high; wrapping breaks at the width exactly.
class FixedMetrics : public lv::TextMetrics {
public:
    int TextWidth(const std::string& text) const override {
        return 6 * static_cast<int>(text.size());
    }
    int LineHeight() const override { return 13; }
    int WrappedHeight(const std::vector<std::string>& lines, int width) const override {
        int rows = 0;
        for (const auto& line : lines) {
            rows += std::max(1, (TextWidth(line) + width - 1) / width);
        }
        return rows * 13;
    }
};

TEST(UserDlg, FourShortButtonsAreCentredUnderTheMessage) {
    lv::UserDlgRequest request;
    request.message = {std::string(80, 'x')}; // 480 pixels
    request.buttons = {"&Launch", "&Delete", "&Edit", "&Ignore"};
    const auto layout = lv::LayoutUserDlg(request, FixedMetrics(), 1280);
    EXPECT_FALSE(layout.wrap);
    EXPECT_EQ(layout.width, 8 + 480 + 18);
    EXPECT_EQ(layout.height, 13 + 40 + 60);
    ASSERT_EQ(layout.buttons.size(), 4u);
    const int shift = (506 - (8 + 4 * 75 + 3 * 5 + 8)) / 2;
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(layout.buttons[i], (lv::DlgRect{8 + shift + i * 80, 53, 75, 25})) << i;
    }
    EXPECT_EQ(layout.defaultButton, 0);
    EXPECT_EQ(layout.cancelButton, -1); // no close box with the settings as used
}

TEST(UserDlg, WideButtonsWidenTheWindowAndShareTheWidestWidth) {
    lv::UserDlgRequest request;
    request.message = {"Short"};
    request.buttons = {"&Delete Image", "No"};
    auto layout = lv::LayoutUserDlg(request, FixedMetrics(), 1280);
    // "Delete Image" is measured without its marker: 12 * 6 + 16.
    EXPECT_EQ(layout.buttons[0].width, 88);
    EXPECT_EQ(layout.buttons[1].width, 88);
    EXPECT_EQ(layout.width, 8 + 88 + 5 + 88 + 8);
    EXPECT_EQ(layout.buttons[0].left, 8);

    request.buttonsSameWidth = false;
    layout = lv::LayoutUserDlg(request, FixedMetrics(), 1280);
    EXPECT_EQ(layout.buttons[1].width, 75);
}

TEST(UserDlg, LongLineWrapsAtSixtyPercentOfTheScreen) {
    lv::UserDlgRequest request;
    request.message = {std::string(200, 'w')}; // 1200 pixels
    request.buttons = {};
    request.cancelButton = 0;
    const auto layout = lv::LayoutUserDlg(request, FixedMetrics(), 1000);
    EXPECT_TRUE(layout.wrap);
    EXPECT_EQ(layout.width, 600);
    EXPECT_EQ(layout.captions, std::vector<std::string>{"OK"});
    EXPECT_EQ(layout.cancelButton, 0);
    EXPECT_GT(layout.label.height, 13);
}

TEST(UserDlg, AcceleratorMarkersAreNotMeasured) {
    EXPECT_EQ(lv::StripAccelerator("&Delete"), "Delete");
    EXPECT_EQ(lv::StripAccelerator("Fish && &Chips"), "Fish & Chips");
}

} // namespace
} // namespace lvtest
