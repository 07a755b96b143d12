#pragma once

#include <string>

namespace lv {

// Where the program looks for the settings file and its other files.
struct ProgramDirSources {
    std::string linkvaneHome;  // $LINKVANE_HOME, empty when unset
    std::string executableDir; // directory of the running executable
    std::string xdgDataHome;   // $XDG_DATA_HOME, empty when unset
    std::string home;          // $HOME
};

// The program directory, always with a trailing "/": $LINKVANE_HOME when set; else the
// executable's directory when it is writable and holds a settings file (a portable install);
// else $XDG_DATA_HOME/linkvane/ (default ~/.local/share/linkvane/). The chosen directory is
// created when missing; `created`, when given, tells whether this call created it (a first
// start). Throws std::runtime_error when it cannot be created.
std::string FindProgramDir(const ProgramDirSources& sources, bool* created = nullptr);

// The sources as this process sees them.
ProgramDirSources ProgramDirSourcesFromEnvironment();

} // namespace lv
