#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace lv {

// What a start attempt came to. A failed start is returned to the caller, who decides whether
// anyone hears of it (the launch itself does not tell the user).
struct ProcessStart {
    bool started = false;
    int error = 0;       // errno of the failure, 0 when refused or started
    std::string message; // why it did not start; empty when started
    int pid = 0;
};

// A watched process has ended.
struct ProcessEnd {
    std::string program;
    std::int64_t id = 0;
    int pid = 0;
    int exitCode = 0;   // exit status, or 128 + the signal that ended it
    bool normal = true; // false when ended by a signal
};

// Starts programs without waiting for them: the browser for each launched address. Texts are
// in the system's encoding (UTF-8); callers convert stored Windows-1252 bytes before.
class ProcessLauncher {
public:
    static constexpr const char* kDuplicateText =
        "Another Process with the same Name and ID is executing.";

    virtual ~ProcessLauncher() = default;

    // Starts program with argument as its one and only operand (none when argument is empty);
    // the text is never read by a shell. A browser that reads "--" as the end of its options
    // gets it before the operand; an argument TargetRefusal refuses is not started (EINVAL,
    // with the refusal as message). The identifier names the start: a start whose program
    // and identifier equal those of a process still watched is refused with kDuplicateText.
    virtual ProcessStart Start(const std::string& program, const std::string& argument,
                               std::int64_t id) = 0;

    // Whether a process started with this program and identifier is still running.
    virtual bool IsWatching(const std::string& program, std::int64_t id) const = 0;

    // Completion event, run on the loop's thread when a watched process has ended.
    std::function<void(const ProcessEnd&)> OnProcessEnd;
};

} // namespace lv
