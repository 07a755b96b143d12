// Shell "open": programs started directly with their parameters as words, everything else
// handed to the opener; local targets taken apart; the browser probe.
#include "launch_recorder.h"

#include "platform/BrowserProbe.h"
#include "platform/LinuxShell.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

using lvtest::ArgvRecorder;
using lvtest::TempDir;
using Words = std::vector<std::string>;

namespace {

TEST(Shell, ProgramGetsItsParametersAsWordsInTheGivenDirectory) {
    TempDir dir;
    ArgvRecorder program(dir, "tool");
    TempDir work;
    lv::LinuxShell shell("/nonexistent/opener");
    const lv::ShellResult result = shell.Open(
        program.Program(), "-q \"two words\" 'single quoted' C:\\dir\\f.txt \\\"x\\\" $(id) ;ls",
        work.Path().string());
    ASSERT_TRUE(result.ok) << result.message;
    Words args;
    std::string cwd;
    ASSERT_TRUE(program.Wait(args, cwd));
    EXPECT_EQ(args, (Words{"-q", "two words", "single quoted", "C:\\dir\\f.txt", "\"x\"", "$(id)",
                           ";ls"}));
    EXPECT_EQ(cwd, work.Path().string());
}

TEST(Shell, StoredTargetWithArgumentsRunsInTheProgramsFolder) {
    TempDir dir;
    ArgvRecorder program(dir, "tool");
    const lv::LocalTarget target = lv::SplitLocalTarget(program.Program() + " /-x", "");
    EXPECT_EQ(target.file, program.Program() + " ");
    EXPECT_EQ(target.parameters, "-x");
    EXPECT_EQ(target.directory, dir.Path().string());

    lv::LinuxShell shell("/nonexistent/opener");
    // A working directory that does not exist here (a Windows drive path) is not fatal.
    ASSERT_TRUE(shell.Open(target.file, target.parameters, "C:\\Games").ok);
    Words args;
    std::string cwd;
    ASSERT_TRUE(program.Wait(args, cwd));
    EXPECT_EQ(args, Words{"-x"});
    EXPECT_EQ(cwd, dir.Path().string());
}

TEST(Shell, EverythingElseGoesToTheOpenerAsItsOneArgument) {
    TempDir dir;
    ArgvRecorder opener(dir, "opener");
    lvtest::WriteBytes(dir.File("notes.txt"), "text");
    lvtest::WriteBytes(dir.File("-rf"), "text");
    lv::LinuxShell shell(opener.Program());
    const struct {
        std::string file;
        std::string parameters;
        std::string expected;
    } cases[] = {
        {"mailto:someone@example.org", "", "mailto:someone@example.org"},
        {"http://example.com/a b;c", "", "http://example.com/a b;c"},
        {dir.File("notes.txt"), "--ignored", dir.File("notes.txt")},
        {dir.Path().string(), "", dir.Path().string()},
        {dir.File("notes.txt") + " ", "", dir.File("notes.txt")},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(shell.Open(c.file, c.parameters, "").ok) << c.file;
        Words args;
        std::string cwd;
        ASSERT_TRUE(opener.Wait(args, cwd)) << c.file;
        EXPECT_EQ(args, Words{c.expected});
    }
    // A relative name that looks like an option is made a path first, whether or not the
    // file is there.
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    for (const std::string name : {"-rf", "-x", "--help"}) {
        const bool opened = shell.Open(name, "", "").ok;
        Words args;
        std::string cwd;
        EXPECT_TRUE(opened && opener.Wait(args, cwd)) << name;
        EXPECT_EQ(args, Words{"./" + name});
    }
    std::filesystem::current_path(previous);
}

TEST(Shell, HiddenCharactersAreRefusedNotPassedOn) {
    TempDir dir;
    ArgvRecorder opener(dir, "opener");
    ArgvRecorder program(dir, "tool");
    lv::LinuxShell shell(opener.Program());
    const struct {
        std::string file, parameters, directory;
    } cases[] = {
        {dir.File("notes\xE2\x80\xAEtxt.sh"), "", ""},
        {"mailto:a@example.org\x1B", "", ""},
        {program.Program(), "-q\xE2\x80\x8B", ""},
        {program.Program(), "", dir.Path().string() + "\xC2\x85"},
    };
    for (const auto& c : cases) {
        const lv::ShellResult result = shell.Open(c.file, c.parameters, c.directory);
        EXPECT_FALSE(result.ok) << c.file;
        EXPECT_EQ(result.error, EINVAL);
        EXPECT_NE(result.message.find("<U+"), std::string::npos) << result.message;
    }
    Words args;
    std::string cwd;
    EXPECT_FALSE(opener.Wait(args, cwd, std::chrono::milliseconds(200)));
    EXPECT_FALSE(program.Wait(args, cwd, std::chrono::milliseconds(200)));
}

TEST(Shell, MissingOpenerIsReturnedNotThrown) {
    lv::LinuxShell shell("/nonexistent/opener");
    const lv::ShellResult result = shell.Open("http://example.com/", "", "");
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, ENOENT);
    EXPECT_EQ(result.message, "/nonexistent/opener: No such file or directory");
}

