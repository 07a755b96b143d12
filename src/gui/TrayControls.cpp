#include "gui/TrayControls.h"

#include "gui/MenuLookup.h"
#include "gui/QtText.h"
#include "gui/QtTrayIcon.h"
#include "tools/UserFile.h"

namespace lv {

TrayControls::TrayControls(QMainWindow& window, TForm1& form, DispatchFn dispatch)
    : QObject(&window), window_(window), form_(form), dispatch_(std::move(dispatch)) {
    QMenu* setup = MenuOf(window, QStringLiteral("&Setup"));
    // At the top of the menu, in front of "Auto Backup prior to Modification".
    QAction* first = setup->actions().isEmpty() ? nullptr : setup->actions().first();
    autoRun_ = AddItem(first, QStringLiteral("MAutoRun"),
                       QStringLiteral("&Load Linkvane during Windows Startup"),
                       [this] { form_.MAutoRunClick(); });
    startSmall_ = AddItem(first, QStringLiteral("MStartSmall"),
                          QStringLiteral("Minimize to Task &Tray on bookmark launch"),
                          [this] { form_.MStartSmallClick(); });
    startBar_ = AddItem(first, QStringLiteral("MStartBar"),
                        QStringLiteral("Minimize to Task &Bar on bookmark launch"),
                        [this] { form_.MStartBarClick(); });
    mini_ = AddItem(first, QStringLiteral("MMini"),
                    QStringLiteral("Minimize to Mini &Mode on bookmark launch"),
                    [this] { form_.MMiniClick(); });
    hide_ = AddItem(first, QStringLiteral("MHide"),
                    QStringLiteral("Stealth Mode [Hide] on bookmark launch"),
                    [this] { form_.MHideClick(); });
    // After "Search for Web Page Icon & Desc.".
    QAction* after = FindAction(setup, QStringLiteral("MWebIconSearch"));
    const auto actions = setup->actions();
    const qsizetype at = after == nullptr ? -1 : actions.indexOf(after);
    QAction* before = at >= 0 && at + 1 < actions.size() ? actions[at + 1] : nullptr;
    mru_ =
        AddItem(before, QStringLiteral("MMRU"), QStringLiteral("Store last 10 bookmarks in &Tray"),
                [this] { form_.MMRUClick(); });
}

QAction* TrayControls::AddItem(QAction* before, const QString& name, const QString& text,
                               std::function<void()> run) {
    QMenu* setup = FindMenu(window_, QStringLiteral("&Setup"));
    auto* action = new QAction(text, setup);
    action->setObjectName(name);
    action->setCheckable(true);
    setup->insertAction(before, action);
    connect(action, &QAction::triggered, this, [this, run] { dispatch_(run); });
    return action;
}

void TrayControls::Attach(QtTrayIcon* tray) {
    tray_ = tray;
    if (tray_ == nullptr) {
        return;
    }
    tray_->onClick = [this] { dispatch_([this] { form_.RestoreFromTray(); }); };
    tray_->onScreenSaver = [this] { dispatch_([this] { form_.MScreenSaverClick(); }); };
    tray_->onRecent = [this](const std::string& entry) {
        dispatch_([this, entry] { form_.MruList1Click(entry); });
    };
    // The clipboard commands, in the menu's order: the current bookmark's notes and extra
    // information, the user's details, a whole text file.
    auto clipboard = [this](const QString& name, std::string_view caption,
                            std::function<void()> run) {
        auto* action = new QAction(Q(std::string(caption)), this);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, [this, run] { dispatch_(run); });
        tray_->AddClipboardCommand(action);
    };
    clipboard(QStringLiteral("UserID1"), kCopyKeywordsCaption, [this] { form_.UserID1Click(); });
    clipboard(QStringLiteral("WebPass"), kCopyExtraCaption, [this] { form_.WebPassClick(); });
    for (const UserCopyItem& item : kUserCopyItems) {
        const std::string key(item.name);
        clipboard(QString::fromStdString(key), item.caption,
                  [this, key] { form_.CopyUserDetail(key); });
    }
    clipboard(QStringLiteral("TextFile"), kCopyTextFileCaption, [this] { form_.TextClick(); });
}

void TrayControls::Render() {
    const MenuChecks& checks = form_.State().checks;
    autoRun_->setChecked(checks.autoRun);
    startSmall_->setChecked(checks.trayTray);
    startBar_->setChecked(checks.trayBar);
    mini_->setChecked(checks.trayMini);
    hide_->setChecked(checks.trayHide);
    mru_->setChecked(checks.mruTrack);
    if (tray_ != nullptr) {
        tray_->SetRecent(form_.RecentEntries());
    }
}

} // namespace lv
