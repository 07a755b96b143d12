#include "gui/MainWindowView.h"
#include "gui/AppInfo.h"

#include "gui/CheckerControls.h"
#include "gui/Colors.h"
#include "gui/EditControls.h"
#include "gui/ExchangeControls.h"
#include "gui/FileControls.h"
#include "gui/HintStyle.h"
#include "gui/LaunchControls.h"
#include "gui/NetscapeControls.h"
#include "gui/PageControls.h"
#include "gui/QtDialogs.h"
#include "gui/QtText.h"
#include "gui/SearchControls.h"
#include "gui/ToolBar.h"
#include "gui/ToolControls.h"
#include "gui/TrayControls.h"
#include "gui/WebControls.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QWindowStateChangeEvent>
#include <algorithm>
#include <cstdio>
#include <exception>

namespace lv {
namespace {

// The client area, which reports its size changes to the model.
class CentralArea : public QWidget {
public:
    std::function<void()> onResize;

protected:
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        if (onResize) {
            onResize();
        }
    }
};

constexpr int kGridRows = 20;
constexpr int kTitleBar = 32; // room for the window manager's caption above the window
constexpr int kGridRow = 19;  // the row pitch of the model's grid

QString ColourName(int value, const QPalette& palette) {
    return ToQColor(value, palette).name();
}

} // namespace

MainWindowView::MainWindowView(TForm1& form, Dialogs& dialogs, QString helpFile)
    : form_(form), dialogs_(dialogs), helpFile_(std::move(helpFile)) {
    setObjectName(QStringLiteral("Form1"));
    setWindowIcon(AppIcon());
    auto* central = new CentralArea;
    central->onResize = [this] { LayoutPanels(); };
    central_ = central;
    setCentralWidget(central_);

    BuildToolBar();
    buttonArea_ = new QWidget(central_);
    buttonArea_->setObjectName(QStringLiteral("Panel2"));
    buttonArea_->setStyleSheet(
        QStringLiteral("QPushButton { text-align: left; padding: 0px 0px 0px 1px; }"));

    tabs_ = new QTabBar(central_);
    tabs_->setObjectName(QStringLiteral("TabSet1"));
    tabs_->setShape(QTabBar::RoundedSouth);
    tabs_->setDrawBase(false);
    tabs_->setExpanding(false);
    tabs_->setFocusPolicy(Qt::NoFocus);
    tabs_->setUsesScrollButtons(true);
    connect(tabs_, &QTabBar::tabBarClicked, this, [this](int index) {
        const int page = PageOfTab(index);
        Dispatch([this, page] { form_.SelectTab(page); });
    });

    protectedButton_ = new QPushButton(QStringLiteral("Access Protected File"), central_);
    protectedButton_->setObjectName(QStringLiteral("ProgPassButton"));
    protectedButton_->hide();
    connect(protectedButton_, &QPushButton::clicked, this,
            [this] { Dispatch([this] { form_.ProgPassButtonClick(); }); });

    BuildMenus();
    edit_ =
        new EditControls(*this, form_, [this](const std::function<void()>& run) { Dispatch(run); });
    launch_ = new LaunchControls(
        *this, form_, toolBar_, [this](const std::function<void()>& run) { Dispatch(run); },
        [this] { OpenHelp(QStringLiteral("topic-1")); });
    pages_ = new PageControls(*this, form_, toolBar_,
                              [this](const std::function<void()>& run) { Dispatch(run); });
    files_ = new FileControls(*this, form_, toolBar_,
                              [this](const std::function<void()>& run) { Dispatch(run); });
    // The link lists and favourites folders; a child of the window, which deletes it.
    new ExchangeControls(*this, form_, toolBar_,
                         [this](const std::function<void()>& run) { Dispatch(run); });
    // Netscape bookmark files, in the submenus the exchange controls made.
    new NetscapeControls(*this, form_, [this](const std::function<void()>& run) { Dispatch(run); });
    new ToolControls(*this, form_, toolBar_,
                     [this](const std::function<void()>& run) { Dispatch(run); });
    web_ = new WebControls(*this, form_, toolBar_,
                           [this](const std::function<void()>& run) { Dispatch(run); });
    // The Internet Search window's tool button and menu item; also a child of the window.
    new SearchControls(*this, form_, toolBar_,
                       [this](const std::function<void()>& run) { Dispatch(run); });
    new CheckerControls(*this, form_, toolBar_,
                        [this](const std::function<void()>& run) { Dispatch(run); });
    tray_ =
        new TrayControls(*this, form_, [this](const std::function<void()>& run) { Dispatch(run); });
    painter_.SetButtonFace(palette().color(QPalette::Button));
    central->onResize = [this] {
        LayoutPanels();
        if (isVisible() && !rendering_ && !closing_) {
            Dispatch([this] { form_.FormResize(central_->width(), central_->height()); });
        }
    };
}

