#include "gui/CheckerControls.h"

#include "gui/MenuLookup.h"
#include "gui/ToolBar.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>

namespace lv {

CheckerControls::CheckerControls(QMainWindow& window, TForm1& form, QWidget* toolBar,
                                 DispatchFn dispatch)
    : QObject(&window) {
    auto run = [&form, dispatch] { dispatch([&form] { form.CheckBtnClick(); }); };
    QMenu* bookmarks = MenuOf(window, QStringLiteral("&Bookmarks"));
    // Just before "&Alphabetize" (or "&Count Bookmarks" while that is not there).
    QAction* before = FindAction(bookmarks, QStringLiteral("MAlpha"));
    if (before == nullptr) {
        before = FindAction(bookmarks, QStringLiteral("MCount"));
    }
    auto* action = new QAction(QStringLiteral("Check &Links"), bookmarks);
    action->setObjectName(QStringLiteral("CheckBookmarkLinks1"));
    bookmarks->insertAction(before, action);
    connect(action, &QAction::triggered, this, run);

    QToolButton* button = NewToolButton(toolBar, QStringLiteral("CheckBtn"),
                                        QStringLiteral("Check for valid and updated Links."));
    connect(button, &QToolButton::clicked, this, run);
}

} // namespace lv
