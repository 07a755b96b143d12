#include "gui/LaunchControls.h"

#include "gui/MenuLookup.h"
#include "gui/QtText.h"
#include "gui/ToolBar.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QProgressDialog>
#include <QStyle>
#include <QToolButton>

namespace lv {
namespace {

constexpr int kToolButton = 22;
constexpr int kUrlBoxWidth = 180;

} // namespace

LaunchControls::LaunchControls(QMainWindow& window, TForm1& form, QWidget* toolBar,
                               DispatchFn dispatch, std::function<void()> help)
    : QObject(&window), window_(window), form_(form), toolBar_(toolBar),
      dispatch_(std::move(dispatch)), help_(std::move(help)) {
    browserButton_ = AddToolButton(QStringLiteral("BrowserButton1"),
                                   QStringLiteral("Select Default Browser for Linkvane"));
    multButton_ = AddToolButton(QStringLiteral("MultButton"),
                                QStringLiteral("Open another Browser window on Launch"));
    multButton_->setCheckable(true);
    singleButton_ = AddToolButton(QStringLiteral("SingleButton"),
                                  QStringLiteral("Use current Browser window on Launch"));
    singleButton_->setCheckable(true);
    addBookmark_ =
        AddToolButton(QStringLiteral("AddBookmark"), QStringLiteral("Bookmark current Web Page"));
    goPage_ = AddToolButton(QStringLiteral("GoPageBtn"),
                            QStringLiteral("Go to a specific page in Linkvane"));

    browserMenu_ = new QMenu(&window);
    browserMenu_->setObjectName(QStringLiteral("BrowserPopup"));
    BuildBrowserMenu(browserMenu_);
    // Between Setup and Bookmarks.
    browsersMenu_ = new QMenu(QStringLiteral("B&rowsers"), &window);
    window.menuBar()->insertMenu(MenuBarAction(window, QStringLiteral("&Bookmarks")),
                                 browsersMenu_);
    browsersMenu_->setObjectName(QStringLiteral("MBrowsers"));
    BuildBrowserMenu(browsersMenu_);

    // "&Go to..." belongs to the Tabs menu; the menu is made here when nobody has made it yet.
    QMenu* tabs = MenuOf(window, QStringLiteral("&Tabs"));
    QAction* goTo = tabs->addAction(QStringLiteral("&Go to..."));
    goTo->setObjectName(QStringLiteral("MGoPage"));

    auto run = [this](std::function<void()> handler) {
        return [this, handler] { dispatch_(handler); };
    };
    connect(browserButton_, &QToolButton::clicked, this, [this] {
        browserButton_->setDown(false);
        browserMenu_->popup(window_.frameGeometry().topLeft() + QPoint(4, 77));
    });
    connect(multButton_, &QToolButton::clicked, this,
            run([this] { form_.SingleButtonClick(false); }));
    connect(singleButton_, &QToolButton::clicked, this,
            run([this] { form_.SingleButtonClick(true); }));
    connect(addBookmark_, &QToolButton::clicked, this, run([this] { form_.AddBookmarkClick(); }));
    connect(goPage_, &QToolButton::clicked, this, run([this] { form_.GoPageBtnClick(); }));
    connect(goTo, &QAction::triggered, this, run([this] { form_.GoPageBtnClick(); }));

    urlBox_ = new QComboBox(toolBar_);
    urlBox_->setObjectName(QStringLiteral("URLBox"));
    urlBox_->setEditable(true);
    urlBox_->setCompleter(nullptr);
    urlBox_->setInsertPolicy(QComboBox::NoInsert);
    urlBox_->setMaxVisibleItems(10);
    urlBox_->setToolTip(QStringLiteral("Maunal entry for site or file."));
    urlEdit_ = urlBox_->lineEdit();
    urlEdit_->installEventFilter(this);
    connect(urlEdit_, &QLineEdit::returnPressed, this, [this] { OpenUrlBox(); });

    keys_ = new QLineEdit(toolBar_);
    keys_->setObjectName(QStringLiteral("Keys"));
    keys_->setFrame(false);
    // The sink only takes keys: drawn, it was a white box after the tool buttons.
    QPalette unseen = keys_->palette();
    for (const QPalette::ColorRole role :
         {QPalette::Base, QPalette::Text, QPalette::Highlight, QPalette::HighlightedText}) {
        unseen.setColor(role, Qt::transparent);
    }
    keys_->setPalette(unseen);
    // Read-only: with the focus on it (where it lives) it would draw a blinking text cursor.
    keys_->setReadOnly(true);
    keys_->installEventFilter(this);
}

QToolButton* LaunchControls::AddToolButton(const QString& name, const QString& hint) {
    return NewToolButton(toolBar_, name, hint);
}

void LaunchControls::BuildBrowserMenu(QMenu* menu) {
    menu->addSeparator()->setObjectName(QStringLiteral("BrowserItemsEnd"));
    menu->addAction(QStringLiteral("&Add or Remove Browser from List"), this,
                    [this] { dispatch_([this] { form_.AddBrowserClick(); }); });
    QAction* mult = menu->addAction(QStringLiteral("Use &Multiple Browser Windows"), this, [this] {
        dispatch_([this] { form_.SingleButtonClick(false); });
    });
    mult->setObjectName(QStringLiteral("MMultiple"));
    mult->setCheckable(true);
    QAction* single = menu->addAction(QStringLiteral("Use &Single Browser Window"), this, [this] {
        dispatch_([this] { form_.SingleButtonClick(true); });
    });
    single->setObjectName(QStringLiteral("MSingle"));
    single->setCheckable(true);
}

void LaunchControls::RenderBrowserMenu(QMenu* menu) {
    const MainWindowState& state = form_.State();
    QList<QAction*> actions = menu->actions();
    // Browser items come first, up to the separator.
    int items = 0;
    while (items < actions.size() && !actions[items]->isSeparator()) {
        ++items;
    }
    const int wanted = static_cast<int>(state.browserMenu.size());
    for (int i = items; i < wanted; ++i) {
        auto* action = new QAction(menu);
        action->setCheckable(true);
        const int position = i;
        connect(action, &QAction::triggered, this, [this, position] {
            dispatch_([this, position] { form_.ChangeBrowser(position); });
        });
        menu->insertAction(actions[items], action);
    }
    for (int i = wanted; i < items; ++i) {
        delete actions[i];
    }
    actions = menu->actions();
    for (int i = 0; i < wanted; ++i) {
        const std::string& path = state.browserMenu[static_cast<std::size_t>(i)];
        actions[i]->setText(QFileInfo(Q(path)).fileName());
        actions[i]->setChecked(i == state.browserTicked);
    }
    for (QAction* action : actions) {
        if (action->objectName() == QStringLiteral("MMultiple")) {
            action->setChecked(state.checks.multipleWindows);
        } else if (action->objectName() == QStringLiteral("MSingle")) {
            action->setChecked(state.checks.singleWindow);
        }
    }
}

void LaunchControls::Layout(int width, int buttonsEnd) {
    const int x = buttonsEnd;
    keys_->setGeometry(x + 4, 5, 15, 11);
    urlBox_->setGeometry(std::max(x + 24, width - kUrlBoxWidth - 2), 0, kUrlBoxWidth, kToolButton);
}

void LaunchControls::Render() {
    const MainWindowState& state = form_.State();
    RenderBrowserMenu(browserMenu_);
    RenderBrowserMenu(browsersMenu_);
    multButton_->setChecked(state.checks.multipleWindows);
    singleButton_->setChecked(state.checks.singleWindow);
    if (state.BrowserPath != shownBrowser_) {
        shownBrowser_ = state.BrowserPath;
        // The browser's own icon where the desktop's theme has one; a generic program icon
        // would look like any other file.
        const QFileInfo program(Q(shownBrowser_));
        browserButton_->setIcon(
            QIcon::fromTheme(program.baseName(), ToolIcon(QStringLiteral("BrowserButton1"))));
    }
    QStringList entries;
    for (const std::string& entry : state.manualUrls) {
        entries << Q(entry);
    }
    QStringList shown;
    for (int i = 0; i < urlBox_->count(); ++i) {
        shown << urlBox_->itemText(i);
    }
    if (shown != entries) {
        const QSignalBlocker blocker(urlBox_);
        const QString typed = urlBox_->currentText();
        urlBox_->clear();
        urlBox_->addItems(entries);
        urlBox_->setEditText(typed);
    }
    // Every handler gives the focus back to the key sink, the URL box's included. Before the
    // window is shown or while a dialog is up this only tells the window where the focus goes
    // once it is active again (else the URL box, first in the tab order, took it at start).
    if (!state.locked) {
        keys_->setFocus();
    }
}

void LaunchControls::OpenUrlBox() {
    const std::string text = FromQ(urlBox_->currentText());
    urlBox_->setEditText(QString());
    dispatch_([this, text] { form_.URLBoxOpen(text); });
    keys_->setFocus();
}

bool LaunchControls::eventFilter(QObject* watched, QEvent* event) {
    if (watched == urlEdit_) {
        if (event->type() == QEvent::MouseButtonDblClick) {
            OpenUrlBox();
            return true;
        }
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Delete && (key->modifiers() & Qt::ControlModifier)) {
                const int index = urlBox_->findText(urlBox_->currentText(), Qt::MatchExactly);
                urlBox_->setEditText(QString());
                dispatch_([this, index] { form_.URLBoxRemove(index); });
                QApplication::beep();
                return true;
            }
        }
        return false;
    }
    if (watched == keys_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        return KeysKeyEvent(key->key(), key->modifiers(), key->text());
    }
    return QObject::eventFilter(watched, event);
}