MainWindowView::~MainWindowView() {
    // Children die after this part of the object: none of their signals may reach a handler.
    closing_ = true;
    // The controls filter events of this window and its buttons and ask it about them; they go
    // first, as ~QWidget still sends events when this part of the object is gone.
    delete edit_;
    edit_ = nullptr;
    delete launch_;
    launch_ = nullptr;
    delete pages_;
    pages_ = nullptr;
    delete tray_;
    tray_ = nullptr;
    for (QObject* child : findChildren<QObject*>()) {
        QObject::disconnect(child, nullptr, this, nullptr);
    }
}

void MainWindowView::BuildToolBar() {
    toolBar_ = new QWidget(central_);
    toolBar_->setObjectName(QStringLiteral("Panel1"));
    helpButton_ =
        NewToolButton(toolBar_, QStringLiteral("HelpButton1"), QStringLiteral("Search for Help"));
    connect(helpButton_, &QToolButton::clicked, this, [this] { OpenHelp(QString()); });
}

QAction* MainWindowView::AddCheck(QMenu* menu, const QString& name, const QString& text,
                                  std::function<void()> run) {
    QAction* action = menu->addAction(text);
    action->setObjectName(name);
    action->setCheckable(true);
    connect(action, &QAction::triggered, this, [this, run] { Dispatch(run); });
    return action;
}

