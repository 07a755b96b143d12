#include "gui/PageControls.h"

#include "gui/MainWindowView.h"
#include "gui/MenuLookup.h"
#include "gui/ToolBar.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QStyle>
#include <QTabBar>
#include <QToolButton>

namespace lv {

PageControls::PageControls(MainWindowView& window, TForm1& form, QWidget* toolBar,
                           DispatchFn dispatch)
    : QObject(&window), window_(window), form_(form), toolBar_(toolBar),
      dispatch_(std::move(dispatch)), tabs_(window.Tabs()) {
    tabs_->installEventFilter(this);
    tabs_->setMouseTracking(false);
    addPage_ =
        AddToolButton(QStringLiteral("AddPageBtn"), QStringLiteral("Add a new page to Linkvane"),
                      [this] { form_.MAddPageTab1Click(); });
    deletePage_ =
        AddToolButton(QStringLiteral("DeletePageBtn"), QStringLiteral("Delete page from Linkvane"),
                      [this] { form_.MDeletePageTab1Click(); });
    BuildMenu();
}

QToolButton* PageControls::AddToolButton(const QString& name, const QString& hint,
                                         std::function<void()> run) {
    QToolButton* button = NewToolButton(toolBar_, name, hint);
    connect(button, &QToolButton::clicked, this, [this, run] { dispatch_(run); });
    return button;
}

void PageControls::BuildMenu() {
    QMenu* tabs = MenuOf(window_, QStringLiteral("&Tabs"));
    QAction* tabsMenu = tabs->menuAction();
    // The Tabs menu sits before Help.
    if (QAction* help = MenuBarAction(window_, QStringLiteral("&Help"))) {
        window_.menuBar()->removeAction(tabsMenu);
        window_.menuBar()->insertAction(help, tabsMenu);
    }
    auto item = [this, tabs](const char* name, const char* text, std::function<void()> run) {
        auto* action = new QAction(QString::fromLatin1(text), tabs);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, [this, run] { dispatch_(run); });
        return action;
    };
    // Items made elsewhere ("Go to...", "Password Protect Page") keep their place in the order.
    const QList<QAction*> others = tabs->actions();
    auto other = [&others](const char* name) -> QAction* {
        for (QAction* action : others) {
            if (action->objectName() == QLatin1String(name)) {
                return action;
            }
        }
        return nullptr;
    };
    const QList<QAction*> order = {
        item("MChangePageTabName1", "Change &Name on Page Tab",
             [this] { form_.MChangePageTabName1Click(PageSender::NameMenu); }),
        item("MChangeColor1", "Change Color of &Selected Tab",
             [this] { form_.MChangeColor2Click(true); }),
        item("MChangeColor2", "Change Color of &Unselected Tabs",
             [this] { form_.MChangeColor2Click(false); }),
        item("MFontTab", "Change &Font for Tabs", [this] { form_.MFontTabClick(); }),
        other("MGoPage"),
        other("MPagePass"),
        item("MDeletePageTab1", "&Delete Page", [this] { form_.MDeletePageTab1Click(); }),
        item("MAddPageTab1", "&Add Page", [this] { form_.MAddPageTab1Click(); }),
        item("MMovePageTab1", "&Move Page", [this] { form_.MMovePageTab1Click(); }),
        item("MCopyPageTab", "&Copy Page", [this] { form_.MCopyPageTabClick(); }),
        item("MEMailPage", "EMail Page of &Bookmarks",
             [this] { form_.MChangePageTabName1Click(PageSender::EmailMenu); }),
        item("MEraseB", "&Erase All bookmarks from Page", [this] { form_.MEraseBClick(); })};
    for (QAction* action : others) {
        tabs->removeAction(action);
    }
    for (QAction* action : order) {
        if (action != nullptr) {
            tabs->addAction(action);
        }
    }
    for (QAction* action : others) {
        if (!order.contains(action)) {
            tabs->addAction(action);
        }
    }
}

void PageControls::Render() {
    const bool locked = form_.State().locked;
    for (QToolButton* button : {addPage_, deletePage_}) {
        button->setVisible(!locked);
    }
    QWidget* client = window_.centralWidget();
    switch (form_.State().pageOps.cursor) {
    case ScreenCursor::Busy:
        client->setCursor(Qt::WaitCursor);
        tabs_->setCursor(Qt::WaitCursor);
        break;
    case ScreenCursor::MultiDrag:
        client->setCursor(Qt::DragCopyCursor);
        tabs_->setCursor(Qt::DragCopyCursor);
        break;
    case ScreenCursor::Normal:
        client->unsetCursor();
        tabs_->unsetCursor();
        break;
    }
}

bool PageControls::eventFilter(QObject* watched, QEvent* event) {
    if (watched != tabs_) {
        return false;
    }
    switch (event->type()) {
    // A quick second press arrives as a double click; it starts a drag all the same.
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const int tab = window_.PageOfTab(tabs_->tabAt(mouse->position().toPoint()));
        if (mouse->button() == Qt::RightButton) {
            dispatch_([this, tab] { form_.TabSet1MouseDown(TabButton::Right, tab); });
            return true; // the tab bar would make the tab current by itself
        }
        if (mouse->button() == Qt::LeftButton) {
            dispatch_([this, tab] { form_.TabSet1MouseDown(TabButton::Left, tab); });
            pressed_ = tab >= 0;
            dragging_ = false;
            pressAt_ = mouse->position().toPoint();
        }
        return false;
    }
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (!pressed_ || !(mouse->buttons() & Qt::LeftButton)) {
            return false;
        }
        const QPoint at = mouse->position().toPoint();
        if (!dragging_ && (at - pressAt_).manhattanLength() < QApplication::startDragDistance()) {
            return true;
        }
        dragging_ = true;
        tabs_->setCursor(form_.TabSet1DragOver(window_.PageOfTab(tabs_->tabAt(at)))
                             ? Qt::DragMoveCursor
                             : Qt::ForbiddenCursor);
        return true;
    }
    case QEvent::MouseButtonRelease: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton || !pressed_) {
            return false;
        }
        const bool dropped = dragging_;
        pressed_ = false;
        dragging_ = false;
        if (dropped) {
            tabs_->unsetCursor();
            const int tab = window_.PageOfTab(tabs_->tabAt(mouse->position().toPoint()));
            if (form_.TabSet1DragOver(tab)) {
                dispatch_([this, tab] { form_.TabSet1DragDrop(tab); });
            } else {
                Render();
            }
        }
        return false;
    }
    default:
        return false;
    }
}

} // namespace lv
