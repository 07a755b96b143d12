// Dropped shortcuts: shell links built byte by byte, desktop launchers, and both read from
// real files by their extension.
#include "platform/Shortcuts.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdint>
#include <string>

using lvtest::TempDir;

namespace {

// Builds shell link bytes: header, optional ID list, optional LinkInfo, counted strings.
class LinkBuilder {
public:
    bool unicode = false;
    bool idList = false;
    std::string localBasePath;     // LinkInfo with a local path when not empty
    std::string localBasePathWide; // UTF-8 text put in the Unicode path field
    std::string pathSuffix;
    std::string netName;
    std::string name, relativePath, workingDir, arguments, iconLocation;
    std::int32_t iconIndex = 0;

    std::string Bytes() const {
        std::string out;
        U32(out, 0x4C);
        out += std::string("\x01\x14\x02\x00\x00\x00\x00\x00\xC0\x00\x00\x00\x00\x00\x00\x46", 16);
        std::uint32_t flags = 0;
        const bool hasInfo =
            !localBasePath.empty() || !localBasePathWide.empty() || !netName.empty();
        flags |= idList ? 0x01 : 0;
        flags |= hasInfo ? 0x02 : 0;
        flags |= name.empty() ? 0 : 0x04;
        flags |= relativePath.empty() ? 0 : 0x08;
        flags |= workingDir.empty() ? 0 : 0x10;
        flags |= arguments.empty() ? 0 : 0x20;
        flags |= iconLocation.empty() ? 0 : 0x40;
        flags |= unicode ? 0x80 : 0;
        U32(out, flags);
        out += std::string(0x38 - out.size(), '\0'); // attributes, times, size
        U32(out, static_cast<std::uint32_t>(iconIndex));
        out += std::string(0x4C - out.size(), '\0');
        if (idList) {
            const std::string item = "\x06\x00\x1F\x50\xAB\xCD";
            U16(out, static_cast<std::uint16_t>(item.size() + 2));
            out += item;
            U16(out, 0);
        }
        if (hasInfo) {
            out += LinkInfo();
        }
        for (const std::string* text :
             {&name, &relativePath, &workingDir, &arguments, &iconLocation}) {
            if (text->empty()) {
                continue;
            }
            const std::string encoded = unicode ? Utf16(*text) : *text;
            U16(out, static_cast<std::uint16_t>(unicode ? encoded.size() / 2 : encoded.size()));
            out += encoded;
        }
        U32(out, 0); // terminal extra block
        return out;
    }

