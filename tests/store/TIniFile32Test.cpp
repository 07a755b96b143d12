#include "store/TIniFile32.h"
#include "store/FileError.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace {

using lv::TIniFile32;

class IniTest : public ::testing::Test {
protected:
    // Writes the bytes to a fresh file and returns its path.
    std::string FileWith(const std::string& bytes) {
        const std::string path = dir_.File("test.ini");
        lvtest::WriteBytes(path, bytes);
        return path;
    }
    std::string Bytes() const { return lvtest::ReadBytes(dir_.File("test.ini")); }

    lvtest::TempDir dir_;
};

TEST_F(IniTest, MissingFileReadsDefaultsAndIsCreatedByTheFirstWriteAsThreeLines) {
    const std::string path = dir_.File("test.ini");
    TIniFile32 ini(path);
    EXPECT_EQ(ini.ReadString("Sec", "Key", "def"), "def");
    EXPECT_EQ(ini.ReadInteger("Sec", "Key", 7), 7);
    EXPECT_FALSE(std::filesystem::exists(path));

    ini.WriteString("Sec", "Key", "Value");
    EXPECT_EQ(Bytes(), "\r\n[Sec]\r\nKey=Value\r\n");
}

TEST_F(IniTest, NewKeyGoesDirectlyBeforeTheNextHeaderAfterItsBlankLine) {
    TIniFile32 ini(FileWith("[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n"));
    ini.WriteString("A", "z", "3");
    EXPECT_EQ(Bytes(), "[A]\r\nx=1\r\n\r\nz=3\r\n[B]\r\ny=2\r\n");
    ini.WriteString("B", "w", "4");
    EXPECT_EQ(Bytes(), "[A]\r\nx=1\r\n\r\nz=3\r\n[B]\r\ny=2\r\nw=4\r\n");
    ini.WriteString("A", "x", "one");
    EXPECT_EQ(Bytes(), "[A]\r\nx=one\r\n\r\nz=3\r\n[B]\r\ny=2\r\nw=4\r\n");
}

TEST_F(IniTest, SectionsIgnoreCaseIncludingAccentedLettersKeysDoNot) {
    TIniFile32 ini(FileWith("[my page]\r\nkey=lower\r\n[caf\xe9]\r\nCount=1\r\n"));
    EXPECT_EQ(ini.ReadString("My Page", "key", ""), "lower");
    EXPECT_EQ(ini.ReadString("My Page", "Key", "def"), "def");
    EXPECT_EQ(ini.ReadString("CAF\xc9", "Count", ""), "1");
    EXPECT_EQ(ini.ReadString("caf\xe9", "count", "def"), "def");
    EXPECT_EQ(ini.ReadString("cafe", "Count", "def"), "def");
}

TEST_F(IniTest, KeysAndValuesAreTrimmedAndEmptyValuesReadAsDefault) {
    TIniFile32 ini(
        FileWith("[S]\r\nkey = a=b \r\n  empty=\r\n\tt\t=\tv\t\r\n;c=semi\r\n=novalue\r\n"));
    EXPECT_EQ(ini.ReadString("S", "key", ""), "a=b");
    EXPECT_EQ(ini.ReadString("S", "empty", "def"), "def");
    EXPECT_EQ(ini.ReadString("S", "t", ""), "v");
    EXPECT_EQ(ini.ReadString("S", ";c", ""), "semi");
    EXPECT_EQ(ini.ReadString("S", "", "def"), "def");
}

TEST_F(IniTest, OnlyTheFirstDuplicateCountsAndTheSecondSurvives) {
    TIniFile32 ini(FileWith("[S]\r\nk=first\r\nk=second\r\n"));
    EXPECT_EQ(ini.ReadString("S", "k", ""), "first");
    ini.WriteString("S", "k", "new");
    EXPECT_EQ(Bytes(), "[S]\r\nk=new\r\nk=second\r\n");
    ini.DeleteKey("S", "k");
    EXPECT_EQ(Bytes(), "[S]\r\nk=second\r\n");
}

