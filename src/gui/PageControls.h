#pragma once

#include "mainwindow/TForm1.h"

#include <QObject>
#include <QPoint>
#include <functional>

class QTabBar;
class QToolButton;

namespace lv {

class MainWindowView;

// The main window's page input: the Tabs menu items for whole pages and the tab row's look,
// the AddPageBtn and DeletePageBtn tool buttons, a right click on a tab (page options, or the
// drop of a carried page or carried bookmarks), and dragging one tab onto another with the left
// button. Render() shows the model's cursor: busy, or multi-drag while something is carried.
class PageControls : public QObject {
    Q_OBJECT
public:
    using DispatchFn = std::function<void(const std::function<void()>&)>;

    PageControls(MainWindowView& window, TForm1& form, QWidget* toolBar, DispatchFn dispatch);

    void Render();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildMenu();
    QToolButton* AddToolButton(const QString& name, const QString& hint, std::function<void()> run);

    MainWindowView& window_;
    TForm1& form_;
    QWidget* toolBar_;
    DispatchFn dispatch_;
    QTabBar* tabs_;
    QToolButton* addPage_ = nullptr;
    QToolButton* deletePage_ = nullptr;
    QPoint pressAt_;
    bool pressed_ = false;
    bool dragging_ = false;
};

} // namespace lv
