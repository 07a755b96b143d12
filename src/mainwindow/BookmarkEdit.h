#pragma once

#include "mainwindow/MainState.h"
#include "mainwindow/Ports.h"
#include "mainwindow/TBConfigForm.h"
#include "store/TIniFile32.h"

#include <functional>
#include <string>

namespace lv {

// What the editing commands keep between two handlers: the editor window (created once) and a
// bookmark waiting to be put down after "Move" or "Copy" (the drag cursor shows meanwhile).
struct EditState {
    TBConfigForm BConfigForm;
    bool putPending = false;
    std::string pickedPage;
    int pickedSlot = 0;
    std::string shownUrl; // URL1 as the editor opened with it
};

// Shown when a bookmark cannot be put down: no empty button from there to the page's end.
inline constexpr std::string_view kNoRoomMove =
    "There is no empty button from here to the end of the page. The bookmark stays where it "
    "was.";
inline constexpr std::string_view kNoRoomPut =
    "There is no empty button from here to the end of the page. Please choose another button "
    "for the bookmark.";

// The bookmark editor's flow, and the other ways a bookmark changes place: putting down,
// dragging one button onto another, erasing.
class BookmarkEdit {
public:
    // click runs the click on a slot (a local bookmark without target asks for a file);
    // reload shows the current page again.
    BookmarkEdit(MainWindowState& state, MainWindowPorts& ports, EditState& edit,
                 std::function<void(int)> click, std::function<void()> reload)
        : state_(state), ports_(ports), edit_(edit), click_(std::move(click)),
          reload_(std::move(reload)) {}

    // Right click on a button: put a waiting bookmark down there, or open the editor.
    void SetButtonParams(int slot);
    // Left press while a bookmark waits: put it down here.
    void PutPending(int slot);
    // Dropping a dragged button onto another one: the bookmark moves there.
    void ButtonDragDrop(int source, int target);

    // Puts the bookmark in hand (BookmarkBox) into the slot of the current page, shifting the
    // following bookmarks down to the first empty button. False when there was no room; the
    // bookmark stays in hand then.
    bool PutButton(int slot);
    // Whether PutButton on target would find room once `vacated` (0: none) were emptied.
    bool RoomFrom(int target, int vacated) const;
    void EraseButton(const std::string& page, int slot, bool webIconQuestion);

    void NameChange(const std::string& page, int slot);
    void BFontChange(const std::string& page, int slot);
    void ResetBC(const std::string& page, int slot);

    // Shows one slot of the current page as a page load does.
    static void ShowSlot(MainWindowState& state, TIniFile32& ini, const std::string& page,
                         int slot);

private:
    void ActAfterEditor(const std::string& page, int slot);
    void ChooseIcon(const std::string& page, int slot);
    void ProtectBookmark(const std::string& page, int slot);
    void LocalLaunch(const std::string& page, int slot);
    void PickUp(const std::string& page, int slot, bool move);
    void EraseSlot(TIniFile32& ini, const std::string& page, int slot, bool webIconQuestion);
    BookmarkButton* OnScreen(const std::string& page, int slot);
    void Tell(std::string text);

    MainWindowState& state_;
    MainWindowPorts& ports_;
    EditState& edit_;
    std::function<void(int)> click_;
    std::function<void()> reload_;
};

// Whether the icon file I was fetched for the target's site: its name up to the first "."
// equals the target without its scheme, both with path, drive and punctuation characters made
// "_".
bool WebIconOfSite(std::string_view iconFile, std::string_view target);

} // namespace lv
