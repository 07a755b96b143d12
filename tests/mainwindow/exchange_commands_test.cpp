#include "files_harness.h"

#include "exchange/Favorites.h"
#include "mainwindow/ExchangeCommands.h"
#include "platform/Printer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

namespace {

using namespace lvtest;
namespace fs = std::filesystem;

// A main window with a recording printer; the range dialog takes the rows given (none: the
// action button with nothing selected, which is the current page).
struct ListHarness : FilesHarness {
    lv::RecordingPrinter printer;
    std::optional<lv::MainWindowPorts> ports;
    std::vector<int> rows;
    std::string rangeCaption;
    std::string rangeAction;
    bool closeRange = false;

    lv::TForm1& StartLists() {
        WriteBytes(
            dir.File("Work.lvd"),
            DataFileText({"Work", "News"}, {{"Work",
                                             {"01N=Caf\xE9", "01U=http://cafe.example/", "02N=Tool",
                                              "02U=/usr/bin/tool", "02L=Yes"}},
                                            {"News", {"03N=Daily", "03U=http://daily.example/"}}}));
        ports.emplace(lv::MainWindowPorts{dialogs, screen, clock, {}});
        ports->pageRange = [this](lv::TAlphaForm& range) {
            rangeCaption = range.Caption();
            rangeAction = range.ActionCaption();
            if (closeRange) {
                range.CloseBtnClick();
                return;
            }
            for (const int row : rows) {
                range.SelectRow(row, true);
            }
            range.AlphaBtnClick();
        };
        ports->printer = &printer;
        form = std::make_unique<lv::TForm1>(*ports, ProgramDir());
        form->FormCreate({dir.File("Work.lvd")});
        return *form;
    }
};

// HOME pointed at a folder for the length of a test.
class HomeAt {
public:
    explicit HomeAt(const std::string& home) {
        if (const char* old = std::getenv("HOME")) {
            old_ = old;
        }
        setenv("HOME", home.c_str(), 1);
    }
    ~HomeAt() {
        if (old_) {
            setenv("HOME", old_->c_str(), 1);
        } else {
            unsetenv("HOME");
        }
    }

private:
    std::optional<std::string> old_;
};

TEST(PrintClick, PrintsTheCurrentPageInTheBookmarkFont) {
    ListHarness h;
    lv::TForm1& form = h.StartLists();
    form.PrintClick(lv::LinkListMode::Print);
    EXPECT_EQ(h.rangeCaption, "Print the \"Work\" Page");
    EXPECT_EQ(h.rangeAction, "Print");
    ASSERT_EQ(h.printer.jobs.size(), 1u);
    EXPECT_EQ(h.printer.jobs[0].lines,
              (std::vector<std::string>{"Work", "        Caf\xC3\xA9    http://cafe.example/"}));
    EXPECT_EQ(h.printer.jobs[0].font.name, form.State().ButtonFontName);
    EXPECT_EQ(h.printer.jobs[0].font.size, form.State().ButtonFontSize);
    EXPECT_TRUE(form.State().Memo1.empty());

    // Two pages are asked about first; No prints nothing.
    h.rows = {0, 1};
    h.dialogs.Queue(lv::MsgResult::No);
    form.PrintClick(lv::LinkListMode::Print);
    EXPECT_EQ(h.dialogs.Asked().back(),
              "Message: Are you sure you want to Print Page 1 through Page 2");
    EXPECT_EQ(h.printer.jobs.size(), 1u);

    // A printer that fails says why in the error box.
    h.rows = {};
    h.printer.failWith = "The printer is out of paper";
    form.PrintClick(lv::LinkListMode::Print);
    EXPECT_EQ(h.dialogs.Errors(), (std::vector<std::string>{"The printer is out of paper"}));

    h.closeRange = true;
    form.PrintClick(lv::LinkListMode::Print);
    EXPECT_EQ(h.dialogs.Asked().back(),
              "Message: You did not select a page, or pages, of bookmarks to Print.");
}

TEST(PrintClick, HtmlGoesToTheChosenFileOnlyOnOk) {
    ListHarness h;
    lv::TForm1& form = h.StartLists();
    h.rows = {0, 1};
    h.dialogs.Queue(lv::MsgResult::Yes);
    h.Choose(h.dir.File("list.html"));
    form.PrintClick(lv::LinkListMode::Html);
    EXPECT_EQ(h.rangeCaption, "Create HTML from the \"Work\" Page");
    EXPECT_EQ(h.dialogs.Asked().back(), "SaveFile: Save Links to HTML File");
    const std::string html = ReadBytes(h.dir.File("list.html"));
    EXPECT_NE(html.find("| <A HREF=\"#Work\">Work</A> || <A HREF=\"#News\">News</A> |"),
              std::string::npos);
    EXPECT_NE(html.find("<A HREF=\"http://daily.example/\">Daily</A><BR>\r\n"), std::string::npos);
    EXPECT_NE(html.find("Caf\xC3\xA9"), std::string::npos);
    EXPECT_EQ(html.find("/usr/bin/tool"), std::string::npos);

    h.rows = {};
    h.dialogs.Queue(lv::OpenFileResult{});
    form.PrintClick(lv::LinkListMode::Html);
    EXPECT_EQ(h.dialogs.Pending(), 0u);
    EXPECT_FALSE(fs::exists(h.dir.File("list.htm")));
}

TEST(PrintClick, EmailHandsTheLinesToTheEmailDialogInModeAll) {
    ListHarness h;
    h.StartLists();
    std::string memo;
    std::string mode;
    lv::ExchangeCommands(h.form->State(), *h.ports)
        .PrintClick(lv::LinkListMode::Email, [&](const std::string& emailMode) {
            memo = h.form->State().Memo1;
            mode = emailMode;
        });
    EXPECT_EQ(h.rangeCaption, "EMail the \"Work\" Page");
    EXPECT_EQ(memo, "http://cafe.example/ > Caf\xE9 <\r\n");
    EXPECT_EQ(mode, "All");
    EXPECT_TRUE(h.form->State().Memo1.empty());
}

TEST(FavoritesCommands, ImportMakesIeLvdCurrentAndExportWritesTheShortcuts) {
    ListHarness h;
    lv::TForm1& form = h.StartLists();
    const fs::path home = h.dir.Path() / "home";
    fs::create_directories(home / "Favorites" / "News");
    WriteBytes(home / "Favorites" / "News" / "Daily.url",
               "[InternetShortcut]\r\nURL=http://daily.example/\r\n");
    HomeAt at(home.string());

    form.MImportIEClick();
    EXPECT_EQ(form.State().DataFileName, h.dir.File("IE.lvd"));
    EXPECT_EQ(form.State().TabSet1.names, (std::vector<std::string>{"News"}));
    EXPECT_EQ(h.Button(1).caption, "Daily");
    EXPECT_EQ(h.dialogs.Asked().back(), "Message: Imported 1 links into 1 pages.");

    // Again: the existing file is kept unless the user says Yes.
    const std::string before = ReadBytes(h.dir.File("IE.lvd"));
    WriteBytes(home / "Favorites" / "More.url", "[InternetShortcut]\r\nURL=http://more/\r\n");
    h.dialogs.Queue(lv::MsgResult::No);
    form.MImportIEClick();
    EXPECT_EQ(h.dialogs.Asked().back(),
              "Message: File already exists.  Do you want to overwrite it?");
    EXPECT_EQ(ReadBytes(h.dir.File("IE.lvd")), before);
    h.dialogs.Queue(lv::MsgResult::Yes);
    form.MImportIEClick();
    EXPECT_EQ(form.State().TabSet1.names, (std::vector<std::string>{"Favorites", "News"}));

    // Export of the current page into a chosen folder.
    h.Choose((h.dir.Path() / "out").string());
    form.MExportIEClick(false);
    EXPECT_EQ(h.dialogs.Asked().back(), "SelectFolder: Export Bookmarks to Internet Explorer");
    EXPECT_EQ(ReadBytes(h.dir.Path() / "out" / "Favorites" / "More.url"),
              "\r\n[InternetShortcut]\r\nURL=http://more/\r\n");
    EXPECT_FALSE(fs::exists(h.dir.Path() / "out" / "News"));
    h.Choose((h.dir.Path() / "out").string());
    form.MExportIEClick(true);
    EXPECT_TRUE(fs::exists(h.dir.Path() / "out" / "News" / "Daily.url"));
}

TEST(FavoritesCommands, WithoutAFavoritesFolderTheUserPicksOne) {
    ListHarness h;
    lv::TForm1& form = h.StartLists();
    const fs::path home = h.dir.Path() / "home";
    fs::create_directories(home);
    HomeAt at(home.string());

    h.dialogs.Queue(lv::OpenFileResult{});
    form.MImportIEClick();
    EXPECT_EQ(h.dialogs.Asked().back(), "SelectFolder: Select the Favorites folder");
    EXPECT_EQ(form.State().DataFileName, h.dir.File("Work.lvd"));

    // A folder without shortcuts leaves the current file.
    h.Choose(home.string());
    form.MImportIEClick();
    EXPECT_EQ(h.dialogs.Asked().back(),
              "Message: No Internet shortcuts (.url files) were found in " + home.string() + ".");
    EXPECT_EQ(form.State().DataFileName, h.dir.File("Work.lvd"));
    EXPECT_FALSE(fs::exists(h.dir.File("IE.lvd")));
}

} // namespace
