#include "pages_harness.h"

#include "mainwindow/PagePasswords.h"
#include "pages/PageNames.h"
#include "store/Backup.h"

#include <gtest/gtest.h>

namespace lvtest {
namespace {

using Names = std::vector<std::string>;

TEST(PageRename, OntoAnExistingNameMovesSectionPasswordAndTabToOneUniqueName) {
    PagesHarness h(PagesFile(
        {{"A", Mark(1, "one") + Mark(3, "three", "03C=255\r\n")}, {"B", Mark(1, "bee")}}));
    lv::TForm1& form = h.Open();
    form.State().PagePassBox = {"Asecret", "Bother"};

    h.TypeName("B");
    form.MChangePageTabName1Click(lv::PageSender::NameMenu);

    EXPECT_EQ(h.Tabs(), (Names{"B+", "B"}));
    EXPECT_EQ(form.State().TabSet1.names, (Names{"B+", "B"}));
    EXPECT_FALSE(h.HasSection("A"));
    EXPECT_EQ(h.Key("B+", 1, 'U'), "http://one.example/");
    EXPECT_EQ(h.Key("B+", 3, 'C'), "255");
    EXPECT_EQ(form.State().PagePassBox, (Names{"Bother", "B+secret"}));
    EXPECT_EQ(form.State().TabSet1.selected, 0);
    EXPECT_EQ(h.Button(1).caption, "one");
    EXPECT_TRUE(form.State().pageOps.PendingPageName.empty());
}

// "B+secret" begins with "B" as well: it must stay the renamed page's and never lock page B.
TEST(PageRename, ThePasswordOfTheRenamedPageDoesNotSpillOntoThePageItWasNamedAfter) {
    PagesHarness h(PagesFile({{"A", Mark(1, "one")}, {"B", Mark(1, "bee")}}));
    lv::TForm1& form = h.Open();
    form.State().PagePassBox = {"Asecret"};

    h.TypeName("B");
    form.MChangePageTabName1Click(lv::PageSender::NameMenu);

    const auto& names = form.State().TabSet1.names;
    ASSERT_EQ(names, (Names{"B+", "B"}));
    EXPECT_EQ(lv::FindPagePass(form.State().PagePassBox, "B+", names), "secret");
    EXPECT_EQ(lv::FindPagePass(form.State().PagePassBox, "B", names), std::nullopt);
    EXPECT_TRUE(form.TabSet1Change(1));
}

TEST(PageRename, BadNamesAreRefusedAndNothingChanges) {
    for (const std::string bad : {"Tabs", " lead", "a]b", "b"}) {
        SCOPED_TRACE(bad);
        PagesHarness h(PagesFile({{"A", Mark(1, "one")}, {"B", ""}}));
        lv::TForm1& form = h.Open();
        const std::string before = ReadBytes(h.path);
        h.TypeName(bad);
        form.MChangePageTabName1Click(lv::PageSender::NameMenu);
        ASSERT_FALSE(h.dialogs.Messages().empty());
        EXPECT_EQ(h.dialogs.Messages().back().kind, lv::MsgKind::Warning);
        EXPECT_EQ(h.dialogs.Messages().back().text, lv::PageNameProblem(bad, Names{"A", "B"}));
        EXPECT_EQ(ReadBytes(h.path), before);
        EXPECT_EQ(form.State().TabSet1.names, (Names{"A", "B"}));
    }
}

TEST(PageAdd, FromTheOptionsDialogEscapeInTheNameDialogAddsTheCurrentNameMadeUnique) {
    PagesHarness h(PagesFile({{"Page1", Mark(1, "one")}, {"Page2", ""}}));
    lv::TForm1& form = h.Open();
    const std::string before = ReadBytes(h.path);

    h.optionSteps.push_back([](lv::TTabForm& f) {
        EXPECT_EQ(f.Caption(), "Page Options for the Page1 page.");
        f.PageActionClick(2); // "Add Page"
    });
    h.EscapeName();
    form.TabSet1MouseDown(lv::TabButton::Right, 0);

    EXPECT_EQ(h.Tabs(), (Names{"Page1+", "Page1", "Page2"}));
    EXPECT_EQ(form.State().TabSet1.selected, 0);
    EXPECT_EQ(form.State().TabSet1.Current(), "Page1+");
    EXPECT_EQ(h.Button(1).caption, "");
    // The right click took the backup before the dialog.
    EXPECT_EQ(ReadBytes(lv::BackupFileName(h.path)), before);
    EXPECT_TRUE(form.State().pageOps.PageActionCode.empty());
}

TEST(PageAdd, FromTheToolbarGoesLeftOfTheCurrentPageAndAnEmptyNameAddsNothing) {
    PagesHarness h(PagesFile({{"A", ""}, {"B", Mark(2, "bee")}}));
    lv::TForm1& form = h.Open();
    form.SelectTab(1);
    const std::string before = ReadBytes(h.path);

    h.EscapeName();
    form.MAddPageTab1Click();
    h.TypeName("");
    form.MAddPageTab1Click();
    EXPECT_EQ(ReadBytes(h.path), before);

    h.TypeName("New");
    form.MAddPageTab1Click();
    EXPECT_EQ(h.Tabs(), (Names{"A", "New", "B"}));
    EXPECT_EQ(form.State().TabSet1.Current(), "New");
    EXPECT_EQ(h.Button(2).caption, "");
    EXPECT_EQ(ReadBytes(lv::BackupFileName(h.path)), before);

    // The name dialog opens empty again: the pending name was cleared.
    h.nameSteps.push_back([](lv::TNameForm& f) {
        EXPECT_EQ(f.Edit1, "");
        f.EscapeKey();
    });
    form.MAddPageTab1Click();
}

TEST(PageDelete, RemovesTabSectionAndOwnPasswordOnlyAndUndoRestoresTheBytes) {
    // "Work+x" begins with "Work" but belongs to the page "Work+".
    PagesHarness h(PagesFile({{"Work", Mark(1, "w")}, {"Work+", Mark(1, "wp")}, {"Other", ""}}));
    lv::TForm1& form = h.Open();
    form.State().PagePassBox = {"Work+x", "Otherpw"};
    const std::string before = ReadBytes(h.path);

    h.dialogs.Queue(lv::MsgResult::No);
    form.MDeletePageTab1Click();
    EXPECT_EQ(ReadBytes(h.path), before);

    h.dialogs.Queue(lv::MsgResult::Yes);
    h.dialogs.Queue(lv::PasswordResult{"x"}); // "Work+" slides under the pointer
    form.MDeletePageTab1Click();
    EXPECT_EQ(h.dialogs.Messages()[1].text, "Are you sure you want to delete the \"Work\" page?");
    EXPECT_EQ(h.Tabs(), (Names{"Work+", "Other"}));
    EXPECT_FALSE(h.HasSection("Work"));
    EXPECT_EQ(lv::ReadFromIniSLVD(h.path, "Tabs", "Tab3", "gone"), "gone");
    EXPECT_EQ(form.State().PagePassBox, (Names{"Work+x", "Otherpw"}));
    EXPECT_EQ(form.State().TabSet1.Current(), "Work+");
    EXPECT_EQ(h.Button(1).caption, "wp");

    form.MUndoClick();
    EXPECT_EQ(ReadBytes(h.path), before);
}

TEST(PageDelete, AProtectedPageLosesItsEntryAndTheLastPageStays) {
    PagesHarness h(PagesFile({{"A", ""}, {"B", ""}}));
    lv::TForm1& form = h.Open();
    form.State().PagePassBox = {"Apw", "Bpw"};
    h.dialogs.Queue(lv::MsgResult::Yes);
    h.dialogs.Queue(lv::PasswordResult{"wrong"});
    form.MDeletePageTab1Click();
    EXPECT_EQ(form.State().PagePassBox, (Names{"Bpw"}));
    EXPECT_EQ(h.dialogs.Asked().back(), "Message: Invalid Password!");

    const std::string before = ReadBytes(h.path);
    form.MDeletePageTab1Click();
    EXPECT_EQ(h.dialogs.Messages().back().kind, lv::MsgKind::Warning);
    EXPECT_EQ(ReadBytes(h.path), before);
    EXPECT_EQ(form.State().TabSet1.names, (Names{"B"}));
}

TEST(PageErase, AsksThenEmptiesThePage) {
    PagesHarness h(PagesFile({{"A", Mark(1, "one") + Mark(2, "two")}, {"B", Mark(1, "b")}}));
    lv::TForm1& form = h.Open();
    h.dialogs.Queue(lv::MsgResult::Yes);
    form.MEraseBClick();
    EXPECT_EQ(h.dialogs.Messages().back().text,
              "Are you sure you want to delete all the bookmarks on the \"A\" page?");
    EXPECT_EQ(h.Key("A", 1, 'U'), "");
    EXPECT_EQ(h.Key("B", 1, 'U'), "http://b.example/");
    EXPECT_EQ(h.Button(1).caption, "");
    EXPECT_EQ(h.Tabs(), (Names{"A", "B"}));
}

TEST(PageOptions, ListsOnlyTheVisibleGridAndCountsSelectedRows) {
    const std::string page = Mark(1, "one") + Mark(41, "fortyone") + Mark(61, "sixtyone");
    const struct {
        void (lv::TForm1::*columns)();
        Names rows;
    } cases[] = {{&lv::TForm1::MColumn2Click, {"01"}},
                 {&lv::TForm1::MColumn3Click, {"01", "41"}},
                 {&lv::TForm1::MColumn4Click, {"01", "41", "61"}}};
    for (const auto& c : cases) {
        PagesHarness h(PagesFile({{"A", page}}));
        lv::TForm1& form = h.Open();
        (form.*c.columns)();
        Names shown;
        h.optionSteps.push_back([&](lv::TTabForm& f) {
            for (const auto& row : f.Rows()) {
                shown.push_back(row.btn);
            }
            EXPECT_EQ(f.BookmarkGroupCaption(), "Action for 0 Bookmarks:");
            f.SelectRow(0, true);
            EXPECT_EQ(f.BookmarkGroupCaption(), "Action for 1 Bookmarks:");
            f.CloseClick();
        });
        form.TabSet1MouseDown(lv::TabButton::Right, 0);
        EXPECT_EQ(shown, c.rows);
    }
}

} // namespace
} // namespace lvtest
