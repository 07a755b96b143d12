#include "pages/TAlphaForm.h"
#include "store/TIniFile32.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

using namespace lv;

struct Picker {
    std::optional<std::int32_t> answer;
    int calls = 0;
    ColorPicker Fn() {
        return [this](std::int32_t, std::array<std::string, 16>& palette, int) {
            ++calls;
            palette[0] = "ColorA=0000FF";
            return answer;
        };
    }
};

class AlphaForm : public ::testing::Test {
protected:
    lvtest::TempDir dir;
    std::string settings = dir.File("lvd.ini");
    Picker picker;
    std::vector<int> help;
    TAlphaForm form{settings, picker.Fn(), [this](int topic) { help.push_back(topic); }};

    void SetUp() override {
        WriteToIniI(settings, "Notebook", "FontColor", 8421504);
        WriteToIniI(settings, "Merge", "Color", 255);
        form.SetTexts("Alphabetize the \"B\" Page", "Alphabetize");
        form.FormActivate({"A", "B", "C", "D", "E", "F"}, 1);
    }
    std::int32_t Stored() { return ReadFromIniI(settings, "Merge", "Color", -1); }
};

TEST_F(AlphaForm, OpeningResetsTheFilterAndRange) {
    EXPECT_EQ(Stored(), 111);
    EXPECT_EQ(form.FirstPage(), -1);
    EXPECT_EQ(form.Rows()[5].number, "6");
    form.CloseBtnClick();
    EXPECT_EQ(form.FirstPage(), -1);
    EXPECT_EQ(form.LastPage(), -1);
}

TEST_F(AlphaForm, RangeRunsFromFirstToLastSelectedRowOrIsTheCurrentPage) {
    form.AlphaBtnClick();
    EXPECT_EQ(std::pair(form.FirstPage(), form.LastPage()), std::pair(1, 1));

    form.SelectRow(4, true);
    form.SelectRow(1, true);
    form.PageListViewClick();
    form.AlphaBtnClick();
    EXPECT_EQ(std::pair(form.FirstPage(), form.LastPage()), std::pair(1, 4));
    EXPECT_EQ(form.Caption(), "Pages Selected from List!");
}

TEST_F(AlphaForm, ColourGroup) {
    form.ColorGroupClick(TAlphaForm::SelectedColor); // cancelled
    EXPECT_EQ(form.ColorGroupIndex(), TAlphaForm::AllColors);
    EXPECT_EQ(form.ColorMode(), "All");
    EXPECT_EQ(ReadFromIniS(settings, "Colors", "ColorA", "FFFFFF"), "FFFFFF");

    picker.answer = 255;
    form.ColorGroupClick(TAlphaForm::SelectedColor);
    EXPECT_EQ(form.ColorMode(), "Select");
    EXPECT_EQ(Stored(), 255);
    EXPECT_EQ(ReadFromIniS(settings, "Colors", "ColorA", ""), "0000FF");

    form.ColorGroupClick(TAlphaForm::DefaultColor);
    form.ColorGroupClick(TAlphaForm::AllColors);
    EXPECT_EQ(Stored(), 8421504);
    EXPECT_EQ(form.ColorMode(), "All");
    EXPECT_TRUE(form.Filter().Passes("255"));
}

TEST(ColorFilter, TheColourTest) {
    struct Case {
        ColorFilter filter;
        const char* stored;
        bool passes;
    };
    const Case cases[] = {
        {{"All", 255, 0}, "16711680", true}, {{"Select", 255, 0}, "255", true},
        {{"Select", 255, 0}, "", false},     {{"Select", 111, 0}, "", true},
        {{"Default", 0, 0}, "", true},       {{"Default", 0, 0}, "junk", true},
        {{"Default", 0, 0}, "255", false},   {{"Select", 255, 0}, "$FF", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.filter.Passes(c.stored), c.passes) << c.filter.mode << " " << c.stored;
    }
}

TEST(MColor, AnswersSetOrClearTheFilter) {
    lvtest::TempDir dir;
    const std::string settings = dir.File("lvd.ini");
    Picker picker;
    std::vector<int> help;
    const HelpOpener openHelp = [&](int topic) { help.push_back(topic); };
    lvtest::ScriptedDialogs dialogs;

    picker.answer = 255; // Yes with no filter set opens the colour dialog
    dialogs.Queue(0);
    MColor(dialogs, settings, "Merge", picker.Fn(), openHelp);
    EXPECT_EQ(picker.calls, 1);
    EXPECT_EQ(ReadFromIniI(settings, "Merge", "Color", 0), 255);
    EXPECT_EQ(dialogs.UserDlgs()[0].message[2], "Yes   =  Select filter color for Merge.");

    dialogs.Queue(0); // Yes with a filter keeps it
    MColor(dialogs, settings, "Merge", picker.Fn(), openHelp);
    EXPECT_EQ(picker.calls, 1);
    EXPECT_EQ(dialogs.UserDlgs()[1].message[2], "Yes   =  Accept displayed color for Merge.");

    dialogs.Queue(3); // Help, then No
    dialogs.Queue(1);
    MColor(dialogs, settings, "Merge", picker.Fn(), openHelp);
    EXPECT_EQ(help, std::vector<int>{62});
    EXPECT_EQ(dialogs.UserDlgs()[3].buttons, (std::vector<std::string>{"Yes", "No", "Color"}));
    EXPECT_EQ(ReadFromIniI(settings, "Merge", "Color", 0), 111);
    EXPECT_EQ(dialogs.UserDlgs()[0].title, "Select Merge Bookmark Color");
    EXPECT_EQ(dialogs.UserDlgs()[0].defaultButton, 1);
}

} // namespace
