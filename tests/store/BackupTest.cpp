#include "store/Backup.h"
#include "store/FileError.h"
#include "store/TIniFile32.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

namespace {

using namespace lv;

TEST(Backup, StemDropsOnlyTheLastComponentsExtension) {
    EXPECT_EQ(FileStem("/bm/work.lvd"), "/bm/work");
    EXPECT_EQ(FileStem("/my.files/work"), "/my.files/work");
    EXPECT_EQ(FileStem("/my.files/work.tar.lvd"), "/my.files/work.tar");
    EXPECT_EQ(FileStem("Disk.LVD"), "Disk");
}

TEST(Backup, BackupThenUndoRestoresTheStateBeforeTheChange) {
    lvtest::TempDir dir;
    std::filesystem::create_directory(dir.File("my.files"));
    const std::string data = dir.File("my.files/Disk.LVD");
    lvtest::WriteBytes(data, "[Tabs]\r\nCount=1\r\n");

    TakeModificationBackup(data, true, "Edit");
    TIniFile32(data).WriteString("Tabs", "Count", "2");
    EXPECT_EQ(BackupFileName(data), dir.File("my.files/Disk.bak"));
    EXPECT_EQ(lvtest::ReadBytes(dir.File("my.files/Disk.bak")), "[Tabs]\r\nCount=1\r\n");
    EXPECT_EQ(HistoryFolderName(data), dir.File("my.files/Disk.history"));

    // A later change made outside any command is part of the current state: Redo brings it back.
    lvtest::WriteBytes(data, "edited");
    EXPECT_TRUE(RestoreModificationBackup(data));
    EXPECT_EQ(lvtest::ReadBytes(data), "[Tabs]\r\nCount=1\r\n");
    // The oldest state: Undo again changes nothing, and the backup stays.
    EXPECT_FALSE(RestoreModificationBackup(data));
    EXPECT_EQ(lvtest::ReadBytes(data), "[Tabs]\r\nCount=1\r\n");
    EXPECT_EQ(lvtest::ReadBytes(dir.File("my.files/Disk.bak")), "[Tabs]\r\nCount=1\r\n");
    EXPECT_TRUE(RedoModification(data));
    EXPECT_EQ(lvtest::ReadBytes(data), "edited");
    EXPECT_FALSE(RedoModification(data));
}

TEST(Backup, SwitchedOffOrNothingToRestoreWritesNothing) {
    lvtest::TempDir dir;
    const std::string data = dir.File("work.lvd");
    lvtest::WriteBytes(data, "x");
    TakeModificationBackup(data, false, "Edit");
    EXPECT_FALSE(std::filesystem::exists(dir.File("work.bak")));
    EXPECT_FALSE(RestoreModificationBackup(data));
    EXPECT_EQ(lvtest::ReadBytes(data), "x");
    TakeModificationBackup(dir.File("missing.lvd"), true, "Edit");
    EXPECT_FALSE(std::filesystem::exists(dir.File("missing.bak")));

    // A backup written by the Windows program in upper case is still found.
    lvtest::WriteBytes(dir.File("WORK.BAK"), "older");
    EXPECT_TRUE(RestoreModificationBackup(data));
    EXPECT_EQ(lvtest::ReadBytes(data), "older");
}

TEST(Backup, FileCopyErrorsLeaveTheDestinationAlone) {
    lvtest::TempDir dir;
    const std::string dest = dir.File("dest.lvd");
    lvtest::WriteBytes(dest, "keep");
    try {
        FileCopy(dir.File("none.lvd"), dest);
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open file " + dir.File("none.lvd"));
    }
    lvtest::WriteBytes(dir.File("src.lvd"), "new");
    std::filesystem::permissions(dest, std::filesystem::perms::owner_read);
    EXPECT_THROW(FileCopy(dir.File("src.lvd"), dest), FileError);
    EXPECT_EQ(lvtest::ReadBytes(dest), "keep");
}

TEST(Backup, TakenByTheFirstRealChangeOnlyAndAsPrivateAsTheDataFile) {
    namespace fs = std::filesystem;
    lvtest::TempDir dir;
    const std::string data = dir.File("Disk.LVD");
    const std::string bak = dir.File("Disk.bak");
    const std::string v0 = "[Tabs]\r\nCount=1\r\nTab1=Page1\r\n";
    lvtest::WriteBytes(data, v0);
    const auto privateBits = fs::perms::owner_read | fs::perms::owner_write;
    fs::permissions(data, privateBits);
    lvtest::WriteBytes(bak, "the user's last edit");
    fs::permissions(bak, privateBits | fs::perms::group_read | fs::perms::others_read);

    // A command that saves what is already there keeps the backup of the last real edit.
    TakeModificationBackup(data, true, "Edit");
    TIniFile32(data).UpdateFile();
    EXPECT_EQ(lvtest::ReadBytes(bak), "the user's last edit");

    // Its first real change takes the backup, with the DataFile's bits; later saves do not.
    TIniFile32 ini(data);
    ini.WriteString("Tabs", "Tab1", "Renamed");
    ini.WriteString("Tabs", "Tab1", "Again");
    EXPECT_EQ(lvtest::ReadBytes(bak), v0);
    EXPECT_EQ(fs::status(bak).permissions(), privateBits);

    // Undo is no command to back up: the backup stays what it was, so Undo can be repeated.
    TakeModificationBackup(data, true, "Edit");
    EXPECT_TRUE(RestoreModificationBackup(data));
    EXPECT_EQ(lvtest::ReadBytes(data), v0);
    EXPECT_EQ(lvtest::ReadBytes(bak), v0);
    EXPECT_EQ(fs::status(data).permissions(), privateBits);
    // The history holds the same bookmarks and is as private.
    EXPECT_EQ(fs::status(HistoryFolderName(data)).permissions(), fs::perms::owner_all);
    for (const auto& file : fs::directory_iterator(HistoryFolderName(data))) {
        EXPECT_EQ(file.status().permissions(), privateBits) << file.path();
    }

    // Switched off, arming drops what an earlier command armed.
    TakeModificationBackup(data, true, "Edit");
    TakeModificationBackup(data, false, "Edit");
    TIniFile32(data).WriteString("Tabs", "Tab1", "Third");
    EXPECT_EQ(lvtest::ReadBytes(bak), v0);
}

// A DataFile whose "Count" key is set to 0, 1, 2, ... by commands named "Edit 1", "Edit 2", ...
struct Edits {
    lvtest::TempDir dir;
    std::string data = dir.File("work.lvd");
    std::vector<std::string> states;