    static void U16(std::string& out, std::uint16_t v) {
        out += static_cast<char>(v & 0xFF);
        out += static_cast<char>(v >> 8);
    }
    static void U32(std::string& out, std::uint32_t v) {
        U16(out, static_cast<std::uint16_t>(v));
        U16(out, static_cast<std::uint16_t>(v >> 16));
    }
    // ASCII and two-byte UTF-8 only, enough for the tests.
    static std::string Utf16(const std::string& utf8) {
        std::string out;
        for (std::size_t i = 0; i < utf8.size(); ++i) {
            std::uint16_t ch = static_cast<unsigned char>(utf8[i]);
            if (ch >= 0xC0) {
                ch = static_cast<std::uint16_t>((ch & 0x1F) << 6 |
                                                (static_cast<unsigned char>(utf8[++i]) & 0x3F));
            }
            U16(out, ch);
        }
        return out;
    }

private:
    std::string LinkInfo() const {
        const bool wide = !localBasePathWide.empty();
        const std::uint32_t headerSize = wide ? 0x24 : 0x1C;
        std::string body; // everything after the header, offsets relative to the block
        const auto place = [&](const std::string& bytes) {
            const std::uint32_t at = headerSize + static_cast<std::uint32_t>(body.size());
            body += bytes;
            return at;
        };
        std::uint32_t flags = 0, base = 0, net = 0, suffix = 0, baseWide = 0;
        if (!localBasePath.empty() || wide) {
            flags |= 1;
            place(std::string("\x10\x00\x00\x00\x03\x00\x00\x00\x00\x00\x00\x00\x10\x00\x00\x00",
                              16));
            base = place(localBasePath + '\0');
            if (wide) {
                baseWide = place(Utf16(localBasePathWide) + std::string(2, '\0'));
            }
        }
        if (!netName.empty()) {
            flags |= 2;
            std::string link;
            U32(link, static_cast<std::uint32_t>(0x14 + netName.size() + 1));
            U32(link, 0);
            U32(link, 0x14);
            U32(link, 0);
            U32(link, 0);
            net = place(link + netName + '\0');
        }
        suffix = place(pathSuffix + '\0');
        std::string block;
        U32(block, headerSize + static_cast<std::uint32_t>(body.size()));
        U32(block, headerSize);
        U32(block, flags);
        U32(block, flags & 1 ? headerSize : 0);
        U32(block, base);
        U32(block, net);
        U32(block, suffix);
        if (wide) {
            U32(block, baseWide);
            U32(block, 0);
        }
        return block + body;
    }
};

TEST(ShellLink, ReadsTargetArgumentsDirectoryNameAndIcon) {
    LinkBuilder link;
    link.idList = true;
    link.localBasePath = "C:\\Program Files\\Tool\\tool.exe";
    link.name = "My Tool";
    link.relativePath = "..\\Tool\\tool.exe";
    link.workingDir = "C:\\Work";
    link.arguments = "-x";
    link.iconLocation = "C:\\Icons\\tool.ico";
    link.iconIndex = 3;
    for (bool unicode : {false, true}) {
        link.unicode = unicode;
        const auto parsed = lv::ParseShellLink(link.Bytes());
        ASSERT_TRUE(parsed) << unicode;
        EXPECT_EQ(parsed->target, "C:\\Program Files\\Tool\\tool.exe");
        EXPECT_EQ(parsed->arguments, "-x");
        EXPECT_EQ(parsed->workingDir, "C:\\Work");
        EXPECT_EQ(parsed->title, "My Tool");
        EXPECT_EQ(parsed->iconFile, "C:\\Icons\\tool.ico");
        EXPECT_EQ(parsed->iconIndex, 3);
        EXPECT_EQ(lv::StoredTarget(*parsed), "C:\\Program Files\\Tool\\tool.exe /-x");
    }
}

TEST(ShellLink, TargetFromUnicodePathNetworkShareOrRelativePath) {
    LinkBuilder wide;
    wide.localBasePath = "C:\\Dok?\\a.txt";
    wide.localBasePathWide = "C:\\Dok\xC3\xBC\\"; // the Unicode field wins, with the suffix
    wide.pathSuffix = "a.txt";
    wide.unicode = true;
    wide.name = "\xC5\x81\xC3\xB3"
                "d\xC5\xBA"; // outside Windows-1252 in part
    auto parsed = lv::ParseShellLink(wide.Bytes());
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->target, "C:\\Dok\xC3\xBC\\a.txt");
    EXPECT_EQ(parsed->title, "\xC5\x81\xC3\xB3"
                             "d\xC5\xBA");

    LinkBuilder ansi; // strings without Unicode are Windows-1252
    ansi.localBasePath = "C:\\Caf\xE9\\x.exe";
    ansi.name = "\x80 5";
    parsed = lv::ParseShellLink(ansi.Bytes());
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->target, "C:\\Caf\xC3\xA9\\x.exe");
    EXPECT_EQ(parsed->title, "\xE2\x82\xAC 5");

    LinkBuilder share;
    share.netName = "\\\\server\\docs";
    share.pathSuffix = "plan.doc";
    parsed = lv::ParseShellLink(share.Bytes());
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->target, "\\\\server\\docs\\plan.doc");

    LinkBuilder relative;
    relative.idList = true;
    relative.relativePath = ".\\notes.txt";
    parsed = lv::ParseShellLink(relative.Bytes());
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->target, ".\\notes.txt");
}

TEST(ShellLink, RefusesWhatIsNotALinkAndSurvivesCutOrLyingBytes) {
    LinkBuilder link;
    link.localBasePath = "C:\\a.exe";
    link.arguments = "-y";
    link.name = "A";
    const std::string good = link.Bytes();

    EXPECT_FALSE(lv::ParseShellLink(""));
    EXPECT_FALSE(lv::ParseShellLink("[InternetShortcut]\r\nURL=http://a/\r\n"));
    std::string wrongClass = good;
    wrongClass[5] = 'X';
    EXPECT_FALSE(lv::ParseShellLink(wrongClass));
    // Every prefix: never a read past the end (the sanitizer build checks), and a prefix that
    // holds the whole LinkInfo still yields its target.
    for (std::size_t size = 0; size < good.size(); ++size) {
        const auto parsed = lv::ParseShellLink(std::string_view(good).substr(0, size));
        if (parsed) {
            EXPECT_EQ(parsed->target, "C:\\a.exe");
        }
    }
    // A LinkInfo size beyond the file, and offsets pointing outside the block.
    std::string lying = good;
    lying[0x4C + 3] = '\x7F';
    EXPECT_FALSE(lv::ParseShellLink(lying));
    lying = good;
    lying[0x4C + 0x10] = '\xF0';
    lying[0x4C + 0x11] = '\xFF';
    const auto noPath = lv::ParseShellLink(lying);
    EXPECT_FALSE(noPath && noPath->target == "C:\\a.exe");
}

