#pragma once

// A tiny program for launch tests: a shell script that writes its argument vector (NUL after
// each word) and its working directory into a FIFO, so a test can wait on the data itself.

#include "support/TempDir.h"

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace lvtest {

class ArgvRecorder {
public:
    ArgvRecorder(const TempDir& dir, const std::string& name = "recorder")
        : script_(dir.File(name)), fifo_(dir.File(name + ".fifo")) {
        mkfifo(fifo_.c_str(), 0600);
        WriteBytes(script_,
                   "#!/bin/sh\n{ printf '%s\\0' \"$0\" \"$@\"; printf 'cwd=%s' \"$(pwd)\"; } > '" +
                       fifo_ + "'\n");
        std::filesystem::permissions(script_, std::filesystem::perms::owner_all);
        fd_ = open(fifo_.c_str(), O_RDONLY | O_NONBLOCK);
    }
    ~ArgvRecorder() {
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    ArgvRecorder(const ArgvRecorder&) = delete;
    ArgvRecorder& operator=(const ArgvRecorder&) = delete;

    const std::string& Program() const { return script_; }

    // Waits (bounded) for one run's record: the words after the program, and the directory.
    bool Wait(std::vector<std::string>& args, std::string& cwd,
              std::chrono::milliseconds bound = std::chrono::seconds(10)) {
        std::string data;
        const auto end = std::chrono::steady_clock::now() + bound;
        bool seenWriter = false;
        for (;;) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                end - std::chrono::steady_clock::now());
            if (left.count() <= 0) {
                return false;
            }
            pollfd p{fd_, POLLIN, 0};
            if (poll(&p, 1, static_cast<int>(left.count())) <= 0) {
                continue;
            }
            char buffer[4096];
            const ssize_t n = read(fd_, buffer, sizeof buffer);
            if (n > 0) {
                data.append(buffer, static_cast<std::size_t>(n));
                seenWriter = true;
            } else if (n == 0 && seenWriter) {
                break;
            }
        }
        // A closed FIFO reports hang-up until reopened; the next run needs a fresh one.
        close(fd_);
        fd_ = open(fifo_.c_str(), O_RDONLY | O_NONBLOCK);
        std::vector<std::string> words;
        std::size_t start = 0;
        for (std::size_t nul; (nul = data.find('\0', start)) != std::string::npos;
             start = nul + 1) {
            words.push_back(data.substr(start, nul - start));
        }
        if (words.empty() || data.compare(start, 4, "cwd=") != 0) {
            return false;
        }
        args.assign(words.begin() + 1, words.end());
        cwd = data.substr(start + 4);
        return true;
    }

private:
    std::string script_;
    std::string fifo_;
    int fd_ = -1;
};

} // namespace lvtest