TEST(Shell, ExistsForFilesFoldersAndAddressesOnly) {
    TempDir dir;
    lvtest::WriteBytes(dir.File("notes.txt"), "x");
    const struct {
        std::string file;
        bool exists;
    } cases[] = {
        {dir.File("notes.txt"), true},
        {dir.File("notes.txt") + " ", true},
        {dir.Path().string(), true},
        {"mailto:someone@example.org", true},
        {"https://example.com/", true},
        {dir.File("missing.txt"), false},
        {"C:\\Program Files\\tool.exe", false},
        {"", false},
    };
    const lv::LinuxShell shell("/nonexistent/opener");
    for (const auto& c : cases) {
        EXPECT_EQ(shell.Exists(c.file), c.exists) << c.file;
    }
}

TEST(Shell, SplitLocalTarget) {
    const struct {
        const char* target;
        const char* extraInfo;
        lv::LocalTarget expected;
    } cases[] = {
        {"/usr/bin/tool", "", {"/usr/bin/tool", "", "/usr/bin"}},
        {"/usr/bin/tool /-a /b", "", {"/usr/bin/tool ", "-a /b", "/usr/bin"}},
        {"/usr/bin/tool /-a", "D:\\Work", {"/usr/bin/tool ", "-a", "D:\\Work"}},
        {"/usr/bin/tool", "/srv/data", {"/usr/bin/tool", "", "/srv/data"}},
        {"/usr/bin/tool", "notes", {"/usr/bin/tool", "", "/usr/bin"}},
        {"C:\\Apps\\x.exe /q", "", {"C:\\Apps\\x.exe ", "q", "C:\\Apps"}},
        {"/tool", "", {"/tool", "", "/"}},
        {"tool", "", {"tool", "", ""}},
    };
    for (const auto& c : cases) {
        const lv::LocalTarget got = lv::SplitLocalTarget(c.target, c.extraInfo);
        EXPECT_EQ(got.file, c.expected.file) << c.target;
        EXPECT_EQ(got.parameters, c.expected.parameters) << c.target;
        EXPECT_EQ(got.directory, c.expected.directory) << c.target;
    }
}

TEST(BrowserProbe, FirstTwoDistinctBrowsersInPreferenceOrder) {
    const auto probe = [](std::set<std::string> present,
                          std::map<std::string, std::string> links = {}) {
        return lv::ProbeBrowsers([&](const std::string& path) { return present.count(path) != 0; },
                                 [&](const std::string& path) {
                                     const auto link = links.find(path);
                                     return link == links.end() ? path : link->second;
                                 });
    };
    EXPECT_EQ(probe({}), Words{});
    EXPECT_EQ(probe({"/usr/bin/epiphany"}), Words{"/usr/bin/epiphany"});
    EXPECT_EQ(probe({"/usr/bin/konqueror", "/snap/bin/chromium", "/usr/bin/firefox-esr"}),
              (Words{"/usr/bin/firefox-esr", "/snap/bin/chromium"}));
    // One program under two names or in two folders is one browser.
    EXPECT_EQ(
        probe({"/usr/bin/google-chrome", "/opt/google/chrome/google-chrome", "/usr/bin/epiphany"},
              {{"/usr/bin/google-chrome", "/opt/google/chrome/google-chrome"}}),
        (Words{"/usr/bin/google-chrome", "/usr/bin/epiphany"}));
    EXPECT_EQ(probe({"/usr/bin/firefox", "/usr/local/bin/firefox"}),
              (Words{"/usr/bin/firefox", "/usr/local/bin/firefox"}));
}

