#include "gui/NetscapeControls.h"

#include "gui/MenuLookup.h"

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProgressDialog>

namespace lv {

NetscapeControls::NetscapeControls(QMainWindow& window, TForm1& form, DispatchFn dispatch)
    : QObject(&window), window_(window), form_(form), dispatch_(std::move(dispatch)) {
    QMenu* file = MenuOf(window_, QStringLiteral("&File"));
    QMenu* import = SubMenu(file, QStringLiteral("MImport"), QStringLiteral("&Import Bookmarks"));
    QMenu* exportMenu =
        SubMenu(file, QStringLiteral("MExport"), QStringLiteral("&Export Bookmarks"));

    // In the menus' order: after the favourites items, before the web page, clipboard and link
    // list items, whichever of them are there.
    auto* importNs = new QAction(QStringLiteral("Import &Netscape Bookmarks"), import);
    importNs->setObjectName(QStringLiteral("MImportNS"));
    import->insertAction(FirstOf(import, {"MImportWeb", "MImportClip", "MImportClipboard"}),
                         importNs);
    connect(importNs, &QAction::triggered, this,
            [this] { dispatch_([this] { form_.MImportNSClick(); }); });

    auto* netscape = new QMenu(QStringLiteral("Export Bookmarks to &Netscape"), exportMenu);
    netscape->setObjectName(QStringLiteral("MExportNS"));
    exportMenu->insertMenu(
        FirstOf(exportMenu, {"MExportHTML", "MPrintBookmarks", "MEmailBookmarks"}), netscape);
    auto* whole = netscape->addAction(QStringLiteral("Export entire &File"));
    whole->setObjectName(QStringLiteral("MENSFile"));
    connect(whole, &QAction::triggered, this,
            [this] { dispatch_([this] { form_.MExportNSClick(false); }); });
    auto* page = netscape->addAction(QStringLiteral("Export current &Page"));
    page->setObjectName(QStringLiteral("MENSPage"));
    connect(page, &QAction::triggered, this,
            [this] { dispatch_([this] { form_.MExportNSClick(true); }); });
}

QAction* NetscapeControls::FirstOf(QMenu* menu, std::initializer_list<const char*> names) {
    for (QAction* action : menu->actions()) {
        const QString name =
            action->menu() != nullptr ? action->menu()->objectName() : action->objectName();
        for (const char* wanted : names) {
            if (name == QLatin1String(wanted)) {
                return action;
            }
        }
    }
    return nullptr;
}

QMenu* NetscapeControls::SubMenu(QMenu* file, const QString& name, const QString& text) {
    if (auto* found = file->findChild<QMenu*>(name, Qt::FindDirectChildrenOnly)) {
        return found;
    }
    auto* menu = new QMenu(text, file);
    menu->setObjectName(name);
    // After the DataFile commands, before the copy to removable media (or the file's end).
    QAction* before = nullptr;
    if (auto* copy =
            file->findChild<QMenu*>(QStringLiteral("MCopyProgram"), Qt::FindDirectChildrenOnly)) {
        before = copy->menuAction();
    } else {
        before = FindAction(file, QStringLiteral("MProgPass"));
    }
    file->insertMenu(before, menu);
    return menu;
}

FileWorkProgress::~FileWorkProgress() {
    delete dialog_;
}

void FileWorkProgress::Step(const std::string& what, long long done, long long total) {
    if (what.empty()) {
        if (dialog_ != nullptr) {
            delete dialog_;
            dialog_ = nullptr;
            QApplication::restoreOverrideCursor();
        }
        return;
    }
    if (dialog_ == nullptr) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        dialog_ = new QProgressDialog(QString::fromUtf8(what), QString(), 0, 1000);
        dialog_->setWindowTitle(QString::fromUtf8(what));
        dialog_->setCancelButton(nullptr);
        dialog_->setMinimumDuration(400);
        dialog_->setWindowModality(Qt::ApplicationModal);
        dialog_->setValue(0);
    }
    if (total > 0) {
        dialog_->setValue(static_cast<int>(done * 1000 / total));
    }
    // Painting goes on; clicks and keys wait until the work is done.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace lv