bool LaunchControls::KeysKeyEvent(int key, Qt::KeyboardModifiers modifiers, const QString& text) {
    auto nav = [this](NavKey k) { dispatch_([this, k] { form_.KeysKeyDown(k); }); };
    switch (key) {
    case Qt::Key_F1:
        help_();
        return true;
    case Qt::Key_F9:
        QProcess::startDetached(QStringLiteral("xdg-screensaver"), {QStringLiteral("activate")});
        return true;
    case Qt::Key_Left:
        nav(NavKey::Left);
        return true;
    case Qt::Key_PageDown:
        nav(NavKey::PageDown);
        return true;
    case Qt::Key_Right:
        nav(NavKey::Right);
        return true;
    case Qt::Key_PageUp:
        nav(NavKey::PageUp);
        return true;
    case Qt::Key_Home:
        nav(NavKey::Home);
        return true;
    case Qt::Key_End:
        nav(NavKey::End);
        return true;
    case Qt::Key_Down:
        nav(NavKey::Down);
        return true;
    case Qt::Key_Up:
        nav(NavKey::Up);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        nav(NavKey::Enter);
        return true;
    default:
        break;
    }
    if ((modifiers & (Qt::ControlModifier | Qt::AltModifier)) == 0 && text.size() == 1 &&
        text[0].isPrint()) {
        const std::string typed = FromQ(text);
        if (typed.size() == 1) {
            const char c = typed[0];
            dispatch_([this, c] { form_.KeysKeyPress(c); });
        }
    }
    // The sink never keeps what is typed.
    return true;
}

FileSearchProgress::~FileSearchProgress() {
    delete dialog_;
}

bool FileSearchProgress::Step(const std::string& folder) {
    if (folder.empty()) {
        // The search has ended.
        if (dialog_ != nullptr) {
            delete dialog_;
            dialog_ = nullptr;
            QApplication::restoreOverrideCursor();
        }
        return true;
    }
    if (dialog_ == nullptr) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        dialog_ = new QProgressDialog(QString(), QStringLiteral("Cancel"), 0, 0);
        dialog_->setWindowTitle(QStringLiteral("Searching"));
        dialog_->setMinimumDuration(400);
        dialog_->setWindowModality(Qt::ApplicationModal);
        dialog_->setValue(0);
    }
    dialog_->setLabelText(QString::fromUtf8(folder));
    QApplication::processEvents();
    return !dialog_->wasCanceled();
}

} // namespace lv
