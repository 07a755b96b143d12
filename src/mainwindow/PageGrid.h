#pragma once

#include "mainwindow/MainState.h"
#include "store/DataFile.h"

#include <string>

namespace lv {

// The grid of bookmark buttons: its layout and filling it from a page of the DataFile.
class PageGrid {
public:
    explicit PageGrid(MainWindowState& state) : state_(state) {}

    // Lays out ColumnCount x 20 buttons for the current client width. With create, the buttons
    // are made anew (start-up, column change); otherwise the existing ones only move.
    void Buttons(bool create);

    // Fills the buttons from the page's section with one engine and saves the file once. On the
    // initial load it also reads the file-level keys and rebuilds the tab set. A G value that is
    // not a number stops the filling at its slot (the rest stay blank) and is raised after the
    // load has finished, so the tab set and the save are not lost with it.
    void Load(const std::string& page);

private:
    MainWindowState& state_;
};

// How the buttons of a page show their slots, from the display switches and passwords in force.
DisplayOptions SlotDisplayOptions(const MainWindowState& state, const std::string& page);
// Puts what a slot shows onto its button.
void ShowSlotView(BookmarkButton& button, const PageSlotView& view);

// Width of a button for the client width and column count.
int ButtonWidth(int clientWidth, int columns);

} // namespace lv
