#include "cli/Command.h"

#include <algorithm>
#include <charconv>
#include <chrono>

namespace lv::cli {

namespace {

bool Contains(const std::vector<std::string>& list, const std::string& word) {
    return std::find(list.begin(), list.end(), word) != list.end();
}

std::vector<Command>& Registry() {
    static std::vector<Command> commands;
    return commands;
}

long long NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

Args::Args(const std::vector<std::string>& words, const std::vector<std::string>& valueOptions,
           const std::vector<std::string>& switchOptions) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (optionsEnded || word.size() < 2 || word.rfind("--", 0) != 0) {
            positional_.push_back(word);
            continue;
        }
        if (word == "--") {
            optionsEnded = true;
            continue;
        }
        std::string name = word.substr(2);
        std::optional<std::string> inlineValue;
        if (auto eq = name.find('='); eq != std::string::npos) {
            inlineValue = name.substr(eq + 1);
            name.resize(eq);
        }
        if (Contains(valueOptions, name)) {
            if (inlineValue) {
                options_.emplace(name, *inlineValue);
            } else if (i + 1 < words.size()) {
                options_.emplace(name, words[++i]);
            } else {
                throw CliError("option --" + name + " needs a value");
            }
        } else if (Contains(switchOptions, name) && !inlineValue) {
            options_.emplace(name, std::string());
        } else {
            throw CliError("unknown option " + word);
        }
    }
}

const std::string& Args::Required(std::size_t index, const char* what) const {
    if (index >= positional_.size())
        throw CliError(std::string("missing ") + what);
    return positional_[index];
}

void Args::AtMost(std::size_t count) const {
    if (positional_.size() > count) {
        throw CliError("unexpected argument \"" + positional_[count] + "\"");
    }
}

bool Args::Has(const std::string& option) const {
    return options_.count(option) > 0;
}

std::optional<std::string> Args::Value(const std::string& option) const {
    auto range = options_.equal_range(option);
    if (range.first == range.second)
        return std::nullopt;
    return std::prev(range.second)->second; // the last one given wins
}

std::vector<std::string> Args::Values(const std::string& option) const {
    std::vector<std::string> values;
    auto range = options_.equal_range(option);
    for (auto it = range.first; it != range.second; ++it)
        values.push_back(it->second);
    return values;
}

int Args::IntValue(const std::string& option, int fallback, int low, int high) const {
    auto text = Value(option);
    if (!text)
        return fallback;
    int value = 0;
    auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), value);
    if (error != std::errc() || end != text->data() + text->size() || value < low || value > high) {
        throw CliError("--" + option + " takes a whole number from " + std::to_string(low) +
                       " to " + std::to_string(high) + ", not \"" + *text + "\"");
    }
    return value;
}

bool Register(Command command) {
    auto& commands = Registry();
    auto at = std::lower_bound(commands.begin(), commands.end(), command.name,
                               [](const Command& c, const std::string& n) { return c.name < n; });
    commands.insert(at, std::move(command));
    return true;
}

const std::vector<Command>& Commands() {
    return Registry();
}

Progress::Progress(Context& context, std::string label)
    : context_(context), label_(std::move(label)) {}

Progress::~Progress() {
    Done();
}

void Progress::Update(long long done, long long total) {
    if (!context_.progressOnTerminal || total <= 0)
        return;
    long long now = NowMs();
    if (drawn_ && now - lastDrawMs_ < 200 && done < total)
        return;
    lastDrawMs_ = now;
    drawn_ = true;
    long long percent = std::clamp(done * 100 / total, 0LL, 100LL);
    std::fprintf(context_.err, "\r%s %lld%%", label_.c_str(), percent);
    std::fflush(context_.err);
}

void Progress::Done() {
    if (!drawn_)
        return;
    drawn_ = false;
    std::fprintf(context_.err, "\r%*s\r", static_cast<int>(label_.size()) + 6, "");
    std::fflush(context_.err);
}

std::string TableField(std::string_view text) {
    std::string field(text);
    for (char& c : field) {
        if (c == '\t' || c == '\r' || c == '\n')
            c = ' ';
    }
    return field;
}

} // namespace lv::cli
