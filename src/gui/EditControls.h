#pragma once

#include "mainwindow/TForm1.h"

#include <QObject>
#include <functional>

class QAction;

namespace lv {

class MainWindowView;

// The main window's editing input: a right click on a bookmark button opens the editor, a left
// drag from one button onto another moves the bookmark, a press while a bookmark waits to be
// put down puts it there, files dropped on the window become bookmarks; and the password menu
// items. Render() shows the drag cursor and the check mark.
class EditControls : public QObject {
    Q_OBJECT
public:
    using DispatchFn = std::function<void(const std::function<void()>&)>;

    EditControls(MainWindowView& window, TForm1& form, DispatchFn dispatch);

    void Render();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int SlotOf(QObject* object) const;
    int SlotAtGlobal(const QPoint& global) const;

    MainWindowView& window_;
    TForm1& form_;
    DispatchFn dispatch_;
    QAction* pagePass_ = nullptr;
};

} // namespace lv
