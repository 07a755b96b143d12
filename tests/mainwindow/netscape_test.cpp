#include "files_harness.h"

#include "exchange/NetscapeReader.h"
#include "mainwindow/NetscapeCommands.h"
#include "mainwindow/PagePasswords.h"
#include "store/DataFile.h"
#include "store/FileError.h"
#include "store/TIniFile32.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using lvtest::DataFileText;
using lvtest::FilesHarness;
using lvtest::ReadBytes;
using lvtest::WriteBytes;

const char* const kBookmarkFile =
    "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<META HTTP-EQUIV=\"Content-Type\" "
    "CONTENT=\"text/html; charset=UTF-8\">\n<H1>Menu</H1>\n<DL><p>\n"
    "<DT><A HREF=\"http://top/\">Top</A>\n"
    "<DT><H3 ADD_DATE=\"1\">Caf\xC3\xA9</H3>\n<DL><p>\n"
    "<DT><A HREF=\"http://a/?x=1&amp;y=2\" "
    "ADD_DATE=\"1\">&lt;script&gt;alert(1)&lt;/script&gt;</A>\n"
    "<DT><A HREF=\"http://b/\">&quot;quotes&quot; &amp; ampersands \xE4\xB8\xAD</A>\n"
    "</DL><p>\n</DL><p>\n";

// Page -> "title>address" of each filled slot, as stored.
std::map<std::string, std::vector<std::string>> Contents(const std::string& dataFile) {
    const lv::TIniFile32 ini(dataFile);
    std::map<std::string, std::vector<std::string>> pages;
    for (const std::string& page : lv::ReadTabs(ini)) {
        auto& links = pages[page];
        for (int slot = 1; slot <= lv::datafile::kSlotCount; ++slot) {
            const lv::Bookmark b = lv::ReadBookmark(ini, page, slot);
            if (!b.Empty()) {
                links.push_back(b.title + ">" + b.target);
            }
        }
    }
    return pages;
}

TEST(NetscapeCommands, ImportMakesNetscapeLvdCurrentAndAsksBeforeReplacingIt) {
    FilesHarness h;
    lv::TForm1& form = h.StartFiles();
    const std::string bookmarks = h.dir.File("bookmarks.html");
    WriteBytes(bookmarks, kBookmarkFile);
    const std::string target = h.dir.File("Netscape.lvd");
    WriteBytes(target, DataFileText({"Old"}, {{"Old", {"01N=x", "01U=http://old/"}}}));

    h.Choose(bookmarks);
    h.dialogs.Queue(lv::MsgResult::No);
    form.MImportNSClick();
    EXPECT_EQ(h.dialogs.Messages().back().text, lv::kNetscapeOverwrite);
    EXPECT_EQ(h.dialogs.Messages().back().helpContext, 67);
    EXPECT_NE(ReadBytes(target).find("http://old/"), std::string::npos);
    EXPECT_NE(form.State().DataFileName, target);

    h.Choose(bookmarks);
    h.dialogs.Queue(lv::MsgResult::Yes);
    form.MImportNSClick();
    EXPECT_EQ(form.State().DataFileName, target);
    EXPECT_EQ(form.State().TabSet1.names, (std::vector<std::string>{"Menu", "Caf\xE9"}));
    EXPECT_EQ(h.Button(1).caption, "Top");
    EXPECT_EQ(h.dialogs.Messages().back().text, "Imported 3 links onto 2 pages.");
    EXPECT_EQ(lv::ReadFromIniS(form.State().SettingsFile(), "File", "Name", ""), target);
    EXPECT_EQ(h.dialogs.Pending(), 0u);

    // The replaced file comes back with Undo.
    ASSERT_TRUE(form.UndoEnabled());
    form.MUndoClick();
    EXPECT_NE(ReadBytes(target).find("http://old/"), std::string::npos);
}