TEST(DesktopEntry, ExecIsSplitWithFieldCodesRemoved) {
    const std::string bytes = "# launcher\n"
                              "[Desktop Entry]\r\n"
                              "Type=Application\r\n"
                              "Name=Text Editor\n"
                              "Name[de]=Texteditor\n"
                              "Comment=Edit text\n"
                              "Icon=accessories-text-editor\n"
                              "Path=/srv/work\n"
                              "Exec=editor --new-window \"two words\" \"say \\\"hi\\\"\" 50%% %U\n"
                              "[Desktop Action New]\n"
                              "Name=Other\n";
    const auto parsed = lv::ParseDesktopEntry(bytes, [](const std::string& name) {
        return name == "editor" ? std::string("/usr/bin/editor") : std::string();
    });
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->target, "/usr/bin/editor");
    EXPECT_EQ(parsed->arguments, "--new-window \"two words\" \"say \\\"hi\\\"\" 50%");
    EXPECT_EQ(parsed->workingDir, "/srv/work");
    EXPECT_EQ(parsed->title, "Text Editor");
    EXPECT_EQ(parsed->iconFile, "accessories-text-editor");
    EXPECT_EQ(lv::StoredTarget(*parsed), "/usr/bin/editor /" + parsed->arguments);
}

TEST(DesktopEntry, LinksCommentsAndMissingPieces) {
    auto parsed = lv::ParseDesktopEntry("[Desktop Entry]\nType=Link\nComment=Caf\xC3\xA9 page\n"
                                        "URL=https://example.org/\n");
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->target, "https://example.org/");
    EXPECT_EQ(parsed->title, "Caf\xC3\xA9 page");
    EXPECT_EQ(parsed->arguments, "");

    parsed = lv::ParseDesktopEntry("[Desktop Entry]\nExec=/opt/x/run\n");
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->target, "/opt/x/run");
    EXPECT_EQ(parsed->arguments, "");

    EXPECT_FALSE(lv::ParseDesktopEntry("[Other]\nExec=/bin/x\n"));
    EXPECT_FALSE(lv::ParseDesktopEntry("[Desktop Entry]\nName=Nothing to run\n"));
    EXPECT_FALSE(lv::ParseDesktopEntry("[Desktop Entry]\nExec=%U\n"));
}

TEST(ReadShortcut, ByExtensionFromFiles) {
    TempDir dir;
    LinkBuilder link;
    link.localBasePath = "C:\\t.exe";
    link.arguments = "-x";
    link.workingDir = "C:\\W";
    lvtest::WriteBytes(dir.File("tool.lnk"), link.Bytes());
    lvtest::WriteBytes(dir.File("Tool.LNK"), link.Bytes());
    lvtest::WriteBytes(dir.File("broken.lnk"), "not a link");
    lvtest::WriteBytes(dir.File("app.desktop"), "[Desktop Entry]\nName=App\nExec=/bin/app -v\n");
    lvtest::WriteBytes(dir.File("caf\xC3\xA9.txt"), "text");
    // A dropped FIFO is a file like any other, read as nothing (the open must not block).
    ASSERT_EQ(::mkfifo(dir.File("pipe.lnk").c_str(), 0600), 0);

    const struct {
        std::string file;
        std::string storedTarget;
        std::string workingDir;
        std::string title;
    } cases[] = {
        {"Tool.LNK", "C:\\t.exe /-x", "C:\\W", ""},
        {"missing.lnk", dir.File("missing.lnk"), "", ""},
        {"tool.lnk", "C:\\t.exe /-x", "C:\\W", ""},
        {"broken.lnk", dir.File("broken.lnk"), "", ""},
        {"app.desktop", "/bin/app /-v", "", "App"},
        {"caf\xC3\xA9.txt", dir.File("caf\xC3\xA9.txt"), "", ""},
        {"pipe.lnk", dir.File("pipe.lnk"), "", ""},
    };
    for (const auto& c : cases) {
        const lv::Shortcut shortcut = lv::ReadShortcut(dir.File(c.file));
        EXPECT_EQ(lv::StoredTarget(shortcut), c.storedTarget) << c.file;
        EXPECT_EQ(shortcut.workingDir, c.workingDir) << c.file;
        EXPECT_EQ(shortcut.title, c.title) << c.file;
    }
}

} // namespace
