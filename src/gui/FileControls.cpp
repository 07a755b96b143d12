#include "gui/FileControls.h"

#include "gui/MenuLookup.h"
#include "gui/QtText.h"
#include "gui/ToolBar.h"
#include "pages/DiskCopy.h"

#include <QAction>
#include <QActionGroup>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QToolButton>
#include <algorithm>

namespace lv {
namespace {

constexpr int kToolButton = 22;

} // namespace

FileControls::FileControls(QMainWindow& window, TForm1& form, QWidget* toolBar, DispatchFn dispatch)
    : QObject(&window), window_(window), form_(form), toolBar_(toolBar),
      dispatch_(std::move(dispatch)) {
    QMenu* file = MenuOf(window_, QStringLiteral("&File"));
    // The DataFile commands open the menu; the password item and "Exit" stay at its end.
    QAction* tail = FindAction(file, QStringLiteral("MProgPass"));
    if (tail == nullptr) {
        tail = FindAction(file, QStringLiteral("MExit1"));
    }
    Command(file, tail, QStringLiteral("MFNew"), QStringLiteral("&Create New File"),
            [this] { form_.MFNewClick(); });
    Command(file, tail, QStringLiteral("MFOpen"), QStringLiteral("&Open Existing File"),
            [this] { form_.MFOpenClick(); });
    Command(file, tail, QStringLiteral("MFSaveAs"), QStringLiteral("&Save File As"),
            [this] { form_.MFSaveAsClick(false); });
    Command(file, tail, QStringLiteral("MFRename"), QStringLiteral("&Rename File As"),
            [this] { form_.MFSaveAsClick(true); });
    Command(file, tail, QStringLiteral("MFDelete"), QStringLiteral("&Delete File"),
            [this] { form_.MFDeleteClick(); });
    Command(file, tail, QStringLiteral("MFMerge"), QStringLiteral("&Merge Linkvane File"),
            [this] { form_.MFMergeClick(); });
    file->insertSeparator(tail);

    driveMenu_ = new QMenu(QStringLiteral("Copy &Program to Diskette"), file);
    driveMenu_->setObjectName(QStringLiteral("MCopyProgram"));
    auto* group = new QActionGroup(driveMenu_);
    for (int i = 0; i < kDriveCount; ++i) {
        const char letter = static_cast<char>('A' + i);
        QAction* drive = driveMenu_->addAction(Q("Copy to " + DriveText(letter)));
        drive->setObjectName(QStringLiteral("M%1Drive").arg(QLatin1Char(letter)));
        drive->setCheckable(true);
        drive->setActionGroup(group);
        connect(drive, &QAction::triggered, this,
                [this, i] { dispatch_([this, i] { form_.MADriveClick(i); }); });
        drives_.push_back(drive);
    }
    connect(driveMenu_, &QMenu::aboutToShow, this,
            [this] { dispatch_([this] { form_.DriveMenuPopup(); }); });
    file->insertMenu(tail, driveMenu_);
    file->insertSeparator(tail);

    // "&Alphabetize" comes just before "&Count Bookmarks".
    QMenu* bookmarks = MenuOf(window_, QStringLiteral("&Bookmarks"));
    Command(bookmarks, FindAction(bookmarks, QStringLiteral("MCount")), QStringLiteral("MAlpha"),
            QStringLiteral("&Alphabetize"), [this] { form_.AlphaButtonClick(); });

    AddToolButton(QStringLiteral("OpenButton1"), QStringLiteral("Open Existing Linkvane File"),
                  [this] { form_.MFOpenClick(); });
    AddToolButton(QStringLiteral("AlphaButton"), QStringLiteral("Alphabetize Bookmarks"),
                  [this] { form_.AlphaButtonClick(); });
    AddToolButton(QStringLiteral("DiskButton"), QStringLiteral("Copy Bookmarks to Diskette"),
                  [this] { form_.DiskButtonClick(); });

    pNewBtn_ = new QToolButton(window_.centralWidget());
    pNewBtn_->setObjectName(QStringLiteral("PNewBtn"));
    pNewBtn_->setToolTip(QStringLiteral("Open Existing Linkvane File"));
    pNewBtn_->setIcon(ToolIcon(QStringLiteral("OpenButton1")));
    pNewBtn_->setFocusPolicy(Qt::NoFocus);
    pNewBtn_->hide();
    connect(pNewBtn_, &QToolButton::clicked, this,
            [this] { dispatch_([this] { form_.MFOpenClick(); }); });
}

QAction* FileControls::Command(QMenu* menu, QAction* before, const QString& name,
                               const QString& text, std::function<void()> run) {
    auto* action = new QAction(text, menu);
    action->setObjectName(name);
    menu->insertAction(before, action);
    connect(action, &QAction::triggered, this, [this, run] { dispatch_(run); });
    return action;
}

QToolButton* FileControls::AddToolButton(const QString& name, const QString& hint,
                                         std::function<void()> run) {
    QToolButton* button = NewToolButton(toolBar_, name, hint);
    connect(button, &QToolButton::clicked, this, [this, run] { dispatch_(run); });
    buttons_.push_back(button);
    return button;
}

void FileControls::Render() {
    const MainWindowState& state = form_.State();
    pNewBtn_->setVisible(state.locked);
    // Beside "Access Protected File", wherever the window put it.
    if (auto* access = window_.centralWidget()->findChild<QWidget*>(
            QStringLiteral("ProgPassButton"), Qt::FindDirectChildrenOnly)) {
        const QRect beside = access->geometry();
        pNewBtn_->setGeometry(beside.right() + 5, beside.top(), kToolButton, beside.height());
    }
    for (std::size_t i = 0; i < drives_.size(); ++i) {
        drives_[i]->setChecked(static_cast<int>(i) == state.diskDrive);
        if (i < state.driveMenu.size()) {
            QString text = Q(state.driveMenu[i]);
            text.replace(QLatin1Char('&'), QStringLiteral("&&"));
            if (drives_[i]->text() != text) {
                drives_[i]->setText(text);
            }
        }
    }
}

} // namespace lv
