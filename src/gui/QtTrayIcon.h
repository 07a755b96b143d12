#pragma once

#include "platform/TrayIcon.h"

#include <QObject>
#include <functional>
#include <string>
#include <vector>

class QAction;
class QMenu;
class QSystemTrayIcon;

namespace lv {

// The tray icon through QSystemTrayIcon: the application's icon, its tip and the pop-up menu
// "Activate Screen Saver", the clipboard commands, a separator and the recent entries. A left
// click restores the program; the menu's commands are handed to the callbacks.
class QtTrayIcon : public QObject, public TrayIcon {
    Q_OBJECT
public:
    explicit QtTrayIcon(QObject* parent = nullptr);
    ~QtTrayIcon() override;

    bool Available() const override;
    void Show() override;
    void Hide() override;
    bool Shown() const override;
    void SetTip(const std::string& tip) override;
    void SetRecent(const std::vector<std::string>& captions) override;

    // The menu, for the window's own commands.
    QMenu* Menu() const { return menu_; }
    // The separator after which the recent entries stand.
    QAction* Pop5Bar() const { return pop5Bar_; }
    // The clipboard commands ("Copy Bookmark 'Keywords' to Clipboard", "... 'Extra info' ...",
    // the sixteen user-information items, "Copy Text File to Clipboard") take their place
    // between the screen saver's separator and Pop5Bar, in the order they are added.
    void AddClipboardCommand(QAction* command);

    std::function<void()> onClick;
    std::function<void()> onScreenSaver;
    std::function<void(const std::string& entry)> onRecent;

private:
    QSystemTrayIcon* icon_ = nullptr;
    QMenu* menu_ = nullptr;
    QAction* pop5Bar_ = nullptr;
    std::vector<QAction*> recent_;
    std::vector<std::string> captions_;
};

} // namespace lv