TEST_F(IniTest, ReadIntegerForms) {
    struct Case {
        const char* text;
        std::int32_t expected;
    };
    const Case cases[] = {
        {"0x1F", 31},       {"0X1f", 31},
        {"$1F", 31},        {"0x", -9},
        {"$", -9},          {"12abc", -9},
        {"", -9},           {"-5", -5},
        {"+7", 7},          {" 42 ", 42},
        {"007", 7},         {"2147483647", 2147483647},
        {"2147483648", -9}, {"-2147483648", INT32_MIN},
        {"$FFFFFFFF", -1},  {"$100000000", -9},
        {"0x-1", -9},       {"1 2", -9},
        {"-0x10", -9},
    };
    for (const Case& c : cases) {
        TIniFile32 ini(FileWith(std::string("[S]\r\nn=") + c.text + "\r\n"));
        EXPECT_EQ(ini.ReadInteger("S", "n", -9), c.expected) << "text: " << c.text;
    }
    TIniFile32 ini(dir_.File("other.ini"));
    ini.WriteInteger("S", "n", -120);
    EXPECT_EQ(ini.ReadString("S", "n", ""), "-120");
}

TEST_F(IniTest, EraseSectionRemovesUpToTheNextHeaderAndLeavesOneBlankLine) {
    {
        TIniFile32 ini(FileWith("\r\n[A]\r\na=1\r\n\r\n[B]\r\nb=2\r\n"));
        ini.EraseSection("a");
        EXPECT_EQ(Bytes(), "\r\n\r\n[B]\r\nb=2\r\n");
    }
    {
        TIniFile32 ini(FileWith("[A]\r\na=1\r\n[B]\r\nb=2\r\n"));
        ini.EraseSection("A");
        EXPECT_EQ(Bytes(), "[B]\r\nb=2\r\n");
        ini.EraseSection("B");
        EXPECT_EQ(Bytes(), "");
    }
}

TEST_F(IniTest, ChangesThatFindNothingLeaveBytesAndModificationTimeAlone) {
    const std::string original = "[S]\r\nk=v\r\n";
    const std::string path = FileWith(original);
    const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::hours(24);
    std::filesystem::last_write_time(path, old);

    TIniFile32 ini(path);
    ini.DeleteKey("S", "absent");
    ini.DeleteKey("Absent", "k");
    ini.DeleteKey("S", "");
    ini.EraseSection("Absent");
    EXPECT_EQ(Bytes(), original);
    EXPECT_EQ(std::filesystem::last_write_time(path), old);
    EXPECT_FALSE(ini.Modified());
}

TEST_F(IniTest, HeaderWithSurroundingBlanksEndsTheSectionButIsNeverFound) {
    TIniFile32 ini(FileWith("[A]\r\na=1\r\n  [B]  \r\nb=2\r\n"));
    EXPECT_EQ(ini.ReadString("A", "b", "def"), "def");
    EXPECT_EQ(ini.ReadString("B", "b", "def"), "def");
    ini.WriteString("A", "c", "3");
    ini.WriteString("B", "b", "x");
    EXPECT_EQ(Bytes(), "[A]\r\na=1\r\nc=3\r\n  [B]  \r\nb=2\r\n\r\n[B]\r\nb=x\r\n");
}

TEST_F(IniTest, EmptyKeyOnlyMakesSureTheSectionExists) {
    TIniFile32 ini(FileWith("[A]\r\n\r\n"));
    ini.WriteString("A", "", "ignored");
    EXPECT_EQ(Bytes(), "[A]\r\n\r\n");
    ini.WriteString("B", "", "ignored");
    EXPECT_EQ(Bytes(), "[A]\r\n\r\n\r\n[B]\r\n");
}

TEST_F(IniTest, LineBreaksInWrittenTextCannotInjectLines) {
    TIniFile32 ini(FileWith("[Tabs]\r\nCount=3\r\n"));
    ini.WriteString("Page", "01N", "title\r\n[Tabs]\r\nCount=0");
    ini.WriteString("Pa\nge", "k\r", "v");
    TIniFile32 reloaded(dir_.File("test.ini"));
    EXPECT_EQ(reloaded.ReadString("Page", "01N", ""), "title  [Tabs]  Count=0");
    EXPECT_EQ(reloaded.ReadInteger("Tabs", "Count", 0), 3);
    EXPECT_EQ(reloaded.ReadString("Pa ge", "k", ""), "v");
}

TEST_F(IniTest, DeferredSavesWriteOnlyOnUpdateFile) {
    const std::string path = FileWith("[S]\r\n");
    TIniFile32 ini(path);
    ini.SetDeferSaves(true);
    ini.WriteString("S", "a", "1");
    ini.WriteInteger("S", "b", 2);
    ini.EraseSection("S");
    ini.WriteString("T", "c", "3");
    EXPECT_EQ(Bytes(), "[S]\r\n");
    EXPECT_TRUE(ini.Modified());
    ini.UpdateFile();
    EXPECT_FALSE(ini.Modified());
    EXPECT_EQ(Bytes(), "\r\n[T]\r\nc=3\r\n");
}

