#include "Harness.h"

#include "mainwindow/PageGrid.h"
#include "store/FileError.h"
#include "store/TIniFile32.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lvtest {
namespace {

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    text.replace(text.find(from), from.size(), to);
    return text;
}

// The fixture written by the Windows program: CR LF, Windows-1252 names, old glyph values,
// a protected page, a bookmark beyond the second column.
struct WindowsFile : MainWindowHarness {
    std::string original = ReadBytes(Fixture("mw-windows.lvd"));
    std::string path = dir.File("Bookmarks.lvd");
    WindowsFile() { WriteBytes(path, original); }
};

// Makes a file unwritable, also for root (whom permission bits do not stop): the immutable
// attribute, taken back when the guard goes.
class ReadOnlyFile {
public:
    explicit ReadOnlyFile(const std::string& path) : path_(path) {
        chmod(path.c_str(), 0444);
        if (access(path.c_str(), W_OK) != 0) {
            ok_ = true;
            return;
        }
        ok_ = SetImmutable(true);
        immutable_ = ok_;
    }
    ~ReadOnlyFile() {
        if (immutable_) {
            SetImmutable(false);
        }
    }
    bool Ok() const { return ok_; }

private:
    bool SetImmutable(bool on) {
        int fd = open(path_.c_str(), O_RDONLY);
        if (fd < 0) {
            return false;
        }
        int flags = 0;
        bool done = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = done && ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        close(fd);
        return done;
    }

    std::string path_;
    bool ok_ = false;
    bool immutable_ = false;
};

TEST(Grid, GeometryFollowsTheColumnsAndTheClientWidth) {
    struct Case {
        int columns;
        int width;
        std::vector<int> lefts;
    };
    const Case cases[] = {
        {4, 152, {1, 154, 307, 460}}, {3, 203, {1, 205, 409}}, {2, 305, {1, 307}}};
    for (const auto& c : cases) {
        lv::MainWindowState state;
        state.ColumnCount = c.columns;
        lv::PageGrid(state).Buttons(true);
        ASSERT_EQ(state.buttons.size(), static_cast<std::size_t>(c.columns * 20));
        for (std::size_t k = 0; k < c.lefts.size(); ++k) {
            const auto& top = state.buttons[k * 20];
            EXPECT_EQ(top.left, c.lefts[k]) << c.columns << " columns, column " << k + 1;
            EXPECT_EQ(top.top, 0);
            EXPECT_EQ(top.width, c.width);
            EXPECT_EQ(top.height, 19);
            EXPECT_EQ(state.buttons[k * 20 + 19].top, 19 * 19);
        }
    }
}

TEST(Grid, WindowsDataFileShowsItsBookmarksAndComesBackByteForByte) {
    WindowsFile h;
    lv::TForm1& form = h.Start({h.path});
    const auto& state = form.State();
    EXPECT_EQ(state.TabSet1.names, (std::vector<std::string>{"Home", "Caf\xe9", "Work"}));
    EXPECT_EQ(state.caption.rfind("Linkvane  [ Bookmarks ]     Page 1 of 3", 0), 0u);

    EXPECT_EQ(h.Button(1).caption, "Na\xefve News");
    EXPECT_EQ(h.Button(1).fontColor, 255);
    EXPECT_EQ(h.Button(1).cursor, lv::ButtonCursor::Hand);
    EXPECT_EQ(h.Button(1).hint, "http://news.example.com/\rDaily\r\nheadlines");
    EXPECT_EQ(h.Button(1).glyph.kind, lv::GlyphRef::Kind::Default);
    EXPECT_EQ(h.Button(2).glyph, (lv::GlyphRef{lv::GlyphRef::Kind::BuiltIn, 7, {}}));
    EXPECT_EQ(h.Button(3).glyph, (lv::GlyphRef{lv::GlyphRef::Kind::SecondList, 7, {}}));
    // A caption without a target: blank glyph, normal cursor.
    EXPECT_EQ(h.Button(5).caption, "Caption only");
    EXPECT_EQ(h.Button(5).glyph.kind, lv::GlyphRef::Kind::Blank);
    EXPECT_EQ(h.Button(5).cursor, lv::ButtonCursor::Normal);
    EXPECT_EQ(h.Button(45).caption, "Far column");

    form.SelectTab(1);
    EXPECT_EQ(h.Button(1).caption, "Espresso \x80 2");
    h.Close();

    std::string expected = Replace(h.original, "02G=Image7", "02G=7");
    expected = Replace(expected, "03G=Icon7", "03G=507");
    EXPECT_EQ(ReadBytes(h.path), expected);
    EXPECT_TRUE(h.dialogs.Asked().empty());
}

