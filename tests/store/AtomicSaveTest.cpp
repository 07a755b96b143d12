#include "store/FileError.h"
#include "store/TIniFile32.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace {

using lv::FileError;
using lv::TIniFile32;
namespace fs = std::filesystem;

std::string MessageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const FileError& e) {
        return e.what();
    }
    return "no FileError";
}

TEST(AtomicSave, ReadOnlyFileKeepsItsBytesAndReportsCannotCreate) {
    lvtest::TempDir dir;
    const std::string path = dir.File("Disk.LVD");
    lvtest::WriteBytes(path, "[Tabs]\r\nCount=1\r\n");
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read);

    TIniFile32 ini(path);
    EXPECT_EQ(MessageOf([&] { ini.WriteString("Tabs", "Count", "2"); }),
              "Cannot create file " + path);
    EXPECT_EQ(lvtest::ReadBytes(path), "[Tabs]\r\nCount=1\r\n");
    EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::group_read);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1)
        << "no temporary file may be left behind";
}

TEST(AtomicSave, MissingDirectoryAndUnreadablePathAreFileErrors) {
    lvtest::TempDir dir;
    const std::string inMissingDir = dir.File("nowhere/x.ini");
    TIniFile32 ini(inMissingDir);
    EXPECT_EQ(MessageOf([&] { ini.WriteString("S", "k", "v"); }),
              "Cannot create file " + inMissingDir);

    // A directory where the file should be cannot be read, whoever runs the test.
    const std::string directory = dir.File("sub.ini");
    fs::create_directory(directory);
    EXPECT_EQ(MessageOf([&] { TIniFile32 engine(directory); }), "Cannot open file " + directory);
}

TEST(AtomicSave, KeepsPermissionBitsAndWritesThroughSymbolicLinks) {
    lvtest::TempDir dir;
    const std::string real = dir.File("real.ini");
    const std::string link = dir.File("link.ini");
    lvtest::WriteBytes(real, "[S]\r\n");
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink(real, link);

    TIniFile32(link).WriteString("S", "k", "v");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(lvtest::ReadBytes(real), "[S]\r\nk=v\r\n");
    EXPECT_EQ(fs::status(real).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(AtomicSave, WriteFailingPartWayReportsAndKeepsTheOldFile) {
    lvtest::TempDir dir;
    const std::string path = dir.File("Disk.LVD");
    lvtest::WriteBytes(path, "[Tabs]\r\nCount=1\r\n");

    // A child whose files may not grow past 1,000 bytes stands in for a full disk.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1000, 1000};
        setrlimit(RLIMIT_FSIZE, &limit);
        TIniFile32 ini(path);
        try {
            ini.WriteString("Tabs", "Tab1", std::string(5000, 'x'));
        } catch (const FileError& e) {
            _exit(e.what() == "Cannot create file " + path ? 0 : 2);
        }
        _exit(1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: no error, 2: wrong message";
    EXPECT_EQ(lvtest::ReadBytes(path), "[Tabs]\r\nCount=1\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1);
}

// One whole version of the file the child writes: a header and one line of a single letter.
bool IsWholeVersion(const std::string& bytes, std::size_t fill) {
    const std::string head = "\r\n[S]\r\nk=";
    if (bytes.size() != head.size() + fill + 2 || bytes.compare(0, head.size(), head) != 0) {
        return false;
    }
    const char letter = bytes[head.size()];
    return bytes.find_first_not_of(letter, head.size()) == head.size() + fill &&
           bytes.compare(bytes.size() - 2, 2, "\r\n") == 0;
}

TEST(AtomicSave, SaveKilledMidwayNeverLeavesAPartialFile) {
    lvtest::TempDir dir;
    const std::string path = dir.File("big.ini");
    const std::size_t fill = 512 * 1024;
    TIniFile32(path).WriteString("S", "k", std::string(fill, 'a'));

    for (int round = 1; round <= 3; ++round) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            TIniFile32 ini(path);
            for (char letter = 'b';; letter = letter == 'z' ? 'b' : static_cast<char>(letter + 1)) {
                ini.WriteString("S", "k", std::string(fill, letter));
            }
        }
        // Watch the file change a few times (each read must be a whole version), then kill the
        // writer wherever it happens to be.
        std::string last = lvtest::ReadBytes(path);
        int changes = 0;
        for (int reads = 0; changes < round && reads < 100000; ++reads) {
            const std::string now = lvtest::ReadBytes(path);
            ASSERT_TRUE(IsWholeVersion(now, fill)) << "size " << now.size();
            if (now != last) {
                ++changes;
                last = now;
            }
        }
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_GE(changes, round);
        EXPECT_TRUE(IsWholeVersion(lvtest::ReadBytes(path), fill));
    }
}

} // namespace
