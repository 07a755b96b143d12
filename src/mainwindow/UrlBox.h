#pragma once

#include "mainwindow/MainState.h"
#include "mainwindow/Ports.h"

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace lv {

inline constexpr std::size_t kUrlBoxEntries = 15;
inline constexpr const char* kUrlBoxFile = "ManualURL.txt";

// The lines of the URL box's list file; empty when it does not exist.
std::vector<std::string> ReadUrlList(const std::string& file);

// The first file named name (letter case ignored) under folder, shallow folders before deeper
// ones. progress is told each folder entered and may cancel by answering false, and gets an
// empty text when the search is over; links to folders are not followed, unreadable folders
// are skipped. Empty when none was found or the search was cancelled.
std::filesystem::path FindFileUnder(const std::filesystem::path& folder, const std::string& name,
                                    const std::function<bool(const std::string&)>& progress);

// The URL box: a typed address or file opened at once, and its list of past entries.
class UrlBox {
public:
    // False when the target was refused; it is then not kept in the list.
    using LaunchFn = std::function<bool(const std::string& target, bool local)>;

    UrlBox(MainWindowState& state, MainWindowPorts& ports, LaunchFn launch)
        : state_(state), ports_(ports), launch_(std::move(launch)) {}

    // At start-up.
    void Load();
    // Enter or a double click on the box: text as typed (Windows-1252).
    void Open(const std::string& text);
    // Ctrl+Delete on the entry selected in the list.
    void Remove(int index);

private:
    std::string ResolveLocal(const std::string& entry) const;
    void Save() const;

    MainWindowState& state_;
    MainWindowPorts& ports_;
    LaunchFn launch_;
};

} // namespace lv
