#pragma once

#include "mainwindow/TForm1.h"

#include <QObject>
#include <QString>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>

class QAction;
class QMainWindow;
class QMenu;
class QProgressDialog;

namespace lv {

// "Import Netscape Bookmarks" under "Import Bookmarks" and "Export Bookmarks to Netscape" (with
// "Export entire File" and "Export current Page") under "Export Bookmarks" of the File menu.
// The two submenus are found by name or made, so other exchange commands can share them.
class NetscapeControls : public QObject {
    Q_OBJECT
public:
    using DispatchFn = std::function<void(const std::function<void()>&)>;

    NetscapeControls(QMainWindow& window, TForm1& form, DispatchFn dispatch);

private:
    QMenu* SubMenu(QMenu* file, const QString& name, const QString& text);
    // The first item of the menu named one of these (an item's or a submenu's name), if any.
    static QAction* FirstOf(QMenu* menu, std::initializer_list<const char*> names);

    QMainWindow& window_;
    TForm1& form_;
    DispatchFn dispatch_;
};

// The progress window of long file work: shown after a short moment, application-modal so no
// other command can start meanwhile, while the window keeps painting.
class FileWorkProgress {
public:
    ~FileWorkProgress();
    // (empty, 0, 0) ends it.
    void Step(const std::string& what, long long done, long long total);

private:
    QProgressDialog* dialog_ = nullptr;
};

} // namespace lv