void MainWindowView::BuildMenus() {
    auto command = [this](QMenu* menu, const QString& name, const QString& text,
                          std::function<void()> run) {
        QAction* action = menu->addAction(text);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, [this, run] { Dispatch(run); });
        return action;
    };

    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    command(file, QStringLiteral("MExit1"), QStringLiteral("E&xit Linkvane"),
            [this] { form_.MExit1Click(); });

    QMenu* setup = menuBar()->addMenu(QStringLiteral("&Setup"));
    AddCheck(setup, QStringLiteral("MBackup"), QStringLiteral("&Auto Backup prior to Modification"),
             [this] { form_.MBackupClick(); });
    AddCheck(setup, QStringLiteral("MConfirm"),
             QStringLiteral("Confirm before &Erasing a Bookmark"),
             [this] { form_.MConfirmClick(); });
    AddCheck(setup, QStringLiteral("MConfirmWebIcon"),
             QStringLiteral("Confirm before Erasing a &Web Icon"),
             [this] { form_.MConfirmWebIconClick(); });
    AddCheck(setup, QStringLiteral("MWebIconSearch"),
             QStringLiteral("Searc&h for Web Page Icon && Desc."),
             [this] { form_.MWebIconSearchClick(); });
    setup->addSeparator();
    command(setup, QStringLiteral("MFont"), QStringLiteral("Change Default &Font for Bookmarks"),
            [this] { form_.MFontClick(); });
    command(setup, QStringLiteral("MDefaultIcon"),
            QStringLiteral("Change Default &Icon for Bookmarks"),
            [this] { form_.MDefaultIconClick(); });
    command(setup, QStringLiteral("MHotkeys"), QStringLiteral("Change &Hotkeys"),
            [this] { form_.MHotkeysClick(); });
    setup->addSeparator();
    AddCheck(setup, QStringLiteral("MIcons"), QStringLiteral("&Display Bookmark Icons"),
             [this] { form_.MIconsClick(); });
    AddCheck(setup, QStringLiteral("MNotes"), QStringLiteral("Display Bookmark &Notes"),
             [this] { form_.MNotesClick(); });
    AddCheck(setup, QStringLiteral("MUrl"), QStringLiteral("Display Bookmark &URL"),
             [this] { form_.MUrlClick(); });
    QMenu* columns = setup->addMenu(QStringLiteral("Colu&mns of Bookmarks"));
    auto* group = new QActionGroup(this);
    AddCheck(columns, QStringLiteral("MColumn2"), QStringLiteral("&2 Columns of Bookmarks"),
             [this] { form_.MColumn2Click(); })
        ->setActionGroup(group);
    AddCheck(columns, QStringLiteral("MColumn3"), QStringLiteral("&3 Columns of Bookmarks"),
             [this] { form_.MColumn3Click(); })
        ->setActionGroup(group);
    AddCheck(columns, QStringLiteral("MColumn4"), QStringLiteral("&4 Columns of Bookmarks"),
             [this] { form_.MColumn4Click(); })
        ->setActionGroup(group);
    setup->addSeparator();
    command(setup, QStringLiteral("MResetSize"), QStringLiteral("&Reset Form Size to Default"),
            [this] { form_.MResetSizeClick(); });

    QMenu* bookmarks = menuBar()->addMenu(QStringLiteral("&Bookmarks"));
    command(bookmarks, QStringLiteral("MCount"), QStringLiteral("&Count Bookmarks"),
            [this] { form_.MCountClick(); });
    command(bookmarks, QStringLiteral("MUndo"), QStringLiteral("&Undo last Edit"),
            [this] { form_.MUndoClick(); });
    command(bookmarks, QStringLiteral("MRedo"), QStringLiteral("&Redo"),
            [this] { form_.MRedoClick(); });

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    command(help, QStringLiteral("MHelpContents"), QStringLiteral("Help &Contents"),
            [this] { OpenHelp(QStringLiteral("topic-1")); });
    command(help, QStringLiteral("MHelpSearch"), QStringLiteral("Help &Search"),
            [this] { OpenHelp(QString()); });
    command(help, QStringLiteral("MAbout"), QStringLiteral("&About"), [this] { ShowAbout(); });
}

QAction* MainWindowView::Action(const QString& objectName) const {
    return findChild<QAction*>(objectName);
}

QPushButton* MainWindowView::Button(int slot) const {
    if (slot < 1 || slot > static_cast<int>(buttons_.size())) {
        return nullptr;
    }
    return buttons_[static_cast<std::size_t>(slot - 1)];
}

void MainWindowView::OpenHelp(const QString& anchor) {
    if (!QFileInfo::exists(helpFile_)) {
        dialogs_.Error(FromQ(QStringLiteral("Cannot open file ") + helpFile_));
        return;
    }
    QUrl url = QUrl::fromLocalFile(helpFile_);
    if (!anchor.isEmpty()) {
        url.setFragment(anchor);
    }
    QDesktopServices::openUrl(url);
}

