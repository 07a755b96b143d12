#pragma once

// Servers and a DataFile for the link checker tests: a real nginx with pages, missing pages and
// relocations, and scripted servers that misbehave in one way each.
#include "support/Nginx.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"
#include "support/TestCertificates.h"
#include "web/ScriptedServer.h"

#include "pages/TAlphaForm.h"
#include "platform/PollEventLoop.h"
#include "store/DataFile.h"
#include "store/TIniFile32.h"
#include "tools/LinkChecker.h"
#include "tools/THttpAsyForm.h"

#include <gtest/gtest.h>

#include <ctime>
#include <memory>
#include <ostream>
#include <string>
#include <utime.h>
#include <vector>

namespace lv {
inline void PrintTo(const CheckRow& row, std::ostream* os) {
    *os << "{" << row.page << " | " << row.title << " | " << row.link << " | " << row.btn << " | "
        << row.response << "}";
}
} // namespace lv

namespace lvtest {

// 2024-01-02 03:04:05 UTC and a day later, as nginx sends them.
inline constexpr std::time_t kStamp1 = 1704164645;
inline constexpr std::time_t kStamp2 = kStamp1 + 86400;
inline const std::string kStamp1Text = "Tue, 02 Jan 2024 03:04:05";
inline const std::string kStamp2Text = "Wed, 03 Jan 2024 03:04:05";

inline void SetModified(const std::filesystem::path& file, std::time_t when) {
    const utimbuf times{when, when};
    ::utime(file.c_str(), &times);
}

// One server per way of misbehaving, so that the order connections arrive in does not matter.
struct Misbehaving {
    explicit Misbehaving(const TestCertificates::Files& untrusted)
        : hung({[](ScriptedServer::Peer& peer) {
              peer.ReadRequest();
              peer.WaitClosed(std::chrono::seconds(30));
          }}),
          endlessHeaders({[](ScriptedServer::Peer& peer) {
              peer.ReadRequest();
              peer.Send("HTTP/1.0 200 OK\r\n");
              const std::string line = "X-Padding: " + std::string(4000, 'a') + "\r\n";
              for (int i = 0; i < 600; ++i) {
                  peer.Send(line);
              }
              peer.WaitClosed(std::chrono::seconds(30));
          }}),
          drip({[](ScriptedServer::Peer& peer) {
              peer.ReadRequest();
              peer.Send("HTTP/1.0 200 OK\r\n");
              for (int i = 0; i < 300; ++i) {
                  peer.Send("X");
                  if (peer.WaitClosed(std::chrono::milliseconds(100))) {
                      return;
                  }
              }
          }}),
          reset({[](ScriptedServer::Peer& peer) {
              peer.ReadRequest();
              peer.Reset();
          }}),
          loop({ScriptedServer::Reply("HTTP/1.0 302 Found\r\nLocation: /again\r\n\r\n")}),
          lowerCaseStamp({ScriptedServer::Reply("HTTP/1.0 200 OK\r\nlast-modified:" + kStamp1Text +
                                                " GMT  \r\nContent-Length: 0\r\n\r\n")}),
          badCertificate({[untrusted](ScriptedServer::Peer& peer) {
              if (peer.AcceptTls(untrusted.certFile, untrusted.keyFile)) {
                  peer.Send("HTTP/1.0 200 OK\r\nContent-Length: 0\r\n\r\n");
              }
          }}),
          refusedPort(FreeLocalPort()) {}

    ScriptedServer hung;
    ScriptedServer endlessHeaders;
    ScriptedServer drip;
    ScriptedServer reset;
    ScriptedServer loop;
    ScriptedServer lowerCaseStamp;
    ScriptedServer badCertificate;
    int refusedPort;
};

class CheckerFixture : public ::testing::Test {
protected:
    void SetUp() override {
        if (!Nginx::Available()) {
            GTEST_SKIP() << "nginx is not installed";
        }
        certs_ = std::make_unique<TestCertificates>(dir_.Path() / "certs");
        untrusted_ = certs_->IssueByUnknownCa("untrusted", {"localhost"}, {"127.0.0.1"});
        nginx_.Start("location = /old { return 301 /p1.html; }\n"
                     "location = /gone { return 410; }\n"
                     "location = /legal { return 451; }\n"
                     "location = /temp { return 302 /p2.html; }\n");
        for (const char* name : {"p1.html", "p2.html", "p3.html"}) {
            nginx_.WriteDoc(name, std::string("<html>") + name + "</html>\n");
        }
        SetModified(nginx_.Docroot() / "p1.html", kStamp1);
        SetModified(nginx_.Docroot() / "p2.html", kStamp1);
        SetModified(nginx_.Docroot() / "p3.html", kStamp2);
        bad_ = std::make_unique<Misbehaving>(untrusted_);
        dataFile_ = dir_.File("links.lvd");
        settingsFile_ = dir_.File("LVD.INI");
    }

