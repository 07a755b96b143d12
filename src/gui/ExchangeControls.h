#pragma once

#include "mainwindow/TForm1.h"

#include <QObject>
#include <QString>
#include <functional>

class QAction;
class QMainWindow;
class QMenu;
class QWidget;

namespace lv {

// The link lists and the favourites folders: the tool buttons Print, HTML and Email1, the File
// menu's "Import Bookmarks" and "Export Bookmarks" items for them, and the Bookmarks menu's
// "&Print URL's", "Create &HTML File" and "&E-Mail Bookmarks".
class ExchangeControls : public QObject {
    Q_OBJECT
public:
    using DispatchFn = std::function<void(const std::function<void()>&)>;

    ExchangeControls(QMainWindow& window, TForm1& form, QWidget* toolBar, DispatchFn dispatch);

private:
    QAction* Command(QMenu* menu, QAction* before, const QString& name, const QString& text,
                     std::function<void()> run);
    // The submenu of that caption, made before `before` when it is not there yet.
    QMenu* SubMenu(QMenu* menu, QAction* before, const QString& name, const QString& title);

    TForm1& form_;
    DispatchFn dispatch_;
};

} // namespace lv