void MainWindowView::ShowAbout() {
    const MainWindowState& state = form_.State();
    QMessageBox box(this);
    box.setObjectName(QStringLiteral("AboutBox"));
    box.setWindowTitle(QStringLiteral("About Linkvane"));
    box.setTextFormat(Qt::RichText);
    box.setText(AboutText(QFile::decodeName(state.ProgramDir.c_str()),
                          QFile::decodeName(state.DataFileName.c_str())));
    box.setIconPixmap(AppIcon().pixmap(64));
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

void MainWindowView::Dispatch(const std::function<void()>& handler) {
    ++dispatchDepth_;
    try {
        handler();
    } catch (const std::exception& error) {
        Render();
        Report(error.what());
    }
    --dispatchDepth_;
    Render();
    // A close asked for inside a nested event loop (an open box, a progress display) waits for
    // the handler that opened it: closing under it would leave that handler running on a closed
    // window, and a window closed before start-up has shown it would come back deaf.
    if (form_.CloseRequested() && !closing_ && dispatchDepth_ == 0) {
        close();
    }
}

void MainWindowView::Report(const std::string& text) {
    if (closing_) {
        closeFailed_ = true;
    }
    if (unattended_) {
        std::fprintf(stderr, "linkvane: %s\n", text.c_str());
    } else {
        dialogs_.Error(text);
    }
}

void MainWindowView::Terminate() {
    unattended_ = true;
    // Innermost first; the bound keeps a dialog that refuses to go from holding us here.
    for (int i = 0; i < 16; ++i) {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr) {
            break;
        }
        if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            dialog->reject();
        } else {
            modal->close();
        }
    }
    Dispatch([this] { form_.MExit1Click(); });
}

void MainWindowView::LayoutPanels() {
    const int width = central_->width();
    const int height = central_->height();
    toolBar_->setGeometry(0, 0, width, kToolBarHeight);
    // The tool buttons left to right, whichever controls made them; names not made yet are
    // skipped.
    static const char* const kToolOrder[] = {
        "OpenButton1", "BrowserButton1", "SingleButton",    "MultButton",           "WebIn",
        "AddBookmark", "CheckBtn",       "SearchNetButton", "SearchLinkvaneButton", "Print",
        "HTML",        "Email1",         "AlphaButton",     "AddPageBtn",           "DeletePageBtn",
        "GoPageBtn",   "UserButton1",    "DiskButton",      "HelpButton1"};
    int x = 2;
    for (const char* name : kToolOrder) {
        if (auto* button = toolBar_->findChild<QToolButton*>(QString::fromLatin1(name),
                                                             Qt::FindDirectChildrenOnly)) {
            button->setGeometry(x, 0, kToolBarHeight, kToolBarHeight);
            x += kToolBarHeight;
        }
    }
    if (launch_ != nullptr) {
        launch_->Layout(width, x);
    }
    const int area = std::max(0, std::min(kButtonAreaHeight + kGridRows * (rowHeight_ - kGridRow),
                                          height - kToolBarHeight - kTabSetHeight));
    buttonArea_->setGeometry(0, kToolBarHeight, width, area);
    tabs_->setGeometry(0, height - kTabSetHeight, width, kTabSetHeight);
    protectedButton_->adjustSize();
    protectedButton_->move((width - protectedButton_->width()) / 2, kToolBarHeight + 8);
}

