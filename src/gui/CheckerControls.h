#pragma once

#include "mainwindow/TForm1.h"

#include <QObject>
#include <functional>

class QMainWindow;
class QWidget;

namespace lv {

// "Check Links" in the Bookmarks menu and the tool button CheckBtn: both open the link checker.
class CheckerControls : public QObject {
    Q_OBJECT
public:
    using DispatchFn = std::function<void(const std::function<void()>&)>;

    CheckerControls(QMainWindow& window, TForm1& form, QWidget* toolBar, DispatchFn dispatch);
};

} // namespace lv
