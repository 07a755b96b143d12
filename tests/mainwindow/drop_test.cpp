#include "editor_harness.h"

#include "mainwindow/DroppedFiles.h"
#include "mainwindow/PagePasswords.h"

#include <gtest/gtest.h>

namespace lvtest {
namespace {

TEST(DropSlot, RowsAndColumnsUnderThePoint) {
    struct Case {
        int x, y, columns, slot;
    };
    // Client width 612: columns of 153 (4), 204 (3) or 306 (2) pixels.
    const Case cases[] = {
        {0, 21, 4, 0},   {0, 22, 4, 1},    {0, 40, 4, 1},     {0, 41, 4, 2},
        {153, 22, 4, 1}, {154, 22, 4, 21}, {611, 401, 4, 80}, {10, 401, 4, 20},
        {10, 402, 4, 0}, {205, 22, 3, 21}, {409, 22, 3, 41},  {307, 22, 2, 21},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(lv::SlotAt(c.x, c.y, 612, c.columns), c.slot) << c.x << "," << c.y;
    }
}

struct DropHarness : EditorHarness {
    using EditorHarness::EditorHarness;
    // The point of a slot in the first column.
    static int Y(int row) { return 22 + 19 * (row - 1) + 5; }
};

TEST(DropFiles, ShortcutWithArgumentsBecomesALocalBookmark) {
    DropHarness h(FilledSlots(2, 3));
    lv::TForm1& form = h.Open();
    const std::string launcher = h.dir.File("editor.desktop");
    WriteBytes(launcher, "[Desktop Entry]\nType=Application\nName=Text Editor\n"
                         "Exec=/usr/bin/editor -x %F\nPath=/home/me/docs\n");
    form.FormDropFiles({launcher}, 10, DropHarness::Y(2));
    EXPECT_EQ(h.Key("Links", 2, 'N'), "Text Editor");
    EXPECT_EQ(h.Key("Links", 2, 'U'), "/usr/bin/editor /-x");
    EXPECT_EQ(h.Key("Links", 2, 'S'), "/home/me/docs");
    EXPECT_EQ(h.Key("Links", 2, 'L'), "Yes");
    EXPECT_EQ(h.Key("Links", 2, 'G'), "600");
    EXPECT_EQ(h.Key("Links", 2, 'I'), "/usr/bin/editor");
    // The bookmark that was there moved down with its own keys, not the new icon.
    EXPECT_EQ(h.Key("Links", 3, 'N'), "Site 2");
    EXPECT_FALSE(h.HasKey("Links", 3, 'G'));
    EXPECT_FALSE(h.HasKey("Links", 3, 'I'));
    EXPECT_EQ(h.Key("Links", 4, 'N'), "Site 3");
    EXPECT_TRUE(std::filesystem::exists(h.dir.File("work.bak")));
}

TEST(DropFiles, PlainFilesAndInternetShortcuts) {
    DropHarness h;
    lv::TForm1& form = h.Open();
    const std::string report = h.dir.File("report.pdf");
    const std::string link = h.dir.File("News Site.url");
    WriteBytes(report, "%PDF");
    WriteBytes(link, "[InternetShortcut]\r\nURL=http://news.example/\r\n");
    form.FormDropFiles({report, link}, 10, DropHarness::Y(1));
    form.FormDropFiles({link}, 10, DropHarness::Y(2));
    EXPECT_EQ(h.Key("Links", 1, 'N'), "report");
    EXPECT_EQ(h.Key("Links", 1, 'U'), report);
    EXPECT_EQ(h.Key("Links", 1, 'G'), "600");
    EXPECT_FALSE(h.HasKey("Links", 1, 'I'));
    EXPECT_EQ(h.Key("Links", 2, 'N'), "News Site");
    EXPECT_EQ(h.Key("Links", 2, 'U'), "http://news.example/");
    EXPECT_FALSE(h.HasKey("Links", 2, 'G'));
    EXPECT_EQ(h.Button(2).glyph.kind, lv::GlyphRef::Kind::Default);

    // Outside the rows nothing happens.
    const std::string before = ReadBytes(h.path);
    form.FormDropFiles({report}, 10, 5);
    EXPECT_EQ(ReadBytes(h.path), before);
}

TEST(DropFiles, ShortNamesKeepATitleSoTheSlotIsNotTakenForFree) {
    DropHarness h;
    lv::TForm1& form = h.Open();
    std::filesystem::create_directories(h.dir.File("docs"));
    const struct {
        std::string file;
        std::string title;
    } cases[] = {
        {"a.sh", "a"},
        {".profile", ".profile"},
        {"Report v2.1 final", "Report v2.1 final"}, // no real extension to drop
        {"docs/", "docs"},                          // a folder named with its slash
    };
    int row = 0;
    for (const auto& c : cases) {
        if (c.file.back() != '/') {
            WriteBytes(h.dir.File(c.file), "x");
        }
        form.FormDropFiles({h.dir.File(c.file)}, 10, DropHarness::Y(++row));
        EXPECT_EQ(h.Key("Links", row, 'N'), c.title) << c.file;
        EXPECT_EQ(h.Button(row).caption, c.title);
    }
}

TEST(DropFiles, OnAProtectedPageTheTargetIsScrambled) {
    DropHarness h;
    lv::TForm1& form = h.Open();
    h.dialogs.Queue(lv::PasswordResult{"pw"});
    form.MPagePassClick();
    const std::string report = h.dir.File("plan.txt");
    WriteBytes(report, "x");
    form.FormDropFiles({report}, 10, DropHarness::Y(1));
    EXPECT_EQ(h.Key("Links", 1, 'U'), lv::Encrypt(report, "pw"));
    EXPECT_EQ(h.Button(1).hint, report);
}

} // namespace
} // namespace lvtest
