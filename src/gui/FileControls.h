#pragma once

#include "mainwindow/TForm1.h"

#include <QObject>
#include <QString>
#include <functional>
#include <vector>

class QAction;
class QMainWindow;
class QMenu;
class QToolButton;
class QWidget;

namespace lv {

// The File menu's DataFile commands with "Copy &Program to Diskette" and its sixteen drive
// items, "&Alphabetize" in the Bookmarks menu, and the tool buttons OpenButton1, AlphaButton
// and DiskButton. User input becomes handler calls; Render() shows the checked drive and the
// volumes behind the letters. On a locked window the small open-file button PNewBtn beside
// "Access Protected File" opens another DataFile.
class FileControls : public QObject {
    Q_OBJECT
public:
    using DispatchFn = std::function<void(const std::function<void()>&)>;

    FileControls(QMainWindow& window, TForm1& form, QWidget* toolBar, DispatchFn dispatch);

    void Render();

    QMenu* DriveMenu() const { return driveMenu_; }

private:
    QAction* Command(QMenu* menu, QAction* before, const QString& name, const QString& text,
                     std::function<void()> run);
    QToolButton* AddToolButton(const QString& name, const QString& hint, std::function<void()> run);

    QMainWindow& window_;
    TForm1& form_;
    QWidget* toolBar_;
    DispatchFn dispatch_;
    QMenu* driveMenu_ = nullptr;
    std::vector<QAction*> drives_;
    std::vector<QToolButton*> buttons_;
    QToolButton* pNewBtn_ = nullptr;
};

} // namespace lv
