#include "editor_harness.h"

#include <gtest/gtest.h>

namespace lvtest {
namespace {

using lv::TBConfigForm;

std::vector<std::string> Titles(const EditorHarness& h, const std::string& page, int last) {
    std::vector<std::string> titles;
    for (int slot = 1; slot <= last; ++slot) {
        titles.push_back(h.Key(page, slot, 'N'));
    }
    return titles;
}

TEST(DragDrop, MovesOntoAnotherButtonAndShiftsTheRestDown) {
    EditorHarness h(FilledSlots(1, 10) + "03P=kept|~notes\r\n07G=550\r\n");
    lv::TForm1& form = h.Open();
    form.ButtonMouseDown(3);
    form.ButtonDragDrop(3, 7);
    EXPECT_EQ(Titles(h, "Links", 12),
              (std::vector<std::string>{"Site 1", "Site 2", "", "Site 4", "Site 5", "Site 6",
                                        "Site 3", "Site 7", "Site 8", "Site 9", "Site 10", ""}));
    EXPECT_EQ(h.Key("Links", 7, 'P'), "kept|~notes");
    EXPECT_EQ(h.Key("Links", 8, 'G'), "550");
    EXPECT_FALSE(h.HasKey("Links", 7, 'G'));
    EXPECT_EQ(h.Button(7).caption, "Site 3");
    EXPECT_EQ(h.Button(3).caption, "");
    EXPECT_EQ(h.Button(8).glyph, (lv::GlyphRef{lv::GlyphRef::Kind::SecondList, 50, {}}));
    EXPECT_TRUE(form.State().BookmarkBox.empty());
}

TEST(DragDrop, AFullPageRefusesTheMoveAndKeepsTheSource) {
    EditorHarness h(FilledSlots(1, 80));
    lv::TForm1& form = h.Open();
    const std::string before = ReadBytes(h.path);
    form.ButtonMouseDown(5);
    form.ButtonDragDrop(5, 2);
    // Room appears where the source leaves: moving up the page works.
    EXPECT_EQ(h.Key("Links", 2, 'N'), "Site 5");
    EXPECT_EQ(h.Key("Links", 5, 'N'), "Site 4");

    const std::string full = ReadBytes(h.path);
    form.ButtonMouseDown(2);
    form.ButtonDragDrop(2, 40);
    EXPECT_EQ(h.dialogs.Asked().back(), "Message: " + std::string(lv::kNoRoomMove));
    EXPECT_EQ(ReadBytes(h.path), full);
    EXPECT_EQ(h.Button(2).caption, "Site 5");
    EXPECT_NE(before, full);
}

TEST(MoveAndCopy, ThePickedBookmarkIsPutDownOnAnotherPage) {
    EditorHarness h(FilledSlots(1, 2) + "02G=550\r\n");
    lv::TForm1& form = h.Open();
    h.editor = [](TBConfigForm& f) { f.MoveClick(); };
    form.SetButtonParams(2);
    EXPECT_TRUE(form.PutPending());
    EXPECT_FALSE(h.HasKey("Links", 2, 'U'));
    EXPECT_EQ(h.shown, 1);

    form.SelectTab(1);
    form.ButtonMouseDown(5);
    EXPECT_FALSE(form.PutPending());
    EXPECT_EQ(h.Key("Other", 5, 'N'), "Site 2");
    EXPECT_EQ(h.Key("Other", 5, 'G'), "550");
    // Shown at once as a page load would show it.
    EXPECT_EQ(h.Button(5).glyph, (lv::GlyphRef{lv::GlyphRef::Kind::SecondList, 50, {}}));
    EXPECT_EQ(h.Button(5).cursor, lv::ButtonCursor::Hand);

    // Copy leaves the source; a right click while waiting puts down instead of editing.
    form.SelectTab(0);
    h.editor = [](TBConfigForm& f) { f.CopyClick(); };
    form.SetButtonParams(1);
    form.SetButtonParams(3);
    EXPECT_EQ(h.shown, 2);
    EXPECT_EQ(h.Key("Links", 1, 'N'), "Site 1");
    EXPECT_EQ(h.Key("Links", 3, 'N'), "Site 1");
}

TEST(MoveAndCopy, EnterWhileABookmarkWaitsPutsItDownAndAClickCapturesNothing) {
    EditorHarness h(FilledSlots(1, 2));
    lv::TForm1& form = h.Open();
    h.editor = [](TBConfigForm& f) { f.MoveClick(); };
    form.SetButtonParams(2);
    ASSERT_TRUE(form.PutPending());
    for (int i = 0; i < 5; ++i) {
        form.KeysKeyDown(lv::NavKey::Down);
    }
    form.KeysKeyDown(lv::NavKey::Enter);
    EXPECT_FALSE(form.PutPending());
    EXPECT_EQ(h.Key("Links", 5, 'N'), "Site 2");
    EXPECT_EQ(h.Key("Links", 5, 'U'), "http://site2.example/");

    // A click on an empty slot while one waits neither captures a page nor writes anything.
    form.SetButtonParams(5);
    ASSERT_TRUE(form.PutPending());
    const std::string before = ReadBytes(h.path);
    form.ButtonClick(7);
    EXPECT_FALSE(h.HasKey("Links", 7, 'U'));
    EXPECT_EQ(ReadBytes(h.path), before);
    EXPECT_TRUE(form.PutPending());
}

TEST(MoveAndCopy, NoRoomKeepsTheBookmarkInHand) {
    EditorHarness h(FilledSlots(1, 80));
    lv::TForm1& form = h.Open();
    h.editor = [](TBConfigForm& f) { f.MoveClick(); };
    form.SetButtonParams(80);
    // Slot 80 is the only empty one; from 1 it is reached by shifting 79 bookmarks. The page
    // is full again afterwards, so a second move from 80 onto 80 finds room only there.
    form.ButtonMouseDown(1);
    EXPECT_EQ(h.Key("Links", 1, 'N'), "Site 80");
    EXPECT_EQ(h.Key("Links", 80, 'N'), "Site 79");

    h.editor = [](TBConfigForm& f) { f.CopyClick(); };
    form.SetButtonParams(10);
    form.ButtonMouseDown(20);
    EXPECT_EQ(h.dialogs.Asked().back(), "Message: " + std::string(lv::kNoRoomPut));
    EXPECT_TRUE(form.PutPending());
    EXPECT_EQ(lv::Bookmark::FromBoxLines(form.State().BookmarkBox).title, "Site 9");

    form.SelectTab(1);
    form.ButtonMouseDown(1);
    EXPECT_EQ(h.Key("Other", 1, 'N'), "Site 9");
    EXPECT_FALSE(form.PutPending());
}

TEST(PutButton, AnUntitledSlotIsOverwrittenNotMixed) {
    EditorHarness h("01N=Moved\r\n01U=http://moved.example/\r\n"
                    "02U=http://untitled.example/\r\n02P=stale notes\r\n02G=7\r\n");
    lv::TForm1& form = h.Open();
    form.ButtonMouseDown(1);
    form.ButtonDragDrop(1, 2);
    EXPECT_EQ(h.Key("Links", 2, 'U'), "http://moved.example/");
    EXPECT_FALSE(h.HasKey("Links", 2, 'P'));
    EXPECT_FALSE(h.HasKey("Links", 2, 'G'));
}

} // namespace
} // namespace lvtest