TEST(BrowserProbe, StartScriptsLinksAndTheProgramsTheyStartCountOnce) {
    // Each entry: a path below the fake root and what it is: "script" and "program" are
    // executable files, "plain" is not executable, anything else is the target of a link.
    using Tree = std::vector<std::pair<std::string, std::string>>;
    const auto probe = [](const Tree& tree) {
        TempDir root;
        for (const auto& [path, what] : tree) {
            const std::filesystem::path file = root.Path() / path.substr(1);
            std::filesystem::create_directories(file.parent_path());
            if (what == "script" || what == "program" || what == "plain") {
                lvtest::WriteBytes(file, what == "script" ? "#!/bin/sh\nexec \"$APP\" \"$@\"\n"
                                                          : std::string("\x7f"
                                                                        "ELF"));
                std::filesystem::permissions(file, what == "plain"
                                                       ? std::filesystem::perms::owner_read
                                                       : std::filesystem::perms::owner_all);
            } else {
                std::filesystem::create_symlink(what, file);
            }
        }
        return lv::ProbeBrowsersBelow(root.Path());
    };
    // Debian's chromium: a start script, its program, and the system default through
    // /etc/alternatives.
    EXPECT_EQ(probe({{"/usr/bin/chromium", "script"},
                     {"/usr/lib/chromium/chromium", "program"},
                     {"/etc/alternatives/x-www-browser", "/usr/bin/chromium"},
                     {"/usr/bin/x-www-browser", "/etc/alternatives/x-www-browser"}}),
              Words{"/usr/bin/chromium"});
    // A script in front of a vendor's copy below /opt, or of a snap.
    EXPECT_EQ(probe({{"/usr/bin/firefox", "script"}, {"/opt/firefox/firefox", "program"}}),
              Words{"/usr/bin/firefox"});
    EXPECT_EQ(probe({{"/usr/bin/chromium-browser", "script"}, {"/snap/bin/chromium", "program"}}),
              Words{"/snap/bin/chromium"});
    // Links, relative and absolute, and chains of them, lead to one program.
    EXPECT_EQ(probe({{"/usr/bin/firefox-esr", "../lib/firefox-esr/firefox-esr"},
                     {"/usr/lib/firefox-esr/firefox-esr", "program"},
                     {"/usr/local/bin/firefox-esr", "/usr/bin/firefox-esr"},
                     {"/usr/bin/epiphany", "program"}}),
              (Words{"/usr/bin/firefox-esr", "/usr/bin/epiphany"}));
    EXPECT_EQ(probe({{"/usr/bin/firefox", "/etc/alternatives/firefox"},
                     {"/etc/alternatives/firefox", "/usr/lib/firefox/firefox"},
                     {"/usr/lib/firefox/firefox", "program"},
                     {"/usr/bin/x-www-browser", "/usr/lib/firefox/firefox"}}),
              Words{"/usr/bin/firefox"});
    // Two different programs stay two browsers; dangling, looping and unrunnable names none.
    EXPECT_EQ(probe({{"/usr/bin/firefox", "script"}, {"/usr/bin/firefox-esr", "script"}}),
              (Words{"/usr/bin/firefox", "/usr/bin/firefox-esr"}));
    EXPECT_EQ(probe({{"/usr/bin/firefox", "/nowhere/firefox"},
                     {"/usr/bin/chromium", "/usr/bin/vivaldi"},
                     {"/usr/bin/vivaldi", "/usr/bin/chromium"},
                     {"/usr/bin/opera", "plain"}}),
              Words{});
}

} // namespace
