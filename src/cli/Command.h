#pragma once

#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace lv::cli {

// Exit statuses of every command.
inline constexpr int kExitDone = 0;     // done
inline constexpr int kExitFindings = 1; // done, with findings (bad links, duplicates, ...)
inline constexpr int kExitBadInput = 2; // bad input: nothing or only part was done

// Bad input or a refused action: the message goes to stderr and the status is kExitBadInput.
class CliError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The words after the command name: positional arguments and "--name value" / "--name" options.
// Which options take a value is told by the command's declaration, so "--force FILE" and
// "--page NAME" both parse without guessing.
class Args {
public:
    Args(const std::vector<std::string>& words, const std::vector<std::string>& valueOptions,
         const std::vector<std::string>& switchOptions);

    const std::vector<std::string>& Positional() const { return positional_; }
    // The positional argument at index, or a CliError naming what is missing.
    const std::string& Required(std::size_t index, const char* what) const;
    // Refuses more positional arguments than count.
    void AtMost(std::size_t count) const;

    bool Has(const std::string& option) const; // a switch, or an option given with a value
    std::optional<std::string> Value(const std::string& option) const;
    // Every value of an option given more than once, in order.
    std::vector<std::string> Values(const std::string& option) const;
    // An integer option within [low, high], or fallback when absent; CliError otherwise.
    int IntValue(const std::string& option, int fallback, int low, int high) const;

private:
    std::vector<std::string> positional_;
    std::multimap<std::string, std::string> options_;
};

// What a command gets besides its arguments.
struct Context {
    std::FILE* out = stdout;         // results (UTF-8, tab-separated where a table)
    std::FILE* err = stderr;         // summary, progress and messages
    bool progressOnTerminal = false; // stderr is a terminal: progress may be drawn
    std::string programDir;          // with trailing "/", as the window finds it
};

struct Command {
    std::string name;
    std::string usage;                      // "FILE [--into DATAFILE] [--force]"
    std::string summary;                    // one line for the command list
    std::string help;                       // further lines for "linkvane-cli help NAME"
    std::vector<std::string> valueOptions;  // options followed by a value
    std::vector<std::string> switchOptions; // options without a value
    std::function<int(const Args&, Context&)> run;
};

// Commands register themselves at start-up: `static const bool registered = Register({...});`
// in their own file.
bool Register(Command command);
const std::vector<Command>& Commands();

// A progress line on a terminal: "\r<label> 45%" redrawn at most a few times a second, cleared
// by Done(). Silent when stderr is not a terminal.
class Progress {
public:
    Progress(Context& context, std::string label);
    ~Progress();
    void Update(long long done, long long total);
    void Done();

private:
    Context& context_;
    std::string label_;
    long long lastDrawMs_ = -1;
    bool drawn_ = false;
};

// Text for a tab-separated field: tabs, CR and LF become spaces.
std::string TableField(std::string_view text);

} // namespace lv::cli