TEST(Grid, ProtectedPageAsksForItsPasswordAndShowsThePlainTargets) {
    WindowsFile h;
    lv::TForm1& form = h.Start({h.path});

    h.dialogs.Queue(lv::PasswordResult{"wrong"});
    form.SelectTab(2);
    EXPECT_EQ(form.State().TabSet1.selected, 0);
    EXPECT_EQ(h.Button(1).caption, "Na\xefve News");
    EXPECT_FALSE(form.State().checks.pagePass);

    h.dialogs.Queue(lv::PasswordResult{"x"});
    form.SelectTab(2);
    EXPECT_EQ(form.State().TabSet1.selected, 2);
    EXPECT_EQ(h.Button(1).hint, "http://w.example/");
    EXPECT_TRUE(form.State().checks.pagePass);
    EXPECT_EQ(h.dialogs.Asked(),
              (std::vector<std::string>{"Password: masked", "Message: Invalid Password!",
                                        "Password: masked"}));
    EXPECT_EQ(form.State().caption.find("Page 3 of 3") != std::string::npos, true);
}

TEST(Grid, ColumnSwitchKeepsTheHiddenSlotsInTheFile) {
    WindowsFile h;
    lv::TForm1& form = h.Start({h.path});
    form.MColumn2Click();
    EXPECT_EQ(form.State().buttons.size(), 40u);
    EXPECT_EQ(form.State().buttons[0].width, 305);
    EXPECT_EQ(lv::ReadFromIniS(h.dir.File("LVD.INI"), "Column", "Count", ""), "2");
    EXPECT_EQ(lv::ReadFromIniSLVD(h.path, "Home", "45U", ""), "http://far.example.com/");

    form.MColumn3Click();
    ASSERT_EQ(form.State().buttons.size(), 60u);
    EXPECT_EQ(h.Button(45).caption, "Far column");
    EXPECT_EQ(h.Button(41).left, 409);
    EXPECT_EQ(h.Button(41).top, 0);
}

TEST(Grid, DisplaySwitchesWriteTheirSettingAndReload) {
    WindowsFile h;
    lv::TForm1& form = h.Start({h.path});
    const std::string settings = h.dir.File("LVD.INI");

    form.MUrlClick();
    EXPECT_EQ(lv::ReadFromIniS(settings, "Button", "Url", ""), "Off");
    EXPECT_EQ(h.Button(1).hint, "Daily\r\nheadlines");
    form.MNotesClick();
    EXPECT_EQ(lv::ReadFromIniS(settings, "Button", "Notes", ""), "Off");
    EXPECT_EQ(h.Button(1).hint, "");

    form.MIconsClick();
    EXPECT_EQ(lv::ReadFromIniS(settings, "Button", "Icons", ""), "Off");
    for (const auto& button : form.State().buttons) {
        ASSERT_EQ(button.glyph.kind, lv::GlyphRef::Kind::None) << button.name;
    }

    // The switches survive a restart.
    h.Start();
    EXPECT_FALSE(h.form->State().checks.url);
    EXPECT_EQ(h.Button(1).glyph.kind, lv::GlyphRef::Kind::None);
    h.form->MIconsClick();
    EXPECT_EQ(lv::ReadFromIniS(settings, "Button", "Icons", ""), "On");
}

