#pragma once

#include "platform/Shell.h"

#include <string>

namespace lv {

// "open" on a Linux desktop: an executable file is started directly with its parameters as
// words (no shell reads them); anything else goes to the desktop's opener as its one argument.
class LinuxShell final : public Shell {
public:
    // opener: the program that opens documents, folders and addresses.
    explicit LinuxShell(std::string opener = "xdg-open") : opener_(std::move(opener)) {}

    ShellResult Open(const std::string& file, const std::string& parameters,
                     const std::string& directory) override;
    bool Exists(const std::string& file) const override;

private:
    std::string opener_;
};

} // namespace lv