// Lookups of one section are remembered between calls; every kind of edit must keep that right.
TEST_F(IniTest, SectionsAreFoundAgainAfterEditsAroundThem) {
    TIniFile32 ini(FileWith("[A]\r\n[B]\r\nb=1\r\n"));
    ini.SetDeferSaves(true);
    EXPECT_EQ(ini.ReadString("B", "b", ""), "1");
    ini.WriteString("A", "a1", "x");
    ini.WriteString("A", "a2", "y");
    EXPECT_EQ(ini.ReadString("B", "b", ""), "1");
    ini.DeleteKey("A", "a1");
    EXPECT_EQ(ini.ReadString("B", "b", ""), "1");
    EXPECT_EQ(ini.ReadString("C", "c", "none"), "none");
    ini.WriteString("C", "c", "3");
    EXPECT_EQ(ini.ReadString("C", "c", ""), "3");
    ini.EraseSection("A");
    EXPECT_EQ(ini.ReadString("B", "b", ""), "1");
    EXPECT_EQ(ini.ReadString("A", "a2", "gone"), "gone");
    // A written line can itself look like a header and then ends the section.
    ini.WriteString("B", "[x", "y]");
    ini.WriteString("B", "after", "1");
    EXPECT_EQ(ini.Bytes(), "[B]\r\nb=1\r\n\r\nafter=1\r\n[x=y]\r\n[C]\r\nc=3\r\n");
}

// Lookups are answered from an index; whichever section or key was asked for before, an edit
// must leave the answers of a fresh load of the same lines.
TEST_F(IniTest, DuplicateSectionsAndKeysAfterEditsBehindALookup) {
    TIniFile32 ini(FileWith("[Page]\r\nk=1\r\n[PAGE]\r\nk=2\r\nk=3\r\n[x]\r\n[page]\r\nk=4\r\n"));
    ini.SetDeferSaves(true);
    EXPECT_EQ(ini.ReadString("pAGE", "k", ""), "1");
    EXPECT_EQ(ini.ReadString("X", "k", "none"), "none");
    ini.EraseSection("page");
    EXPECT_EQ(ini.ReadString("Page", "k", ""), "2");
    ini.DeleteKey("Page", "k");
    EXPECT_EQ(ini.ReadString("Page", "k", ""), "3");
    ini.WriteString("Page", "k", "three");
    ini.DeleteKey("PAGE", "k");
    EXPECT_EQ(ini.ReadString("Page", "k", "gone"), "gone");
    ini.EraseSection("Page");
    EXPECT_EQ(ini.ReadString("Page", "k", ""), "4");
    ini.WriteString("x", "k", "5");
    EXPECT_EQ(ini.ReadString("PAGE", "k", ""), "4");
    EXPECT_EQ(ini.ReadString("X", "k", ""), "5");
    EXPECT_EQ(ini.Bytes(), "[x]\r\nk=5\r\n[page]\r\nk=4\r\n");
}

// Random edits of sections and keys that differ in case, blanks and order, each followed by
// lookups, against a fresh engine over the same bytes.
TEST_F(IniTest, IndexedLookupsFollowEveryEditLikeAFreshLoad) {
    const std::vector<std::string> sections = {"S", "s", "T", "\xc4", "\xe4", "", "x=y"};
    const std::vector<std::string> keys = {"a", "A", "b", " a", "Tab1", "[x"};
    std::mt19937 random(9);
    auto pick = [&random](const std::vector<std::string>& from) {
        return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(random)];
    };
    TIniFile32 ini = TIniFile32::FromBytes(
        dir_.File("mem.ini"), "a=0\r\n[S]\r\na=1\r\nA=2\r\na=3\r\n  [T]  \r\nb=4\r\n[s]\r\na=5\r\n"
                              "[T]\r\n\r\nb=6\r\n[\xc4]\r\nx=7\r\n");
    ini.SetDeferSaves(true);
    for (int step = 0; step < 3000; ++step) {
        const std::string section = pick(sections);
        const std::string key = pick(keys);
        switch (random() % 8) {
        case 0:
        case 1:
        case 2:
            ini.WriteString(section, key, std::to_string(step));
            break;
        case 3:
        case 4:
            ini.DeleteKey(section, key);
            break;
        case 5:
            ini.EraseSection(section);
            break;
        case 6:
            // Turns "[x=..." into the header of section "x=y".
            ini.WriteString(section, "[x", "y]");
            break;
        default:
            break;
        }
        const TIniFile32 fresh = TIniFile32::FromBytes(dir_.File("mem.ini"), ini.Bytes());
        for (const std::string& s : sections) {
            ASSERT_EQ(ini.FindSection(s), fresh.FindSection(s))
                << "step " << step << " [" << s << "]";
            for (const std::string& k : keys) {
                ASSERT_EQ(ini.ReadString(s, k, "-"), fresh.ReadString(s, k, "-"))
                    << "step " << step << " [" << s << "] " << k;
            }
        }
    }
}

