// The main window's way into the Internet Search window and the e-mail dialog: the search's
// result launched in the browser, the search-engine file of a first start, and the bookmark
// lines each opener hands to the e-mail dialog.
#include "launch_fakes.h"

#include "mainwindow/PagePasswords.h"
#include "mainwindow/TBConfigForm.h"
#include "mainwindow/TTabForm.h"
#include "pages/TAlphaForm.h"
#include "tools/TSearchForm.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Shown {
    lv::EmailMode mode = lv::EmailMode::None;
    std::vector<std::string> lines;
    int count = 0;
};

class SearchAndEmail : public ::testing::Test {
protected:
    lv::TForm1& Start(const std::string& pages) {
        lvtest::WriteBytes(dir.File("browser1"), "#!/bin/sh\n");
        lvtest::WriteBytes(dir.File("lvd.ini"),
                           "[Browser]\r\nCount=1\r\nSelected=1\r\n1=" + dir.File("browser1") +
                               "\r\n[File]\r\nName=" + dir.File("Disk.LVD") + "\r\n");
        lvtest::WriteBytes(dir.File("Disk.LVD"), "[Tabs]\r\nCount=1\r\nTab1=Page1\r\n" + pages);
        lv::MainWindowPorts ports{dialogs, screen, clock, {}};
        ports.launcher = &launcher;
        ports.browser = &browser;
        ports.searchForm = [this](lv::TSearchForm& f) { searchStep(f); };
        ports.tabForm = [this](lv::TTabForm& f) { tabStep(f); };
        ports.pageRange = [](lv::TAlphaForm& range) { range.AlphaBtnClick(); };
        ports.bookmarkEditor = [](lv::TBConfigForm& f) { f.EmailClick(); };
        ports.emailForm = [this](lv::EmailMode mode, const std::vector<std::string>& lines) {
            shown.mode = mode;
            shown.lines = lines;
            ++shown.count;
            memoWhileShown = form->State().Memo1;
        };
        form = std::make_unique<lv::TForm1>(ports, dir.Path().string() + "/");
        form->FormCreate({});
        return *form;
    }

    lvtest::TempDir dir;
    lvtest::ScriptedDialogs dialogs;
    lv::FixedScreen screen{1280, 1024};
    lvtest::FixedClock clock;
    lvtest::RecordingLauncher launcher;
    lvtest::FakeBrowser browser;
    std::function<void(lv::TSearchForm&)> searchStep = [](lv::TSearchForm& f) {
        f.CloseButton1Click();
    };
    std::function<void(lv::TTabForm&)> tabStep = [](lv::TTabForm& f) { f.CloseClick(); };
    std::unique_ptr<lv::TForm1> form;
    Shown shown;
    std::string memoWhileShown;
};

TEST_F(SearchAndEmail, TwoSelectedSitesLaunchTheirAddressesInListOrder) {
    lvtest::WriteBytes(dir.File("Disk.ISE"), "[Sites]\r\nCount=2\r\n1=Second\r\n2=First\r\n"
                                             "Second1=https://two.test/?q=\r\nSecond2=&x=1\r\n"
                                             "First1=https://one.test/s?p=\r\n");
    lv::TForm1& f = Start("[Page1]\r\n");
    searchStep = [](lv::TSearchForm& s) {
        s.SelectSite(0, true);
        s.SelectSite(1, true);
        s.SearchText1 = "linux bookmarks";
        s.SearchButton1Click();
    };
    f.SearchNetButtonClick();
    ASSERT_EQ(launcher.starts.size(), 2u);
    EXPECT_EQ(launcher.starts[0].program, dir.File("browser1"));
    EXPECT_EQ(launcher.starts[0].argument, "https://one.test/s?p=linux+bookmarks");
    EXPECT_EQ(launcher.starts[1].argument, "https://two.test/?q=linux+bookmarks&x=1");
    EXPECT_TRUE(dialogs.Asked().empty());

    // Closed without a search: nothing starts.
    searchStep = [](lv::TSearchForm& s) { s.CloseButton1Click(); };
    f.SearchNetButtonClick();
    EXPECT_EQ(launcher.starts.size(), 2u);
}

TEST_F(SearchAndEmail, RefusedSearchAddressStartsNothing) {
    lvtest::WriteBytes(dir.File("Disk.ISE"), "[Sites]\r\nCount=1\r\n1=Bad\r\n"
                                             "Bad1=--user-data-dir=/tmp/x \r\n");
    lv::TForm1& f = Start("[Page1]\r\n");
    searchStep = [](lv::TSearchForm& s) {
        s.SelectSite(0, true);
        s.SearchText1 = "1";
        s.SearchButton1Click();
    };
    dialogs.Queue(lv::MsgResult::Ok);
    f.SearchNetButtonClick();
    EXPECT_TRUE(launcher.starts.empty());
    EXPECT_EQ(dialogs.Asked().size(), 1u);
}

