#include "editor_harness.h"

#include "mainwindow/PagePasswords.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <sys/stat.h>

namespace lvtest {
namespace {

using lv::TBConfigForm;

TEST(EditorSaveText, FillsTheMissingTitleOrAddress) {
    struct Case {
        std::string title, url, storedTitle, storedUrl;
    };
    const Case cases[] = {
        {"My Site", "", "My Site", "http://www.mysite.com/"},
        {"", "http://www.example.org", "example", "http://www.example.org/"},
        {"", "www.news.example.com", "news", "http://www.news.example.com/"},
        {"", "https://www.example.com", "example", "https://www.example.com/"},
        {"", "/home/ann/music/song.au", "song", "/home/ann/music/song.au"},
        {"Kept", "http://kept.example/a", "Kept", "http://kept.example/a"},
    };
    for (const Case& c : cases) {
        EditorHarness h;
        h.editor = [&](TBConfigForm& form) {
            form.Desc1 = c.title;
            form.URL1 = c.url;
            form.SaveTextClick();
        };
        h.Open().SetButtonParams(4);
        EXPECT_EQ(h.Key("Links", 4, 'N'), c.storedTitle) << c.url;
        EXPECT_EQ(h.Key("Links", 4, 'U'), c.storedUrl) << c.url;
        EXPECT_EQ(h.Button(4).caption, c.storedTitle);
        // A new bookmark without notes or extra information gets neither key.
        EXPECT_FALSE(h.HasKey("Links", 4, 'P'));
        EXPECT_FALSE(h.HasKey("Links", 4, 'S'));
    }
}

TEST(EditorSaveText, NotesKeepTheirLineBreaksAndClearingRemovesThem) {
    EditorHarness h("01N=Home\r\n01U=http://home.example/\r\n01P=old\r\n01S=extra\r\n");
    lv::TForm1& form = h.Open();
    h.editor = [](TBConfigForm& f) {
        EXPECT_EQ(f.EI1, "old");
        f.EI1 = "line1\r\nline2";
        f.SaveTextClick();
    };
    form.SetButtonParams(1);
    EXPECT_EQ(h.Key("Links", 1, 'P'), "line1|~line2");
    EXPECT_EQ(h.Button(1).hint, "http://home.example/\rline1\r\nline2");

    h.editor = [](TBConfigForm& f) {
        EXPECT_EQ(f.EI1, "line1\r\nline2");
        f.EI1.clear();
        f.EI2.clear();
        f.SaveTextClick();
    };
    form.SetButtonParams(1);
    EXPECT_FALSE(h.HasKey("Links", 1, 'P'));
    EXPECT_FALSE(h.HasKey("Links", 1, 'S'));
    EXPECT_EQ(h.Button(1).hint, "http://home.example/");
}

TEST(Editor, OpeningTakesTheBackupAndCancelChangesNothing) {
    EditorHarness h(FilledSlots(1, 2));
    lv::TForm1& form = h.Open();
    const std::string before = ReadBytes(h.path);
    form.SetButtonParams(2);
    EXPECT_EQ(h.shown, 1);
    // Cancel changed nothing, so there was nothing to back up.
    EXPECT_FALSE(std::filesystem::exists(h.dir.File("work.bak")));
    EXPECT_EQ(ReadBytes(h.path), before);
    EXPECT_EQ(form.State().CurrentButtonName, "B02");

    h.editor = [](TBConfigForm& f) {
        f.Desc1 = "Renamed";
        f.SaveTextClick();
    };
    form.SetButtonParams(2);
    EXPECT_EQ(ReadBytes(h.dir.File("work.bak")), before);
}

// A stray click that changes nothing must not cost the user the undo of the last real edit.
TEST(Editor, UndoAfterAClickOnAnEmptySlotWithNoBrowserBringsBackTheOldName) {
    EditorHarness h(FilledSlots(1, 1));
    lv::TForm1& form = h.Open();
    h.editor = [](TBConfigForm& f) {
        f.Desc1 = "Renamed";
        f.SaveTextClick();
    };
    form.SetButtonParams(1);
    ASSERT_EQ(h.Key("Links", 1, 'N'), "Renamed");
    const std::string renamed = ReadBytes(h.path);

    form.ButtonClick(2); // no browser to ask
    EXPECT_EQ(h.dialogs.Asked(),
              std::vector<std::string>{"Message: You need to have a browser open to a web page!"});
    EXPECT_EQ(ReadBytes(h.path), renamed) << "nothing may be written for an empty capture";
    form.AddBookmarkClick();
    EXPECT_EQ(ReadBytes(h.path), renamed);
    // An editor opened by mistake and closed without a change arms nothing for later either.
    h.editor = [](TBConfigForm&) {};
    form.SetButtonParams(1);
    EXPECT_EQ(ReadBytes(h.path), renamed);
    // So a later save that takes no backup of its own (erasing a page's bookmarks) keeps the
    // rename undoable.
    lv::WriteToIniSLVD(h.path, "Other", "01N", "Not backed up");

    form.MUndoClick();
    EXPECT_EQ(h.Key("Links", 1, 'N'), "Site 1");
    EXPECT_EQ(h.Button(1).caption, "Site 1");
    form.MUndoClick();
    EXPECT_EQ(h.Key("Links", 1, 'N'), "Site 1");
}

TEST(Editor, MailtoWithoutLocalLaunchIsMarkedLocal) {
    EditorHarness h;
    h.editor = [](TBConfigForm& f) {
        f.Desc1 = "Write me";
        f.URL1 = "mailto:me@example.com";
        f.SaveTextClick();
    };
    h.Open().SetButtonParams(1);
    EXPECT_EQ(h.Key("Links", 1, 'U'), "mailto:me@example.com");
    EXPECT_EQ(h.Key("Links", 1, 'L'), "Yes");
}

// Each step names the command it undoes or redoes, and one editor session is one step.
TEST(Editor, UndoAndRedoNameTheCommandAndStepThroughTheEdits) {
    EditorHarness h(FilledSlots(1, 2));
    lv::TForm1& form = h.Open();
    EXPECT_FALSE(form.UndoEnabled());
    EXPECT_FALSE(form.RedoEnabled());
    h.editor = [](TBConfigForm& f) {
        f.Desc1 = "Renamed";
        f.SaveTextClick();
    };
    form.SetButtonParams(1);
    EXPECT_EQ(form.UndoCaption(), "&Undo Edit bookmark");
    h.editor = [](TBConfigForm& f) { f.EraseClick(); };
    h.dialogs.Queue(lv::MsgResult::Yes);
    form.SetButtonParams(2);
    ASSERT_EQ(h.Button(2).caption, "");
    EXPECT_EQ(form.UndoCaption(), "&Undo Erase bookmark");
    EXPECT_EQ(form.RedoCaption(), "&Redo");
    EXPECT_FALSE(form.RedoEnabled());

    form.MUndoClick();
    EXPECT_EQ(h.Button(2).caption, "Site 2");
    EXPECT_EQ(h.Button(1).caption, "Renamed");
    EXPECT_EQ(form.UndoCaption(), "&Undo Edit bookmark");
    EXPECT_EQ(form.RedoCaption(), "&Redo Erase bookmark");
    form.MUndoClick();
    EXPECT_EQ(h.Button(1).caption, "Site 1");
    EXPECT_FALSE(form.UndoEnabled());
    EXPECT_EQ(form.UndoCaption(), "&Undo last Edit");
    form.MRedoClick();
    form.MRedoClick();
    EXPECT_EQ(h.Button(1).caption, "Renamed");
    EXPECT_EQ(h.Button(2).caption, "");
    EXPECT_FALSE(form.RedoEnabled());

    // Switched off: no Undo and no Redo.
    form.MUndoClick();
    form.MBackupClick();
    EXPECT_FALSE(form.UndoEnabled());
    EXPECT_FALSE(form.RedoEnabled());
}

TEST(Editor, EraseAsksWhenConfirmationIsOn) {
    EditorHarness h(FilledSlots(1, 1));
    lv::TForm1& form = h.Open();
    h.editor = [](TBConfigForm& f) { f.EraseClick(); };
    h.dialogs.Queue(lv::MsgResult::No);
    form.SetButtonParams(1);
    EXPECT_EQ(h.dialogs.Asked().back(),
              "Message: Are you sure you want to delete the \"Site 1\" bookmark?");
    EXPECT_EQ(h.Key("Links", 1, 'U'), "http://site1.example/");

    h.dialogs.Queue(lv::MsgResult::Yes);
    form.SetButtonParams(1);
    EXPECT_FALSE(h.HasKey("Links", 1, 'N'));
    EXPECT_FALSE(h.HasKey("Links", 1, 'U'));
    EXPECT_EQ(h.Button(1).caption, "");
}

TEST(Editor, ErasingDeletesTheSitesWebIconOnlyWhenAllowed) {
    EditorHarness h;
    const std::string icon = h.dir.File("workwebicons/site1_example_.ico");
    std::filesystem::create_directories(h.dir.File("workwebicons"));
    const std::string other = h.dir.File("notes.txt");
    WriteBytes(h.path, ReadBytes(h.path) + FilledSlots(1, 2) + "01I=" + icon + "\r\n01G=600\r\n" +
                           "02I=" + other + "\r\n02G=600\r\n");
    WriteBytes(icon, "icon");
    WriteBytes(other, "not an icon of the site");
    lv::TForm1& form = h.Open();
    form.MConfirmClick(); // erase without the bookmark question
    h.editor = [](TBConfigForm& f) { f.EraseClick(); };

    h.dialogs.Queue(1); // "Keep Image"
    form.SetButtonParams(1);
    ASSERT_EQ(h.dialogs.UserDlgs().size(), 1u);
    EXPECT_EQ(h.dialogs.UserDlgs()[0].title, "Delete Web Icon for \"Site 1\"");
    EXPECT_EQ(h.dialogs.UserDlgs()[0].buttons,
              (std::vector<std::string>{"Delete Image", "Keep Image"}));
    EXPECT_TRUE(std::filesystem::exists(icon));

    // Put it back and erase with the web-icon confirmation off: deleted without asking.
    WriteBytes(h.path, ReadBytes(h.path) +
                           "01N=Site 1\r\n01U=http://site1.example/\r\n01I=" + icon + "\r\n");
    form.MConfirmWebIconClick();
    form.SetButtonParams(1);
    EXPECT_FALSE(std::filesystem::exists(icon));
    // An icon file that does not belong to the site is never touched.
    form.SetButtonParams(2);
    EXPECT_TRUE(std::filesystem::exists(other));
    EXPECT_EQ(h.dialogs.UserDlgs().size(), 1u);
}

TEST(Editor, ErasingDeletesOnlyAWebIconOfThisDataFile) {
    EditorHarness h;
    namespace fs = std::filesystem;
    fs::create_directories(h.dir.File("workwebicons/site1_example_.ico"));
    fs::create_directories(h.dir.File("Pictures"));
    const std::string photo = h.dir.File("Pictures/site1_example_.jpg");
    WriteBytes(photo, "a photo");
    fs::create_symlink(photo, h.dir.File("workwebicons/site1_example_.gif"));
    const std::string ours = h.dir.File("workwebicons/site1_example_.jpg");
    WriteBytes(ours, "icon");
    // Every slot is the same site, so each icon name passes the site test.
    const std::vector<std::string> icons = {
        photo,                                                     // outside
        h.dir.File("workwebicons/../Pictures/site1_example_.jpg"), // out through ".."
        h.dir.File("workwebicons/site1_example_.gif"),             // a link to the photo
        h.dir.File("workwebicons/site1_example_.ico"),             // a folder
        h.dir.File("Pictures/../workwebicons/site1_example_.jpg"), // ours
    };
    std::string slots;
    for (std::size_t i = 0; i < icons.size(); ++i) {
        const int slot = static_cast<int>(i) + 1;
        slots += lv::SlotKey(slot, 'N') + "=Site 1\r\n" + lv::SlotKey(slot, 'U') +
                 "=http://site1.example/\r\n" + lv::SlotKey(slot, 'I') + "=" + icons[i] + "\r\n" +
                 lv::SlotKey(slot, 'G') + "=600\r\n";
    }
    WriteBytes(h.path, ReadBytes(h.path) + slots);
    lv::TForm1& form = h.Open();
    form.MConfirmClick();
    h.editor = [](TBConfigForm& f) { f.EraseClick(); };

    // With the question off nothing outside is deleted; with it on nothing outside is asked.
    form.MConfirmWebIconClick();
    form.SetButtonParams(1);
    form.SetButtonParams(2);
    form.MConfirmWebIconClick();
    form.SetButtonParams(3);
    form.SetButtonParams(4);
    EXPECT_TRUE(h.dialogs.UserDlgs().empty());
    EXPECT_EQ(ReadBytes(photo), "a photo");
    EXPECT_TRUE(fs::is_symlink(h.dir.File("workwebicons/site1_example_.gif")));
    EXPECT_TRUE(fs::is_directory(icons[3]));
    EXPECT_FALSE(h.HasKey("Links", 4, 'N')); // the bookmarks themselves are erased

    // Our own icon: the question names the file, and it goes.
    const std::string named = "Icon file: " + fs::canonical(ours).string();
    h.dialogs.Queue(0); // "Delete Image"
    form.SetButtonParams(5);
    ASSERT_EQ(h.dialogs.UserDlgs().size(), 1u);
    const auto& lines = h.dialogs.UserDlgs()[0].message;
    EXPECT_NE(std::find(lines.begin(), lines.end(), named), lines.end());
    EXPECT_FALSE(fs::exists(ours));
}

TEST(Editor, ColourIsChosenAndReset) {
    EditorHarness h(FilledSlots(1, 1));
    lv::TForm1& form = h.Open();
    h.editor = [](TBConfigForm& f) {
        EXPECT_FALSE(f.resetColorVisible);
        f.BMColorClick();
    };
    lv::ColorResult chosen{true, 255, {}};
    chosen.customColors[0] = 0x00FF00;
    h.dialogs.Queue(chosen);
    form.SetButtonParams(1);
    EXPECT_EQ(h.Key("Links", 1, 'C'), "255");
    EXPECT_EQ(h.Button(1).fontColor, 255);
    EXPECT_EQ(lv::ReadFromIniS(h.dir.File("LVD.INI"), "Colors", "ColorA", ""), "00FF00");

    h.editor = [](TBConfigForm& f) {
        EXPECT_TRUE(f.resetColorVisible);
        f.ResetColorClick();
    };
    form.SetButtonParams(1);
    EXPECT_FALSE(h.HasKey("Links", 1, 'C'));
    EXPECT_EQ(h.Button(1).fontColor, form.State().ButtonFontColor);
}

TEST(Editor, LocalLaunchBoxTogglesL) {
    EditorHarness h(FilledSlots(1, 1));
    lv::TForm1& form = h.Open();
    h.editor = [](TBConfigForm& f) { f.RunBoxClick(); };
    form.SetButtonParams(1);
    EXPECT_EQ(h.Key("Links", 1, 'L'), "Yes");
    h.editor = [](TBConfigForm& f) {
        EXPECT_TRUE(f.RunBox);
        f.RunBoxClick();
    };
    form.SetButtonParams(1);
    EXPECT_FALSE(h.HasKey("Links", 1, 'L'));
}

TEST(Editor, BookmarkPasswordScramblesAndRestoresTheTarget) {
    EditorHarness h(FilledSlots(1, 1));
    lv::TForm1& form = h.Open();
    h.editor = [](TBConfigForm& f) {
        EXPECT_TRUE(f.passBoxVisible);
        f.PassBoxClick();
    };
    h.dialogs.Queue(lv::PasswordResult{"pw"});
    form.SetButtonParams(1);
    EXPECT_EQ(h.dialogs.Asked().back(), "Password: plain");
    EXPECT_EQ(h.Key("Links", 1, 'U'),
              lv::Shift("http://site1.example/") + "\xb6" + lv::Shift("pw"));
    EXPECT_EQ(h.Button(1).hint, "Password Protected");

    // A protected bookmark shows only its title, the box, help and cancel.
    h.editor = [](TBConfigForm& f) {
        EXPECT_TRUE(f.PassBox);
        EXPECT_TRUE(f.titleReadOnly);
        EXPECT_FALSE(f.fieldsVisible);
        EXPECT_FALSE(f.actionsVisible);
        f.PassBoxClick();
    };
    h.dialogs.Queue(lv::PasswordResult{"wrong"});
    form.SetButtonParams(1);
    EXPECT_EQ(h.dialogs.Asked().back(), "Message: Invalid Password!");
    EXPECT_TRUE(lv::IsScrambled(h.Key("Links", 1, 'U')));

    h.dialogs.Queue(lv::PasswordResult{"pw"});
    form.SetButtonParams(1);
    EXPECT_EQ(h.dialogs.Asked().back(), "Password: masked");
    EXPECT_EQ(h.Key("Links", 1, 'U'), "http://site1.example/");
}

TEST(PageSwitch, ThatChangesNothingWritesNothing) {
    EditorHarness h(FilledSlots(1, 3));
    lv::TForm1& form = h.Open();
    const auto longAgo = std::filesystem::last_write_time(h.path) - std::chrono::hours(48);
    std::filesystem::last_write_time(h.path, longAgo);
    struct stat before {};
    ASSERT_EQ(::stat(h.path.c_str(), &before), 0);
    form.SelectTab(1);
    form.SelectTab(0);
    struct stat after {};
    ASSERT_EQ(::stat(h.path.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(std::filesystem::last_write_time(h.path), longAgo);
}

} // namespace
} // namespace lvtest
