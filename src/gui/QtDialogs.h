#pragma once

#include "platform/Dialogs.h"

#include <QPalette>

class QWidget;

namespace lv {

// The Dialogs port with real Qt dialogs, modal over the main window.
class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }
    // Dialogs take the page tabs' colours when they appear.
    void SetLook(const QPalette& palette) {
        palette_ = palette;
        hasLook_ = true;
    }
    int ScreenWidth() const;

    MsgResult Message(const MessageRequest& request) override;
    int UserDlg(const UserDlgRequest& request) override;
    PasswordResult Password(const PasswordRequest& request) override;
    FontResult Font(const FontRequest& request) override;
    void Count(const CountRequest& request) override;
    ColorResult Color(const ColorRequest& request) override;
    OpenFileResult OpenFile(const OpenFileRequest& request) override;
    OpenFileResult SaveFile(const SaveFileRequest& request) override;
    int NavPage(const NavPageRequest& request) override;
    OpenFileResult SelectFolder(const FolderRequest& request) override;
    void Error(const std::string& text) override;

private:
    void ApplyLook(QWidget* dialog) const;

    QWidget* parent_;
    QPalette palette_;
    bool hasLook_ = false;
};

} // namespace lv
