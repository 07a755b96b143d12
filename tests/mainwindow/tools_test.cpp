// The main window's tool commands: the search window wired to launching, erasing and pages;
// "User Setup" and the clipboard commands over the UserFile.
#include "launch_fakes.h"

#include "mainwindow/TNameForm.h"
#include "pages/TAlphaForm.h"
#include "platform/Clipboard.h"
#include "platform/PollEventLoop.h"
#include "store/DataFile.h"
#include "support/Nginx.h"
#include "tools/THttpAsyForm.h"
#include "tools/UserFile.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using lv::MsgResult;

struct ToolsHarness : lvtest::LaunchHarness {
    lv::MemoryClipboard clipboard;
    std::function<void(lv::TUserSetup&)> userSetup;
    std::function<void(lv::TBConfigForm&)> bookmarkEditor;
    std::string typedPageName;

    lv::TForm1& Begin(const std::string& pages) {
        lvtest::WriteBytes(dir.File("lvd.ini"),
                           "[Show]\r\nPages=Multiple\r\n[Browser]\r\nCount=1\r\n"
                           "Selected=1\r\n1=" +
                               Browser(1) + "\r\n");
        lvtest::WriteBytes(Browser(1), "#!/bin/sh\n");
        lvtest::WriteBytes(dir.File("Disk.LVD"), "[Tabs]\r\n" + tabs + pages);
        lv::MainWindowPorts ports{dialogs, screen, clock, {}};
        ports.launcher = &launcher;
        ports.shell = &shell;
        ports.clipboard = &clipboard;
        ports.userSetup = [this](lv::TUserSetup& setup) { userSetup(setup); };
        ports.bookmarkEditor = [this](lv::TBConfigForm& editor) { bookmarkEditor(editor); };
        ports.nameForm = [this](lv::TNameForm& form) {
            form.Edit1 = typedPageName;
            form.SaveNameClick();
        };
        if (morePorts) {
            morePorts(ports);
        }
        form = std::make_unique<lv::TForm1>(ports, ProgramDir());
        form->FormCreate({});
        return *form;
    }
    std::string UserFile() const { return dir.File("LVD.USE"); }
};

TEST(SearchWindow, LaunchesErasesAndMovesThroughTheMainWindow) {
    ToolsHarness h;
    auto& form = h.Begin("[Page1]\r\n01N=Alpha\r\n01U=http://a.example/\r\n"
                         "02N=Beta\r\n02U=http://b.example/\r\n[Page2]\r\n"
                         "05N=Alpha two\r\n05U=http://a.example/\r\n");
    form.MSearchAClick();
    lv::TDupe& dupe = form.Dupe();
    EXPECT_EQ(dupe.SearchGroup, lv::kDupeTitle);

    dupe.Edit1 = "alpha";
    dupe.SearchButtonClick();
    ASSERT_EQ(dupe.RowCount(), 2U);
    h.dialogs.Queue(0);
    dupe.ListView2Click(1);
    ASSERT_EQ(h.launcher.starts.size(), 1U);
    EXPECT_EQ(h.launcher.starts[0].argument, "http://a.example/");
    EXPECT_EQ(form.State().CurrentButtonName, "B05");

    // The page named in the dialog is added as the last tab and shown.
    h.typedPageName = "Found";
    h.dialogs.Queue(0);
    dupe.MoveBtnClick();
    const auto& names = form.State().TabSet1.names;
    ASSERT_EQ(names.back(), "Found");
    EXPECT_EQ(form.State().TabSet1.Current(), "Found");
    EXPECT_EQ(form.State().buttons[0].caption, "Alpha");
    EXPECT_EQ(form.State().buttons[1].caption, "Alpha two");
    EXPECT_EQ(h.Read("Found", "02P"), "Page2"); // " Page2", read back trimmed
    EXPECT_EQ(h.Read("Page2", "05U"), "<none>");

    // A name that differs from a page only in case would share its section.
    dupe.Edit1 = "beta";
    dupe.SearchButtonClick();
    h.typedPageName = "page1";
    h.dialogs.Queue(1);
    dupe.MoveBtnClick();
    EXPECT_EQ(names.back(), "page1+");
    EXPECT_EQ(h.Read("Page1", "02N"), "Beta");
    EXPECT_EQ(h.Read("page1+", "01N"), "Beta");
}