    Edits() {
        lvtest::WriteBytes(data, "[Tabs]\r\nCount=0\r\n");
        states.push_back(lvtest::ReadBytes(data));
    }
    void Edit(const std::string& command) {
        TakeModificationBackup(data, true, command);
        TIniFile32 ini(data);
        ini.WriteString("Tabs", "Count", std::to_string(states.size()));
        ini.WriteString("Tabs", "Count2", std::to_string(states.size())); // no second entry
        states.push_back(lvtest::ReadBytes(data));
    }
    std::size_t HistoryFiles() const {
        const auto files = std::filesystem::directory_iterator(HistoryFolderName(data));
        return static_cast<std::size_t>(std::distance(begin(files), end(files)));
    }
};

TEST(History, TwentyEditsAreUndoneOneByOneAndRedone) {
    Edits e;
    for (int i = 1; i <= 21; ++i) {
        e.Edit("Edit " + std::to_string(i));
        EXPECT_EQ(lvtest::ReadBytes(BackupFileName(e.data)), e.states[e.states.size() - 2]);
    }
    // Twenty states before the current one, one file each, and the index: no more.
    EXPECT_EQ(e.HistoryFiles(), kHistoryStates + 1);

    for (int i = 21; i >= 2; --i) {
        const ModificationHistoryMenu menu = ReadModificationHistory(e.data);
        ASSERT_TRUE(menu.canUndo) << i;
        EXPECT_EQ(menu.undoCommand, "Edit " + std::to_string(i));
        EXPECT_EQ(menu.canRedo, i < 21);
        EXPECT_TRUE(RestoreModificationBackup(e.data));
        EXPECT_EQ(lvtest::ReadBytes(e.data), e.states[static_cast<std::size_t>(i - 1)]);
        EXPECT_EQ(ReadModificationHistory(e.data).redoCommand, "Edit " + std::to_string(i));
    }
    // The state before the first edit is past the limit: at the oldest kept one Undo stops.
    EXPECT_FALSE(ReadModificationHistory(e.data).canUndo);
    EXPECT_FALSE(RestoreModificationBackup(e.data));
    EXPECT_EQ(lvtest::ReadBytes(e.data), e.states[1]);
    // Undo steps left the backup as the state before the last change.
    EXPECT_EQ(lvtest::ReadBytes(BackupFileName(e.data)), e.states[20]);

    for (int i = 2; i <= 21; ++i) {
        EXPECT_EQ(ReadModificationHistory(e.data).redoCommand, "Edit " + std::to_string(i));
        EXPECT_TRUE(RedoModification(e.data));
        EXPECT_EQ(lvtest::ReadBytes(e.data), e.states[static_cast<std::size_t>(i)]);
    }
    EXPECT_FALSE(ReadModificationHistory(e.data).canRedo);
    EXPECT_FALSE(RedoModification(e.data));
}

TEST(History, AChangeAfterUndoDropsTheRedoStates) {
    Edits e;
    e.Edit("Edit 1");
    e.Edit("Edit 2");
    e.Edit("Edit 3");
    EXPECT_TRUE(RestoreModificationBackup(e.data));
    EXPECT_TRUE(RestoreModificationBackup(e.data));
    ASSERT_EQ(lvtest::ReadBytes(e.data), e.states[1]);

    e.Edit("Erase bookmark");
    EXPECT_EQ(lvtest::ReadBytes(BackupFileName(e.data)), e.states[1]);
    const ModificationHistoryMenu menu = ReadModificationHistory(e.data);
    EXPECT_FALSE(menu.canRedo);
    EXPECT_EQ(menu.undoCommand, "Erase bookmark");
    EXPECT_EQ(e.HistoryFiles(), 3u) << "states 0 and 1 and the index";

    EXPECT_TRUE(RestoreModificationBackup(e.data));
    EXPECT_EQ(lvtest::ReadBytes(e.data), e.states[1]);
    EXPECT_EQ(ReadModificationHistory(e.data).undoCommand, "Edit 1");
    EXPECT_TRUE(RedoModification(e.data));
    EXPECT_EQ(lvtest::ReadBytes(e.data), e.states[4]);
}

TEST(History, AFailedSaveOrUndoKeepsEveryEntry) {
    namespace fs = std::filesystem;
    Edits e;
    e.Edit("Edit 1");
    e.Edit("Edit 2");
    ASSERT_TRUE(RestoreModificationBackup(e.data));
    const std::string bak = BackupFileName(e.data);

    // The backup cannot be replaced (a folder in its place): the change is not saved, and the
    // history, its redo state included, is as it was.
    fs::remove(bak);
    fs::create_directory(bak);
    TakeModificationBackup(e.data, true, "Edit 3");
    EXPECT_THROW(TIniFile32(e.data).WriteString("Tabs", "Count", "3"), FileError);
    EXPECT_EQ(lvtest::ReadBytes(e.data), e.states[1]);
    ModificationHistoryMenu menu = ReadModificationHistory(e.data);
    EXPECT_EQ(menu.undoCommand, "Edit 1");
    EXPECT_EQ(menu.redoCommand, "Edit 2");
    fs::remove(bak);

    // A DataFile that cannot be written keeps its state and the history its position.
    fs::permissions(e.data, fs::perms::owner_read);
    EXPECT_THROW(RedoModification(e.data), FileError);
    EXPECT_THROW(RestoreModificationBackup(e.data), FileError);
    fs::permissions(e.data, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(lvtest::ReadBytes(e.data), e.states[1]);

    EXPECT_TRUE(RedoModification(e.data));
    EXPECT_EQ(lvtest::ReadBytes(e.data), e.states[2]);
    EXPECT_TRUE(RestoreModificationBackup(e.data));
    EXPECT_TRUE(RestoreModificationBackup(e.data));
    EXPECT_EQ(lvtest::ReadBytes(e.data), e.states[0]);
}

TEST(History, SwitchedOffNothingIsKept) {
    Edits e;
    TakeModificationBackup(e.data, false, "Edit");
    TIniFile32(e.data).WriteString("Tabs", "Count", "1");
    EXPECT_FALSE(std::filesystem::exists(HistoryFolderName(e.data)));
    EXPECT_FALSE(std::filesystem::exists(BackupFileName(e.data)));
    EXPECT_FALSE(ReadModificationHistory(e.data).canUndo);
}

} // namespace