TEST(NetscapeCommands, ALargeFileShowsProgressToItsEnd) {
    lvtest::MainWindowHarness h;
    std::vector<std::pair<long long, long long>> steps;
    lv::MainWindowPorts ports{h.dialogs, h.screen, h.clock, {}};
    ports.progress = [&steps](const std::string& what, long long done, long long total) {
        EXPECT_EQ(what.empty(), total == 0);
        steps.emplace_back(done, total);
    };
    h.form = std::make_unique<lv::TForm1>(ports, h.ProgramDir());
    h.form->FormCreate({});
    std::string html = "<DL>";
    for (int i = 0; i < 20000; ++i) {
        html += "<DT><A HREF=\"http://example.com/" + std::to_string(i) + "\">Link</A>\n";
    }
    WriteBytes(h.dir.File("big.html"), html + "</DL>");
    h.dialogs.Queue(lv::OpenFileResult{true, h.dir.File("big.html")});
    h.form->MImportNSClick();
    ASSERT_GE(steps.size(), 3u);
    const long long size = static_cast<long long>(html.size() + 5);
    EXPECT_EQ(steps[steps.size() - 2], (std::pair<long long, long long>{size, size}));
    EXPECT_EQ(steps.back(), (std::pair<long long, long long>{0, 0}));
    EXPECT_EQ(h.form->State().TabSet1.names.size(), 250u);
}

TEST(NetscapeCommands, AnUnreadableBookmarkFileChangesNothing) {
    FilesHarness h;
    WriteBytes(
        h.dir.File("Disk.LVD"),
        DataFileText({"Safe"}, {{"Safe", {"01N=s", "01U=" + lv::Encrypt("http://s/", "pw")}}}));
    {
        lv::TIniFile32 ini(h.dir.File("Disk.LVD"));
        ini.WriteString("Tabs", lv::datafile::kPagePasswordKey, lv::PagePassValue({"Safepw"}));
    }
    lv::TForm1& form = h.StartFiles();
    const std::string before = form.State().DataFileName;
    h.Choose(h.dir.File("missing.html"));
    EXPECT_THROW(form.MImportNSClick(), lv::FileError);
    EXPECT_EQ(form.State().DataFileName, before);
    EXPECT_FALSE(std::filesystem::exists(h.dir.File("Netscape.lvd")));
    // The open file keeps its page password.
    EXPECT_EQ(form.State().PagePassBox, std::vector<std::string>{"Safepw"});
}

TEST(NetscapeCommands, ReplacingTheOpenNetscapeLvdDropsItsPagePasswords) {
    FilesHarness h;
    const std::string target = h.dir.File("Netscape.lvd");
    WriteBytes(target, DataFileText({"Safe"}, {}));
    {
        lv::TIniFile32 ini(target);
        ini.WriteString("Tabs", lv::datafile::kPagePasswordKey, lv::PagePassValue({"Safepw"}));
    }
    lv::TForm1& form = h.StartFiles({target});
    ASSERT_EQ(form.State().PagePassBox, std::vector<std::string>{"Safepw"});
    const std::string bookmarks = h.dir.File("b.html");
    WriteBytes(bookmarks, "<DL><DT><H3>Safe</H3><DL><DT><A HREF=\"http://plain/\">p</A></DL></DL>");
    h.Choose(bookmarks);
    h.dialogs.Queue(lv::MsgResult::Yes);
    form.MImportNSClick();
    // The imported page "Safe" is no protected page: its address launches as it is.
    EXPECT_TRUE(form.State().PagePassBox.empty());
    EXPECT_EQ(h.Button(1).hint, "http://plain/");
    h.Close();
    const lv::TIniFile32 ini(target);
    EXPECT_EQ(ini.ReadString("Tabs", lv::datafile::kPagePasswordKey, ""), "");
}

TEST(NetscapeCommands, ExportThenImportGivesTheSamePagesTitlesAndAddresses) {
    FilesHarness h;
    lv::TForm1& form = h.StartFiles();
    const std::string source = h.dir.File("bookmarks.html");
    WriteBytes(source, kBookmarkFile);
    h.Choose(source);
    form.MImportNSClick();
    const auto before = Contents(form.State().DataFileName);

    const std::string out = h.dir.File("out.html");
    h.Choose(out);
    form.MExportNSClick(false);
    EXPECT_EQ(h.dialogs.Messages().back().text,
              "Exported 3 links in 2 folders to the new file " + out + ".");
    // The exported file is what a browser reads: escaped, UTF-8, dated by the clock.
    const std::string exported = ReadBytes(out);
    EXPECT_NE(exported.find(">&lt;script&gt;alert(1)&lt;/script&gt;</A>"), std::string::npos);
    EXPECT_NE(exported.find("ADD_DATE=\"12/10/2026\""), std::string::npos);

    h.Choose(out);
    h.dialogs.Queue(lv::MsgResult::Yes);
    form.MImportNSClick();
    EXPECT_EQ(Contents(form.State().DataFileName), before);
}

