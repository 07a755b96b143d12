#pragma once

#include "mainwindow/TForm1.h"

#include <QObject>
#include <functional>

class QMainWindow;
class QWidget;

namespace lv {

// The tool commands' items: "Search Linkvane" in the Bookmarks menu and "Change User Info" in
// the Setup menu, with the speed buttons SearchLinkvaneButton and UserButton1.
class ToolControls : public QObject {
    Q_OBJECT
public:
    using DispatchFn = std::function<void(const std::function<void()>&)>;
    ToolControls(QMainWindow& window, TForm1& form, QWidget* toolBar, DispatchFn dispatch);

private:
    TForm1& form_;
    DispatchFn dispatch_;
};

} // namespace lv
