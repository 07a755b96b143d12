#include "gui/EditControls.h"

#include "gui/MenuLookup.h"

#include "gui/MainWindowView.h"

#include <QAction>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QUrl>

namespace lv {
EditControls::EditControls(MainWindowView& window, TForm1& form, DispatchFn dispatch)
    : QObject(&window), window_(window), form_(form), dispatch_(std::move(dispatch)) {
    window_.setAcceptDrops(true);
    window_.installEventFilter(this);

    QMenu* file = FindMenu(window_, QStringLiteral("&File"));
    QMenu* tabs = MenuOf(window_, QStringLiteral("&Tabs"));
    if (file != nullptr) {
        QAction* exit = window_.Action(QStringLiteral("MExit1"));
        auto* progPass = new QAction(QStringLiteral("Password Protect File"), file);
        progPass->setObjectName(QStringLiteral("MProgPass"));
        file->insertAction(exit, progPass);
        connect(progPass, &QAction::triggered, this,
                [this] { dispatch_([this] { form_.MProgPassClick(); }); });
    }
    pagePass_ = tabs->addAction(QStringLiteral("&Password Protect Page"));
    pagePass_->setObjectName(QStringLiteral("MPagePass"));
    pagePass_->setCheckable(true);
    connect(pagePass_, &QAction::triggered, this,
            [this] { dispatch_([this] { form_.MPagePassClick(); }); });
}

int EditControls::SlotOf(QObject* object) const {
    for (int slot = 1; QPushButton* button = window_.Button(slot); ++slot) {
        if (button == object) {
            return slot;
        }
    }
    return 0;
}

int EditControls::SlotAtGlobal(const QPoint& global) const {
    QWidget* area = window_.ButtonArea();
    QWidget* under = area->childAt(area->mapFromGlobal(global));
    return under != nullptr ? SlotOf(under) : 0;
}

void EditControls::Render() {
    for (int slot = 1; QPushButton* button = window_.Button(slot); ++slot) {
        button->installEventFilter(this);
        button->setContextMenuPolicy(Qt::PreventContextMenu);
    }
    // The drag cursor shows while a moved or copied bookmark waits to be put down.
    if (form_.PutPending()) {
        window_.ButtonArea()->setCursor(Qt::DragMoveCursor);
        for (int slot = 1; QPushButton* button = window_.Button(slot); ++slot) {
            button->setCursor(Qt::DragMoveCursor);
        }
    } else {
        window_.ButtonArea()->unsetCursor();
    }
    pagePass_->setChecked(form_.State().checks.pagePass);
}

bool EditControls::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_) {
        if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
            auto* drag = static_cast<QDropEvent*>(event);
            if (drag->mimeData()->hasUrls() && !form_.State().locked) {
                drag->acceptProposedAction();
                return true;
            }
        } else if (event->type() == QEvent::Drop) {
            auto* drop = static_cast<QDropEvent*>(event);
            std::vector<std::string> files;
            for (const QUrl& url : drop->mimeData()->urls()) {
                if (url.isLocalFile()) {
                    files.push_back(url.toLocalFile().toStdString());
                }
            }
            QWidget* client = window_.centralWidget();
            const QPoint at =
                client->mapFromGlobal(window_.mapToGlobal(drop->position().toPoint()));
            drop->acceptProposedAction();
            dispatch_([this, files, at] { form_.FormDropFiles(files, at.x(), at.y()); });
            return true;
        }
        return false;
    }
    const int slot = SlotOf(watched);
    if (slot == 0) {
        return false;
    }
    if (event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton) {
            dispatch_([this, slot] { form_.SetButtonParams(slot); });
            return true;
        }
        // A waiting bookmark is put down; the press is not the start of a click.
        if (mouse->button() == Qt::LeftButton && form_.PutPending()) {
            dispatch_([this, slot] { form_.ButtonMouseDown(slot); });
            return true;
        }
    } else if (event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const int target = SlotAtGlobal(mouse->globalPosition().toPoint());
        if (mouse->button() == Qt::LeftButton && target != 0 && target != slot) {
            dispatch_([this, slot, target] { form_.ButtonDragDrop(slot, target); });
        }
    }
    return false;
}

} // namespace lv
