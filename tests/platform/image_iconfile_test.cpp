#include "image_builders.h"
#include "support/TempDir.h"

#include "platform/image/Glyphs.h"
#include "platform/image/IconFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using imgtest::Bytes;
using lv::IconLoadStatus;
using lv::Rgba;

const Rgba kFace = lv::RgbaFromHex(0xF0F0F0);

void Write(const lvtest::TempDir& dir, const std::string& name, const Bytes& bytes) {
    lvtest::WriteBytes(dir.Path() / name, std::string(bytes.begin(), bytes.end()));
}

std::string Copy(const lvtest::TempDir& dir, const std::string& fixture, const std::string& as) {
    std::filesystem::copy_file(lvtest::Fixture(fixture), dir.Path() / as);
    return dir.File(as);
}

imgtest::IcoEntry Solid(int side, Rgba colour) {
    imgtest::DibSpec spec = imgtest::Spec(side, side, 24);
    spec.iconMask = true;
    spec.colour = [colour](int, int) { return colour; };
    spec.transparent = [side](int x, int) { return x >= side / 2; }; // right half clear
    return {imgtest::Dib(spec), side, side, 24};
}

class IconFileTest : public ::testing::Test {
protected:
    lvtest::TempDir dir_;
};

TEST_F(IconFileTest, TheLoaderFollowsTheExtensionAndTheIconNumber) {
    const Rgba red{255, 0, 0, 255};
    const Rgba blue{0, 0, 255, 255};
    Write(dir_, "two.ico", imgtest::Ico({Solid(16, red), Solid(32, blue)}));
    Write(dir_, "Prog.EXE",
          imgtest::Pe({{1, Solid(16, red)}, {2, Solid(32, blue)}, {3, Solid(16, blue)}},
                      {{1, 2}, {3}}));
    imgtest::DibSpec bmp = imgtest::Spec(3, 2, 24);
    bmp.colour = [](int, int) { return Rgba{1, 2, 3, 255}; };
    Write(dir_, "pic.bmp", imgtest::Bmp(bmp));
    const std::string gif = Copy(dir_, "img-transparent.gif", "anim.GIF");
    const std::string jpg = Copy(dir_, "img-red-green.jpg", "photo.Jpg");
    const std::string jpeg = Copy(dir_, "img-red-green.jpg", "photo.jpeg");
    Write(dir_, "notes.txt", Bytes{'h', 'i'});
    // Web icons: PNG pictures, also under the name favicon.ico.
    Write(dir_, "Logo.PNG", imgtest::Png(lv::Image(16, 16, red)));
    Write(dir_, "favicon.ico", imgtest::Png(lv::Image(32, 32, blue)));

    struct Case {
        std::string path;
        int number;
        IconLoadStatus status;
        int width;
    };
    const Case cases[] = {
        {dir_.File("two.ico"), 0, IconLoadStatus::Ok, 16},
        {dir_.File("two.ico"), 1, IconLoadStatus::Ok, 32},
        {dir_.File("two.ico"), 2, IconLoadStatus::NoIcon, 0},
        {dir_.File("Prog.EXE"), 0, IconLoadStatus::Ok, 32}, // the group's image nearest 32
        {dir_.File("Prog.EXE"), 1, IconLoadStatus::Ok, 16},
        {dir_.File("Prog.EXE"), 2, IconLoadStatus::NoIcon, 0},
        {dir_.File("pic.bmp"), 0, IconLoadStatus::Ok, 3},
        {dir_.File("pic.bmp"), 1, IconLoadStatus::NoIcon, 0},
        {gif, 7, IconLoadStatus::Ok, 4}, // pictures ignore the number
        {jpg, 0, IconLoadStatus::Ok, 16},
        {jpeg, 0, IconLoadStatus::NoIcon, 0}, // only ".jpg" means JPEG
        {dir_.File("notes.txt"), 0, IconLoadStatus::NoIcon, 0},
        {dir_.File("Logo.PNG"), 0, IconLoadStatus::Ok, 16},
        {dir_.File("favicon.ico"), 0, IconLoadStatus::Ok, 32},
        {dir_.File("absent.ico"), 0, IconLoadStatus::FileMissing, 0},
        {dir_.Path().string(), 0, IconLoadStatus::FileMissing, 0}, // a folder is not a file
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path + " #" + std::to_string(c.number));
        const lv::IconLoad load = lv::LoadIconFile(c.path, c.number);
        EXPECT_EQ(load.status, c.status) << load.error;
        EXPECT_EQ(load.image.Width(), c.width);
    }
    EXPECT_EQ(lv::CountIcons(dir_.File("two.ico")), 2);
    EXPECT_EQ(lv::CountIcons(dir_.File("Prog.EXE")), 2);
    EXPECT_EQ(lv::CountIcons(dir_.File("notes.txt")), 0);
    EXPECT_EQ(lv::CountIcons(dir_.File("absent.ico")), 0);
}

