#pragma once

#include <string>
#include <vector>

namespace lv {

// One row of the page navigator: the page's name and its 1-based number.
struct NavPageRow {
    std::string name;
    int number = 0;
    bool operator==(const NavPageRow&) const = default;
};

// The rows of the page navigator, in tab order or sorted by name (Windows-1252 letters, letter
// case ignored; equal names keep tab order).
std::vector<NavPageRow> NavPageRows(const std::vector<std::string>& pages, bool alphabetical);

// Where the main window goes after the navigator: the chosen page (0-based), or the page it
// was on when the navigator was closed without a choice (chosen <= 0 or out of range).
int NavPageTarget(int current, int chosenNumber, int pageCount);

} // namespace lv
