// The Internet Search window and its search-engine file: the query addresses, sites learnt from
// the browser's address, and the list keys after every change.
#include "platform/BrowserTransport.h"
#include "store/TIniFile32.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"
#include "tools/SearchEngineFile.h"
#include "tools/TSearchForm.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// A browser whose front page is given by the test (the link's reply: "address","title",...).
class FrontPage : public lv::BrowserTransport {
public:
    std::string url;
    std::string title;
    bool Connect(const std::string&, const std::string&) override { return true; }
    std::optional<std::string> Request(const std::string&, std::chrono::milliseconds) override {
        return "\"" + url + "\",\"" + title + "\",\"\"";
    }
    void Disconnect() override {}
};

class SearchForm : public ::testing::Test {
protected:
    void SetUp() override {
        lvtest::WriteBytes(Ise(), "[Sites]\r\nCount=3\r\n1=Zeta\r\n2=Alpha\r\n3=Mid\r\n"
                                  "Zeta1=https://z.test/find?q=\r\nZeta2=&lang=en\r\n"
                                  "Alpha1=https://a.test/s?query=\r\n"
                                  "Mid1=https://m.test/?k=\r\n");
        lvtest::WriteBytes(dir.File("LVD.INI"),
                           "[Search]\r\nName=" + Ise() + "\r\n[Browser]\r\nDebugPort=9\r\n");
        context.settingsFile = dir.File("LVD.INI");
        context.dataFileName = dir.File("Disk.LVD");
        context.programDir = dir.Path().string() + "/";
        context.browserPath = "/usr/bin/chromium";
        context.browser = &browser;
        form.FormActivate(context);
    }
    std::string Ise() const { return dir.File("Sites.ISE"); }
    std::string Key(const std::string& key) const {
        return lv::TIniFile32(Ise()).ReadString("Sites", key, "<none>");
    }
    void Select(const std::string& name) {
        const auto& sites = form.Sites();
        const auto at = std::find(sites.begin(), sites.end(), name);
        ASSERT_NE(at, sites.end()) << name;
        form.SelectSite(static_cast<int>(at - sites.begin()), true);
    }

    lvtest::TempDir dir;
    lvtest::ScriptedDialogs dialogs;
    FrontPage browser;
    lv::TSearchForm::Context context;
    lv::TSearchForm form{dialogs};
};

TEST_F(SearchForm, OpensSortedWithTheFileInTheCaption) {
    EXPECT_EQ(form.caption, "Internet Search  [ Sites ]");
    EXPECT_EQ(form.Sites(), (std::vector<std::string>{"Alpha", "Mid", "Zeta"}));
    EXPECT_EQ(form.Label10, "0 Selected");
    EXPECT_FALSE(form.deleteEnabled);
    Select("Mid");
    EXPECT_EQ(form.Label10, "1 Selected");
    EXPECT_TRUE(form.deleteEnabled);
    EXPECT_FALSE(form.addEnabled);
    EXPECT_FALSE(form.fileButtonsEnabled);
}

TEST_F(SearchForm, TwoSitesGiveTwoAddressesInListOrder) {
    Select("Zeta");
    Select("Alpha");
    form.SearchText1 = "red  apple";
    form.SearchButton1Click();
    EXPECT_TRUE(form.Closed());
    EXPECT_EQ(form.Result(),
              "https://a.test/s?query=red++apple;;https://z.test/find?q=red++apple&lang=en");
    EXPECT_TRUE(dialogs.Asked().empty());
}

TEST_F(SearchForm, SearchWithoutTopicOrSiteIsTold) {
    form.SearchButton1Click();
    form.SearchText1 = "x";
    form.SearchButton1Click();
    EXPECT_EQ(dialogs.Asked(), (std::vector<std::string>{
                                   "Message: You must have text in the Enter Search Topic field.",
                                   "Message: Select a search site from the list."}));
    EXPECT_FALSE(form.Closed());
    EXPECT_TRUE(form.Result().empty());
    EXPECT_TRUE(form.Searching());
}

