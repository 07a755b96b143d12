#pragma once

#include <array>
#include <string>
#include <vector>

namespace lv {

// Every modal question the program asks goes through this port: the Qt front end shows real
// dialogs, tests answer from a script. Each question is a small request struct so that new
// fields can be added without touching every caller.

enum class MsgKind { Information, Warning, Error, Confirmation };

// Button sets of the platform message box, in the order they appear.
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel, YesNoHelp };

enum class MsgResult { Ok, Cancel, Yes, No, Help };

struct MessageRequest {
    MsgKind kind = MsgKind::Information;
    std::string caption; // empty: the application title
    std::string text;
    MsgButtons buttons = MsgButtons::Ok;
    int helpContext = 0; // 0: no help topic
};

// Picture left of a TUserDlg message.
enum class UserDlgIcon { None, Warning, Error, Information, Confirmation };

// A question with caller-worded buttons. The answer is the 0-based index of the pressed
// button; an index that matches no button (for example -1) means no choice.
struct UserDlgRequest {
    std::string title;
    std::vector<std::string> message; // one line per entry
    std::vector<std::string> buttons; // "&" marks the access key; empty means one "OK"
    int defaultButton = 0;            // outside the list: no default button
    int cancelButton = -1;            // outside the list: no close box
    int buttonsMinWidth = 75;
    bool buttonsSameWidth = true;
    UserDlgIcon icon = UserDlgIcon::None;
};

// The password prompt "Enter Password". Escape answers an empty text.
struct PasswordRequest {
    bool masked = true; // show typed characters as "*"
};

struct PasswordResult {
    std::string password;
};

// Colours are the platform colour values of the files: 0x00BBGGRR, negative for system colours.
struct FontRequest {
    std::string name;
    int size = 9;
    int color = 0;
};

struct FontResult {
    bool accepted = false;
    std::string name;
    int size = 9;
    int color = 0;
};

// The "Bookmark Count" window, shown after the counting with its final texts.
struct CountRequest {
    std::string caption;
    std::string label;
    int backColor = 0;
    int fontColor = 0;
};

// An open-file dialog. The filter is "Name|pattern|Name|pattern"; the directory is where it
// starts. Paths are in the system's encoding (UTF-8).
struct OpenFileRequest {
    std::string title;
    std::string filter;
    std::string directory;
};

struct OpenFileResult {
    bool accepted = false;
    std::string path;
};

// A save-file dialog: a typed name without extension gets the default one ("lvd"); choosing an
// existing file asks before it is replaced when overwritePrompt is set.
struct SaveFileRequest {
    std::string title;
    std::string filter;
    std::string directory;
    std::string defaultExtension;
    bool overwritePrompt = true;
    int helpContext = 0;
};

// The colour dialog on a colour, with the 16 custom colours it shows and may change.
struct ColorRequest {
    int color = 0;
    std::array<int, 16> customColors{};
};

struct ColorResult {
    bool accepted = false;
    int color = 0;
    std::array<int, 16> customColors{};
};

// The page navigator "Page Navigation": every page by name, in tab order, in the colours of
// the current tab. The answer is the chosen page's 1-based number, 0 when closed without one.
struct NavPageRequest {
    std::vector<std::string> pages;
    int backColor = 0;
    int fontColor = 0;
    int current = 0; // the page shown now (0-based): where the keys start in the list
};

// A folder selection dialog, starting in a folder; allowCreate offers making a new folder there.
struct FolderRequest {
    std::string title;
    std::string directory;
    bool allowCreate = true;
    int helpContext = 0;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;

    virtual MsgResult Message(const MessageRequest& request) = 0;
    virtual int UserDlg(const UserDlgRequest& request) = 0;
    virtual PasswordResult Password(const PasswordRequest& request) = 0;
    virtual FontResult Font(const FontRequest& request) = 0;
    virtual void Count(const CountRequest& request) = 0;
    virtual ColorResult Color(const ColorRequest& request) = 0;
    virtual OpenFileResult OpenFile(const OpenFileRequest& request) = 0;
    virtual OpenFileResult SaveFile(const SaveFileRequest& request) = 0;
    virtual int NavPage(const NavPageRequest& request) = 0;
    // The application's general error box: a file error that ended a handler.
    virtual void Error(const std::string& text) = 0;
    // The chosen folder (UTF-8 path); not accepted when none was chosen. Front ends without
    // folder dialogs answer that none was.
    virtual OpenFileResult SelectFolder(const FolderRequest& request) {
        (void)request;
        return {};
    }
};

} // namespace lv