void MainWindowView::RenderButtons() {
    const MainWindowState& state = form_.State();
    const std::size_t count = state.buttons.size();
    while (buttons_.size() > count) {
        delete buttons_.back();
        buttons_.pop_back();
        shownGlyphs_.pop_back();
    }
    while (buttons_.size() < count) {
        const int slot = static_cast<int>(buttons_.size()) + 1;
        auto* button = new QPushButton(buttonArea_);
        button->setFocusPolicy(Qt::NoFocus);
        button->setToolTipDuration(kHintDuration);
        connect(button, &QPushButton::pressed, this,
                [this, slot] { Dispatch([this, slot] { form_.ButtonMouseDown(slot); }); });
        connect(button, &QPushButton::clicked, this,
                [this, slot] { Dispatch([this, slot] { form_.ButtonClick(slot); }); });
        button->show();
        buttons_.push_back(button);
        shownGlyphs_.push_back(GlyphRef{GlyphRef::Kind::None, -1, {}});
        shownGlyphs_.back().index = -1; // forces the first paint
    }
    for (std::size_t i = 0; i < count; ++i) {
        const BookmarkButton& model = state.buttons[i];
        QPushButton* button = buttons_[i];
        button->setObjectName(QString::fromStdString(model.name));
        button->setGeometry(model.left, model.top / kGridRow * rowHeight_, model.width,
                            model.height + rowHeight_ - kGridRow);
        QString caption = Q(model.caption);
        caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
        button->setText(caption);
        button->setToolTip(QLines(model.hint));
        QFont font(Q(model.fontName));
        font.setPointSize(std::max(1, model.fontSize));
        button->setFont(font);
        const QString colour =
            QStringLiteral("color: %1;").arg(ColourName(model.fontColor, palette())) +
            (model.margin != 1 ? QStringLiteral(" padding-left: %1px;").arg(model.margin)
                               : QString());
        if (button->styleSheet() != colour) {
            button->setStyleSheet(colour);
        }
        button->setCursor(model.cursor == ButtonCursor::Hand ? Qt::PointingHandCursor
                                                             : Qt::ArrowCursor);
        button->setEnabled(model.enabled);
        if (!(shownGlyphs_[i] == model.glyph)) {
            const QPixmap pixmap = painter_.Paint(model.glyph);
            button->setIcon(pixmap.isNull() ? QIcon() : QIcon(pixmap));
            if (!pixmap.isNull()) {
                button->setIconSize(pixmap.size());
            }
            shownGlyphs_[i] = model.glyph;
        }
    }
}

void MainWindowView::RenderTabs() {
    const MainWindowState& state = form_.State();
    const QSignalBlocker blocker(tabs_);
    const int count = static_cast<int>(state.TabSet1.names.size());
    const int shown = std::min(count, kShownTabs);
    const int selected = std::clamp(state.TabSet1.selected, 0, std::max(count - 1, 0));
    // The run stays while the current page is inside it and not on its edge, so that a click on
    // the edge tab brings the pages beyond it into view.
    int offset = std::clamp(tabOffset_, 0, count - shown);
    const bool onEdge = (selected == offset && offset > 0) ||
                        (selected == offset + shown - 1 && offset + shown < count);
    if (selected < offset || selected >= offset + shown || onEdge) {
        offset = std::clamp(selected - shown / 2, 0, count - shown);
    }
    tabOffset_ = offset;
    while (tabs_->count() > shown) {
        tabs_->removeTab(tabs_->count() - 1);
    }
    for (int i = 0; i < shown; ++i) {
        const QString name = Q(state.TabSet1.names[static_cast<std::size_t>(offset + i)]);
        if (i < tabs_->count()) {
            if (tabs_->tabText(i) != name) {
                tabs_->setTabText(i, name);
            }
        } else {
            tabs_->addTab(name);
        }
    }
    if (count > 0) {
        tabs_->setCurrentIndex(selected - offset);
    }
    QFont font(Q(state.TabFontName));
    font.setPointSize(std::max(1, state.TabFontSize));
    tabs_->setFont(font);
    const QString sheet =
        QStringLiteral("QTabBar::tab { background: %1; color: %3; padding: 1px 8px; }"
                       " QTabBar::tab:selected { background: %2; }")
            .arg(ColourName(state.TabUnselectedColor, palette()),
                 ColourName(state.TabSelectedColor, palette()),
                 ColourName(state.TabFontColor, palette()));
    if (tabs_->styleSheet() != sheet) {
        tabs_->setStyleSheet(sheet);
    }
}

