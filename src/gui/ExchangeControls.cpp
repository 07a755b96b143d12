#include "gui/ExchangeControls.h"

#include "gui/MenuLookup.h"
#include "gui/ToolBar.h"

#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>

namespace lv {

ExchangeControls::ExchangeControls(QMainWindow& window, TForm1& form, QWidget* toolBar,
                                   DispatchFn dispatch)
    : QObject(&window), form_(form), dispatch_(std::move(dispatch)) {
    QMenu* file = MenuOf(window, QStringLiteral("&File"));
    // Both submenus follow the DataFile commands, before the copy to removable media.
    QAction* before = nullptr;
    for (QAction* action : file->actions()) {
        if (action->menu() != nullptr &&
            action->menu()->objectName() == QStringLiteral("MCopyProgram")) {
            before = action;
        }
    }
    QMenu* import =
        SubMenu(file, before, QStringLiteral("MImport"), QStringLiteral("&Import Bookmarks"));
    Command(import, nullptr, QStringLiteral("MImportIE"),
            QStringLiteral("Import &Internet Explorer Bookmarks"),
            [this] { form_.MImportIEClick(); });
    QMenu* exportMenu =
        SubMenu(file, before, QStringLiteral("MExport"), QStringLiteral("&Export Bookmarks"));
    QMenu* ie = SubMenu(exportMenu, nullptr, QStringLiteral("MExportIE"),
                        QStringLiteral("Export Bookmarks to &Internet Explorer"));
    Command(ie, nullptr, QStringLiteral("MEIEFile"), QStringLiteral("Export entire &File"),
            [this] { form_.MExportIEClick(true); });
    Command(ie, nullptr, QStringLiteral("MEIEPage"), QStringLiteral("Export current &Page"),
            [this] { form_.MExportIEClick(false); });
    Command(exportMenu, nullptr, QStringLiteral("MExportHTML"), QStringLiteral("Export to &HTML"),
            [this] { form_.PrintClick(LinkListMode::Html); });
    Command(exportMenu, nullptr, QStringLiteral("MPrintBookmarks"),
            QStringLiteral("&Print Bookmarks"), [this] { form_.PrintClick(LinkListMode::Print); });
    Command(exportMenu, nullptr, QStringLiteral("MEmailBookmarks"),
            QStringLiteral("E&mail Bookmarks"), [this] { form_.PrintClick(LinkListMode::Email); });

    QMenu* bookmarks = MenuOf(window, QStringLiteral("&Bookmarks"));
    // After the searches, before "Check Links" and "&Alphabetize".
    QAction* after = FindAction(bookmarks, QStringLiteral("MCheck"));
    if (after == nullptr) {
        after = FindAction(bookmarks, QStringLiteral("MAlpha"));
    }
    Command(bookmarks, after, QStringLiteral("MPrint"), QStringLiteral("&Print URL's"),
            [this] { form_.PrintClick(LinkListMode::Print); });
    Command(bookmarks, after, QStringLiteral("MHTML"), QStringLiteral("Create &HTML File"),
            [this] { form_.PrintClick(LinkListMode::Html); });
    Command(bookmarks, after, QStringLiteral("MEmail"), QStringLiteral("&E-Mail Bookmarks"),
            [this] { form_.PrintClick(LinkListMode::Email); });

    struct Tool {
        const char* name;
        const char* hint;
        LinkListMode mode;
    };
    for (const Tool& tool : {Tool{"Print", "Print Bookmarks", LinkListMode::Print},
                             Tool{"HTML", "Export Bookmarks to HTML", LinkListMode::Html},
                             Tool{"Email1", "Email Bookmarks", LinkListMode::Email}}) {
        QToolButton* button =
            NewToolButton(toolBar, QString::fromLatin1(tool.name), QString::fromLatin1(tool.hint));
        const LinkListMode mode = tool.mode;
        connect(button, &QToolButton::clicked, this,
                [this, mode] { dispatch_([this, mode] { form_.PrintClick(mode); }); });
    }
}

QAction* ExchangeControls::Command(QMenu* menu, QAction* before, const QString& name,
                                   const QString& text, std::function<void()> run) {
    auto* action = new QAction(text, menu);
    action->setObjectName(name);
    menu->insertAction(before, action);
    connect(action, &QAction::triggered, this, [this, run] { dispatch_(run); });
    return action;
}

QMenu* ExchangeControls::SubMenu(QMenu* menu, QAction* before, const QString& name,
                                 const QString& title) {
    for (QAction* action : menu->actions()) {
        if (action->menu() != nullptr &&
            (action->menu()->objectName() == name || action->text() == title)) {
            return action->menu();
        }
    }
    auto* sub = new QMenu(title, menu);
    sub->setObjectName(name);
    menu->insertMenu(before, sub);
    return sub;
}

} // namespace lv
