#pragma once

#include "mainwindow/BookmarkButton.h"

#include <functional>
#include <string>

namespace lv {

// What the editor asks the main window to do after it closed.
enum EditorActionCode : int {
    kEditNothing = 0,
    kEditProtect = 1, // "&Password Protect Bookmark?" ticked or unticked
    kEditLocal = 2,   // "&Launch file from Local system?", or a mailto: target saved
    kEditColor = 3,   // "Change Bookmark Color"
    kEditMove = 4,    // "Move": pick up to move
    kEditCopy = 5,    // "Copy": pick up to copy
    kEditErase = 6,   // "Erase"
    kEditEmail = 7,   // "Email": this bookmark in the e-mail dialog
    kEditIconFromFile = 20,
};

// The bookmark editor ("Bookmark"): its fields, which controls show, and its buttons. The view
// shows these and calls the handlers; the main window fills it before showing it and carries out
// EditorAction after it closed. Texts are stored bytes (Windows-1252); the notes hold CR LF.
class TBConfigForm {
public:
    // Writes the fields into the slot (the main window's NameChange).
    std::function<void()> onNameChange;
    // "Reset Bookmark Color": removes the slot's own colour.
    std::function<void()> onResetColor;
    std::function<void(int topic)> onHelp;
    // "Icon": shows the icon chooser for the slot; it may set EditorAction.
    std::function<void()> onIcon;

    std::string Desc1; // title
    std::string URL1;  // target (unscrambled on a protected page)
    std::string EI1;   // notes, at most 1000 characters
    std::string EI2;   // extra information
    bool PassBox = false;
    bool RunBox = false;
    int bookmarkColor = 0; // caption colour of BMColor
    GlyphRef glyph;

    // Which controls show; a bookmark with its own password shows only the title (read-only),
    // the password box, help and cancel.
    bool titleReadOnly = false;
    bool fieldsVisible = true;  // URL, notes, extra information, RunBox
    bool actionsVisible = true; // "Save Text", "Erase", "Move", "Copy", "Email", colour buttons
    bool passBoxVisible = true;
    // "Erase", "Move", "Copy" and RunBox; the bookmark search hides them while it edits.
    bool slotActionsVisible = true;
    bool resetColorVisible = true;

    int EditorAction = kEditNothing;

    static constexpr int kNotesLimit = 1000;
    static constexpr int kHelpTopic = 74;

    // Prepares for a new showing: open, action 0.
    void Open();
    bool Closed() const { return closed_; }

    // "Save Text", also Enter in the title, URL and extra-information fields.
    void SaveTextClick();
    void PassBoxClick();
    void RunBoxClick();
    void BMColorClick();
    void ResetColorClick();
    void MoveClick() { CloseWith(kEditMove); }
    void CopyClick() { CloseWith(kEditCopy); }
    void EraseClick() { CloseWith(kEditErase); }
    void EmailClick() { CloseWith(kEditEmail); }
    void CancelClick() { closed_ = true; }
    // "Icon": the chooser, then the editor saves its text and closes.
    void IconClick();
    void HelpClick();

    // The title derived from a URL when none is given (SiteTitle).
    static std::string TitleFromUrl(const std::string& url);
    // The URL guessed from a title when none is given.
    static std::string UrlFromTitle(const std::string& title);

private:
    void SaveText();
    void CloseWith(int code);

    bool closed_ = true;
};

} // namespace lv
