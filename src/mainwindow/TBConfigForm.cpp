#include "mainwindow/TBConfigForm.h"

#include "mainwindow/PagePasswords.h"
#include "mainwindow/UrlHelpers.h"
#include "store/Text.h"

namespace lv {

void TBConfigForm::Open() {
    EditorAction = kEditNothing;
    closed_ = false;
}

std::string TBConfigForm::TitleFromUrl(const std::string& url) {
    return SiteTitle(url);
}

std::string TBConfigForm::UrlFromTitle(const std::string& title) {
    std::string name;
    for (const char c : title) {
        if (c != ' ') {
            name += c;
        }
    }
    return "http://www." + LowerCase1252(name) + ".com/";
}

void TBConfigForm::SaveText() {
    // A scrambled target is shown only for a bookmark with its own password; it is not an
    // address and must not be touched by the address rules.
    if (!IsScrambled(URL1)) {
        if (Desc1.empty() && !URL1.empty()) {
            URL1 = EndSlash(URL1);
            Desc1 = TitleFromUrl(URL1);
        }
        if (!Desc1.empty() && URL1.empty()) {
            URL1 = UrlFromTitle(Desc1);
        }
        URL1 = EndSlash(URL1);
    }
    if (EI1.size() > kNotesLimit) {
        EI1.resize(kNotesLimit);
    }
    if (onNameChange) {
        onNameChange();
    }
}

void TBConfigForm::SaveTextClick() {
    SaveText();
    if (URL1.starts_with("mailto:") && !RunBox) {
        EditorAction = kEditLocal;
    }
    closed_ = true;
}

void TBConfigForm::PassBoxClick() {
    PassBox = !PassBox;
    SaveText();
    CloseWith(kEditProtect);
}

void TBConfigForm::RunBoxClick() {
    RunBox = !RunBox;
    CloseWith(kEditLocal);
}

void TBConfigForm::BMColorClick() {
    SaveText();
    CloseWith(kEditColor);
}

void TBConfigForm::ResetColorClick() {
    if (onResetColor) {
        onResetColor();
    }
    SaveTextClick();
}

void TBConfigForm::IconClick() {
    EditorAction = kEditNothing;
    if (onIcon) {
        onIcon();
    }
    const int chosen = EditorAction;
    SaveTextClick();
    if (EditorAction == kEditNothing) {
        EditorAction = chosen;
    }
}

void TBConfigForm::HelpClick() {
    if (onHelp) {
        onHelp(kHelpTopic);
    }
}

void TBConfigForm::CloseWith(int code) {
    EditorAction = code;
    closed_ = true;
}

} // namespace lv
