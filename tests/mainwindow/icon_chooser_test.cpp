// The icon chooser as the main window uses it: the editor's "Icon" button, "Icon Selected
// Bookmarks" of the page options, and the default icon of bookmarks.
#include "Harness.h"
#include "platform/image_builders.h"

#include "mainwindow/TBConfigForm.h"
#include "mainwindow/TTabForm.h"
#include "store/DataFile.h"
#include "store/TIniFile32.h"
#include "tools/TGlyphForm.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>

namespace lvtest {
namespace {

imgtest::IcoEntry Solid(int side) {
    imgtest::DibSpec spec = imgtest::Spec(side, side, 24);
    spec.iconMask = true;
    spec.colour = [](int, int) { return lv::Rgba{9, 99, 199, 255}; };
    spec.transparent = [](int, int) { return false; };
    return {imgtest::Dib(spec), side, side, 24};
}

struct ChooserHarness : MainWindowHarness {
    std::string path = dir.File("work.lvd");
    std::string program = dir.File("three.exe");
    std::deque<std::function<void(lv::TBConfigForm&)>> editorSteps;
    std::deque<std::function<void(lv::TGlyphForm&)>> chooserSteps;
    std::deque<std::function<void(lv::TTabForm&)>> optionSteps;

    explicit ChooserHarness(const std::string& page) {
        WriteBytes(path, "\r\n[Tabs]\r\nCount=1\r\nTab1=Links\r\n\r\n[Links]\r\n" + page);
        const imgtest::Bytes pe =
            imgtest::Pe({{1, Solid(16)}, {2, Solid(32)}, {3, Solid(16)}}, {{1}, {2}, {3}});
        WriteBytes(program, std::string(pe.begin(), pe.end()));
    }

    template <typename Form>
    static void Next(std::deque<std::function<void(Form&)>>& steps, Form& form,
                     void (Form::*close)()) {
        if (steps.empty()) {
            ADD_FAILURE() << "an unexpected dialog";
            (form.*close)();
            return;
        }
        auto step = std::move(steps.front());
        steps.pop_front();
        step(form);
    }