// "Edit" opens the editor on the row's own page and slot, not on the page the main window shows,
// without the buttons that act on slots and pages.
TEST(SearchWindow, EditWritesToTheRowsOwnSlot) {
    ToolsHarness h;
    auto& form = h.Begin("[Page1]\r\n01N=Shown\r\n01U=http://s.example/\r\n[Page2]\r\n"
                         "07N=Other\r\n07U=http://o.example/\r\n07P=one|~two\r\n07S=extra\r\n");
    lv::TDupe& dupe = form.Dupe();
    dupe.FormActivate();
    dupe.Edit1 = "other";
    dupe.SearchButtonClick();
    ASSERT_EQ(dupe.RowCount(), 1U);
    bool slotActionsShown = true;
    h.bookmarkEditor = [&](lv::TBConfigForm& editor) {
        slotActionsShown = editor.slotActionsVisible || editor.passBoxVisible;
        EXPECT_EQ(editor.Desc1, "Other");
        EXPECT_EQ(editor.EI1, "one\r\ntwo");
        EXPECT_EQ(editor.EI2, "extra");
        editor.Desc1 = "Renamed";
        editor.SaveTextClick();
    };
    h.dialogs.Queue(2);
    dupe.ListView2Click(0);
    EXPECT_FALSE(slotActionsShown);
    EXPECT_TRUE(form.BConfigForm().slotActionsVisible);
    EXPECT_EQ(h.Read("Page2", "07N"), "Renamed");
    EXPECT_EQ(h.Read("Page2", "07U"), "http://o.example/");
    EXPECT_EQ(h.Read("Page1", "01N"), "Shown");
    EXPECT_EQ(dupe.RowCount(), 0U);
    EXPECT_FALSE(dupe.IndexBuilt());
}

// "Check Links" from the main window: the checker runs over the pages chosen; a launch from its
// list is the window's launch (and a recent entry), a bookmark erased there leaves the grid and
// the recent list, and the window shows the page again when the checker closes.
TEST(LinkCheckerWindow, LaunchesAndErasesThroughTheMainWindow) {
    lv::PollEventLoop loop;
    ToolsHarness h;
    // Nothing listens there: each of the two is a bad link at once.
    const std::string dead = "http://127.0.0.1:" + std::to_string(lvtest::FreeLocalPort());
    bool shown = false;
    h.morePorts = [&](lv::MainWindowPorts& ports) {
        ports.loop = &loop;
        ports.pageRange = [](lv::TAlphaForm& range) {
            range.SelectRow(0, true);
            range.AlphaBtnClick();
        };
        ports.linkChecker = [&](lv::THttpAsyForm& checker) {
            shown = true;
            checker.SearchButtonClick();
            ASSERT_TRUE(
                loop.RunUntil([&] { return !checker.Checking(); }, std::chrono::seconds(30)));
            ASSERT_EQ(checker.View1().size(), 3u); // two bad links and the status row
            EXPECT_EQ(checker.View1()[0].title, "Dead one");
            h.dialogs.Queue(0); // Launch
            checker.View1MouseDown(0);
            EXPECT_EQ(h.form->State().MruList1.Entries().size(), 1u);
            h.dialogs.Queue(1); // Delete
            checker.View1MouseDown(0);
            EXPECT_EQ(checker.View1().size(), 2u);
        };
    };
    auto& form =
        h.Begin("[Page1]\r\n01N=Dead one\r\n01U=" + dead + "/one\r\n02N=Dead two\r\n02U=" + dead +
                "/two\r\n[Page2]\r\n01N=Elsewhere\r\n01U=" + dead + "/three\r\n");
    form.CheckBtnClick();
    ASSERT_TRUE(shown);
    ASSERT_EQ(h.launcher.starts.size(), 1U);
    EXPECT_EQ(h.launcher.starts[0].argument, dead + "/one");
    EXPECT_EQ(h.Read("Page1", "01U"), "<none>");
    EXPECT_EQ(h.Read("Page1", "02U"), dead + "/two");
    EXPECT_EQ(h.Read("Page2", "01U"), dead + "/three");
    EXPECT_TRUE(form.State().buttons[0].caption.empty());
    EXPECT_EQ(form.State().buttons[1].caption, "Dead two");
    EXPECT_TRUE(form.State().MruList1.Entries().empty());
}

