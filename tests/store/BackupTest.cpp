#include "store/Backup.h"
#include "store/FileError.h"
#include "store/TIniFile32.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

using namespace lv;

TEST(Backup, StemDropsOnlyTheLastComponentsExtension) {
    EXPECT_EQ(FileStem("/bm/work.lvd"), "/bm/work");
    EXPECT_EQ(FileStem("/my.files/work"), "/my.files/work");
    EXPECT_EQ(FileStem("/my.files/work.tar.lvd"), "/my.files/work.tar");
    EXPECT_EQ(FileStem("Disk.LVD"), "Disk");
}

TEST(Backup, BackupThenUndoRestoresTheSameBytesEveryTime) {
    lvtest::TempDir dir;
    std::filesystem::create_directory(dir.File("my.files"));
    const std::string data = dir.File("my.files/Disk.LVD");
    lvtest::WriteBytes(data, "[Tabs]\r\nCount=1\r\n");

    TakeModificationBackup(data, true);
    TIniFile32(data).WriteString("Tabs", "Count", "2");
    EXPECT_EQ(BackupFileName(data), dir.File("my.files/Disk.bak"));
    EXPECT_EQ(lvtest::ReadBytes(dir.File("my.files/Disk.bak")), "[Tabs]\r\nCount=1\r\n");

    for (int undo = 0; undo < 2; ++undo) {
        lvtest::WriteBytes(data, "edited");
        EXPECT_TRUE(RestoreModificationBackup(data));
        EXPECT_EQ(lvtest::ReadBytes(data), "[Tabs]\r\nCount=1\r\n");
    }
    EXPECT_TRUE(std::filesystem::exists(dir.File("my.files/Disk.bak")));
}

TEST(Backup, SwitchedOffOrNothingToRestoreWritesNothing) {
    lvtest::TempDir dir;
    const std::string data = dir.File("work.lvd");
    lvtest::WriteBytes(data, "x");
    TakeModificationBackup(data, false);
    EXPECT_FALSE(std::filesystem::exists(dir.File("work.bak")));
    EXPECT_FALSE(RestoreModificationBackup(data));
    EXPECT_EQ(lvtest::ReadBytes(data), "x");
    TakeModificationBackup(dir.File("missing.lvd"), true);
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
    TakeModificationBackup(data, true);
    TIniFile32(data).UpdateFile();
    EXPECT_EQ(lvtest::ReadBytes(bak), "the user's last edit");

    // Its first real change takes the backup, with the DataFile's bits; later saves do not.
    TIniFile32 ini(data);
    ini.WriteString("Tabs", "Tab1", "Renamed");
    ini.WriteString("Tabs", "Tab1", "Again");
    EXPECT_EQ(lvtest::ReadBytes(bak), v0);
    EXPECT_EQ(fs::status(bak).permissions(), privateBits);

    // Undo is no command to back up: the backup stays what it was, so Undo can be repeated.
    TakeModificationBackup(data, true);
    EXPECT_TRUE(RestoreModificationBackup(data));
    EXPECT_EQ(lvtest::ReadBytes(data), v0);
    EXPECT_EQ(lvtest::ReadBytes(bak), v0);
    EXPECT_EQ(fs::status(data).permissions(), privateBits);

    // Switched off, arming drops what an earlier command armed.
    TakeModificationBackup(data, true);
    TakeModificationBackup(data, false);
    TIniFile32(data).WriteString("Tabs", "Tab1", "Third");
    EXPECT_EQ(lvtest::ReadBytes(bak), v0);
}

} // namespace
