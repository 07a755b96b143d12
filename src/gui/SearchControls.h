#pragma once

#include "mainwindow/TForm1.h"

#include <QObject>
#include <functional>

class QMainWindow;
class QWidget;

namespace lv {

// The way into the Internet Search window: the tool button SearchNetButton and "Search the
// &Internet" at the top of the Bookmarks menu.
class SearchControls : public QObject {
    Q_OBJECT
public:
    using DispatchFn = std::function<void(const std::function<void()>&)>;

    SearchControls(QMainWindow& window, TForm1& form, QWidget* toolBar, DispatchFn dispatch);
};

} // namespace lv