TEST(UserSetup, ShowsAndSavesTheSixteenFieldsInOrder) {
    ToolsHarness h;
    auto& form = h.Begin("");
    lvtest::WriteBytes(h.UserFile(), "[User]\r\nFirst=Ann\r\nEmail=ann@example.com\r\n");
    std::vector<std::string> shown;
    h.userSetup = [&](lv::TUserSetup& setup) {
        shown = setup.values;
        setup.Value("Email").clear();
        setup.Value("City") = "Z\xFCrich";
        setup.SaveClick();
    };
    form.MChangeUserINfoClick();
    ASSERT_GE(shown.size(), 16U);
    EXPECT_EQ(shown[0], "Ann");
    EXPECT_EQ(shown[11], "ann@example.com");
    EXPECT_EQ(shown[12], "http://"); // no URL stored
    // Fields added after "MailS" follow it.
    EXPECT_THAT(
        lvtest::ReadBytes(h.UserFile()),
        ::testing::StartsWith(
            "[User]\r\nFirst=Ann\r\nEmail=\r\nLast=\r\nCompany=\r\nAddress1=\r\nAddress2=\r\n"
            "City=Z\xFCrich\r\nState=\r\nZip=\r\nCountry=\r\nPhone=\r\nFax=\r\nURL=http://\r\n"
            "Other=\r\nMisc=\r\nMailS=\r\n"));

    // The close box writes nothing.
    lvtest::WriteBytes(h.UserFile(), "[User]\r\nFirst=Bo\r\n");
    h.userSetup = [](lv::TUserSetup& setup) {
        setup.Value("First") = "Changed";
        setup.CloseBox();
    };
    form.MChangeUserINfoClick();
    EXPECT_EQ(lvtest::ReadBytes(h.UserFile()), "[User]\r\nFirst=Bo\r\n");
}

TEST(ClipboardCommands, CopyTheDetailOrLeaveTheClipboardEmpty) {
    ToolsHarness h;
    auto& form = h.Begin("[Page1]\r\n03N=Notes\r\n03U=http://n.example/\r\n"
                         "03P=line one|~line two\r\n03S=pass|word~\r\n");
    lvtest::WriteBytes(h.UserFile(), "[User]\r\nFirst=Ann\r\nLast=Lee\r\nCity=K\xF6ln\r\n");
    struct Case {
        void (lv::TForm1::*command)();
        std::string text;
    };
    const std::vector<Case> cases = {
        {&lv::TForm1::FullClick, "Ann Lee"},     {&lv::TForm1::FirstClick, "Ann"},
        {&lv::TForm1::CityClick, "K\xC3\xB6ln"}, {&lv::TForm1::URLClick, ""}, // no "http://" here
        {&lv::TForm1::UserID1Click, ""}, // no bookmark pressed yet
    };
    for (const Case& c : cases) {
        h.clipboard.SetText("old");
        (form.*c.command)();
        EXPECT_EQ(h.clipboard.Text(), c.text);
    }
    form.State().CurrentButtonName = "B03";
    form.UserID1Click();
    EXPECT_EQ(h.clipboard.Text(), "line one\r\nline two");
    form.WebPassClick();
    EXPECT_EQ(h.clipboard.Text(), "pass|word~");
    EXPECT_TRUE(form.State().Memo1.empty());

    // A chosen text file goes whole; a Windows-1252 one is converted, cancelling keeps all.
    lvtest::WriteBytes(h.dir.File("a.txt"), "caf\xE9\r\nline\r\n");
    h.dialogs.Queue(lv::OpenFileResult{true, h.dir.File("a.txt")});
    form.TextClick();
    EXPECT_EQ(h.clipboard.Text(), "caf\xC3\xA9\r\nline\r\n");
    h.dialogs.Queue(lv::OpenFileResult{false, {}});
    form.TextClick();
    EXPECT_EQ(h.clipboard.Text(), "caf\xC3\xA9\r\nline\r\n");
    EXPECT_EQ(h.dialogs.Asked().back(), "OpenFile: Select Text File");
}

} // namespace