void MainWindowView::Render() {
    rendering_ = true;
    const MainWindowState& state = form_.State();
    setWindowTitle(Q(state.caption));
    painter_.SetDefaultIndex(state.DefaultIconG);
    menuBar()->setVisible(!state.locked);
    toolBar_->setVisible(!state.locked);
    tabs_->setVisible(!state.locked);
    protectedButton_->setVisible(state.locked);

    const int rows = RowHeight();
    if (rows != rowHeight_) {
        const int grown = kGridRows * (rows - rowHeight_);
        rowHeight_ = rows;
        if (isVisible()) {
            resize(width(), GrownHeight(height(), grown));
        }
    }
    RenderButtons();
    RenderTabs();
    if (state.place.sizeRequests != sizeRequests_ && isVisible()) {
        sizeRequests_ = state.place.sizeRequests;
        showNormal();
        resize(PlaceSize());
    }

    const MenuChecks& checks = state.checks;
    Action(QStringLiteral("MIcons"))->setChecked(checks.icons);
    Action(QStringLiteral("MNotes"))->setChecked(checks.notes);
    Action(QStringLiteral("MUrl"))->setChecked(checks.url);
    Action(QStringLiteral("MBackup"))->setChecked(checks.autoBackup);
    Action(QStringLiteral("MConfirm"))->setChecked(checks.confirmDialog);
    Action(QStringLiteral("MConfirmWebIcon"))->setChecked(checks.confirmWebIcon);
    Action(QStringLiteral("MWebIconSearch"))->setChecked(checks.webIconSearch);
    Action(QStringLiteral("MColumn2"))->setChecked(state.ColumnCount == 2);
    Action(QStringLiteral("MColumn3"))->setChecked(state.ColumnCount == 3);
    Action(QStringLiteral("MColumn4"))->setChecked(state.ColumnCount == 4);
    const TForm1::UndoMenu undo = form_.UndoItems();
    Action(QStringLiteral("MUndo"))->setEnabled(undo.undoEnabled);
    Action(QStringLiteral("MUndo"))->setText(QString::fromStdString(undo.undoCaption));
    Action(QStringLiteral("MRedo"))->setEnabled(undo.redoEnabled);
    Action(QStringLiteral("MRedo"))->setText(QString::fromStdString(undo.redoCaption));
    edit_->Render();
    launch_->Render();
    files_->Render();
    pages_->Render();
    web_->Render();
    tray_->Render();

    QPalette look = palette();
    look.setColor(QPalette::Window, ToQColor(state.TabSelectedColor, look));
    look.setColor(QPalette::WindowText, ToQColor(state.TabFontColor, look));
    if (auto* qtDialogs = dynamic_cast<QtDialogs*>(&dialogs_)) {
        qtDialogs->SetLook(look);
    }
    rendering_ = false;
    ApplyShowRequest();
}

int MainWindowView::RowHeight() const {
    const MainWindowState& state = form_.State();
    QFont font(Q(state.ButtonFontName));
    font.setPointSize(std::max(1, state.ButtonFontSize));
    // A caption and the button's frame of two pixels above and below.
    return std::max(kGridRow, QFontMetrics(font).height() + 4);
}

QSize MainWindowView::PlaceSize() const {
    const WindowPlace& place = form_.State().place;
    const int height =
        place.height - kFrameHeight + (form_.State().locked ? 0 : menuBar()->sizeHint().height());
    return {place.width - kFrameWidth, GrownHeight(height, kGridRows * (rowHeight_ - kGridRow))};
}

int MainWindowView::GrownHeight(int height, int growth) const {
    if (growth <= 0) {
        return std::max(minimumHeight(), height + growth);
    }
    // Taller rows stop at the screen's edge; the rows beyond it are cut there.
    const QScreen* shownOn = screen();
    const int room =
        shownOn != nullptr ? shownOn->availableGeometry().height() - kFrameHeight : height + growth;
    return std::max(height, std::min(height + growth, room));
}