TEST_F(IniTest, LineEndsOfAnyKindLoadAndSaveAsCrLf) {
    TIniFile32 ini(FileWith("[S]\ra=1\nb=2\r\n\n\rc=3"));
    EXPECT_EQ(ini.ReadString("S", "c", ""), "3");
    ini.UpdateFile();
    EXPECT_EQ(Bytes(), "[S]\r\na=1\r\nb=2\r\n\r\n\r\nc=3\r\n");
}

TEST_F(IniTest, OneShotOperationsReloadTheFileEveryCall) {
    const std::string path = dir_.File("lvd.ini");
    lv::WriteToIniS(path, "File", "Name", "/home/u/Disk.LVD");
    lv::WriteToIniI(path, "Column", "Count", 3);
    lvtest::WriteBytes(path, lvtest::ReadBytes(path) + "extra=1\r\n");
    EXPECT_EQ(lv::ReadFromIniS(path, "Column", "extra", ""), "1");
    EXPECT_EQ(lv::ReadFromIniI(path, "Column", "Count", 4), 3);
    EXPECT_EQ(lv::ReadFromIniSLVD(path, "File", "Name", ""), "/home/u/Disk.LVD");
    lv::WriteToIniILVD(path, "Tabs", "Count", 10);
    EXPECT_EQ(lv::ReadFromIniILVD(path, "Tabs", "Count", 0), 10);
}

// Input nobody wrote by hand: the engine carries it along and must not lose what follows.
TEST_F(IniTest, NulByteIsAnOrdinaryByteAndNothingAfterItIsLost) {
    const std::string original = std::string("[S]\r\na=x\0y\r\nb=2\r\n", 17);
    TIniFile32 ini(FileWith(original));
    EXPECT_EQ(ini.ReadString("S", "a", ""), std::string("x\0y", 3));
    EXPECT_EQ(ini.ReadString("S", "b", ""), "2");
    ini.WriteString("S", "c", "3");
    EXPECT_EQ(Bytes(), original + "c=3\r\n");
}

TEST_F(IniTest, TenMegabyteLineIsCarriedWhole) {
    const std::string big(10 * 1024 * 1024, 'x');
    TIniFile32 ini(FileWith("[S]\r\nbig=" + big + "\r\nafter=1\r\n"));
    EXPECT_EQ(ini.ReadString("S", "after", ""), "1");
    EXPECT_EQ(ini.ReadString("S", "big", "").size(), big.size());
    ini.WriteString("S", "after", "2");
    EXPECT_EQ(Bytes(), "[S]\r\nbig=" + big + "\r\nafter=2\r\n");
}

TEST_F(IniTest, GarbageAndHeaderOnlyFilesRoundTrip) {
    std::string garbage;
    for (int i = 0; i < 4096; ++i) {
        garbage += static_cast<char>((i * 7919 + 13) % 256);
    }
    const std::string inputs[] = {garbage, "[A]\r\n[B]\r\n[C]\r\n[]\r\n[\r\n]\r\n",
                                  "=\r\n==\r\n[=]\r\n=[x]\r\n"};
    for (const std::string& input : inputs) {
        TIniFile32 ini = TIniFile32::FromBytes(dir_.File("mem.ini"), input);
        (void)ini.ReadString("A", "k", "");
        const std::string before = ini.Bytes();
        ini.SetDeferSaves(true);
        ini.WriteString("A", "k", "v");
        EXPECT_EQ(ini.ReadString("A", "k", ""), "v");
        ini.DeleteKey("A", "k");
        ini.EraseSection("B");
        ini.UpdateFile();
        EXPECT_EQ(TIniFile32(dir_.File("mem.ini")).Bytes(), ini.Bytes());
        EXPECT_FALSE(before.empty());
    }
}

} // namespace
