#include "platform/image_builders.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

#include "platform/image/IconFile.h"
#include "store/TIniFile32.h"
#include "tools/TGlyphForm.h"

#include <gtest/gtest.h>

namespace {

using Entry = lv::TGlyphForm::FileEntry;
using Kind = lv::TGlyphForm::FileEntry::Kind;
using imgtest::Bytes;

imgtest::IcoEntry Solid(int side, lv::Rgba colour) {
    imgtest::DibSpec spec = imgtest::Spec(side, side, 24);
    spec.iconMask = true;
    spec.colour = [colour](int, int) { return colour; };
    spec.transparent = [](int, int) { return false; };
    return {imgtest::Dib(spec), side, side, 24};
}

Bytes ThreeIconProgram() {
    return imgtest::Pe({{1, Solid(16, {255, 0, 0, 255})},
                        {2, Solid(32, {0, 255, 0, 255})},
                        {3, Solid(16, {0, 0, 255, 255})}},
                       {{1}, {2}, {3}});
}

class GlyphFormTest : public ::testing::Test {
protected:
    lvtest::TempDir dir_;
    std::string dataFile_ = dir_.File("Disk.LVD");
    lvtest::ScriptedDialogs dialogs_;
    lv::TGlyphForm form_;

    std::string Write(const std::string& name, const Bytes& bytes) {
        lvtest::WriteBytes(dir_.Path() / name, std::string(bytes.begin(), bytes.end()));
        return dir_.File(name);
    }
    void Slot(const std::vector<std::pair<std::string, std::string>>& keys) {
        lv::TIniFile32 ini(dataFile_);
        for (const auto& [key, value] : keys) {
            ini.WriteString("Page1", key, value);
        }
    }
    std::string Key(const std::string& key) {
        return lv::TIniFile32(dataFile_).ReadString("Page1", key, "<missing>");
    }
    void Open(bool writes = true) {
        form_.FormActivate({dataFile_, "Page1", "07", writes, false}, &dialogs_);
    }
};

TEST_F(GlyphFormTest, IconFileWithOneIconShowsTwoEntriesAndStores600) {
    const std::string ico = Write("one.ico", imgtest::Ico({Solid(16, {1, 2, 3, 255})}));
    Slot({{"07U", "http://example.com/"}, {"07I", ico}});
    Open();
    EXPECT_EQ(form_.PathLabel(), ico);
    ASSERT_EQ(form_.EntryCount(), 2);
    EXPECT_EQ(form_.FileImageList()[0].kind, Kind::Blank);
    form_.ImagesScroll1Selected(1);
    EXPECT_TRUE(form_.Closed());
    EXPECT_EQ(Key("07G"), "600");
    EXPECT_EQ(Key("07I"), ico);
    EXPECT_EQ(form_.Result(), 600);
    EXPECT_EQ(form_.EditorAction(), 20);
}

TEST_F(GlyphFormTest, ProgramWithThreeIconsShowsFiveEntriesAndTheThirdStores601) {
    const std::string program = Write("three.exe", ThreeIconProgram());
    // A program stored with its parameters, as a launch target is: the program's icons show.
    Slot({{"07U", program + " /min"}});
    Open();
    EXPECT_EQ(form_.PathLabel(), program);
    ASSERT_EQ(form_.EntryCount(), 5);
    for (int i = 1; i < 5; ++i) {
        EXPECT_EQ(form_.FileImageList()[static_cast<std::size_t>(i)].kind, Kind::Icon);
        EXPECT_EQ(form_.FileImageList()[static_cast<std::size_t>(i)].icon, i - 1);
    }
    form_.ImagesScroll1Selected(2);
    EXPECT_EQ(Key("07G"), "601");
    EXPECT_EQ(Key("07I"), program);
    EXPECT_EQ(form_.Result(), 601);
}

TEST_F(GlyphFormTest, EntriesOfOtherFiles) {
    const std::string gif = dir_.File("pic.gif");
    std::filesystem::copy_file(lvtest::Fixture("img-transparent.gif"), gif);
    const std::string text = Write("notes.txt", Bytes{'h', 'i'});
    const std::string empty = Write("none.exe", imgtest::Pe({}, {}));
    struct Case {
        std::string path;
        std::vector<Kind> kinds;
    };
    const Case cases[] = {
        {dir_.File("missing.ico"), {}},
        {dir_.Path().string(), {}}, // a folder is no file
        {gif, {Kind::Blank, Kind::Picture}},
        {text, {Kind::Blank, Kind::Icon}},  // the desktop's icon for its type
        {empty, {Kind::Blank, Kind::Icon}}, // a program without icons of its own
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        std::vector<Kind> kinds;
        for (const Entry& e : lv::TGlyphForm::LoadFileEntries(c.path)) {
            kinds.push_back(e.kind);
        }
        EXPECT_EQ(kinds, c.kinds);
    }
}

TEST_F(GlyphFormTest, PickingABuiltInIconClearsTheIconFile) {
    Slot({{"07U", "http://example.com/"}, {"07G", "601"}, {"07I", "/nowhere/x.exe"}});
    Open();
    EXPECT_EQ(form_.EntryCount(), 0); // a missing source file shows an empty strip
    form_.DefaultBtnClick();
    EXPECT_TRUE(form_.ShowsBuiltIn());
    EXPECT_EQ(form_.PathLabel(), "");
    EXPECT_EQ(form_.EntryCount(), 121);
    form_.ImagesScroll1Selected(7);
    EXPECT_EQ(Key("07G"), "7");
    EXPECT_EQ(Key("07I"), "<missing>");
    EXPECT_EQ(form_.Result(), 7);
    EXPECT_EQ(form_.EditorAction(), 0);
}

TEST_F(GlyphFormTest, BlankEntryKeepsTheStoredNumber) {
    const std::string ico = Write("one.ico", imgtest::Ico({Solid(16, {1, 2, 3, 255})}));
    for (const auto& [stored, expected] :
         std::vector<std::pair<std::string, std::string>>{{"603", "603"}, {"", "600"}}) {
        Slot({{"07U", ico}, {"07G", stored}});
        Open();
        form_.ImagesScroll1Selected(0);
        EXPECT_EQ(Key("07G"), expected);
        EXPECT_EQ(form_.Result(), std::stoi(expected));
    }
}

TEST_F(GlyphFormTest, DefaultIconRemovesBothKeys) {
    Slot({{"07U", "http://example.com/"}, {"07G", "601"}, {"07I", "/x.exe"}});
    Open();
    form_.NoIconBtnClick();
    EXPECT_TRUE(form_.Closed());
    EXPECT_EQ(Key("07G"), "<missing>");
    EXPECT_EQ(Key("07I"), "<missing>");
    EXPECT_EQ(form_.Result(), 120);
    EXPECT_EQ(form_.EditorAction(), 20);
    EXPECT_EQ(form_.GetChoice(), lv::TGlyphForm::Choice::DefaultIcon);
}

TEST_F(GlyphFormTest, ForSeveralBookmarksItOnlyReports) {
    const std::string program = Write("three.exe", ThreeIconProgram());
    Slot({{"07U", program}});
    const std::string before = lvtest::ReadBytes(dataFile_);
    Open(false);
    form_.CloseBtnClick();
    EXPECT_EQ(form_.Result(), 120);
    EXPECT_EQ(form_.GetChoice(), lv::TGlyphForm::Choice::None);
    Open(false);
    form_.ImagesScroll1Selected(3);
    EXPECT_EQ(form_.Result(), 602);
    EXPECT_EQ(form_.ChosenFile(), program);
    EXPECT_EQ(form_.EditorAction(), 0);
    EXPECT_EQ(lvtest::ReadBytes(dataFile_), before);
}

TEST_F(GlyphFormTest, ImagesFromFilesShowsTheChosenFile) {
    const std::string program = Write("three.exe", ThreeIconProgram());
    Slot({{"07U", "http://example.com/"}});
    Open();
    dialogs_.Queue(lv::OpenFileResult{true, program});
    form_.FileBtnClick();
    EXPECT_EQ(form_.PathLabel(), program);
    EXPECT_EQ(form_.EntryCount(), 5);
    form_.ImagesScroll1Selected(1);
    EXPECT_EQ(Key("07G"), "600");
    EXPECT_EQ(Key("07I"), program);
}

// Damaged and hostile programs and icon files: every cut and every lying count ends in a
// clean refusal (no icons of its own), never in a crash or a runaway allocation.
TEST_F(GlyphFormTest, HostileFilesEndCleanly) {
    std::vector<std::pair<std::string, Bytes>> files;
    const Bytes program = ThreeIconProgram();
    for (std::size_t cut = 0; cut < program.size(); cut += 7) {
        files.emplace_back("cut.exe", Bytes(program.begin(), program.begin() + cut));
    }
    for (std::size_t at = 0x3C; at < program.size(); at += 4) {
        Bytes bent = program;
        imgtest::Set32(bent, at, 0xFFFFFFF0u);
        files.emplace_back("bent.dll", bent);
    }
    Bytes ico = imgtest::Ico({Solid(16, {1, 2, 3, 255})});
    for (std::size_t at = 4; at + 4 <= ico.size() && at < 64; at += 2) {
        Bytes bent = ico;
        imgtest::Set32(bent, at, 0x7FFFFFFFu);
        files.emplace_back("bent.ico", bent);
    }
    for (const auto& [name, bytes] : files) {
        const std::string path = Write(name, bytes);
        const std::vector<Entry> entries = lv::TGlyphForm::LoadFileEntries(path);
        ASSERT_GE(entries.size(), 2u);
        ASSERT_LE(entries.size(), 2u + lv::TGlyphForm::kMaxFileIcons);
        for (const Entry& e : entries) {
            lv::LoadButtonGlyph(path, e.icon, {240, 240, 240, 255}, 15); // must not throw
        }
    }
}

TEST(GlyphSourcePath, ProgramParametersAreCut) {
    EXPECT_EQ(lv::TGlyphForm::SourcePath("/usr/bin/prog /a /b"), "/usr/bin/prog");
    EXPECT_EQ(lv::TGlyphForm::SourcePath("/home/me/My Icons/a.ico"), "/home/me/My Icons/a.ico");
    EXPECT_EQ(lv::TGlyphForm::SourcePath(""), "");
}

} // namespace
