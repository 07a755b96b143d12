#include "files_harness.h"

#include "mainwindow/DriveMenu.h"
#include "mainwindow/PagePasswords.h"
#include "store/DataFile.h"
#include "store/FileError.h"
#include "store/TIniFile32.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace lvtest {
namespace {

namespace fs = std::filesystem;

const std::string kWork =
    DataFileText({"Work"}, {{"Work", {"01N=Mail", "01U=http://mail.example/"}}});

std::string Setting(FilesHarness& h, const char* section, const char* key) {
    return lv::ReadFromIniS(h.dir.File("LVD.INI"), section, key, "");
}

TEST(OpenFile, FromAnotherDirectoryYesOpensACopyNoOpensInPlace) {
    for (const bool copy : {true, false}) {
        SCOPED_TRACE(copy ? "Yes" : "No");
        FilesHarness h;
        lv::TForm1& form = h.StartFiles();
        fs::create_directory(h.dir.File("elsewhere"));
        const std::string outside = h.dir.File("elsewhere/Work.lvd");
        WriteBytes(outside, kWork);

        h.Choose(outside);
        h.dialogs.Queue(copy ? lv::MsgResult::Yes : lv::MsgResult::No);
        form.MFOpenClick();

        const std::string expected = copy ? h.dir.File("Work.lvd") : outside;
        EXPECT_EQ(form.State().DataFileName, expected);
        EXPECT_EQ(fs::exists(h.dir.File("Work.lvd")), copy);
        EXPECT_EQ(Setting(h, "File", "Name"), expected);
        EXPECT_EQ(form.State().TabSet1.names, std::vector<std::string>{"Work"});
        EXPECT_EQ(h.Button(1).caption, "Mail");
        EXPECT_EQ(form.State().caption, "Linkvane  [ Work ]     Page 1 of 1   12/10/2026");
        EXPECT_EQ(h.dialogs.Messages().at(0).text,
                  "Would you like to copy this data file to the Linkvane directory");
    }
}

TEST(OpenFile, AFileOfTheSameNameInAnyCaseIsReplacedOnlyOnYes) {
    for (const bool replace : {true, false}) {
        SCOPED_TRACE(replace ? "replace" : "keep");
        FilesHarness h;
        lv::TForm1& form = h.StartFiles();
        fs::create_directory(h.dir.File("elsewhere"));
        const std::string outside = h.dir.File("elsewhere/Work.lvd");
        WriteBytes(outside, kWork);
        const std::string resident = h.dir.File("work.LVD");
        WriteBytes(resident, DataFileText({"Old"}, {}));

        h.Choose(outside);
        h.dialogs.Queue(lv::MsgResult::Yes);
        h.dialogs.Queue(replace ? lv::MsgResult::Yes : lv::MsgResult::No);
        form.MFOpenClick();

        EXPECT_EQ(h.dialogs.Messages().at(1).text,
                  "A file named Work.lvd already exists in the Linkvane directory, do you want "
                  "to replace it?");
        // Never a second file that differs only in letter case.
        EXPECT_FALSE(fs::exists(h.dir.File("Work.lvd")));
        EXPECT_EQ(form.State().DataFileName, replace ? resident : outside);
        EXPECT_EQ(form.State().TabSet1.names, std::vector<std::string>{"Work"});
    }
}

TEST(OpenFile, AnotherSpellingFindsTheFileOnDiskAndCreatesNothing) {
    FilesHarness h;
    lv::TForm1& form = h.StartFiles();
    WriteBytes(h.dir.File("Work.lvd"), kWork);

    h.Choose(h.dir.File("Work.LVD"));
    form.MFOpenClick();

    EXPECT_EQ(form.State().DataFileName, h.dir.File("Work.lvd"));
    EXPECT_FALSE(fs::exists(h.dir.File("Work.LVD")));
    EXPECT_EQ(h.Button(1).caption, "Mail");
    EXPECT_TRUE(h.dialogs.Messages().empty());
}

TEST(OpenFile, ANameWithAccentsIsOpenedAsTheFileSystemSpellsIt) {
    FilesHarness h;
    lv::TForm1& form = h.StartFiles();
    const std::string cafe = h.dir.File("Caf\xc3\xa9.lvd"); // UTF-8, as on disk
    WriteBytes(cafe, kWork);

    h.Choose(cafe);
    form.MFOpenClick();

    EXPECT_EQ(form.State().DataFileName, cafe);
    EXPECT_EQ(h.Button(1).caption, "Mail");

    h.Choose(cafe);
    form.MFDeleteClick();
    EXPECT_EQ(h.dialogs.Asked().back(),
              "Message: You cannot delete [ Caf\xe9 ] while it is in use by Linkvane.");
}

TEST(OpenFile, WhatCannotBeOpenedLeavesTheCurrentFile) {
    FilesHarness h;
    lv::TForm1& form = h.StartFiles();
    const std::string current = form.State().DataFileName;

    h.Choose(h.dir.File("Gone.lvd"));
    EXPECT_THROW(form.MFOpenClick(), lv::FileError);
    EXPECT_FALSE(fs::exists(h.dir.File("Gone.lvd")));

    h.Choose(h.dir.File("NoExtension"));
    form.MFOpenClick();
    EXPECT_EQ(h.dialogs.Asked().back(),
              "Message: Please use Create New File to create a new file.");

    EXPECT_EQ(form.State().DataFileName, current);
    EXPECT_EQ(Setting(h, "File", "Name"), current);
}

TEST(OpenFile, PagePasswordsGoIntoTheOldFileAndComeFromTheNew) {
    FilesHarness h;
    lv::TForm1& form = h.StartFiles();
    const std::string disk = form.State().DataFileName;
    form.State().PagePassBox = {"Page1secret"};
    WriteBytes(h.dir.File("Work.lvd"), kWork);
    lv::WriteToIniSLVD(h.dir.File("Work.lvd"), "Tabs", lv::datafile::kPagePasswordKey,
                       lv::PagePassValue({"Workpw"}));

    h.Choose(h.dir.File("Work.lvd"));
    form.MFOpenClick();

    EXPECT_EQ(
        lv::ReadPagePass(lv::ReadFromIniSLVD(disk, "Tabs", lv::datafile::kPagePasswordKey, "")),
        std::vector<std::string>{"Page1secret"});
    EXPECT_EQ(form.State().PagePassBox, std::vector<std::string>{"Workpw"});
    EXPECT_TRUE(form.State().checks.pagePass);
}

TEST(OpenFile, AnotherFileUnlocksAWindowLockedByAFilePassword) {
    FilesHarness h;
    WriteBytes(h.dir.File("Locked.lvd"),
               DataFileText({"Bank"}, {}) + "\r\n[Program]\r\nVersion=3.x\r\n");
    WriteBytes(h.dir.File("Work.lvd"), kWork);
    lv::TForm1& form = h.StartFiles({h.dir.File("Locked.lvd")});
    ASSERT_TRUE(form.State().locked);

    h.Choose(h.dir.File("Work.lvd"));
    form.MFOpenClick();

    EXPECT_FALSE(form.State().locked);
    EXPECT_TRUE(form.State().FileProtection.empty());
    EXPECT_TRUE(h.Button(1).enabled);
    EXPECT_EQ(h.Button(1).caption, "Mail");
}

TEST(OpenFile, PreviousFormatIsConvertedUnlessTheUserKeepsAnEarlierConversion) {
    for (const bool existing : {false, true}) {
        SCOPED_TRACE(existing ? "kept" : "converted");
        FilesHarness h;
        lv::TForm1& form = h.StartFiles();
        const std::string old = h.dir.File("Old.OBK");
        fs::copy_file(Fixture("pages-old-three-pages.obk"), old);
        h.Choose(old);
        if (existing) {
            WriteBytes(h.dir.File("Old.lvd"), kWork);
            h.dialogs.Queue(lv::MsgResult::No);
        }
        form.MFOpenClick();

        const auto& state = form.State();
        if (existing) {
            EXPECT_EQ(h.dialogs.Messages().at(0).text,
                      "Converted file already exists, do you want to overwrite it?");
            EXPECT_EQ(state.DataFileName, h.dir.File("Old.lvd"));
            EXPECT_EQ(state.TabSet1.names, std::vector<std::string>{"Work"});
            EXPECT_TRUE(h.shownCaptions.empty());
        } else {
            EXPECT_EQ(state.DataFileName, h.dir.File("Old.LVD"));
            EXPECT_EQ(state.TabSet1.names,
                      (std::vector<std::string>{"Page1", "Page1+", "Caf\xe9"}));
            EXPECT_EQ(h.shownCaptions,
                      std::vector<std::string>{"Copying and Converting old bookmarks..."});
            EXPECT_EQ(h.Button(1).caption, "First");
        }
        EXPECT_EQ(state.caption.rfind("Linkvane  [ Old ]", 0), 0u);
    }
}

TEST(SaveAs, SaveAsLeavesTwoEqualFilesRenameOnlyTheNewOne) {
    for (const bool rename : {false, true}) {
        SCOPED_TRACE(rename ? "Rename" : "Save As");
        FilesHarness h;
        WriteBytes(h.dir.File("Work.lvd"), kWork);
        WriteBytes(h.dir.File("Work.DAT"), "companion");
        lv::TForm1& form = h.StartFiles({h.dir.File("Work.lvd")});
        const std::string bytes = ReadBytes(h.dir.File("Work.lvd"));
        form.State().PagePassBox = {"Workpw"};

        h.Choose(h.dir.File("Copy.lvd"));
        form.MFSaveAsClick(rename);

        EXPECT_EQ(h.dialogs.Asked().back(), "SaveFile: Enter New File Name");
        EXPECT_EQ(ReadBytes(h.dir.File("Copy.lvd")), bytes);
        EXPECT_EQ(ReadBytes(h.dir.File("Copy.DAT")), "companion");
        EXPECT_EQ(fs::exists(h.dir.File("Work.lvd")), !rename);
        EXPECT_EQ(fs::exists(h.dir.File("Work.DAT")), !rename);
        EXPECT_EQ(form.State().DataFileName, h.dir.File("Copy.lvd"));
        EXPECT_EQ(Setting(h, "File", "Name"), h.dir.File("Copy.lvd"));
        EXPECT_EQ(form.State().caption.rfind("Linkvane  [ Copy ]", 0), 0u);
        EXPECT_EQ(form.State().PagePassBox, std::vector<std::string>{"Workpw"});
    }
}

TEST(SaveAs, RenamingAFileOntoItselfKeepsIt) {
    FilesHarness h;
    WriteBytes(h.dir.File("Work.lvd"), kWork);
    lv::TForm1& form = h.StartFiles({h.dir.File("Work.lvd")});
    const std::string bytes = ReadBytes(h.dir.File("Work.lvd"));

    h.Choose(h.dir.File("Work.LVD"));
    form.MFSaveAsClick(true);

    EXPECT_EQ(ReadBytes(h.dir.File("Work.lvd")), bytes);
    EXPECT_EQ(form.State().DataFileName, h.dir.File("Work.lvd"));
}

TEST(DeleteFile, TheFileInUseAndItsCompanionsAreRefused) {
    FilesHarness h;
    lv::TForm1& form = h.StartFiles();
    WriteBytes(h.dir.File("Disk.bak"), "backup");
    for (const char* name : {"Disk.LVD", "disk.bak"}) {
        h.Choose(h.dir.File(name));
        form.MFDeleteClick();
        EXPECT_EQ(h.dialogs.Messages().back().kind, lv::MsgKind::Error);
        EXPECT_EQ(h.dialogs.Messages().back().text,
                  "You cannot delete [ Disk ] while it is in use by Linkvane.");
    }
    EXPECT_TRUE(fs::exists(form.State().DataFileName));
    EXPECT_TRUE(fs::exists(h.dir.File("Disk.bak")));
}

TEST(DeleteFile, AnotherFileGoesOnlyOnYes) {
    FilesHarness h;
    lv::TForm1& form = h.StartFiles();
    WriteBytes(h.dir.File("Work.lvd"), kWork);
    for (const bool yes : {false, true}) {
        h.Choose(h.dir.File("Work.lvd"));
        h.dialogs.Queue(yes ? lv::MsgResult::Yes : lv::MsgResult::No);
        form.MFDeleteClick();
        EXPECT_EQ(h.dialogs.Asked().back(),
                  "Message: Are you sure you want to delete [ Work.lvd ]?");
        EXPECT_EQ(fs::exists(h.dir.File("Work.lvd")), !yes);
    }
}

TEST(NewFile, StartsTenPagesAndAnExistingFileKeepsItsSections) {
    FilesHarness h;
    lv::TForm1& form = h.StartFiles();
    form.State().PagePassBox = {"Page1secret"};
    WriteBytes(h.dir.File("Work.lvd"), kWork);

    h.Choose(h.dir.File("Work"));
    form.MFNewClick();

    const auto& state = form.State();
    EXPECT_EQ(state.DataFileName, h.dir.File("Work.lvd"));
    ASSERT_EQ(state.TabSet1.names.size(), 10u);
    EXPECT_EQ(state.TabSet1.names[9], "Page10");
    EXPECT_TRUE(state.PagePassBox.empty());
    EXPECT_EQ(lv::ReadFromIniSLVD(h.dir.File("Work.lvd"), "Work", "01N", ""), "Mail");
    EXPECT_EQ(Setting(h, "File", "Name"), h.dir.File("Work.lvd"));

    h.Choose(h.dir.File("Fresh.lvd"));
    form.MFNewClick();
    EXPECT_EQ(state.DataFileName, h.dir.File("Fresh.lvd"));
    EXPECT_EQ(lv::ReadFromIniSLVD(h.dir.File("Fresh.lvd"), "Tabs", "Tab1", ""), "Page1");
}

TEST(MergeFile, AddAppendsNewsMatchSkipsItAndUndoRestoresTheBytes) {
    for (const int answer : {1, 0}) {
        SCOPED_TRACE(answer == 1 ? "Add" : "Match");
        FilesHarness h;
        WriteBytes(h.dir.File("Mine.lvd"),
                   DataFileText({"Work"}, {{"Work", {"01N=Mine", "01U=http://mine/"}}}));
        WriteBytes(h.dir.File("Theirs.lvd"),
                   DataFileText({"Work", "News"}, {{"Work", {"01N=Mail", "01U=http://mail/"}},
                                                   {"News", {"01N=Paper", "01U=http://paper/"}}}));
        lv::TForm1& form = h.StartFiles({h.dir.File("Mine.lvd")});
        const std::string before = ReadBytes(h.dir.File("Mine.lvd"));

        h.Choose(h.dir.File("Theirs.lvd"));
        h.dialogs.Queue(answer);
        form.MFMergeClick();

        const bool add = answer == 1;
        EXPECT_EQ(form.State().TabSet1.names, add ? (std::vector<std::string>{"Work", "News"})
                                                  : std::vector<std::string>{"Work"});
        EXPECT_EQ(lv::ReadFromIniSLVD(h.dir.File("Mine.lvd"), "News", "01N", ""),
                  add ? "Paper" : "");
        EXPECT_EQ(h.Button(2).caption, "Mail");

        form.MUndoClick();
        EXPECT_EQ(ReadBytes(h.dir.File("Mine.lvd")), before);
        EXPECT_EQ(form.State().TabSet1.names, std::vector<std::string>{"Work"});
    }
}

// Undo and Redo belong to the DataFile: opening another shows that file's history.
TEST(MergeFile, UndoNamesTheMergeAndFollowsTheOpenFile) {
    FilesHarness h;
    WriteBytes(h.dir.File("Mine.lvd"),
               DataFileText({"Work"}, {{"Work", {"01N=Mine", "01U=http://mine/"}}}));
    WriteBytes(h.dir.File("Theirs.lvd"),
               DataFileText({"Work"}, {{"Work", {"01N=Mail", "01U=http://mail/"}}}));
    lv::TForm1& form = h.StartFiles({h.dir.File("Mine.lvd")});
    h.Choose(h.dir.File("Theirs.lvd"));
    h.dialogs.Queue(1);
    form.MFMergeClick();
    EXPECT_EQ(form.UndoCaption(), "&Undo Merge file");

    h.Choose(h.dir.File("Theirs.lvd"));
    form.MFOpenClick();
    ASSERT_EQ(form.State().DataFileName, h.dir.File("Theirs.lvd"));
    EXPECT_FALSE(form.UndoEnabled());
    EXPECT_EQ(form.UndoCaption(), "&Undo last Edit");

    h.Choose(h.dir.File("Mine.lvd"));
    form.MFOpenClick();
    EXPECT_TRUE(form.UndoEnabled());
    form.MUndoClick();
    EXPECT_EQ(h.Button(2).caption, "");
    EXPECT_EQ(form.RedoCaption(), "&Redo Merge file");
}

TEST(MergeFile, TheFileInUseMergedIntoItselfStaysAsItWas) {
    FilesHarness h;
    WriteBytes(h.dir.File("Mine.lvd"),
               DataFileText({"Work"}, {{"Work", {"01N=Mine", "01U=http://mine/"}}}));
    lv::TForm1& form = h.StartFiles({h.dir.File("Mine.lvd")});
    const std::string before = ReadBytes(h.dir.File("Mine.lvd"));

    h.Choose(h.dir.File("Mine.lvd"));
    h.dialogs.Queue(1);
    form.MFMergeClick();

    EXPECT_EQ(ReadBytes(h.dir.File("Mine.lvd")), before);
    EXPECT_EQ(h.Button(2).caption, "");
}

TEST(AlphabetizeCommand, SortsThePagesChosenAndUndoRestoresTheBytes) {
    FilesHarness h;
    WriteBytes(h.dir.File("Work.lvd"),
               DataFileText({"Work", "News"}, {{"Work",
                                                {"03N=zeta", "03U=http://z/", "07N=Alpha",
                                                 "07U=http://a/", "09N=beta", "09U=http://b/"}}}));
    lv::TForm1& form = h.StartFiles({h.dir.File("Work.lvd")});
    const std::string before = ReadBytes(h.dir.File("Work.lvd"));
    std::string caption;
    h.pageRange = [&caption](lv::TAlphaForm& range) {
        caption = range.Caption();
        range.AlphaBtnClick();
    };

    form.AlphaButtonClick();
    EXPECT_EQ(form.UndoCaption(), "&Undo Alphabetize");

    EXPECT_EQ(caption, "Alphabetize the \"Work\" Page");
    EXPECT_EQ(h.Button(1).caption, "Alpha");
    EXPECT_EQ(h.Button(2).caption, "beta");
    EXPECT_EQ(h.Button(3).caption, "zeta");
    EXPECT_EQ(h.Button(9).caption, "");

    form.MUndoClick();
    EXPECT_EQ(ReadBytes(h.dir.File("Work.lvd")), before);
    EXPECT_EQ(h.Button(3).caption, "zeta");

    // Closed without the action button: nothing is sorted.
    h.pageRange = [](lv::TAlphaForm& range) { range.CloseBtnClick(); };
    form.AlphaButtonClick();
    EXPECT_EQ(h.dialogs.Asked().back(),
              "Message: You did not select a page, or pages, to Alphabetize.");
    EXPECT_EQ(ReadBytes(h.dir.File("Work.lvd")), before);
}

TEST(DriveMenu, CaptionsNameTheVolumeBehindEachLetter) {
    const auto captions = lv::DriveCaptions({"/media/ann/USBSTICK", "/run/media/ann/CARD/"});
    ASSERT_EQ(captions.size(), 16u);
    EXPECT_EQ(captions[0], "Copy to A:\\  (USBSTICK)");
    EXPECT_EQ(captions[1], "Copy to B:\\  (CARD)");
    EXPECT_EQ(captions[15], "Copy to P:\\  (no disk mounted)");
}

TEST(DriveMenu, ChosenDriveStaysCheckedForTheToolButton) {
    FilesHarness h;
    for (const char* name : {"a", "b", "c", "d"}) {
        fs::create_directory(h.dir.File(name));
        h.volumes.push_back(h.dir.File(name));
    }
    lv::TForm1& form = h.StartFiles();
    EXPECT_EQ(form.State().diskDrive, 0);

    h.dialogs.Queue(lv::MsgResult::No);
    form.MADriveClick(3);
    EXPECT_EQ(form.State().diskDrive, 3);
    EXPECT_TRUE(fs::exists(h.dir.File("d/Disk.LVD")));
    EXPECT_EQ(lv::ReadFromIniS(h.dir.File("d/LVD.INI"), "File", "Name", ""), "Disk");

    fs::remove(h.dir.File("d/Disk.LVD"));
    h.dialogs.Queue(lv::MsgResult::No);
    form.DiskButtonClick();
    EXPECT_TRUE(fs::exists(h.dir.File("d/Disk.LVD")));
    EXPECT_FALSE(fs::exists(h.dir.File("a/Disk.LVD")));

    // A letter without a volume warns and copies nothing.
    form.MADriveClick(5);
    EXPECT_EQ(h.dialogs.Messages().back().kind, lv::MsgKind::Warning);
    EXPECT_EQ(h.dialogs.Messages().back().text.rfind("Drive not responding!", 0), 0u);
}

} // namespace
} // namespace lvtest
