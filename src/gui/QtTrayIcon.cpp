#include "gui/QtTrayIcon.h"

#include "gui/AppInfo.h"
#include "gui/QtText.h"

#include <QAction>
#include <QMenu>
#include <QSystemTrayIcon>

namespace lv {

QtTrayIcon::QtTrayIcon(QObject* parent) : QObject(parent) {
    menu_ = new QMenu;
    menu_->setObjectName(QStringLiteral("PopupMenu5"));
    QAction* saver = menu_->addAction(QStringLiteral("Activate Screen Saver"));
    saver->setObjectName(QStringLiteral("MScreenSaver"));
    connect(saver, &QAction::triggered, this, [this] {
        if (onScreenSaver) {
            onScreenSaver();
        }
    });
    menu_->addSeparator();
    // The clipboard commands come here (AddClipboardCommand).
    pop5Bar_ = menu_->addSeparator();
    pop5Bar_->setObjectName(QStringLiteral("Pop5Bar"));

    icon_ = new QSystemTrayIcon(AppIcon(), this);
    icon_->setObjectName(QStringLiteral("TaskIcon"));
    icon_->setToolTip(QStringLiteral("Linkvane"));
    icon_->setContextMenu(menu_);
    connect(icon_, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger && onClick) {
                    onClick();
                }
            });
}

QtTrayIcon::~QtTrayIcon() {
    icon_->hide();
    delete menu_;
}

void QtTrayIcon::AddClipboardCommand(QAction* command) {
    menu_->insertAction(pop5Bar_, command);
}

bool QtTrayIcon::Available() const {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void QtTrayIcon::Show() {
    icon_->show();
}

void QtTrayIcon::Hide() {
    icon_->hide();
}

bool QtTrayIcon::Shown() const {
    return icon_->isVisible();
}

void QtTrayIcon::SetTip(const std::string& tip) {
    icon_->setToolTip(Q(TrayTip(tip)));
}

void QtTrayIcon::SetRecent(const std::vector<std::string>& captions) {
    if (captions == captions_) {
        return;
    }
    captions_ = captions;
    for (QAction* action : recent_) {
        menu_->removeAction(action);
        delete action;
    }
    recent_.clear();
    for (const std::string& caption : captions) {
        QString text = Q(caption);
        // Shown as they are: an "&" is no access key here.
        text.replace(QLatin1Char('&'), QStringLiteral("&&"));
        auto* action = new QAction(text, menu_);
        connect(action, &QAction::triggered, this, [this, caption] {
            if (onRecent) {
                onRecent(caption);
            }
        });
        menu_->addAction(action);
        recent_.push_back(action);
    }
}

} // namespace lv