    lv::TForm1& Open() {
        lv::MainWindowPorts ports{dialogs, screen, clock, {}};
        ports.bookmarkEditor = [this](lv::TBConfigForm& f) {
            Next(editorSteps, f, &lv::TBConfigForm::CancelClick);
        };
        ports.glyphForm = [this](lv::TGlyphForm& f) {
            Next(chooserSteps, f, &lv::TGlyphForm::CloseBtnClick);
        };
        ports.tabForm = [this](lv::TTabForm& f) {
            Next(optionSteps, f, &lv::TTabForm::CloseClick);
        };
        form = std::make_unique<lv::TForm1>(ports, ProgramDir());
        form->FormCreate({path});
        return *form;
    }
    std::string Key(int slot, char letter) const {
        return lv::ReadFromIniSLVD(path, "Links", lv::SlotKey(slot, letter), "<missing>");
    }
};

TEST(IconChooser, EditorIconButtonStoresTheFileIconAndShowsIt) {
    ChooserHarness h("01N=Tool\r\n");
    lv::TIniFile32(h.path).WriteString("Links", "01U", h.program + " /fast");
    lv::TForm1& form = h.Open();
    int entries = 0;
    h.editorSteps.push_back([](lv::TBConfigForm& f) { f.IconClick(); });
    h.chooserSteps.push_back([&](lv::TGlyphForm& f) {
        entries = f.EntryCount();
        f.ImagesScroll1Selected(3);
    });
    form.SetButtonParams(1);
    EXPECT_EQ(entries, 5);
    EXPECT_EQ(h.Key(1, 'G'), "602");
    EXPECT_EQ(h.Key(1, 'I'), h.program);
    EXPECT_EQ(h.Key(1, 'N'), "Tool"); // the editor saved its text and closed
    EXPECT_EQ(h.Button(1).glyph, (lv::GlyphRef{lv::GlyphRef::Kind::IconFile, 2, h.program}));
    EXPECT_TRUE(form.BConfigForm().Closed());
    EXPECT_EQ(form.BConfigForm().EditorAction, 0);
}

TEST(IconChooser, EditorBuiltInIconClearsTheIconFile) {
    ChooserHarness h("01N=Site\r\n01U=http://site.example/\r\n01G=601\r\n01I=/gone.exe\r\n");
    lv::TForm1& form = h.Open();
    h.editorSteps.push_back([](lv::TBConfigForm& f) { f.IconClick(); });
    h.chooserSteps.push_back([](lv::TGlyphForm& f) {
        f.DefaultBtnClick();
        f.ImagesScroll1Selected(12);
    });
    form.SetButtonParams(1);
    EXPECT_EQ(h.Key(1, 'G'), "12");
    EXPECT_EQ(h.Key(1, 'I'), "<missing>");
    EXPECT_EQ(h.Button(1).glyph.kind, lv::GlyphRef::Kind::BuiltIn);
    EXPECT_EQ(h.Button(1).glyph.index, 12);
}

TEST(IconChooser, PageOptionsGiveEverySelectedBookmarkTheIconAndItsFile) {
    ChooserHarness h("01N=a\r\n01U=http://a.example/\r\n02N=b\r\n02U=http://b.example/\r\n"
                     "03N=c\r\n03U=http://c.example/\r\n03G=5\r\n");
    lv::TForm1& form = h.Open();
    const auto options = [&](std::function<void(lv::TGlyphForm&)> choose) {
        h.optionSteps.push_back([](lv::TTabForm& f) {
            f.SelectRow(0, true);
            f.SelectRow(1, true);
            f.BookmarkActionClick(lv::TTabForm::IconBookmarks);
        });
        h.chooserSteps.push_back(std::move(choose));
        form.TabSet1MouseDown(lv::TabButton::Right, 0);
    };
    // Closed without a choice: nothing is written.
    options([](lv::TGlyphForm& f) { f.CloseBtnClick(); });
    EXPECT_EQ(h.Key(1, 'G'), "<missing>");
    EXPECT_EQ(h.Key(2, 'G'), "<missing>");

    options([&](lv::TGlyphForm& f) {
        EXPECT_EQ(f.EntryCount(), 0); // a web bookmark has no icon file to show first
        h.dialogs.Queue(lv::OpenFileResult{true, h.program});
        f.FileBtnClick();
        f.ImagesScroll1Selected(2);
    });
    for (int slot : {1, 2}) {
        EXPECT_EQ(h.Key(slot, 'G'), "601");
        EXPECT_EQ(h.Key(slot, 'I'), h.program);
        EXPECT_EQ(h.Button(slot).glyph, (lv::GlyphRef{lv::GlyphRef::Kind::IconFile, 1, h.program}));
    }
    EXPECT_EQ(h.Key(3, 'G'), "5");

    options([](lv::TGlyphForm& f) { f.NoIconBtnClick(); });
    EXPECT_EQ(h.Key(1, 'G'), "<missing>");
    EXPECT_EQ(h.Key(2, 'I'), "<missing>");
}

TEST(IconChooser, DefaultIconOfBookmarksIsABuiltInIcon) {
    ChooserHarness h("01N=a\r\n01U=http://a.example/\r\n");
    lv::TForm1& form = h.Open();
    h.chooserSteps.push_back([](lv::TGlyphForm& f) {
        EXPECT_TRUE(f.ShowsBuiltIn());
        EXPECT_FALSE(f.FilesOffered());
        f.ImagesScroll1Selected(33);
    });
    form.MDefaultIconClick();
    EXPECT_EQ(lv::ReadFromIniSLVD(h.path, "Default", "IconG", ""), "33");
    EXPECT_EQ(form.State().DefaultIconG, 33);

    h.chooserSteps.push_back([](lv::TGlyphForm& f) { f.NoIconBtnClick(); });
    form.MDefaultIconClick();
    EXPECT_EQ(lv::ReadFromIniSLVD(h.path, "Default", "IconG", "<missing>"), "<missing>");
    EXPECT_EQ(form.State().DefaultIconG, 120);
}

} // namespace
} // namespace lvtest
