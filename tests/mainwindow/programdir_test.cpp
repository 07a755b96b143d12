#include "platform/ProgramDir.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace lvtest {
namespace {

TEST(ProgramDir, ChoosesHomeThenPortableThenDataDirectory) {
    TempDir dir;
    const std::string exe = dir.File("bin");
    std::filesystem::create_directory(exe);
    lv::ProgramDirSources sources;
    sources.executableDir = exe;
    sources.home = dir.File("home");

    // Without a settings file beside the program: the per-user data directory, created; the
    // start that creates it is the first one.
    bool created = false;
    EXPECT_EQ(lv::FindProgramDir(sources, &created), dir.File("home") + "/.local/share/linkvane/");
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("home/.local/share/linkvane")));
    EXPECT_TRUE(created);
    EXPECT_EQ(lv::FindProgramDir(sources, &created), dir.File("home") + "/.local/share/linkvane/");
    EXPECT_FALSE(created);
    sources.xdgDataHome = dir.File("data");
    EXPECT_EQ(lv::FindProgramDir(sources), dir.File("data") + "/linkvane/");
    sources.xdgDataHome = "relative/ignored";
    EXPECT_EQ(lv::FindProgramDir(sources), dir.File("home") + "/.local/share/linkvane/");

    // A settings file in any letter case makes the program's directory a portable install.
    WriteBytes(dir.Path() / "bin" / "LVD.INI", "");
    EXPECT_EQ(lv::FindProgramDir(sources), exe + "/");

    sources.linkvaneHome = dir.File("chosen");
    EXPECT_EQ(lv::FindProgramDir(sources), dir.File("chosen") + "/");
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("chosen")));
}

} // namespace
} // namespace lvtest
