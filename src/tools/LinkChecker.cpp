#include "tools/LinkChecker.h"

#include "store/FileError.h"
#include "web/HttpResponseParser.h"
#include "web/HttpUrl.h"
#include "web/THttpCli.h"

#include <algorithm>

namespace lv {

namespace {

// How far past the first waiting entry a free job looks for one whose host has room. Rows of
// entries started early wait for the entries before them, so this also bounds what is held.
constexpr std::size_t kLookAhead = 256;

bool Blank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && Blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && Blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string HostKey(const std::string& address) {
    return AsciiLower(ParseHttpUrl(address).host);
}

} // namespace

bool IsBadStatus(int statusCode) {
    return statusCode == 301 || statusCode >= 400;
}

std::string LastModifiedStamp(std::string_view value) {
    std::string_view stamp = TrimBlanks(value);
    if (stamp.size() >= 3 && AsciiLower(stamp.substr(stamp.size() - 3)) == "gmt") {
        stamp = TrimBlanks(stamp.substr(0, stamp.size() - 3));
    }
    return std::string(stamp);
}

struct LinkChecker::EntryState {
    enum class Stage { Waiting, Running, Done };
    int entry = 0; // index into entries_
    std::string host;
    Stage stage = Stage::Waiting;
    std::vector<std::pair<CheckList, CheckRow>> rows;
    std::size_t emitted = 0;
    bool reported = false; // this check has given its bad row
    bool aborted = false;  // ended by "Stop Checking": no verdict
};

struct LinkChecker::Pass {
    std::vector<EntryState> states;
    std::size_t head = 0;         // first entry whose rows are not all out
    std::size_t firstWaiting = 0; // no entry before it is waiting
};

struct LinkChecker::Job {
    std::unique_ptr<THttpCli> cli;
    int position = -1; // in the pass; -1 while free
    bool timerOn = false;
    EventLoop::TimerId timer = 0;
};

LinkChecker::LinkChecker(EventLoop& loop, std::string dataFile, Events events)
    : loop_(loop), dataFile_(std::move(dataFile)), events_(std::move(events)),
      alive_(std::make_shared<bool>(true)) {}

LinkChecker::~LinkChecker() {
    *alive_ = false;
    try {
        SaveStamps();
    } catch (...) {
        // Nobody is left to tell; the next check finds these pages updated once more.
    }
    for (auto& job : pool_) {
        StopTimer(*job);
        job->cli->OnRequestDone = nullptr;
        job->cli->OnHeaderData = nullptr;
    }
}

void LinkChecker::SetJobs(int jobs) {
    jobs_ = std::clamp(jobs, 1, kMaxJobs);
}

bool LinkChecker::Start(std::vector<CheckEntry> entries) {
    if (running_) {
        return false;
    }
    entries_ = std::move(entries);
    pass_ = std::make_unique<Pass>();
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        EntryState state;
        state.entry = static_cast<int>(i);
        state.host = HostKey(entries_[i].address);
        pass_->states.push_back(std::move(state));
    }
    inSecondPass_ = false;
    held_.clear();
    perHost_.clear();
    stopping_ = false;
    runningCount_ = 0;
    checked_ = 0;
    total_ = static_cast<int>(entries_.size());
    badCount_ = 0;
    updatedCount_ = 0;
    peakRunning_ = 0;
    peakPerHost_ = 0;
    ini_.emplace(dataFile_);
    ini_->SetDeferSaves(true);
    stampsDirty_ = false;
    running_ = true;
    Pump();
    return true;
}

void LinkChecker::Stop() {
    if (!running_ || stopping_) {
        return;
    }
    stopping_ = true;
    std::vector<Job*> busy;
    for (auto& job : pool_) {
        if (job->position >= 0) {
            pass_->states[job->position].aborted = true;
            StopTimer(*job);
            busy.push_back(job.get());
        }
    }
    for (Job* job : busy) {
        job->cli->Abort(); // its request-done event follows from the loop
    }
    if (runningCount_ == 0) {
        EndRun(true);
    }
}

