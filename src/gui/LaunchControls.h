#pragma once

#include "mainwindow/TForm1.h"

#include <QObject>
#include <QString>
#include <functional>
#include <string>

class QComboBox;
class QLineEdit;
class QMainWindow;
class QMenu;
class QProgressDialog;
class QToolButton;
class QWidget;

namespace lv {

// The main window's launch controls: the browser button and menu, the window-mode buttons,
// "Bookmark current Web Page", the page navigator button, the URL box and the key sink `Keys`.
// Like the rest of the window they hold no state: user input becomes handler calls, and
// Render() shows the model.
class LaunchControls : public QObject {
    Q_OBJECT
public:
    using DispatchFn = std::function<void(const std::function<void()>&)>;

    LaunchControls(QMainWindow& window, TForm1& form, QWidget* toolBar, DispatchFn dispatch,
                   std::function<void()> help);

    // The key sink and the URL box, right of the tool buttons that end at buttonsEnd.
    void Layout(int width, int buttonsEnd);
    void Render();

    QLineEdit* Keys() const { return keys_; }
    QComboBox* UrlBox() const { return urlBox_; }
    QMenu* BrowserMenu() const { return browserMenu_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QToolButton* AddToolButton(const QString& name, const QString& hint);
    void BuildBrowserMenu(QMenu* menu);
    void RenderBrowserMenu(QMenu* menu);
    void OpenUrlBox();
    bool KeysKeyEvent(int key, Qt::KeyboardModifiers modifiers, const QString& text);

    QMainWindow& window_;
    TForm1& form_;
    QWidget* toolBar_;
    DispatchFn dispatch_;
    std::function<void()> help_;
    QToolButton* browserButton_ = nullptr;
    QToolButton* multButton_ = nullptr;
    QToolButton* singleButton_ = nullptr;
    QToolButton* addBookmark_ = nullptr;
    QToolButton* goPage_ = nullptr;
    QComboBox* urlBox_ = nullptr;
    QLineEdit* urlEdit_ = nullptr; // the box's editor, compared only: it may outlive the box
    QLineEdit* keys_ = nullptr;
    QMenu* browserMenu_ = nullptr;  // the pop-up of the browser button
    QMenu* browsersMenu_ = nullptr; // "Browsers" in the menu bar
    std::string shownBrowser_;
};

// The progress of the URL box's file search: a window that appears when the search takes a
// moment and whose "Cancel" ends it. Step() is the search's progress report.
class FileSearchProgress {
public:
    ~FileSearchProgress();
    bool Step(const std::string& folder);

private:
    QProgressDialog* dialog_ = nullptr;
};

} // namespace lv
