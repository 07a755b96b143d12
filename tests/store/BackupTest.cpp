#include "store/Backup.h"
#include "store/FileError.h"
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

} // namespace
