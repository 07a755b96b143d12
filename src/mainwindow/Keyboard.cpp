#include "mainwindow/Keyboard.h"

#include "store/DataFile.h"
#include "store/Text.h"

namespace lv {

void Keyboard::SwitchTo(int tab) {
    caption_();
    selectTab_(tab);
}

void Keyboard::KeysKeyDown(NavKey key) {
    const int pages = static_cast<int>(state_.TabSet1.names.size());
    const int current = state_.TabSet1.selected;
    const int slots = static_cast<int>(state_.buttons.size());
    // Fewer columns leave a selection past the grid: it is gone with its button.
    if (state_.SelectedSlot > slots) {
        state_.SelectedSlot = 0;
    }
    switch (key) {
    case NavKey::Left:
    case NavKey::PageDown:
        if (pages > 0) {
            SwitchTo(current > 0 ? current - 1 : pages - 1);
        }
        break;
    case NavKey::Right:
    case NavKey::PageUp:
        if (pages > 0) {
            SwitchTo(current + 1 < pages ? current + 1 : 0);
        }
        break;
    case NavKey::Home:
        if (pages > 0) {
            state_.TabSet1.firstVisible = 0;
            SwitchTo(0);
        }
        break;
    case NavKey::End:
        if (pages > 0) {
            SwitchTo(pages - 1);
        }
        break;
    case NavKey::Down:
        if (state_.SelectedSlot < slots) {
            Select(state_.SelectedSlot + 1);
        }
        break;
    case NavKey::Up:
        if (state_.SelectedSlot >= 2) {
            Select(state_.SelectedSlot - 1);
        }
        break;
    case NavKey::Enter:
        if (state_.SelectedSlot > 0 && state_.SelectedSlot <= slots) {
            click_(state_.SelectedSlot);
        }
        break;
    }
}

void Keyboard::Select(int slot) {
    auto& buttons = state_.buttons;
    if (state_.SelectedSlot > 0 && state_.SelectedSlot <= static_cast<int>(buttons.size())) {
        buttons[static_cast<std::size_t>(state_.SelectedSlot - 1)].margin = 1;
    }
    state_.SelectedSlot = slot;
    BookmarkButton& button = buttons[static_cast<std::size_t>(slot - 1)];
    button.margin = 30;
    state_.CurrentButtonName = button.name;
    state_.caption = std::to_string(slot) + " : " + button.hint;
}

void Keyboard::KeysKeyPress(char typed) {
    const auto& names = state_.TabSet1.names;
    const int pages = static_cast<int>(names.size());
    const unsigned char wanted = LowerCase1252(static_cast<unsigned char>(typed));
    for (int step = 1; step <= pages; ++step) {
        const int tab = (state_.TabSet1.selected + step) % pages;
        const std::string& name = names[static_cast<std::size_t>(tab)];
        if (!name.empty() && LowerCase1252(static_cast<unsigned char>(name[0])) == wanted) {
            if (tab != state_.TabSet1.selected) {
                SwitchTo(tab);
            }
            return;
        }
    }
}

} // namespace lv

namespace lv {
void ClearSelection(MainWindowState& state) {
    const int slot = state.SelectedSlot;
    if (slot > 0 && slot <= static_cast<int>(state.buttons.size())) {
        state.buttons[static_cast<std::size_t>(slot - 1)].margin = 1;
    }
    state.SelectedSlot = 0;
}
} // namespace lv