void LinkChecker::Pump() {
    if (!running_ || stopping_) {
        return;
    }
    Pass& pass = *pass_;
    while (runningCount_ < jobs_) {
        while (pass.firstWaiting < pass.states.size() &&
               pass.states[pass.firstWaiting].stage != EntryState::Stage::Waiting) {
            ++pass.firstWaiting;
        }
        const std::size_t end = std::min(pass.states.size(), pass.firstWaiting + kLookAhead);
        int chosen = -1;
        for (std::size_t i = pass.firstWaiting; i < end; ++i) {
            const EntryState& state = pass.states[i];
            if (state.stage == EntryState::Stage::Waiting && perHost_[state.host] < kMaxPerHost) {
                chosen = static_cast<int>(i);
                break;
            }
        }
        if (chosen < 0) {
            break;
        }
        Job* free = nullptr;
        for (auto& job : pool_) {
            if (job->position < 0) {
                free = job.get();
                break;
            }
        }
        if (free == nullptr) {
            auto job = std::make_unique<Job>();
            job->cli = std::make_unique<THttpCli>(loop_);
            Job* raw = job.get();
            job->cli->OnHeaderData = [this, raw](THttpCli&) { HeaderData(*raw); };
            job->cli->OnRequestDone = [this, raw](THttpCli&, THttpRequest, int) {
                RequestDone(*raw);
            };
            pool_.push_back(std::move(job));
            free = raw;
        }
        if (!StartOn(*free, chosen)) {
            return;
        }
    }
    if (runningCount_ == 0 && pass.firstWaiting >= pass.states.size()) {
        EndPass();
    }
}

bool LinkChecker::StartOn(Job& job, int position) {
    EntryState& state = pass_->states[position];
    const CheckEntry& entry = entries_[state.entry];
    state.stage = EntryState::Stage::Running;
    job.position = position;
    ++runningCount_;
    peakRunning_ = std::max(peakRunning_, runningCount_);
    peakPerHost_ = std::max(peakPerHost_, ++perHost_[state.host]);
    if (events_.started) {
        events_.started(entry);
    }
    job.cli->CaFile = caFile_;
    job.cli->URL = entry.address;
    try {
        job.cli->GetAsync();
    } catch (const std::exception&) {
        // An address the client cannot even start on (no host name): a site that does not
        // exist. Finished from the loop, as an answer would be.
        state.reported = true;
        AddRow(position, CheckList::Bad, RowFor(entry, std::string(kSiteMissingText)));
        std::weak_ptr<bool> token = alive_;
        Job* raw = &job;
        loop_.Post([this, token, raw] {
            if (auto locked = token.lock(); locked && *locked) {
                RequestDone(*raw);
            }
        });
        return true;
    }
    std::weak_ptr<bool> token = alive_;
    Job* raw = &job;
    job.timerOn = true;
    job.timer = loop_.StartTimer(timeLimit_, false, [this, token, raw] {
        if (auto locked = token.lock(); locked && *locked) {
            raw->timerOn = false;
            TimeUp(*raw);
        }
    });
    return true;
}

void LinkChecker::StopTimer(Job& job) {
    if (job.timerOn) {
        job.timerOn = false;
        loop_.StopTimer(job.timer);
    }
}

CheckRow LinkChecker::RowFor(const CheckEntry& entry, std::string response) const {
    return {entry.page, entry.title, entry.address, entry.number, std::move(response)};
}

void LinkChecker::HeaderData(Job& job) {
    if (job.position < 0) {
        return;
    }
    EntryState& state = pass_->states[job.position];
    if (state.aborted) {
        return;
    }
    const CheckEntry& entry = entries_[state.entry];
    const std::string line = job.cli->LastLine();
    const HttpHeaderLine parsed = ParseHttpHeaderLine(line);
    if (parsed.kind == HttpHeaderLine::Kind::Status) {
        // One bad row per bookmark and check: a run of relocations that all answer 301 (or a
        // 301 to a missing page) still names the bookmark once.
        if (IsBadStatus(parsed.statusCode) && !state.reported) {
            state.reported = true;
            AddRow(job.position, CheckList::Bad, RowFor(entry, line));
        }
    } else if (parsed.kind == HttpHeaderLine::Kind::Field && parsed.name == "last-modified") {
        const std::string stamp = LastModifiedStamp(parsed.value);
        const std::string key = entry.number + "D";
        if (ini_->ReadString(entry.page, key, "") != stamp) {
            // Stored as the Windows program stored it, the stamp and one blank.
            ini_->WriteString(entry.page, key, stamp + " ");
            stampsDirty_ = true;
            AddRow(job.position, CheckList::Updated, RowFor(entry, line));
        }
    }
}

void LinkChecker::TimeUp(Job& job) {
    if (job.position < 0) {
        return;
    }
    EntryState& state = pass_->states[job.position];
    if (!state.reported) {
        state.reported = true;
        AddRow(job.position, CheckList::Bad,
               RowFor(entries_[state.entry], std::string(kNotReplyingText)));
    }
    job.cli->Abort(); // its request-done event ends the entry
}