    std::string Web(const std::string& path) const { return nginx_.BaseUrl() + path; }

    // Writes the bookmarks of a page: slot, title, address, and extra keys.
    struct Slot {
        int slot;
        std::string title;
        std::string address;
        std::vector<std::pair<char, std::string>> extra = {};
    };
    void WritePages(const std::vector<std::pair<std::string, std::vector<Slot>>>& pages) {
        lv::TIniFile32 ini(dataFile_);
        ini.SetDeferSaves(true);
        std::vector<std::string> names;
        for (const auto& [name, slots] : pages) {
            names.push_back(name);
            for (const Slot& s : slots) {
                ini.WriteString(name, lv::SlotKey(s.slot, 'N'), s.title);
                ini.WriteString(name, lv::SlotKey(s.slot, 'U'), s.address);
                for (const auto& [letter, value] : s.extra) {
                    ini.WriteString(name, lv::SlotKey(s.slot, letter), value);
                }
            }
        }
        lv::SaveTabs(ini, names);
        ini.UpdateFile();
    }

    std::string Read(const std::string& page, int slot, char letter) const {
        return lv::TIniFile32(dataFile_).ReadString(page, lv::SlotKey(slot, letter), "");
    }

    // The window over the DataFile, with page range first..last chosen in its dialog.
    std::unique_ptr<lv::THttpAsyForm> Window(int first, int last, int jobs = 1,
                                             bool secondPass = false) {
        lv::CheckerSetup setup;
        setup.dataFile = dataFile_;
        setup.settingsFile = settingsFile_;
        setup.pages = lv::ReadTabs(lv::TIniFile32(dataFile_));
        setup.columns = 3;
        setup.autoBackup = autoBackup_;
        setup.pageRange = [first, last](lv::TAlphaForm& range) {
            if (first >= 0) {
                range.SelectRow(first, true);
                range.SelectRow(last, true);
                range.AlphaBtnClick();
            } else {
                range.CloseBtnClick();
            }
        };
        setup.beep = [this] { ++beeps_; };
        setup.launch = [this](const std::string& page, int slot, const std::string& address) {
            launched_.push_back(page + " " + lv::SlotPrefix(slot) + " " + address);
        };
        setup.edit = [this](const std::string& page, int slot, const std::string& link) {
            edited_.push_back(page + " " + lv::SlotPrefix(slot) + " " + link);
        };
        setup.pageAdded = [this](int tab) { addedTab_ = tab; };
        auto form = std::make_unique<lv::THttpAsyForm>(loop_, dialogs_, setup);
        form->SetLinksAtOnce(jobs);
        form->SetSecondPass(secondPass);
        form->SetTimeLimitForTesting(std::chrono::milliseconds(1500));
        form->FormActivate();
        return form;
    }

    // Scans and waits for the end of the run.
    void Check(lv::THttpAsyForm& form) {
        form.SearchButtonClick();
        ASSERT_TRUE(loop_.RunUntil([&] { return !form.Checking(); }, std::chrono::seconds(90)))
            << "the check did not end";
    }

    TempDir dir_;
    Nginx nginx_;
    std::unique_ptr<TestCertificates> certs_;
    TestCertificates::Files untrusted_;
    std::unique_ptr<Misbehaving> bad_;
    std::string dataFile_;
    std::string settingsFile_;
    lv::PollEventLoop loop_;
    ScriptedDialogs dialogs_;
    int beeps_ = 0;
    bool autoBackup_ = false;
    int addedTab_ = -1;
    std::vector<std::string> launched_;
    std::vector<std::string> edited_;
};

inline lv::CheckRow Status(std::string text) {
    return {std::move(text), {}, {}, {}, {}};
}

} // namespace lvtest