TEST(NetscapeCommands, TwoWholeFileExportsAppendTwiceAndThePageExportOnePage) {
    FilesHarness h;
    WriteBytes(h.dir.File("Disk.LVD"),
               DataFileText({"One", "Two", "Three"},
                            {{"One",
                              {"01N=a", "01U=http://a/", "05N=gap", "06N=b", "06U=http://b/",
                               "61N=hidden", "61U=http://hidden/"}},
                             {"Two", {"01N=c", "01U=http://c/"}}}));
    lv::TForm1& form = h.StartFiles();
    ASSERT_EQ(form.State().TabSet1.names.size(), 3u);
    // Three columns: slot 61 lies beyond the grid and stays home.
    form.MColumn3Click();
    const std::string out = h.dir.File("b.html");
    WriteBytes(out, "<DL><p>\n</DL><p>\n");
    for (int i = 0; i < 2; ++i) {
        h.Choose(out);
        form.MExportNSClick(false);
    }
    h.Choose(out);
    form.MExportNSClick(true);
    const std::string bytes = ReadBytes(out);
    EXPECT_TRUE(bytes.starts_with("<DL><p>\n</DL><p>\n"));
    const lv::NetscapeBookmarks back = lv::ReadNetscape(bytes);
    ASSERT_EQ(back.folders.size(), 3u);
    // Slot 05 has no address: two links of "One" per whole-file export, one more from the
    // page export (the first page is current).
    EXPECT_EQ(back.folders[0].links.size(), 6u);
    EXPECT_EQ(bytes.find("hidden"), std::string::npos);
    EXPECT_EQ(back.folders[1].links.size(), 2u);
    EXPECT_EQ(back.folders[2].links.size(), 0u);
    std::size_t headers = 0;
    for (std::size_t at = bytes.find("<H3 FOLDED"); at != std::string::npos;
         at = bytes.find("<H3 FOLDED", at + 1)) {
        ++headers;
    }
    EXPECT_EQ(headers, 7u); // three pages twice, then the current page
}

TEST(NetscapeCommands, AProtectedPageGoesOutPlainOnlyWithItsPassword) {
    FilesHarness h;
    const std::string secret = lv::Encrypt("http://secret/", "pw");
    const std::string own = lv::Encrypt("http://own/", "other");
    WriteBytes(h.dir.File("Disk.LVD"),
               DataFileText({"Open", "Safe"},
                            {{"Open", {"01N=o", "01U=http://o/", "02N=own", "02U=" + own}},
                             {"Safe", {"01N=s", "01U=" + secret}}}));
    {
        lv::TIniFile32 ini(h.dir.File("Disk.LVD"));
        ini.WriteString("Tabs", lv::datafile::kPagePasswordKey, lv::PagePassValue({"Safepw"}));
    }
    lv::TForm1& form = h.StartFiles();
    ASSERT_EQ(form.State().PagePassBox, std::vector<std::string>{"Safepw"});

    for (const std::string typed : {"wrong", "pw"}) {
        SCOPED_TRACE(typed);
        const std::string out = h.dir.File(typed + ".html");
        h.Choose(out);
        h.dialogs.Queue(lv::PasswordResult{typed});
        form.MExportNSClick(false);
        const std::string bytes = ReadBytes(out);
        EXPECT_EQ(bytes.find('\xB6'), std::string::npos);
        EXPECT_EQ(bytes.find("\xC2\xB6"), std::string::npos);
        EXPECT_NE(bytes.find("http://o/"), std::string::npos);
        EXPECT_EQ(bytes.find("http://own/"), std::string::npos);
        const std::string summary = h.dialogs.Messages().back().text;
        EXPECT_NE(summary.find("1 bookmark protected by its own password"), std::string::npos)
            << summary;
        if (typed == "pw") {
            EXPECT_NE(bytes.find("HREF=\"http://secret/\""), std::string::npos);
            EXPECT_EQ(summary.find("was not exported"), std::string::npos) << summary;
        } else {
            EXPECT_EQ(bytes.find("Safe"), std::string::npos);
            EXPECT_NE(summary.find("The page \"Safe\" was not exported"), std::string::npos)
                << summary;
        }
    }
    EXPECT_EQ(h.dialogs.Pending(), 0u);
}

} // namespace
