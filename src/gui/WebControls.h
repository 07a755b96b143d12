#pragma once

#include "mainwindow/TForm1.h"

#include <QObject>
#include <functional>

class QLabel;
class QMainWindow;
class QToolButton;
class QWidget;

namespace lv {

// The main window's web controls: the WebIn button, "Import from Web Page" and "Import from
// Clipboard" of the File menu, and the connection lamp `DialUp` on the tool bar.
class WebControls : public QObject {
    Q_OBJECT
public:
    using DispatchFn = std::function<void(const std::function<void()>&)>;

    WebControls(QMainWindow& window, TForm1& form, QWidget* toolBar, DispatchFn dispatch);

    void Render();

private:
    QMainWindow& window_;
    TForm1& form_;
    DispatchFn dispatch_;
    QLabel* lamp_ = nullptr;
    int shownLamp_ = -1;
};

} // namespace lv
