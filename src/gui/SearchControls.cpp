#include "gui/SearchControls.h"

#include "gui/MenuLookup.h"
#include "gui/ToolBar.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>

namespace lv {

SearchControls::SearchControls(QMainWindow& window, TForm1& form, QWidget* toolBar,
                               DispatchFn dispatch)
    : QObject(&window) {
    auto run = [&form, dispatch] { dispatch([&form] { form.SearchNetButtonClick(); }); };
    QToolButton* button = NewToolButton(toolBar, QStringLiteral("SearchNetButton"),
                                        QStringLiteral("Search the World Wide Web"));
    connect(button, &QToolButton::clicked, this, run);

    QMenu* bookmarks = MenuOf(window, QStringLiteral("&Bookmarks"));
    auto* action = new QAction(QStringLiteral("Search the &Internet"), bookmarks);
    action->setObjectName(QStringLiteral("MSearchI"));
    const QList<QAction*> items = bookmarks->actions();
    bookmarks->insertAction(items.isEmpty() ? nullptr : items.first(), action);
    connect(action, &QAction::triggered, this, run);
}

} // namespace lv
