#pragma once

#include "mainwindow/TForm1.h"

#include <QObject>
#include <functional>

class QAction;
class QMainWindow;

namespace lv {

class QtTrayIcon;

// The Setup menu's items of the tray: auto-run, the four launch behaviours and "Store last 10
// bookmarks in Tray"; and the tray icon's click and menu, turned into handler calls. Render()
// shows the check marks and the recent entries of the model.
class TrayControls : public QObject {
    Q_OBJECT
public:
    using DispatchFn = std::function<void(const std::function<void()>&)>;

    TrayControls(QMainWindow& window, TForm1& form, DispatchFn dispatch);

    // The program's tray icon, once it exists (none in tests of the window alone).
    void Attach(QtTrayIcon* tray);
    void Render();

private:
    QAction* AddItem(QAction* before, const QString& name, const QString& text,
                     std::function<void()> run);

    QMainWindow& window_;
    TForm1& form_;
    DispatchFn dispatch_;
    QtTrayIcon* tray_ = nullptr;
    QAction* autoRun_ = nullptr;
    QAction* startSmall_ = nullptr;
    QAction* startBar_ = nullptr;
    QAction* mini_ = nullptr;
    QAction* hide_ = nullptr;
    QAction* mru_ = nullptr;
};

} // namespace lv