void MainWindowView::ApplyPlace() {
    if (closing_) {
        return; // closed during start-up
    }
    const WindowPlace& place = form_.State().place;
    rendering_ = true;
    sizeRequests_ = place.sizeRequests;
    // Places are in device-independent pixels, as Qt gives them. The window stays inside the
    // room the desktop leaves, so that the tabs at its bottom are never off the screen.
    QSize size = PlaceSize();
    QPoint topLeft(place.left, place.top);
    if (const QScreen* shownOn = screen()) {
        const QRect room = shownOn->availableGeometry();
        size = size.boundedTo(QSize(room.width() - kFrameWidth, room.height() - kTitleBar))
                   .expandedTo(minimumSize());
        topLeft.setX(std::clamp(topLeft.x(), room.left(),
                                std::max(room.left(), room.right() + 1 - size.width())));
        topLeft.setY(
            std::clamp(topLeft.y(), room.top(),
                       std::max(room.top(), room.bottom() + 1 - size.height() - kTitleBar)));
    }
    move(topLeft);
    resize(size);
    setWindowFlag(Qt::WindowStaysOnTopHint, place.stayOnTop);
    rendering_ = false;
    placed_ = true;
    showRequests_ = place.showRequests;
    shownOnTop_ = place.stayOnTop;
    shownMini_ = place.height == kMiniHeight;
    // Start-up keeps the window hidden only while the tray icon is there to bring it back.
    if (place.visible) {
        show();
    }
}

void MainWindowView::AttachTray(QtTrayIcon* tray) {
    tray_->Attach(tray);
}

void MainWindowView::ApplyShowRequest() {
    const WindowPlace& place = form_.State().place;
    const bool mini = place.height == kMiniHeight;
    if (!placed_ || closing_ ||
        (place.showRequests == showRequests_ && place.stayOnTop == shownOnTop_ &&
         mini == shownMini_)) {
        return;
    }
    showRequests_ = place.showRequests;
    rendering_ = true;
    if (place.stayOnTop != shownOnTop_) {
        // Changing the flag hides the window; it is shown again below as the model wants it.
        setWindowFlag(Qt::WindowStaysOnTopHint, place.stayOnTop);
        shownOnTop_ = place.stayOnTop;
    }
    if (mini != shownMini_) {
        shownMini_ = mini;
        const int client = place.height - kFrameHeight + menuBar()->sizeHint().height();
        resize(width(), mini ? client : PlaceSize().height());
    }
    if (!place.visible) {
        hide();
    } else if (place.minimized) {
        showMinimized();
    } else {
        if (isMinimized()) {
            showNormal();
        } else {
            show();
        }
        raise();
        activateWindow();
    }
    rendering_ = false;
}

void MainWindowView::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !placed_ || closing_) {
        return;
    }
    if (!isMinimized()) {
        form_.State().place.minimized = false;
        return;
    }
    const auto* change = static_cast<QWindowStateChangeEvent*>(event);
    if (rendering_ || change->oldState().testFlag(Qt::WindowMinimized)) {
        return;
    }
    // After the window manager has finished minimising: hiding it in the middle confuses some.
    QTimer::singleShot(0, this, [this] {
        if (isMinimized() && !closing_) {
            Dispatch([this] { form_.ApplicationMinimize(); });
        }
    });
}

void MainWindowView::closeEvent(QCloseEvent* event) {
    if (!closing_) {
        closing_ = true;
        WindowPlace actual = form_.State().place;
        // A window closed before it was ever shown keeps the place it was to be shown at.
        if (isVisible()) {
            actual.left = x();
            actual.top = y();
            actual.width = width() + kFrameWidth;
            actual.minimized = isMinimized();
        }
        // The window closes even when saving its place or the passwords failed: the error box
        // has told the user, and a program that cannot be quit helps no one.
        Dispatch([this, actual] { form_.FormCloseQuery(actual); });
        Dispatch([this] { form_.FormClose(); });
        // A window closed while in the tray (or hidden) is no last visible window: nothing
        // else would end the program.
        if (!isVisible()) {
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
    }
    event->accept();
}

} // namespace lv
