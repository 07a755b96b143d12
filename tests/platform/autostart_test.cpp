// The log-on autostart entry: where it goes, that the desktop's validator accepts it, and that
// switching off removes it from both places.
#include "platform/XdgAutoStart.h"
#include "support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

bool HaveValidator() {
    return std::system("command -v desktop-file-validate >/dev/null 2>&1") == 0;
}

// The validator's verdict; its complaints go to the test's output.
bool Validates(const std::string& file) {
    return std::system(("desktop-file-validate '" + file + "'").c_str()) == 0;
}

TEST(AutoStart, OnWritesAValidEntryOffRemovesIt) {
    if (!HaveValidator()) {
        GTEST_SKIP() << "desktop-file-validate is not installed (desktop-file-utils)";
    }
    // Program paths and program directories a user may well have.
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"/usr/bin/linkvane", ""},
        {"/home/ann/My Apps/linkvane", "/home/ann/Link vane \"data\" $HOME 100%"},
        {"/opt/l\\v/linkvane", "/tmp/a`b`;c"},
    };
    for (const auto& [program, home] : cases) {
        lvtest::TempDir dir;
        const std::string user = dir.File("config/autostart");
        lv::XdgAutoStart autoStart({user, dir.File("system")}, program, home);
        EXPECT_FALSE(autoStart.IsOn());
        autoStart.Apply(true);
        const std::string entry = user + "/linkvane.desktop";
        ASSERT_TRUE(fs::exists(entry)) << program;
        EXPECT_TRUE(autoStart.IsOn());
        EXPECT_TRUE(Validates(entry)) << lvtest::ReadBytes(entry);
        autoStart.Apply(false);
        EXPECT_FALSE(fs::exists(entry));
        EXPECT_FALSE(autoStart.IsOn());
    }
}

TEST(AutoStart, ExecQuotesWhatTheDesktopWouldSplitOrExpand) {
    const std::string text = lv::XdgAutoStart::EntryText("/a b/linkvane", "/h$o%me");
    EXPECT_NE(text.find("\nExec=env \"LINKVANE_HOME=/h\\\\$o%%me\" \"/a b/linkvane\"\n"),
              std::string::npos)
        << text;
    EXPECT_NE(
        lv::XdgAutoStart::EntryText("/usr/bin/linkvane", "").find("\nExec=/usr/bin/linkvane\n"),
        std::string::npos);
}

TEST(AutoStart, AnEntryFoundInTheSystemPlaceIsReplacedThereAndBothGoWhenOff) {
    lvtest::TempDir dir;
    const std::string user = dir.File("user");
    const std::string system = dir.File("system");
    fs::create_directories(system);
    lvtest::WriteBytes(system + "/linkvane.desktop", "[Desktop Entry]\n");
    lv::XdgAutoStart autoStart({user, system}, "/usr/bin/linkvane");
    EXPECT_TRUE(autoStart.IsOn());
    autoStart.Apply(true);
    EXPECT_FALSE(fs::exists(user + "/linkvane.desktop"));
    EXPECT_NE(lvtest::ReadBytes(system + "/linkvane.desktop").find("Exec=/usr/bin/linkvane"),
              std::string::npos);
    fs::create_directories(user);
    lvtest::WriteBytes(user + "/linkvane.desktop", "[Desktop Entry]\n");
    autoStart.Apply(false);
    EXPECT_FALSE(fs::exists(user + "/linkvane.desktop"));
    EXPECT_FALSE(fs::exists(system + "/linkvane.desktop"));
}

} // namespace