TEST(Grid, FontChoiceIsStoredAndShown) {
    WindowsFile h;
    lv::TForm1& form = h.Start({h.path});
    h.dialogs.Queue(lv::FontResult{true, "DejaVu Sans", 11, 0x800000});
    form.MFontClick();
    EXPECT_EQ(h.dialogs.Asked().back(), "Font: Arial");
    EXPECT_EQ(h.Button(4).fontName, "DejaVu Sans");
    EXPECT_EQ(h.Button(4).fontSize, 11);
    EXPECT_EQ(h.Button(4).fontColor, 0x800000);
    EXPECT_EQ(h.Button(1).fontColor, 255); // its own colour stays
    lv::TIniFile32 settings(h.dir.File("LVD.INI"));
    EXPECT_EQ(settings.ReadString("Notebook", "FontName", ""), "DejaVu Sans");
    EXPECT_EQ(settings.ReadInteger("Notebook", "FontSize", 0), 11);
    EXPECT_EQ(settings.ReadInteger("Notebook", "FontColor", 0), 0x800000);

    h.dialogs.Queue(lv::FontResult{});
    form.MFontClick();
    EXPECT_EQ(h.Button(4).fontName, "DejaVu Sans");
}

TEST(Grid, WidthChangeLaysTheButtonsOutAgain) {
    WindowsFile h;
    lv::TForm1& form = h.Start({h.path});
    form.FormResize(812, 422);
    EXPECT_EQ(form.State().WindowWidth, 820);
    EXPECT_EQ(h.Button(21).width, 202);
    EXPECT_EQ(h.Button(21).left, 204);
    EXPECT_EQ(h.Button(1).caption, "Na\xefve News");
    const int requests = form.State().place.sizeRequests;
    form.MResetSizeClick();
    EXPECT_EQ(form.State().WindowWidth, 620);
    EXPECT_EQ(form.State().place.width, 620);
    EXPECT_EQ(form.State().place.height, 469);
    EXPECT_EQ(form.State().place.sizeRequests, requests + 1); // the window itself follows
    EXPECT_EQ(h.Button(21).left, 154);
}

TEST(Grid, ReadOnlyDataFileReportsTheFailedSaveAndLosesNothing) {
    WindowsFile h;
    ReadOnlyFile readOnly(h.path);
    if (!readOnly.Ok()) {
        GTEST_SKIP() << "cannot make a file read-only here";
    }
    try {
        h.Start({h.path});
        FAIL() << "the failed save was not reported";
    } catch (const lv::FileError& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot create file " + h.path);
    }
    // The window is complete and shows the page although the save failed.
    EXPECT_EQ(h.form->State().TabSet1.names.size(), 3u);
    EXPECT_EQ(h.Button(1).caption, "Na\xefve News");
    EXPECT_FALSE(h.form->State().InitialLoad);
    EXPECT_THROW(h.form->FormClose(), lv::FileError);
    EXPECT_EQ(ReadBytes(h.path), h.original);
}

TEST(Grid, GlyphValueThatIsNoNumberStopsTheFillingAtItsSlot) {
    MainWindowHarness h;
    const std::string path = h.dir.File("bad.lvd");
    WriteBytes(path, "\r\n[Page1]\r\n01N=one\r\n01U=u1\r\n02N=two\r\n02U=u2\r\n02G=x7\r\n"
                     "03N=three\r\n03U=u3\r\n");
    try {
        h.Start({path});
        FAIL() << "the bad value was not reported";
    } catch (const lv::InvalidIntegerError& error) {
        EXPECT_EQ(std::string(error.what()), "'x7' is not a valid integer value");
    }
    EXPECT_EQ(h.Button(1).caption, "one");
    EXPECT_EQ(h.Button(2).caption, "");
    EXPECT_EQ(h.Button(3).caption, "");
    EXPECT_EQ(h.form->State().TabSet1.names.size(), 10u);
}

TEST(Grid, CountCoversTheVisibleSlotsOfEveryPage) {
    MainWindowHarness h;
    const std::string path = h.dir.File("count.lvd");
    WriteBytes(path, "\r\n[Tabs]\r\nCount=2\r\n\r\n[Page1]\r\n01U=a\r\n02U=b\r\n40U=c\r\n"
                     "\r\n[Page2]\r\n01U=d\r\n02N=no target\r\n03U=e\r\n04U=f\r\n05U=g\r\n"
                     "61U=hidden with three columns\r\n");
    lv::TForm1& form = h.Start({path});
    form.MColumn3Click();
    form.MCountClick();
    EXPECT_EQ(h.dialogs.Asked().back(), "Count: Counting: 7: You have 7 Bookmarks.");
}

} // namespace
} // namespace lvtest
