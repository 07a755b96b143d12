#include "gui/ToolControls.h"

#include "gui/MenuLookup.h"
#include "gui/ToolBar.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>

namespace lv {

ToolControls::ToolControls(QMainWindow& window, TForm1& form, QWidget* toolBar, DispatchFn dispatch)
    : QObject(&window), form_(form), dispatch_(std::move(dispatch)) {
    const auto item = [this, &window](const QString& menuTitle, const QStringList& before,
                                      const QString& name, const QString& text,
                                      std::function<void()> run) {
        QMenu* menu = MenuOf(window, menuTitle);
        QAction* next = nullptr;
        for (const QString& candidate : before) {
            if ((next = FindAction(menu, candidate)) != nullptr) {
                break;
            }
        }
        if (next == nullptr && !menu->actions().isEmpty()) {
            next = menu->actions().front();
        }
        auto* action = new QAction(text, menu);
        action->setObjectName(name);
        menu->insertAction(next, action);
        connect(action, &QAction::triggered, this, [this, run] { dispatch_(run); });
    };
    // "Search the Internet" goes before it when it exists.
    item(QStringLiteral("&Bookmarks"), {QStringLiteral("MPrint"), QStringLiteral("MAlpha")},
         QStringLiteral("MSearchA"), QStringLiteral("Search &Linkvane"),
         [this] { form_.MSearchAClick(); });
    item(QStringLiteral("&Setup"), {QStringLiteral("MHotKeys"), QStringLiteral("MFont")},
         QStringLiteral("MChangeUserINfo"), QStringLiteral("Change &User Info"),
         [this] { form_.MChangeUserINfoClick(); });

    const auto button = [this, toolBar](const QString& name, const QString& hint,
                                        std::function<void()> run) {
        QToolButton* made = NewToolButton(toolBar, name, hint);
        connect(made, &QToolButton::clicked, this, [this, run] { dispatch_(run); });
    };
    button(QStringLiteral("SearchLinkvaneButton"), QStringLiteral("Search Linkvane Bookmarks"),
           [this] { form_.SearchLinkvaneButtonClick(); });
    button(QStringLiteral("UserButton1"), QStringLiteral("Enter your User Information"),
           [this] { form_.UserButton1Click(); });
}

} // namespace lv
