// linkvane-cli: import, export, listing, checking and searching of Linkvane DataFiles from a
// terminal or a script.

#include "Version.h"
#include "cli/Command.h"
#include "platform/ProgramDir.h"

#include <unistd.h>

#include <cstring>
#include <exception>

using namespace lv::cli;

namespace {

void PrintUsage(std::FILE* to) {
    std::fprintf(to, "Usage: linkvane-cli COMMAND [ARGUMENTS]\n\nCommands:\n");
    for (const Command& command : Commands()) {
        std::fprintf(to, "  %-18s %s\n", command.name.c_str(), command.summary.c_str());
    }
    std::fprintf(to, "\n\"linkvane-cli help COMMAND\" shows a command's arguments.\n"
                     "Exit status: 0 done, 1 done with findings, 2 bad input.\n");
}

const Command* Find(const std::string& name) {
    for (const Command& command : Commands()) {
        if (command.name == name)
            return &command;
    }
    return nullptr;
}

void PrintCommandHelp(const Command& command) {
    std::printf("Usage: linkvane-cli %s %s\n%s\n", command.name.c_str(), command.usage.c_str(),
                command.summary.c_str());
    if (!command.help.empty())
        std::printf("\n%s\n", command.help.c_str());
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> words(argv + 1, argv + argc);
    if (words.empty()) {
        PrintUsage(stderr);
        return kExitBadInput;
    }
    const std::string& name = words.front();
    if (name == "--help" || name == "-h") {
        PrintUsage(stdout);
        return kExitDone;
    }
    if (name == "--version") {
        std::printf("linkvane-cli %s\n", LV_VERSION);
        return kExitDone;
    }
    if (name == "help") {
        if (words.size() < 2) {
            PrintUsage(stdout);
            return kExitDone;
        }
        if (const Command* command = Find(words[1])) {
            PrintCommandHelp(*command);
            return kExitDone;
        }
        std::fprintf(stderr, "linkvane-cli: unknown command \"%s\"\n", words[1].c_str());
        return kExitBadInput;
    }
    const Command* command = Find(name);
    if (!command) {
        std::fprintf(stderr, "linkvane-cli: unknown command \"%s\" (see linkvane-cli --help)\n",
                     name.c_str());
        return kExitBadInput;
    }
    std::vector<std::string> rest(words.begin() + 1, words.end());
    for (const std::string& word : rest) {
        if (word == "--help" || word == "-h") {
            PrintCommandHelp(*command);
            return kExitDone;
        }
    }
    try {
        Args args(rest, command->valueOptions, command->switchOptions);
        Context context;
        context.progressOnTerminal = isatty(STDERR_FILENO) == 1;
        context.programDir = lv::FindProgramDir(lv::ProgramDirSourcesFromEnvironment());
        int status = command->run(args, context);
        std::fflush(stdout);
        if (std::ferror(stdout)) {
            std::fprintf(stderr, "linkvane-cli: cannot write the output: %s\n",
                         std::strerror(errno));
            return kExitBadInput;
        }
        return status;
    } catch (const CliError& error) {
        std::fprintf(stderr, "linkvane-cli %s: %s\n", name.c_str(), error.what());
        return kExitBadInput;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "linkvane-cli %s: %s\n", name.c_str(), error.what());
        return kExitBadInput;
    }
}
