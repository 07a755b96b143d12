// The link checker window against nginx and misbehaving servers: exactly the bad and updated
// links, the stamps in the DataFile, the time limit, "Stop Checking", and several at once.
#include "CheckerFixture.h"

#include <chrono>

using lv::CheckRow;
using lvtest::Status;

namespace {

class CheckerWindow : public lvtest::CheckerFixture, public ::testing::WithParamInterface<int> {
protected:
    // Page "Sites" holds one bookmark per case; "Other" is outside the range checked.
    void WriteSites() {
        auto local = [](const lvtest::ScriptedServer& server, const std::string& path) {
            return server.Url(path);
        };
        WritePages(
            {{"Sites",
              {{1, "Page one", Web("/p1.html")},
               {2, "Missing", Web("/missing.html")},
               {3, "Old place", Web("/old")},
               {4, "Gone", Web("/gone")},
               {5, "Moved for now", Web("/temp")},
               {6, "Hung", local(bad_->hung, "/")},
               {7, "Endless", local(bad_->endlessHeaders, "/")},
               {8, "Drip", local(bad_->drip, "/")},
               {9, "Reset", local(bad_->reset, "/")},
               {10, "Loop", local(bad_->loop, "/")},
               {11, "Bad cert",
                "https://127.0.0.1:" + std::to_string(bad_->badCertificate.Port()) + "/"},
               {12, "Refused", "http://127.0.0.1:" + std::to_string(bad_->refusedPort) + "/"},
               {13, "Local", Web("/missing-local"), {{'L', "Yes"}}},
               {14, "Protected", "xx\xB6yy"},
               {15, "Coloured", Web("/p3.html"), {{'C', "255"}}},
               {16, "Lower case", local(bad_->lowerCaseStamp, "/")},
               {17, "Legal", Web("/legal")},
               {18, "No host", "http:///nowhere"},
               {61, "Past the columns", Web("/missing-61")}}},
             {"Other", {{1, "Elsewhere", Web("/missing-other")}}}});
    }

    CheckRow Bad(int slot, const std::string& title, const std::string& address,
                 const std::string& response) const {
        return {"Sites", title, address, lv::SlotPrefix(slot), response};
    }
};

TEST_P(CheckerWindow, ListsExactlyTheBadAndUpdatedLinksInQueueOrder) {
    WriteSites();
    auto form = Window(0, 0, GetParam());
    const auto started = std::chrono::steady_clock::now();
    Check(*form);
    const auto took = std::chrono::steady_clock::now() - started;
    const std::string lm1 = "Last-Modified: " + lvtest::kStamp1Text + " GMT";
    const std::string lm3 = "Last-Modified: " + lvtest::kStamp2Text + " GMT";
    const std::string missing(lv::kSiteMissingText);
    const std::string late(lv::kNotReplyingText);
    auto url = [](const lvtest::ScriptedServer& s) { return s.Url("/"); };
    const std::vector<CheckRow> bad = {
        Bad(2, "Missing", Web("/missing.html"), "HTTP/1.1 404 Not Found"),
        Bad(3, "Old place", Web("/old"), "HTTP/1.1 301 Moved Permanently"),
        Bad(4, "Gone", Web("/gone"), "HTTP/1.1 410 Gone"),
        Bad(6, "Hung", url(bad_->hung), late),
        Bad(7, "Endless", url(bad_->endlessHeaders), missing),
        Bad(8, "Drip", url(bad_->drip), late),
        Bad(9, "Reset", url(bad_->reset), missing),
        Bad(10, "Loop", url(bad_->loop), missing),
        Bad(11, "Bad cert",
            "https://127.0.0.1:" + std::to_string(bad_->badCertificate.Port()) + "/", missing),
        Bad(12, "Refused", "http://127.0.0.1:" + std::to_string(bad_->refusedPort) + "/", missing),
        Bad(17, "Legal", Web("/legal"), "HTTP/1.1 451 "), // nginx gives this code no reason phrase
        Bad(18, "No host", "http:///nowhere", missing),
        Status("Completed"),
    };
    const std::vector<CheckRow> updated = {
        Bad(1, "Page one", Web("/p1.html"), lm1),
        Bad(3, "Old place", Web("/old"), lm1),
        Bad(5, "Moved for now", Web("/temp"), lm1),
        Bad(15, "Coloured", Web("/p3.html"), lm3),
        Bad(16, "Lower case", url(bad_->lowerCaseStamp),
            "last-modified:" + lvtest::kStamp1Text + " GMT  "),
        Status("Completed"),
    };
    EXPECT_EQ(form->View1(), bad);
    EXPECT_EQ(form->View2(), updated);
    EXPECT_EQ(form->BCountL(), "12");
    EXPECT_EQ(form->UCountL(), "5");
    EXPECT_EQ(form->TCountL(), "16 of 16");
    EXPECT_EQ(form->GaugeProgress(), 16);
    EXPECT_EQ(beeps_, 1);
    // The two silent servers were given their time and no more.
    EXPECT_GE(took, std::chrono::milliseconds(1500));
    EXPECT_LT(took, std::chrono::seconds(GetParam() == 1 ? 30 : 15));

    // The stamps are stored as the Windows program stored them, the stamp and a blank.
    const std::string bytes = lvtest::ReadBytes(dataFile_);
    EXPECT_NE(bytes.find("01D=" + lvtest::kStamp1Text + " \r\n"), std::string::npos) << bytes;
    EXPECT_NE(bytes.find("16D=" + lvtest::kStamp1Text + " \r\n"), std::string::npos) << bytes;
    EXPECT_EQ(Read("Sites", 15, 'D'), lvtest::kStamp2Text);
    EXPECT_EQ(Read("Sites", 2, 'D'), "");

    // A second run has nothing updated; the bad links are the same.
    Check(*form);
    EXPECT_EQ(form->View1(), bad);
    EXPECT_EQ(form->View2(), std::vector<CheckRow>{Status("Completed")});
    EXPECT_EQ(form->UCountL(), "0");

    // A changed page is updated again, and only that one.
    lvtest::SetModified(nginx_.Docroot() / "p1.html", lvtest::kStamp2);
    Check(*form);
    ASSERT_EQ(form->View2().size(), 3u);
    EXPECT_EQ(form->View2()[0], Bad(1, "Page one", Web("/p1.html"), lm3));
    EXPECT_EQ(form->View2()[1], Bad(3, "Old place", Web("/old"), lm3));
}

INSTANTIATE_TEST_SUITE_P(LinksAtOnce, CheckerWindow, ::testing::Values(1, 8));

} // namespace
