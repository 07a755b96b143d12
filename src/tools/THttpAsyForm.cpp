#include "tools/THttpAsyForm.h"

#include "pages/ColorFilter.h"
#include "pages/PageNames.h"
#include "pages/TAlphaForm.h"
#include "store/Backup.h"
#include "store/DataFile.h"
#include "store/FileIo.h"
#include "store/TIniFile32.h"

#include <algorithm>
#include <set>
#include <utility>

namespace lv {

namespace {

constexpr std::string_view kSection = "LinkCheck";
constexpr std::string_view kCheckCaption = "Click on \"Check Links\"";

std::string CountOf(int done, int total) {
    return std::to_string(done) + " of " + std::to_string(total);
}

} // namespace

CheckerOptions CheckerOptions::Read(const std::string& settingsFile) {
    CheckerOptions options;
    const TIniFile32 ini(settingsFile);
    options.linksAtOnce =
        std::clamp(ini.ReadInteger(kSection, "LinksAtOnce", 1), 1, LinkChecker::kMaxJobs);
    options.secondPass = ini.ReadInteger(kSection, "SecondPass", 0) != 0;
    return options;
}

void CheckerOptions::Write(const std::string& settingsFile) const {
    TIniFile32 ini(settingsFile);
    ini.SetDeferSaves(true);
    ini.WriteInteger(kSection, "LinksAtOnce", linksAtOnce);
    ini.WriteInteger(kSection, "SecondPass", secondPass ? 1 : 0);
    ini.UpdateFile();
}

std::vector<CheckEntry> ScanBookmarks(const ScanRequest& request, const ColorFilter& filter) {
    std::vector<CheckEntry> entries;
    const TIniFile32 ini(request.dataFile);
    const int last = std::min(request.lastPage, static_cast<int>(request.pages.size()) - 1);
    const int slots = std::clamp(request.columns * datafile::kRowCount, 0, datafile::kSlotCount);
    for (int page = std::max(request.firstPage, 0); page <= last; ++page) {
        const std::string& name = request.pages[page];
        for (int slot = 1; slot <= slots; ++slot) {
            if (!filter.Passes(ini.ReadString(name, SlotKey(slot, 'C'), ""))) {
                continue;
            }
            const std::string target = ini.ReadString(name, SlotKey(slot, 'U'), "");
            // A protected target is scrambled: there is nothing to fetch.
            if (target.empty() || target.find(datafile::kProtectedMarker) != std::string::npos ||
                ini.ReadString(name, SlotKey(slot, 'L'), "") == "Yes") {
                continue;
            }
            entries.push_back(
                {target, ini.ReadString(name, SlotKey(slot, 'N'), ""), name, SlotPrefix(slot)});
        }
    }
    return entries;
}

THttpAsyForm::THttpAsyForm(EventLoop& loop, Dialogs& dialogs, CheckerSetup setup)
    : loop_(loop), dialogs_(dialogs), setup_(std::move(setup)),
      options_(CheckerOptions::Read(setup_.settingsFile)) {
    LinkChecker::Events events;
    events.row = [this](CheckList list, const CheckRow& row) { Row(list, row); };
    events.started = [this](const CheckEntry& entry) { caption_ = " - Checking: " + entry.title; };
    events.progress = [this] {
        gaugeMax_ = checker_->Total();
        gaugeProgress_ = checker_->Checked();
        tCount_ = CountOf(checker_->Checked(), checker_->Total());
        Changed();
    };
    events.finished = [this](bool stopped) {
        // A run that stored no stamp leaves no backup armed for a later, unrelated save.
        if (checker_->UpdatedCount() == 0) {
            DisarmBeforeFirstChange();
        }
        if (!stopped && setup_.beep) {
            setup_.beep();
        }
        Changed();
    };
    events.saveFailed = [this](const std::string& text) { dialogs_.Error(text); };
    checker_ = std::make_unique<LinkChecker>(loop_, setup_.dataFile, std::move(events));
    checker_->SetCaFile(setup_.caFile);
}

THttpAsyForm::~THttpAsyForm() = default;

void THttpAsyForm::Changed() {
    if (setup_.changed) {
        setup_.changed();
    }
}

void THttpAsyForm::FormActivate() {
    caption_ = std::string(kCheckCaption);
    bCount_ = uCount_ = tCount_ = "0";
    closed_ = false;
}

void THttpAsyForm::FormClose() {
    checker_->Stop();
    // The requests' last events may never come once the window is gone: the stamps found so
    // far are written now.
    checker_->SaveStamps();
    DisarmBeforeFirstChange();
    view1_.clear();
    view2_.clear();
    gaugeProgress_ = 0;
    closed_ = true;
}

void THttpAsyForm::CloseBtnClick() {
    FormClose();
}

void THttpAsyForm::AbortButtonClick() {
    checker_->Stop();
}

void THttpAsyForm::HelpButtonClick() {
    if (setup_.openHelp) {
        setup_.openHelp(kHelpContext);
    }
}

void THttpAsyForm::UpDownClick(int position) {
    upDownPosition_ = std::clamp(position, kMinWait, kMaxWait);
    waitLabel_ = "Wait up to " + std::to_string(upDownPosition_);
    timeLimit_ = std::chrono::seconds(upDownPosition_);
    checker_->SetTimeLimit(timeLimit_);
}

void THttpAsyForm::SetTimeLimitForTesting(std::chrono::milliseconds limit) {
    timeLimit_ = limit;
    checker_->SetTimeLimit(limit);
}

void THttpAsyForm::SetLinksAtOnce(int count) {
    options_.linksAtOnce = std::clamp(count, 1, LinkChecker::kMaxJobs);
    options_.Write(setup_.settingsFile);
}

void THttpAsyForm::SetSecondPass(bool on) {
    options_.secondPass = on;
    options_.Write(setup_.settingsFile);
}

void THttpAsyForm::Reset() {
    gaugeMax_ = 0;
    gaugeProgress_ = 0;
    view1_.clear();
    view2_.clear();
    bCount_ = uCount_ = "0";
    tCount_ = "0";
}

void THttpAsyForm::SearchButtonClick() {
    // A new scan while one runs would pull the queue from under the running request.
    if (checker_->Running()) {
        if (setup_.beep) {
            setup_.beep();
        }
        return;
    }
    TAlphaForm range(setup_.settingsFile, DialogsColorPicker(dialogs_), setup_.openHelp);
    const std::string current =
        setup_.currentPage >= 0 && setup_.currentPage < static_cast<int>(setup_.pages.size())
            ? setup_.pages[setup_.currentPage]
            : std::string();
    range.SetTexts("Verify the " + current + " Page", "Verify");
    range.FormActivate(setup_.pages, setup_.currentPage);
    if (setup_.pageRange) {
        setup_.pageRange(range);
    }
    if (range.FirstPage() < 0 || range.LastPage() < 0) {
        dialogs_.Message({MsgKind::Information, {}, std::string(kNoPagesToVerifyText)});
        return;
    }
    Reset();
    ScanRequest scan{setup_.dataFile, setup_.pages, range.FirstPage(), range.LastPage(),
                     setup_.columns};
    std::vector<CheckEntry> entries = ScanBookmarks(scan, range.Filter());
    gaugeMax_ = static_cast<int>(entries.size());
    tCount_ = CountOf(0, gaugeMax_);
    // The stamps the run writes are a change of the file like any other.
    TakeModificationBackup(setup_.dataFile, setup_.autoBackup, "Check links");
    checker_->SetJobs(options_.linksAtOnce);
    checker_->SetSecondPass(options_.secondPass);
    checker_->SetTimeLimit(timeLimit_);
    checker_->Start(std::move(entries));
}

void THttpAsyForm::Row(CheckList list, const CheckRow& row) {
    List(list).push_back(row);
    ShowCounts();
    Changed();
}

void THttpAsyForm::ShowCounts() {
    bCount_ = std::to_string(checker_->BadCount());
    uCount_ = std::to_string(checker_->UpdatedCount());
}

void THttpAsyForm::EraseSlot(const std::string& page, int slot) {
    if (setup_.erase) {
        setup_.erase(page, slot);
        return;
    }
    TakeModificationBackup(setup_.dataFile, setup_.autoBackup, "Erase bookmark");
    TIniFile32 ini(setup_.dataFile);
    ini.SetDeferSaves(true);
    EraseBookmark(ini, page, slot);
    ini.UpdateFile();
}

void THttpAsyForm::RowMouseDown(CheckList list, int row) {
    std::vector<CheckRow>& rows = List(list);
    if (row < 0 || row >= static_cast<int>(rows.size()) || rows[row].IsStatus()) {
        return; // a status row names no bookmark
    }
    UserDlgRequest question;
    question.title = "Launch, Delete or Edit bookmark";
    question.message = {"Please select an option."};
    question.buttons = {"Launch", "Delete", "Edit", "Ignore"};
    question.cancelButton = 3;
    const int choice = dialogs_.UserDlg(question);
    const CheckRow chosen = rows[row];
    const int slot = SlotFromPrefix(chosen.btn);
    switch (choice) {
    case 0:
        if (setup_.launch) {
            setup_.launch(chosen.page, slot, chosen.link);
        }
        break;
    case 1:
    case 2:
        // Answers still coming in write stamps; the file is handed over whole and taken back.
        checker_->SaveStamps();
        if (choice == 1) {
            EraseSlot(chosen.page, slot);
        } else if (setup_.edit) {
            setup_.edit(chosen.page, slot, chosen.link);
        }
        checker_->ReloadFile();
        // The rows may have moved meanwhile (an answer came in): remove this one by value.
        if (auto hit = std::find(rows.begin(), rows.end(), chosen); hit != rows.end()) {
            rows.erase(hit);
        }
        break;
    default:
        break;
    }
}

void THttpAsyForm::MoveBClick(CheckList list) {
    UserDlgRequest question;
    question.title = "Move, Copy or Erase Bookmarks.";
    question.message = {"Move  = Move list of bookmarks to new page.",
                        "Copy  = Copy list of bookmarks to new page.",
                        "Erase = Erase list of bookmarks from Linkvane."};
    question.buttons = {"Move", "Copy", "Erase", "Ignore"};
    question.cancelButton = 3;
    int choice = dialogs_.UserDlg(question);
    if (choice == 2 &&
        dialogs_.Message({MsgKind::Information,
                          {},
                          "Are you sure you want to delete these bookmarks from Linkvane?",
                          MsgButtons::YesNo}) != MsgResult::Yes) {
        choice = 3;
    }
    if (choice < 0 || choice > 2) {
        return;
    }
    const bool erase = choice == 2;
    const bool move = choice == 0;
    std::string newPage;
    if (!erase) {
        const std::string proposed = list == CheckList::Bad ? "Bad Links" : "Updated Links";
        std::string name = setup_.pageName ? setup_.pageName(proposed) : proposed;
        if (name.empty()) {
            return;
        }
        const std::string problem = PageNameProblem(name, setup_.pages);
        if (!problem.empty()) {
            dialogs_.Message({MsgKind::Warning, {}, problem});
            return;
        }
        newPage = DupePageName(name, setup_.pages);
    }

    checker_->SaveStamps();
    TakeModificationBackup(setup_.dataFile, setup_.autoBackup,
                           move    ? "Move bookmarks"
                           : erase ? "Erase bookmarks"
                                   : "Copy bookmarks");
    TIniFile32 ini(setup_.dataFile);
    ini.SetDeferSaves(true);
    if (!erase) {
        setup_.pages.push_back(newPage);
        SaveTabs(ini, setup_.pages);
    }
    // The rows of bookmarks, each bookmark once: a bookmark may have given more than one row,
    // and a slot emptied meanwhile (by its first row, or by a Delete) has nothing to carry.
    const std::vector<CheckRow>& rows = List(list);
    const int limit = setup_.columns * datafile::kRowCount - 1;
    std::set<std::pair<std::string, std::string>> seen;
    int taken = 0;
    for (const CheckRow& row : rows) {
        if (taken >= limit) {
            break;
        }
        const int slot = SlotFromPrefix(row.btn);
        if (row.page.empty() || slot == 0 || !seen.insert({row.page, row.btn}).second ||
            ini.ReadString(row.page, SlotKey(slot, 'U'), "").empty()) {
            continue;
        }
        if (erase) {
            EraseBookmark(ini, row.page, slot);
        } else {
            const std::string prefix = SlotPrefix(taken + 1);
            MoveButtons(ini, row.page, newPage, prefix, row.btn);
            if (move) {
                EraseBookmark(ini, row.page, slot);
            }
            const std::string notes = ini.ReadString(newPage, prefix + "P", "");
            ini.WriteString(newPage, prefix + "P", notes + " " + row.page);
        }
        ++taken;
    }
    ini.UpdateFile();
    checker_->ReloadFile();
    List(list).clear();
    if (!erase && setup_.pageAdded) {
        setup_.pageAdded(static_cast<int>(setup_.pages.size()) - 1);
    }
}

} // namespace lv
