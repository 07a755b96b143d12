#pragma once

#include "platform/EventLoop.h"
#include "store/TIniFile32.h"

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lv {

class THttpCli;

// One queued bookmark: its address (U), title (N), page and two-digit slot number.
struct CheckEntry {
    std::string address;
    std::string title;
    std::string page;
    std::string number;
};

// A row of a result list. A status row ("Completed", "Stopped!") has only its page column
// filled.
struct CheckRow {
    std::string page;
    std::string title;
    std::string link;
    std::string btn;
    std::string response;
    bool IsStatus() const { return btn.empty(); }
    bool operator==(const CheckRow&) const = default;
};

enum class CheckList { Bad, Updated };

inline constexpr std::string_view kSiteMissingText = "Site does not exist! 404 Error";
inline constexpr std::string_view kNotReplyingText = "Site not Replying in time*";
inline constexpr std::string_view kCompletedText = "Completed";
inline constexpr std::string_view kStoppedText = "Stopped!";

// Whether a status line reports a bad link: its code is 301 or 400 and more.
bool IsBadStatus(int statusCode);
// The stamp of a Last-Modified value as it is compared with the stored D key: the value without
// its blanks at both ends and without a final "GMT".
std::string LastModifiedStamp(std::string_view value);

// Checks a queue of bookmark addresses with the HTTP client on the program's event loop: one or
// several at once (never more than two at once to one host), each within a time limit. Rows
// reach the caller in queue order whatever the order the answers come in. A Last-Modified stamp
// that differs from the bookmark's D key is written to the DataFile and reported.
class LinkChecker {
public:
    static constexpr int kMaxJobs = 16;
    static constexpr int kMaxPerHost = 2;

    struct Events {
        std::function<void(CheckList, const CheckRow&)> row;
        std::function<void(const CheckEntry&)> started;
        // An entry was finished (the checked count changed).
        std::function<void()> progress;
        // The run ended: after the "Completed" or "Stopped!" rows.
        std::function<void(bool stopped)> finished;
        // The stamps could not be written at the end of the run (the file error's text).
        std::function<void(const std::string&)> saveFailed;
    };

    LinkChecker(EventLoop& loop, std::string dataFile, Events events);
    ~LinkChecker();
    LinkChecker(const LinkChecker&) = delete;
    LinkChecker& operator=(const LinkChecker&) = delete;

    // Settings of the next run (the time limit also of requests started later in this one).
    void SetJobs(int jobs);
    void SetSecondPass(bool on) { secondPass_ = on; }
    void SetTimeLimit(std::chrono::milliseconds limit) { timeLimit_ = limit; }
    void SetCaFile(std::string caFile) { caFile_ = std::move(caFile); }
    int Jobs() const { return jobs_; }

    // Starts a run over the entries; an empty queue completes at once (on the loop). False
    // when a run is still going (nothing changes then).
    bool Start(std::vector<CheckEntry> entries);
    // "Stop Checking": the requests under way are ended and no further entry is started; the
    // "Stopped!" rows follow once they have ended. Nothing happens on an idle checker.
    void Stop();
    bool Running() const { return running_; }

    // Counts of this run. Total grows when the second pass begins.
    int Checked() const { return checked_; }
    int Total() const { return total_; }
    int BadCount() const { return badCount_; }
    int UpdatedCount() const { return updatedCount_; }
    // Most requests that were under way at the same time, in all and to one host.
    int PeakRunning() const { return peakRunning_; }
    int PeakPerHost() const { return peakPerHost_; }

    // Stamps are kept in memory during a run and written together: at the end of the run, and
    // whenever someone else is about to change the DataFile (SaveStamps before, ReloadFile
    // after).
    void SaveStamps();
    void ReloadFile();

private:
    struct EntryState;
    struct Job;
    struct Pass;

    void Pump();
    bool StartOn(Job& job, int position);
    void HeaderData(Job& job);
    void RequestDone(Job& job);
    void TimeUp(Job& job);
    void Finish(Job& job);
    void AddRow(int position, CheckList list, CheckRow row);
    void Emit(int entry, CheckList list, const CheckRow& row);
    void EmitRows(EntryState& state);
    void Flush();
    void EndPass();
    void EndRun(bool stopped);
    void StopTimer(Job& job);
    CheckRow RowFor(const CheckEntry& entry, std::string response) const;

    EventLoop& loop_;
    std::string dataFile_;
    Events events_;
    int jobs_ = 1;
    bool secondPass_ = false;
    std::chrono::milliseconds timeLimit_ = std::chrono::seconds(30);
    std::string caFile_;

    std::vector<CheckEntry> entries_;
    std::unique_ptr<Pass> pass_;
    bool inSecondPass_ = false;
    // Bad rows of the first pass by entry, while a second pass is to confirm them.
    std::map<int, std::vector<CheckRow>> held_;
    std::vector<std::unique_ptr<Job>> pool_;
    std::map<std::string, int> perHost_;
    std::optional<TIniFile32> ini_;
    bool stampsDirty_ = false;
    bool running_ = false;
    bool stopping_ = false;
    int runningCount_ = 0;
    int checked_ = 0;
    int total_ = 0;
    int badCount_ = 0;
    int updatedCount_ = 0;
    int peakRunning_ = 0;
    int peakPerHost_ = 0;
    std::shared_ptr<bool> alive_;
};

} // namespace lv
