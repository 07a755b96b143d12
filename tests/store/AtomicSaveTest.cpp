#include "store/FileError.h"
#include "store/FileIo.h"
#include "store/TIniFile32.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

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

struct stat StatOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st;
}

TEST(AtomicSave, TemporaryFileHasTheTargetsPermissionsFromItsFirstByte) {
    lvtest::TempDir dir;
    const std::string path = dir.File("Disk.LVD");
    lvtest::WriteBytes(path, "[Tabs]\r\n");
    const auto privateBits = fs::perms::owner_read | fs::perms::owner_write;
    fs::permissions(path, privateBits);

    // Even a umask that narrows nothing must not give the copy wider bits for a moment.
    const mode_t oldMask = ::umask(0);
    std::vector<fs::perms> seen;
    const std::string bytes = "[Tabs]\r\nCount=1\r\n";
    lv::WriteFileAtomic(path, bytes.size(), [&](const lv::PieceSink& emit) {
        for (const auto& entry : fs::directory_iterator(dir.Path())) {
            if (entry.path().filename().string().find(".~lv") != std::string::npos) {
                seen.push_back(fs::status(entry.path()).permissions());
            }
        }
        return emit(bytes);
    });
    ::umask(oldMask);
    ASSERT_EQ(seen.size(), 1u) << "the content is written into one temporary file";
    EXPECT_EQ(seen[0], privateBits);
    EXPECT_EQ(fs::status(path).permissions(), privateBits);
    EXPECT_EQ(lvtest::ReadBytes(path), bytes);
}

TEST(AtomicSave, SavingTheBytesAlreadyOnDiskWritesNothing) {
    lvtest::TempDir dir;
    const std::string path = dir.File("Disk.LVD");
    const std::string bytes = "[Tabs]\r\nCount=1\r\nTab1=Page1\r\n\r\n[Page1]\r\n01N=A\r\n";
    lvtest::WriteBytes(path, bytes);
    const auto longAgo = fs::last_write_time(path) - std::chrono::hours(24 * 365);
    fs::last_write_time(path, longAgo);
    const ino_t inode = StatOf(path).st_ino;

    TIniFile32(path).UpdateFile();
    TIniFile32 deferred(path);
    deferred.SetDeferSaves(true);
    deferred.WriteString("Page1", "01N", "A"); // the value it already has
    deferred.UpdateFile();
    lv::WriteFileAtomic(path, bytes);
    EXPECT_EQ(StatOf(path).st_ino, inode);
    EXPECT_EQ(fs::last_write_time(path), longAgo);

    // One byte more, one byte other, or other line ends: written.
    for (const std::string& other : {bytes + "x", "[Tabs]\r\nCount=2" + bytes.substr(15)}) {
        lv::WriteFileAtomic(path, other);
        EXPECT_EQ(lvtest::ReadBytes(path), other);
    }
    lvtest::WriteBytes(path, "[S]\nk=v\n");
    TIniFile32(path).UpdateFile();
    EXPECT_EQ(lvtest::ReadBytes(path), "[S]\r\nk=v\r\n");
}

// Runs `action` in a child that an alarm ends if it hangs; its exit code, or -1 when it hung.
int InChild(const std::function<int()>& action) {
    const pid_t child = fork();
    if (child == 0) {
        alarm(10);
        _exit(action());
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(HostileFiles, FifoDeviceOrDirectoryIsRefusedWithoutBlocking) {
    lvtest::TempDir dir;
    const std::string fifo = dir.File("pipe.lvd");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string folder = dir.File("folder.lvd");
    fs::create_directory(folder);
    for (const std::string& path :
         {fifo, std::string("/dev/zero"), std::string("/dev/null"), folder}) {
        const int code = InChild([&] {
            const std::string message = MessageOf([&] { TIniFile32 engine(path); });
            return message == "Cannot open file " + path ? 0 : 1;
        });
        EXPECT_EQ(code, 0) << path << (code == -1 ? ": blocked" : ": no or another error");
    }
    // Nothing that is not a regular file is replaced either.
    EXPECT_EQ(MessageOf([&] { lv::WriteFileAtomic(fifo, "x"); }), "Cannot create file " + fifo);
}

TEST(HostileFiles, FileLargerThanTheLimitIsRefusedBeforeItIsRead) {
    lvtest::TempDir dir;
    const std::string big = dir.File("big.lvd");
    lvtest::WriteBytes(big, "");
    fs::resize_file(big, lv::kMaxFileBytes + 1); // sparse: costs no disk
    EXPECT_EQ(MessageOf([&] { TIniFile32 engine(big); }),
              "Cannot open file " + big + ": larger than 256 MB");

    const std::string list = dir.File("list.txt");
    lvtest::WriteBytes(list, "0123456789");
    EXPECT_EQ(lv::ReadFileBytes(list, 10), "0123456789");
    EXPECT_EQ(MessageOf([&] { lv::ReadFileBytes(list, 9); }),
              "Cannot open file " + list + ": larger than 9 bytes");
    // Files of /proc report no size and are read to their end all the same.
    EXPECT_NE(lv::ReadFileBytes("/proc/self/status").value_or("").find("Pid:"), std::string::npos);
}

TEST(AtomicSave, OnlyTemporariesOfSavesWhoseProcessDiedAreRemoved) {
    lvtest::TempDir dir;
    const pid_t dead = fork();
    if (dead == 0) {
        _exit(0);
    }
    waitpid(dead, nullptr, 0);
    const std::string d = std::to_string(dead);
    const std::vector<std::string> gone = {"Disk.LVD.~lv" + d + "-0", "lvd.ini.~lv" + d + "-17"};
    const std::vector<std::string> kept = {
        "Disk.LVD",
        "Disk.LVD.~lv" + std::to_string(getpid()) + "-3",  // this process: a save in flight
        "Disk.LVD.~lv" + std::to_string(getppid()) + "-1", // another live process
        "Disk.LVD.~lvx-1",
        "Disk.LVD.~lv" + d + "-",
        "photo.~lv" + d + "-1.jpg",
        ".~lv" + d + "-1",
    };
    for (const auto& name : gone) {
        lvtest::WriteBytes(dir.File(name), "partial");
    }
    for (const auto& name : kept) {
        lvtest::WriteBytes(dir.File(name), "keep");
    }
    fs::create_directory(dir.File("sub.~lv" + d + "-2"));
    fs::create_symlink(dir.File("Disk.LVD"), dir.File("link.~lv" + d + "-4"));

    EXPECT_EQ(lv::RemoveStaleTemporaries(dir.Path().string()), 2);
    for (const auto& name : gone) {
        EXPECT_FALSE(fs::exists(dir.File(name))) << name;
    }
    for (const auto& name : kept) {
        EXPECT_EQ(lvtest::ReadBytes(dir.File(name)), "keep") << name;
    }
    EXPECT_TRUE(fs::is_directory(dir.File("sub.~lv" + d + "-2")));
    EXPECT_TRUE(fs::is_symlink(dir.File("link.~lv" + d + "-4")));
}

} // namespace