TEST_F(SearchForm, AddCutsTheBrowsersAddressAtTheFirstTopic) {
    struct Case {
        const char* topic;
        const char* url;
        const char* first;  // <none> when the site was not added
        const char* second; // <none> when absent
    };
    const Case cases[] = {
        {"blue car", "https://new.test/q?s=blue+car&x=blue+car",
         "https://new.test/q?s=", "&x=blue+car"},
        {"blue", "https://new.test/search?q=blue", "https://new.test/search?q=", "<none>"},
        {"blue car", "https://new.test/q?s=blue%20car", "<none>", "<none>"},
        {"blue", "", "<none>", "<none>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url);
        SetUp();
        browser.url = c.url;
        browser.title = "New Engine";
        form.SearchText1 = c.topic;
        form.AddButton1Click();
        EXPECT_EQ(form.addCaption, "SAVE");
        EXPECT_EQ(form.SiteName1, "New Engine"); // the page title is proposed
        EXPECT_FALSE(form.listVisible);
        form.SiteName1 = "New";
        if (std::string(c.first) == "<none>") {
            dialogs.Queue(lv::MsgResult::Ok);
        }
        form.KeyEnter(); // Enter while the button reads "SAVE" saves
        EXPECT_EQ(form.addCaption, "Add");
        EXPECT_TRUE(form.listVisible);
        EXPECT_EQ(Key("New1"), c.first);
        EXPECT_EQ(Key("New2"), c.second);
        if (std::string(c.first) != "<none>") {
            EXPECT_EQ(Key("Count"), "4");
            EXPECT_EQ(Key("3"), "New");
            EXPECT_EQ(Key("4"), "Zeta");
        } else {
            EXPECT_EQ(dialogs.Asked().back(), "Message: Search Topic does not match!");
        }
    }
}

TEST_F(SearchForm, DeleteKeepsTheListKeysInStep) {
    Select("Mid");
    dialogs.Queue(lv::MsgResult::Yes);
    form.DeleteButton1Click();
    EXPECT_EQ(Key("Count"), "2");
    EXPECT_EQ(Key("1"), "Alpha");
    EXPECT_EQ(Key("2"), "Zeta");
    EXPECT_EQ(Key("3"), "<none>");
    EXPECT_EQ(Key("Mid1"), "<none>");
    EXPECT_EQ(form.Label10, "0 Selected");
    EXPECT_EQ(lvtest::ReadBytes(Ise()).find("Mid"), std::string::npos);
}

TEST_F(SearchForm, RenameMovesBothPartsAndAnEmptyNameChangesNothing) {
    Select("Zeta");
    form.RenameButton1Click();
    EXPECT_EQ(form.renameCaption, "Save Name");
    EXPECT_EQ(form.SiteName1, "Zeta");
    EXPECT_FALSE(form.topicVisible);
    form.SiteName1 = "Beta";
    form.KeyEnter();
    EXPECT_EQ(form.renameCaption, "Rename");
    EXPECT_EQ(form.Label10, " 0 Selected");
    EXPECT_EQ(form.Sites(), (std::vector<std::string>{"Alpha", "Beta", "Mid"}));
    EXPECT_EQ(Key("2"), "Beta");
    EXPECT_EQ(Key("Beta1"), "https://z.test/find?q=");
    EXPECT_EQ(Key("Beta2"), "&lang=en");
    EXPECT_EQ(Key("Zeta1"), "<none>");
    EXPECT_EQ(Key("Zeta2"), "<none>");

    const std::string before = lvtest::ReadBytes(Ise());
    Select("Mid");
    form.RenameButton1Click();
    form.SiteName1.clear();
    form.RenameButton1Click();
    EXPECT_EQ(lvtest::ReadBytes(Ise()), before);
    EXPECT_TRUE(dialogs.Asked().empty());
}

TEST_F(SearchForm, MergeAddsTheOtherFilesSitesAndLoadRemembersTheFile) {
    const std::string other = dir.File("Other.ISE");
    lvtest::WriteBytes(other, "[Sites]\r\nCount=1\r\n1=Beta\r\nBeta1=https://b.test/?q=\r\n");
    dialogs.Queue(lv::OpenFileResult{true, other});
    form.MergeButton1Click();
    EXPECT_EQ(form.Sites(), (std::vector<std::string>{"Alpha", "Beta", "Mid", "Zeta"}));
    EXPECT_EQ(Key("Count"), "4");
    EXPECT_EQ(Key("2"), "Beta");
    EXPECT_EQ(Key("Beta1"), "https://b.test/?q=");

    dialogs.Queue(lv::OpenFileResult{true, other});
    form.LoadButton1Click();
    EXPECT_EQ(form.Sites(), (std::vector<std::string>{"Beta"}));
    EXPECT_EQ(form.caption, "Internet Search  [ Other ]");
    EXPECT_EQ(lv::TIniFile32(context.settingsFile).ReadString("Search", "Name", ""), other);

    const std::string copy = dir.File("Copy.ISE");
    dialogs.Queue(lv::OpenFileResult{true, copy});
    form.SaveButton1Click();
    EXPECT_EQ(lvtest::ReadBytes(copy), lvtest::ReadBytes(other));
    EXPECT_EQ(form.FileName(), copy);

    const std::string fresh = dir.File("Fresh.ISE");
    dialogs.Queue(lv::OpenFileResult{true, fresh});
    form.NewButton1Click();
    EXPECT_TRUE(form.Sites().empty());
    ASSERT_TRUE(fs::exists(fresh));
    EXPECT_EQ(lv::TIniFile32(fresh).ReadString("Sites", "Count", ""), "0");
}

TEST(SearchEngineFile, FoundFromSettingThenDataFileThenDiskIse) {
    lvtest::TempDir dir;
    const std::string programDir = dir.Path().string() + "/";
    fs::create_directories(dir.Path() / ".data" / "my.files");
    const std::string settings = dir.File("LVD.INI");
    const std::string data = dir.File(".data/my.files/Work.lvd");

    // Nothing there: "Disk.ISE" in the program folder, even with a dot in a folder's name.
    EXPECT_EQ(lv::FindSearchEngineFile(settings, data, programDir), dir.File("Disk.ISE"));
    lvtest::WriteBytes(dir.File(".data/my.files/work.ise"), "");
    EXPECT_EQ(lv::FindSearchEngineFile(settings, data, programDir),
              dir.File(".data/my.files/work.ise"));
    lvtest::WriteBytes(settings, "[Search]\r\nName=/x/Chosen.ISE\r\n");
    EXPECT_EQ(lv::FindSearchEngineFile(settings, data, programDir), "/x/Chosen.ISE");
}

TEST(SearchEngineFile, FirstStartFileHoldsHttpsSitesAndIsNeverReplaced) {
    lvtest::TempDir dir;
    const std::string programDir = dir.Path().string() + "/";
    lv::WriteDefaultSearchFile(programDir);
    const std::string file = dir.File("Disk.ISE");
    const std::vector<std::string> names = lv::ReadSiteNames(file);
    ASSERT_GE(names.size(), 4u);
    for (const std::string& name : names) {
        EXPECT_EQ(lv::ReadSite(file, name).before.rfind("https://", 0), 0u) << name;
    }
    lvtest::WriteBytes(file, "[Sites]\r\nCount=0\r\n");
    lv::WriteDefaultSearchFile(programDir);
    EXPECT_EQ(lvtest::ReadBytes(file), "[Sites]\r\nCount=0\r\n");
}

} // namespace