TEST_F(IconFileTest, DamagedPicturesAreUndecodableButOtherFilesJustHaveNoIcon) {
    Bytes ico = imgtest::Ico({Solid(16, {9, 9, 9, 255})});
    ico.resize(ico.size() - 40);
    Write(dir_, "cut.ico", ico);
    Write(dir_, "cut.gif", Bytes{'G', 'I', 'F', '8', '9', 'a', 4, 0});
    // Starts like an icon file but is something else entirely.
    Write(dir_, "data.bin", Bytes{0, 0, 1, 0, 0, 0, 'x', 'y'});
    EXPECT_EQ(lv::LoadIconFile(dir_.File("cut.ico"), 0).status, IconLoadStatus::Undecodable);
    const lv::IconLoad gif = lv::LoadIconFile(dir_.File("cut.gif"), 0);
    EXPECT_EQ(gif.status, IconLoadStatus::Undecodable);
    EXPECT_NE(gif.error, "");
    EXPECT_EQ(lv::LoadIconFile(dir_.File("data.bin"), 0).status, IconLoadStatus::NoIcon);
}

// An icon path is the user's text: one naming a FIFO would block the open forever.
TEST_F(IconFileTest, FifoDeviceOrFolderIsNoFileToOpen) {
    const std::string fifo = dir_.File("pipe.ico");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::filesystem::create_directory(dir_.File("folder.ico"));
    for (const std::string& path : {fifo, dir_.File("folder.ico"), std::string("/dev/zero")}) {
        const pid_t child = fork();
        if (child == 0) {
            alarm(10);
            const lv::IconLoad load = lv::LoadIconFile(path, 0);
            _exit(load.status == IconLoadStatus::FileMissing && lv::CountIcons(path) == 0 ? 0 : 1);
        }
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
            << path << (WIFSIGNALED(status) ? ": blocked" : ": opened");
    }
}

TEST_F(IconFileTest, ButtonGlyphsAreSizedAndBackedAsTheGridShowsThem) {
    const Rgba red{255, 0, 0, 255};
    Write(dir_, "one.ico", imgtest::Ico({Solid(32, red)}));
    const lv::IconLoad icon = lv::LoadButtonGlyph(dir_.File("one.ico"), 0, kFace, 15);
    ASSERT_TRUE(icon.Ok()) << icon.error;
    EXPECT_EQ(icon.image.Width(), 15);
    EXPECT_EQ(icon.image.Height(), 15);
    EXPECT_EQ(icon.image.Pixel(1, 7), red);    // the drawn half
    EXPECT_EQ(icon.image.Pixel(14, 7), kFace); // the masked half shows the button face
    EXPECT_EQ(icon.image.Pixel(14, 7).a, 255);

    const std::string gif = Copy(dir_, "img-transparent.gif", "t.gif");
    const lv::IconLoad picture = lv::LoadButtonGlyph(gif, 0, kFace, 30);
    ASSERT_TRUE(picture.Ok());
    EXPECT_EQ(picture.image.Width(), 15);      // pictures are always 15 x 15
    EXPECT_EQ(picture.image.Pixel(0, 7).a, 0); // and keep their transparency
    EXPECT_EQ(picture.image.Pixel(14, 7), (Rgba{0, 0, 255, 255}));

    EXPECT_EQ(lv::LoadButtonGlyph(dir_.File("none.ico"), 0, kFace, 15).status,
              IconLoadStatus::FileMissing);
}

TEST(BuiltInGlyphs, AllPicturesHaveTheSizeAndBackgroundOfTheList) {
    const Rgba background = lv::RgbaFromHex(0xE1FFFF);
    for (int i = 0; i < lv::kBuiltInGlyphCount; ++i) {
        SCOPED_TRACE(i);
        const lv::Image& g = lv::BuiltInGlyph(i);
        ASSERT_EQ(g.Width(), 17);
        ASSERT_EQ(g.Height(), 14);
        EXPECT_EQ(g.Pixel(0, 0), background);
        EXPECT_EQ(g.Pixel(16, 0).a, 255); // not masked: every pixel opaque
        EXPECT_NE(std::string(lv::BuiltInGlyphName(i)), "");
        for (int j = 0; j < i; ++j) {
            ASSERT_NE(g, lv::BuiltInGlyph(j)) << "same picture as " << j;
        }
    }
    EXPECT_EQ(lv::BuiltInGlyph(120).Pixel(16, 13), background);
    EXPECT_TRUE(lv::BuiltInGlyph(121).IsNull());
    EXPECT_TRUE(lv::BuiltInGlyph(-1).IsNull());
    EXPECT_TRUE(lv::BuiltInGlyph(499).IsNull());
    EXPECT_EQ(lv::BlankGlyph().Width(), 15);
    EXPECT_EQ(lv::BlankGlyph().Height(), 15);
    EXPECT_EQ(lv::BlankGlyph().Pixel(7, 7).a, 0);
    EXPECT_TRUE(lv::NoIconGlyph().IsNull());
}

} // namespace