void LinkChecker::RequestDone(Job& job) {
    if (job.position < 0) {
        return;
    }
    StopTimer(job);
    EntryState& state = pass_->states[job.position];
    if (!state.aborted && job.cli->StatusCode() == 404 && !state.reported) {
        state.reported = true;
        AddRow(job.position, CheckList::Bad,
               RowFor(entries_[state.entry], std::string(kSiteMissingText)));
    }
    Finish(job);
}

void LinkChecker::Finish(Job& job) {
    EntryState& state = pass_->states[job.position];
    state.stage = EntryState::Stage::Done;
    job.position = -1;
    --runningCount_;
    --perHost_[state.host];
    if (!state.aborted) {
        ++checked_;
        if (inSecondPass_) {
            held_.erase(state.entry); // the second answer decides
        }
        if (events_.progress) {
            events_.progress();
        }
    }
    auto token = alive_;
    Flush();
    if (!*token || !running_) {
        return;
    }
    if (stopping_) {
        if (runningCount_ == 0) {
            EndRun(true);
        }
        return;
    }
    Pump();
}

void LinkChecker::AddRow(int position, CheckList list, CheckRow row) {
    pass_->states[position].rows.emplace_back(list, std::move(row));
    Flush();
}

void LinkChecker::Emit(int entry, CheckList list, const CheckRow& row) {
    if (list == CheckList::Bad && secondPass_ && !inSecondPass_) {
        held_[entry].push_back(row); // shown only when the second check fails too
        return;
    }
    if (list == CheckList::Bad) {
        ++badCount_;
    } else {
        ++updatedCount_;
    }
    if (events_.row) {
        events_.row(list, row);
    }
}

void LinkChecker::EmitRows(EntryState& state) {
    while (state.emitted < state.rows.size()) {
        const auto& [list, row] = state.rows[state.emitted++];
        Emit(state.entry, list, row);
    }
}

void LinkChecker::Flush() {
    Pass& pass = *pass_;
    while (pass.head < pass.states.size()) {
        EntryState& state = pass.states[pass.head];
        EmitRows(state);
        if (state.stage != EntryState::Stage::Done) {
            break;
        }
        ++pass.head;
    }
}

void LinkChecker::EndPass() {
    if (secondPass_ && !inSecondPass_ && !held_.empty()) {
        auto next = std::make_unique<Pass>();
        for (const auto& [entry, rows] : held_) {
            EntryState state;
            state.entry = entry;
            state.host = HostKey(entries_[entry].address);
            next->states.push_back(std::move(state));
        }
        total_ += static_cast<int>(next->states.size());
        pass_ = std::move(next);
        inSecondPass_ = true;
        if (events_.progress) {
            events_.progress();
        }
        Pump();
        return;
    }
    EndRun(false);
}

void LinkChecker::EndRun(bool stopped) {
    // Whatever answers came in are shown, also those of entries started ahead of one that was
    // still under way when the run was stopped.
    for (EntryState& state : pass_->states) {
        EmitRows(state);
    }
    // Bad links not yet confirmed by a second check: a stopped run still shows them.
    const bool wasSecond = inSecondPass_;
    inSecondPass_ = true;
    for (const auto& [entry, rows] : held_) {
        for (const CheckRow& row : rows) {
            Emit(entry, CheckList::Bad, row);
        }
    }
    inSecondPass_ = wasSecond;
    held_.clear();
    running_ = false;
    stopping_ = false;
    std::string failure;
    try {
        SaveStamps();
    } catch (const FileError& error) {
        failure = error.what();
    }
    const CheckRow status{std::string(stopped ? kStoppedText : kCompletedText), {}, {}, {}, {}};
    auto token = alive_;
    if (events_.row) {
        events_.row(CheckList::Bad, status);
        if (!*token) {
            return;
        }
        events_.row(CheckList::Updated, status);
        if (!*token) {
            return;
        }
    }
    if (!failure.empty() && events_.saveFailed) {
        events_.saveFailed(failure);
        if (!*token) {
            return;
        }
    }
    if (events_.finished) {
        events_.finished(stopped);
    }
}

void LinkChecker::SaveStamps() {
    if (ini_ && stampsDirty_) {
        stampsDirty_ = false;
        ini_->UpdateFile();
    }
}

void LinkChecker::ReloadFile() {
    if (ini_) {
        ini_.emplace(dataFile_);
        ini_->SetDeferSaves(true);
    }
}

} // namespace lv