TEST(FirstStart, WritesDiskIseWithHttpsSearchSites) {
    lvtest::MainWindowHarness h;
    h.Start();
    const std::string bytes = lvtest::ReadBytes(h.dir.Path() / "Disk.ISE");
    EXPECT_NE(bytes.find("[Sites]\r\nCount="), std::string::npos) << bytes;
    EXPECT_NE(bytes.find("1=https://"), std::string::npos) << bytes;
    EXPECT_EQ(bytes.find("=http://"), std::string::npos) << bytes;
}

TEST_F(SearchAndEmail, PageOptionsEmailTheWholePageOrTheSelectedBookmarks) {
    lv::TForm1& f = Start("[Page1]\r\n01N=Alpha\r\n01U=http://a.test/\r\n02N=Empty\r\n"
                          "03N=Gamma\r\n03U=https://g.test/?q=1\r\n");
    tabStep = [](lv::TTabForm& t) { t.PageActionClick(6); };
    f.TabSet1MouseDown(lv::TabButton::Right, 0);
    ASSERT_EQ(shown.count, 1);
    EXPECT_EQ(shown.mode, lv::EmailMode::Page);
    EXPECT_EQ(shown.lines,
              (std::vector<std::string>{"<A HREF=\"http://a.test/\">Alpha</A><BR>",
                                        "<A HREF=\"https://g.test/?q=1\">Gamma</A><BR>"}));
    EXPECT_EQ(memoWhileShown, shown.lines[0] + "\r\n" + shown.lines[1] + "\r\n");
    EXPECT_TRUE(f.State().Memo1.empty());

    tabStep = [](lv::TTabForm& t) {
        t.SelectRow(2, true); // "Gamma": the third row, slot 03
        t.BookmarkActionClick(lv::TTabForm::EmailBookmarks);
    };
    f.TabSet1MouseDown(lv::TabButton::Right, 0);
    ASSERT_EQ(shown.count, 2);
    EXPECT_EQ(shown.lines,
              (std::vector<std::string>{"<A HREF=\"https://g.test/?q=1\">Gamma</A><BR>"}));

    f.MChangePageTabName1Click(lv::PageSender::EmailMenu);
    EXPECT_EQ(shown.count, 3);
    EXPECT_EQ(shown.lines.size(), 2u);
}

TEST_F(SearchAndEmail, PageEmailUnscramblesAProtectedPageAndKeepsOwnPasswordsOut) {
    const std::string pageScrambled = lv::Encrypt("http://a.test/", "pw");
    const std::string ownScrambled = lv::Encrypt("http://secret.test/", "own");
    {
        lv::TForm1& f = Start("[Page1]\r\n01N=Alpha\r\n01U=" + pageScrambled + "\r\n");
        f.State().PagePassBox = {"Page1pw"};
        f.MChangePageTabName1Click(lv::PageSender::EmailMenu);
        EXPECT_EQ(shown.lines,
                  (std::vector<std::string>{"<A HREF=\"http://a.test/\">Alpha</A><BR>"}));
    }
    lv::TForm1& f = Start("[Page1]\r\n01N=Secret\r\n01U=" + ownScrambled +
                          "\r\n02N=Open\r\n02U=http://open.test/\r\n");
    f.MChangePageTabName1Click(lv::PageSender::EmailMenu);
    EXPECT_EQ(shown.lines,
              (std::vector<std::string>{"<A HREF=\"http://open.test/\">Open</A><BR>"}));
}

TEST_F(SearchAndEmail, EmailListOfThePageRangeGoesToTheDialogInModeAll) {
    lv::TForm1& f = Start("[Page1]\r\n01N=Alpha\r\n01U=http://a.test/\r\n02N=Tool\r\n"
                          "02U=/usr/bin/tool\r\n02L=Yes\r\n03N=Gamma\r\n03U=https://g.test/\r\n");
    f.PrintClick(lv::LinkListMode::Email);
    ASSERT_EQ(shown.count, 1);
    EXPECT_EQ(shown.mode, lv::EmailMode::All);
    EXPECT_EQ(shown.lines,
              (std::vector<std::string>{"http://a.test/ > Alpha <", "https://g.test/ > Gamma <"}));
    EXPECT_TRUE(f.State().Memo1.empty());
}

TEST_F(SearchAndEmail, EditorsEmailButtonSendsTheOneBookmark) {
    lv::TForm1& f = Start("[Page1]\r\n01N=Alpha\r\n01U=http://a.test/\r\n");
    f.SetButtonParams(1);
    ASSERT_EQ(shown.count, 1);
    EXPECT_EQ(shown.mode, lv::EmailMode::One);
    EXPECT_EQ(shown.lines, (std::vector<std::string>{"<A HREF=\"http://a.test/\">Alpha</A><BR>"}));
    EXPECT_TRUE(f.State().Memo1.empty());
}

} // namespace
