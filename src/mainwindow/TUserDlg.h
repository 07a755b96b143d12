#pragma once

#include "platform/Dialogs.h"

#include <string>
#include <vector>

namespace lv {

// Text measurement of the dialog's font, supplied by the view.
class TextMetrics {
public:
    virtual ~TextMetrics() = default;
    virtual int TextWidth(const std::string& text) const = 0;
    // The line spacing of the font: the height one message line takes.
    virtual int LineHeight() const = 0;
    // Height of the message when its words wrap within `width` pixels.
    virtual int WrappedHeight(const std::vector<std::string>& lines, int width) const = 0;
};

struct DlgRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const DlgRect&, const DlgRect&) = default;
};

// Where everything of a TUserDlg window goes (client coordinates).
struct UserDlgLayout {
    int width = 0;
    int height = 0;
    DlgRect label;
    bool wrap = false;
    bool hasIcon = false;
    DlgRect icon;
    std::vector<std::string> captions; // as shown, "&" still marking the access key
    std::vector<DlgRect> buttons;      // button i is named "btn" + i
    int defaultButton = -1;            // -1: none
    int cancelButton = -1;             // -1: no close box, Escape does nothing
};

inline constexpr int kUserDlgIconSide = 32;

// The window of a question, laid out from its settings and the screen width.
UserDlgLayout LayoutUserDlg(const UserDlgRequest& request, const TextMetrics& metrics,
                            int screenWidth);

// A caption without its access-key markers ("&Delete" -> "Delete", "&&" -> "&").
std::string StripAccelerator(const std::string& caption);

// The main window's question dialog (`Dlg1`): settings kept between questions, as the callers
// fill them before each question.
class TUserDlg {
public:
    explicit TUserDlg(Dialogs& dialogs) : dialogs_(dialogs) { request_.buttons = {"&OK"}; }

    std::string& Title() { return request_.title; }
    std::vector<std::string>& Message() { return request_.message; }
    std::vector<std::string>& Buttons() { return request_.buttons; }
    int& Default() { return request_.defaultButton; }
    int& Cancel() { return request_.cancelButton; }

    // Shows the question; the 0-based index of the pressed button, or -1 for no choice.
    int Execute();
    int Result() const { return result_; }

private:
    Dialogs& dialogs_;
    UserDlgRequest request_;
    int result_ = -1;
};

} // namespace lv
