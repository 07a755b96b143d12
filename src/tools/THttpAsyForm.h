#pragma once

#include "platform/Dialogs.h"
#include "platform/EventLoop.h"
#include "tools/LinkChecker.h"

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace lv {

class TAlphaForm;

inline constexpr std::string_view kNoPagesToVerifyText =
    "You did not select a page, or pages, of bookmarks to Verify.";
inline constexpr std::string_view kCheckHint =
    "Click on any bookmark in list to Launch, Delete or Edit.";

// The options of the link checker, remembered in the SettingsFile ([LinkCheck]).
struct CheckerOptions {
    int linksAtOnce = 1;     // LinksAtOnce, 1..16
    bool secondPass = false; // SecondPass=1: bad links are checked again after the queue

    static CheckerOptions Read(const std::string& settingsFile);
    void Write(const std::string& settingsFile) const;
};

// The bookmarks a scan queues: pages first..last, slots 1..columns x 20, those that pass the
// colour filter, have an address, are not protected and are not launched locally.
struct ScanRequest {
    std::string dataFile;
    std::vector<std::string> pages;
    int firstPage = -1;
    int lastPage = -1;
    int columns = 4;
};
struct ColorFilter;
std::vector<CheckEntry> ScanBookmarks(const ScanRequest& request, const ColorFilter& filter);

// What the checker window gets from the main window.
struct CheckerSetup {
    std::string dataFile;
    std::string settingsFile;
    std::vector<std::string> pages; // tab names; a Move or Copy appends its new page
    int currentPage = 0;
    int columns = 4;
    bool autoBackup = false;
    std::string caFile; // extra trusted CAs for https (tests)

    // The page range dialog, shown modally.
    std::function<void(TAlphaForm&)> pageRange;
    // Launches the address of a page's slot as a bookmark click does.
    std::function<void(const std::string& page, int slot, const std::string& address)> launch;
    // Erases a slot as the main window's erase command does; unset: the DataFile's keys go.
    std::function<void(const std::string& page, int slot)> erase;
    // The bookmark editor for a slot, with the address of the row.
    std::function<void(const std::string& page, int slot, const std::string& link)> edit;
    // The page name dialog with a proposed name: the name given, or "" when cancelled. Unset:
    // the proposal is taken.
    std::function<std::string(const std::string& proposed)> pageName;
    // A Move or Copy added the page at this tab index (the main window shows it).
    std::function<void(int tab)> pageAdded;
    std::function<void(int topic)> openHelp;
    std::function<void()> beep;
    // The window's state changed outside a handler (an answer came in): draw it again.
    std::function<void()> changed;
};

// The link checker window: the page range scan, the queue and its progress, the two result
// lists and what can be done with their rows. The view shows this state and calls the
// handlers; checking runs on the event loop, so the window stays responsive.
class THttpAsyForm {
public:
    static constexpr int kHelpContext = 52;
    static constexpr int kMinWait = 15;
    static constexpr int kMaxWait = 300;

    THttpAsyForm(EventLoop& loop, Dialogs& dialogs, CheckerSetup setup);
    ~THttpAsyForm();

    void FormActivate();
    void FormClose();
    void SearchButtonClick();
    void AbortButtonClick();
    void CloseBtnClick();
    void HelpButtonClick();
    void UpDownClick(int position);
    void MoveBClick(CheckList list);
    // A left press on a row of a list (-1: no row selected).
    void View1MouseDown(int row) { RowMouseDown(CheckList::Bad, row); }
    void View2MouseDown(int row) { RowMouseDown(CheckList::Updated, row); }
    // The options beyond the time limit; remembered at once.
    void SetLinksAtOnce(int count);
    void SetSecondPass(bool on);
    // The front end's redraw and beep (replacing those of the setup).
    void SetFrontEnd(std::function<void()> changed, std::function<void()> beep) {
        setup_.changed = std::move(changed);
        setup_.beep = std::move(beep);
    }
    // Tests wait seconds less: the limit of each link, whatever the up-down says.
    void SetTimeLimitForTesting(std::chrono::milliseconds limit);

    const std::string& Caption() const { return caption_; }
    const std::vector<CheckRow>& View1() const { return view1_; }
    const std::vector<CheckRow>& View2() const { return view2_; }
    const std::string& BCountL() const { return bCount_; }
    const std::string& UCountL() const { return uCount_; }
    const std::string& TCountL() const { return tCount_; }
    int GaugeMax() const { return gaugeMax_; }
    int GaugeProgress() const { return gaugeProgress_; }
    // "Wait up to 30", then "seconds for" and "link to reply" below it.
    const std::string& WaitLabel() const { return waitLabel_; }
    int UpDownPosition() const { return upDownPosition_; }
    const CheckerOptions& Options() const { return options_; }
    bool Checking() const { return checker_->Running(); }
    bool Closed() const { return closed_; }
    const std::vector<std::string>& Pages() const { return setup_.pages; }

private:
    void RowMouseDown(CheckList list, int row);
    void Reset();
    void Row(CheckList list, const CheckRow& row);
    void ShowCounts();
    void Changed();
    void EraseSlot(const std::string& page, int slot);
    std::vector<CheckRow>& List(CheckList list) { return list == CheckList::Bad ? view1_ : view2_; }

    EventLoop& loop_;
    Dialogs& dialogs_;
    CheckerSetup setup_;
    CheckerOptions options_;
    std::unique_ptr<LinkChecker> checker_;
    std::string caption_;
    std::vector<CheckRow> view1_;
    std::vector<CheckRow> view2_;
    std::string bCount_ = "0";
    std::string uCount_ = "0";
    std::string tCount_ = "0";
    int gaugeMax_ = 0;
    int gaugeProgress_ = 0;
    std::string waitLabel_ = "Wait up to 30";
    int upDownPosition_ = 30;
    std::chrono::milliseconds timeLimit_ = std::chrono::seconds(30);
    bool closed_ = false;
};

} // namespace lv
