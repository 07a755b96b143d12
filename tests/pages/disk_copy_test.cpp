#include "pages/DiskCopy.h"
#include "store/FileError.h"
#include "store/TIniFile32.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace lv;
namespace fs = std::filesystem;

TEST(RemovableVolumes, MountPointsUnderMediaInMountOrder) {
    const std::string mountinfo =
        "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
        "30 22 0:25 / /media rw shared:2 - tmpfs tmpfs rw\n"
        "41 22 8:17 / /run/media/ann/USB\\040STICK rw,nosuid - vfat /dev/sdb1 rw\n"
        "42 22 8:33 / /media/ann/CARD rw - exfat /dev/sdc1 rw\n"
        "43 22 8:49 / /mnt/backup rw - ext4 /dev/sdd1 rw\n"
        "44 42 8:33 / /media/ann/CARD rw - exfat /dev/sdc1 rw";
    EXPECT_EQ(RemovableVolumes(mountinfo),
              (std::vector<std::string>{"/run/media/ann/USB STICK", "/media/ann/CARD"}));
    EXPECT_EQ(RemovableVolumes(""), std::vector<std::string>{});
}

class DiskCopy : public ::testing::Test {
protected:
    lvtest::TempDir dir;
    std::string program = dir.File("prog");
    std::string volume = dir.File("vol");
    DiskCopyRequest request;

    void SetUp() override {
        fs::create_directories(program);
        fs::create_directories(volume);
        lvtest::WriteBytes(program + "/lvd.ini", "[File]\r\nName=/x/work.lvd\r\n");
        lvtest::WriteBytes(program + "/User.BMP", "user");
        lvtest::WriteBytes(program + "/LVD.bmp", "stem");
        lvtest::WriteBytes(program + "/work.lvd", "[Tabs]\r\n");
        lvtest::WriteBytes(program + "/LVD.USE", "info");
        request.drive = 'B';
        request.volumes = {dir.File("elsewhere"), volume};
        request.programDir = program + "/";
        request.dataFile = program + "/work.lvd";
        request.searchEngineFile = program + "/Mine.ISE";
        lvtest::WriteBytes(request.searchEngineFile, "engines");
    }
};

TEST_F(DiskCopy, CopiesTheWorkingSetAndPointsTheCopyAtDiskLvd) {
    lvtest::ScriptedDialogs dialogs;
    dialogs.Queue(MsgResult::No);
    const DiskCopyResult result = DiskButtonClick(dialogs, request);
    EXPECT_TRUE(result.driveReady);
    EXPECT_EQ(lvtest::ReadBytes(volume + "/User.BMP"), "stem"); // the stem bitmap comes second
    EXPECT_EQ(lvtest::ReadBytes(volume + "/Disk.LVD"), "[Tabs]\r\n");
    EXPECT_EQ(lvtest::ReadBytes(volume + "/work.lvd"), "[Tabs]\r\n");
    EXPECT_EQ(lvtest::ReadBytes(volume + "/Disk.ISE"), "engines");
    EXPECT_EQ(lvtest::ReadBytes(volume + "/Mine.ISE"), "engines");
    EXPECT_FALSE(fs::exists(volume + "/LVD.USE"));
    EXPECT_FALSE(fs::exists(volume + "/setup.exe"));
    EXPECT_EQ(ReadFromIniS(volume + "/LVD.INI", "File", "Name", ""), "Disk");
    EXPECT_EQ(dialogs.Asked().back(), "Message: Do you want to copy your User Information and "
                                      "e-mail addresses to floppy as well?");
}

TEST_F(DiskCopy, AMissingVolumeWarnsAndCopiesNothing) {
    for (const char drive : {'C', 'A'}) { // no third volume; the first one is not mounted
        lvtest::ScriptedDialogs dialogs;
        request.drive = drive;
        EXPECT_FALSE(DiskButtonClick(dialogs, request).driveReady);
        ASSERT_EQ(dialogs.Messages().size(), 1u);
        EXPECT_EQ(dialogs.Messages()[0].kind, MsgKind::Warning);
        EXPECT_EQ(dialogs.Messages()[0].text,
                  std::string("Drive not responding!\rYou may need to plug in a removable disk "
                              "for ") +
                      drive +
                      ":\\ (the letters stand for the disks mounted under /media and /run/media, "
                      "in mount order), then press the copy button again.\rOr select a different "
                      "drive under the File Menu : Copy Program to Diskette.");
    }
    EXPECT_TRUE(fs::is_empty(volume));
}

TEST_F(DiskCopy, AFullVolumeReportsTheFileItCouldNotWrite) {
    lvtest::WriteBytes(request.dataFile, std::string(100000, 'x'));
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{50000, 50000};
        setrlimit(RLIMIT_FSIZE, &limit);
        lvtest::ScriptedDialogs dialogs;
        try {
            DiskButtonClick(dialogs, request);
        } catch (const FileError& e) {
            _exit(std::string(e.what()) == "Cannot create file " + volume + "/Disk.LVD" ? 0 : 2);
        }
        _exit(1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: no error, 2: wrong message";
    EXPECT_EQ(lvtest::ReadBytes(volume + "/User.BMP"), "stem"); // copied before the failure
    EXPECT_FALSE(fs::exists(volume + "/Disk.LVD"));
}

TEST_F(DiskCopy, FilesSpeltInAnotherCaseAreFound) {
    // The search-engine file derived from the DataFile's name, and the user's files.
    request.searchEngineFile.clear();
    lvtest::WriteBytes(program + "/work.lvd.ise", "derived");
    fs::rename(program + "/LVD.USE", program + "/lvd.use");
    lvtest::ScriptedDialogs dialogs;
    dialogs.Queue(MsgResult::Yes);
    DiskButtonClick(dialogs, request);
    EXPECT_EQ(lvtest::ReadBytes(volume + "/Disk.ISE"), "derived");
    EXPECT_EQ(lvtest::ReadBytes(volume + "/work.lvd.ise"), "derived");
    EXPECT_EQ(lvtest::ReadBytes(volume + "/LVD.USE"), "info");
}

} // namespace
