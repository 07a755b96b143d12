#include "gui/MainWindowView.h"
#include "gui/QtScreen.h"
#include "mainwindow/TForm1.h"
#include "mainwindow/TTabForm.h"
#include "platform/Clock.h"
#include "platform/Screen.h"
#include "store/TIniFile32.h"
#include "support/FixedClock.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

#include <QAction>
#include <QComboBox>
#include <QFontMetrics>
#include <QImage>
#include <QMap>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTest>
#include <QToolButton>
#include <memory>
#include <sys/stat.h>

namespace {

// The real main window over a copy of a DataFile written by the Windows program.
struct Window {
    lvtest::TempDir dir;
    lvtest::ScriptedDialogs dialogs;
    lv::FixedScreen fixedScreen{1280, 1024};
    lv::QtScreen desktopScreen;
    const lv::Screen& screen;
    lvtest::FixedClock clock;
    std::string dataFile = dir.File("Bookmarks.lvd");
    lv::TForm1 form{lv::MainWindowPorts{dialogs, screen, clock, {}}, dir.Path().string() + "/"};
    lv::MainWindowView view{form, dialogs, QString()};

    Window() : Window(lvtest::ReadBytes(lvtest::Fixture("mw-windows.lvd"))) {}
    // On the desktop's screen, the program's size port is the screen Qt shows the window on.
    explicit Window(const std::string& bytes, const std::string& settings = {},
                    bool onDesktop = false)
        : screen(onDesktop ? static_cast<const lv::Screen&>(desktopScreen) : fixedScreen) {
        lvtest::WriteBytes(dataFile, bytes);
        if (!settings.empty()) {
            lvtest::WriteBytes(dir.File("LVD.INI"), settings);
        }
        view.Dispatch([this] { form.FormCreate({dataFile}); });
        view.ApplyPlace();
    }
};

std::string Setting(const std::string& file, const char* section, const char* key) {
    return lv::TIniFile32(file).ReadString(section, key, "");
}

// The whole window, tabs included, inside the room the desktop gives.
void VerifyOnTheScreen(const Window& w) {
    const QRect room = w.view.screen()->availableGeometry();
    QVERIFY2(room.contains(w.view.frameGeometry()),
             qPrintable(QStringLiteral("window %1,%2 %3x%4 on %5x%6")
                            .arg(w.view.x())
                            .arg(w.view.y())
                            .arg(w.view.width())
                            .arg(w.view.height())
                            .arg(room.width())
                            .arg(room.height())));
    const QWidget* central = w.view.centralWidget();
    QVERIFY(central->rect().contains(w.view.Tabs()->geometry()));
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void showsTheButtonsAndTabsOfTheDataFile() {
        Window w;
        QCOMPARE(w.view.windowTitle(),
                 QStringLiteral("Linkvane  [ Bookmarks ]     Page 1 of 3   12/10/2026"));
        QTabBar* tabs = w.view.Tabs();
        QCOMPARE(tabs->count(), 3);
        QCOMPARE(tabs->tabText(1), QStringLiteral("Caf\u00e9"));
        QCOMPARE(tabs->currentIndex(), 0);
        QCOMPARE(w.view.Button(1)->text(), QStringLiteral("Na\u00efve News"));
        QCOMPARE(w.view.Button(1)->toolTip(),
                 QStringLiteral("http://news.example.com/\nDaily\nheadlines"));
        QCOMPARE(w.view.Button(1)->geometry(), QRect(1, 0, 152, 19));
        QCOMPARE(w.view.Button(45)->text(), QStringLiteral("Far column"));
        QCOMPARE(w.view.Button(80)->objectName(), QStringLiteral("B80"));
        QVERIFY(!w.view.Button(1)->icon().isNull());
    }

    void clickingATabShowsItsPage() {
        Window w;
        QTabBar* tabs = w.view.Tabs();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
        QCOMPARE(tabs->currentIndex(), 1);
        QCOMPARE(w.view.Button(1)->text(), QStringLiteral("Espresso \u20ac 2"));
        QVERIFY(w.view.windowTitle().contains(QStringLiteral("Page 2 of 3")));
    }

    // 65,536 pages, the most a DataFile may have: the bar holds a run of them around the current
    // page (filling the bar with all of them took time growing with the square of their number).
    void thousandsOfPagesShowAsARunAroundTheCurrentOne() {
        constexpr int kPages = 65536;
        std::string bytes = "[Tabs]\r\nCount=" + std::to_string(kPages) + "\r\n";
        for (int page = 1; page <= kPages; ++page) {
            bytes += "Tab" + std::to_string(page) + "=P" + std::to_string(page) + "\r\n";
        }
        Window w(bytes);
        QTabBar* tabs = w.view.Tabs();
        QCOMPARE(tabs->count(), lv::MainWindowView::kShownTabs);
        QCOMPARE(tabs->tabText(0), QStringLiteral("P1"));
        QVERIFY(w.view.windowTitle().contains(QStringLiteral("Page 1 of 65536")));

        // The last tab of the run: its page shows and the run moves on past it.
        const int last = tabs->count() - 1;
        emit tabs->tabBarClicked(last);
        QVERIFY(w.view.windowTitle().contains(QStringLiteral("Page 100 of 65536")));
        QCOMPARE(tabs->tabText(tabs->currentIndex()), QStringLiteral("P100"));
        QVERIFY(tabs->currentIndex() < last);
        QCOMPARE(tabs->tabText(tabs->currentIndex() + 1), QStringLiteral("P101"));
        emit tabs->tabBarClicked(tabs->currentIndex() - 1);
        QVERIFY(w.view.windowTitle().contains(QStringLiteral("Page 99 of 65536")));

        w.view.Dispatch([&w] { w.form.SelectTab(kPages - 1); });
        QCOMPARE(tabs->currentIndex(), tabs->count() - 1);
        QCOMPARE(tabs->tabText(tabs->currentIndex()), QStringLiteral("P65536"));
        emit tabs->tabBarClicked(0);
        QVERIFY(w.view.windowTitle().contains(QStringLiteral("Page 65437 of 65536")));
    }

    // Bookmarks carried from the page options drop on the tab right-clicked, also where the
    // bar shows a run of tabs that does not start at the first page.
    void carriedBookmarksDropOnTheRightClickedTab() {
        constexpr int kPages = 300;
        std::string bytes = "[Tabs]\r\nCount=" + std::to_string(kPages) + "\r\n";
        for (int page = 1; page <= kPages; ++page) {
            bytes += "Tab" + std::to_string(page) + "=P" + std::to_string(page) + "\r\n";
        }
        bytes += "[P200]\r\n01N=Carried\r\n01U=http://carried.example/\r\n";
        lvtest::TempDir dir;
        lvtest::ScriptedDialogs dialogs;
        lv::FixedScreen screen{1280, 1024};
        lvtest::FixedClock clock;
        const std::string dataFile = dir.File("Pages.lvd");
        lvtest::WriteBytes(dataFile, bytes);
        lv::MainWindowPorts ports{dialogs, screen, clock, {}};
        ports.tabForm = [](lv::TTabForm& options) {
            options.SelectRow(0, true);
            options.BookmarkActionClick(lv::TTabForm::CopyBookmarks);
        };
        lv::TForm1 form(ports, dir.Path().string() + "/");
        lv::MainWindowView view(form, dialogs, QString());
        view.Dispatch([&] { form.FormCreate({dataFile}); });
        view.ApplyPlace();
        view.Dispatch([&] { form.SelectTab(199); });

        QTabBar* tabs = view.Tabs();
        const int current = tabs->currentIndex();
        QCOMPARE(tabs->tabText(current), QStringLiteral("P200"));
        QTest::mouseClick(tabs, Qt::RightButton, {}, tabs->tabRect(current).center());
        QCOMPARE(form.State().pageOps.cursor, lv::ScreenCursor::MultiDrag);
        QCOMPARE(tabs->tabText(current + 2), QStringLiteral("P202"));
        QTest::mouseClick(tabs, Qt::RightButton, {}, tabs->tabRect(current + 2).center());

        QCOMPARE(form.State().pageOps.cursor, lv::ScreenCursor::Normal);
        QVERIFY(view.windowTitle().contains(QStringLiteral("Page 202 of 300")));
        QCOMPARE(view.Button(1)->text(), QStringLiteral("Carried"));
        QCOMPARE(lv::TIniFile32(dataFile).ReadString("P202", "01U", ""),
                 std::string("http://carried.example/"));
        QCOMPARE(lv::TIniFile32(dataFile).ReadString("P200", "01N", ""), std::string("Carried"));
    }

    // Once a 29.6 GB window image.
    void hostileSettingsGiveAWindowOnTheScreen() {
        Window w(lvtest::ReadBytes(lvtest::Fixture("mw-windows.lvd")),
                 "[Location]\r\nWidth=2147483647\r\nLeft=-2147483648\r\nTop=2147483647\r\n"
                 "[Notebook]\r\nFontSize=2147483647\r\n[Tabs]\r\nFontSize=-2147483648\r\n");
        QCoreApplication::processEvents();
        QVERIFY(w.view.isVisible());
        QVERIFY(w.view.width() <= 1280);
        QVERIFY(w.view.height() <= 1024);
        QVERIFY(w.view.x() >= 0 && w.view.y() >= 0);
        QVERIFY(w.view.Button(80)->geometry().right() < w.view.ButtonArea()->width());
        QCOMPARE(w.view.Button(1)->text(), QStringLiteral("Na\u00efve News"));
        QCOMPARE(w.view.Tabs()->font().pointSize(), 9);
    }

    void everyToolButtonHasItsOwnIconAndItsHint() {
        const QMap<QString, QString> hints = {
            {"OpenButton1", "Open Existing Linkvane File"},
            {"BrowserButton1", "Select Default Browser for Linkvane"},
            {"SingleButton", "Use current Browser window on Launch"},
            {"MultButton", "Open another Browser window on Launch"},
            {"WebIn", "Import links from current Web Page"},
            {"AddBookmark", "Bookmark current Web Page"},
            {"CheckBtn", "Check for valid and updated Links."},
            {"SearchNetButton", "Search the World Wide Web"},
            {"SearchLinkvaneButton", "Search Linkvane Bookmarks"},
            {"Print", "Print Bookmarks"},
            {"HTML", "Export Bookmarks to HTML"},
            {"Email1", "Email Bookmarks"},
            {"AlphaButton", "Alphabetize Bookmarks"},
            {"AddPageBtn", "Add a new page to Linkvane"},
            {"DeletePageBtn", "Delete page from Linkvane"},
            {"GoPageBtn", "Go to a specific page in Linkvane"},
            {"UserButton1", "Enter your User Information"},
            {"DiskButton", "Copy Bookmarks to Diskette"},
            {"HelpButton1", "Search for Help"}};
        Window w;
        QWidget* toolBar = w.view.findChild<QWidget*>(QStringLiteral("Panel1"));
        QVERIFY(toolBar != nullptr);
        const auto buttons = toolBar->findChildren<QToolButton*>(Qt::FindDirectChildrenOnly);
        QVERIFY(buttons.size() >= 11);
        QMap<QString, QImage> pictures;
        int buttonsEnd = 0;
        for (QToolButton* button : buttons) {
            const QString name = button->objectName();
            QVERIFY2(hints.contains(name), qPrintable(name));
            QCOMPARE(button->toolTip(), hints[name]);
            QVERIFY2(!button->icon().isNull(), qPrintable(name));
            const QImage picture = button->icon().pixmap(QSize(16, 16)).toImage();
            for (auto other = pictures.cbegin(); other != pictures.cend(); ++other) {
                QVERIFY2(other.value() != picture, qPrintable(name + " looks like " + other.key()));
            }
            pictures.insert(name, picture);
            buttonsEnd = std::max(buttonsEnd, button->geometry().right());
        }

        // Between the last button and the URL box the tool bar shows nothing of its own.
        auto* urlBox = toolBar->findChild<QComboBox*>(QStringLiteral("URLBox"));
        QVERIFY(urlBox != nullptr);
        QVERIFY(urlBox->x() > buttonsEnd + 2);
        QCoreApplication::processEvents();
        const QImage bar = toolBar->grab().toImage();
        const qreal ratio = bar.devicePixelRatio();
        const QColor face = bar.pixelColor(int((buttonsEnd + 2) * ratio), 1);
        for (int x = int((buttonsEnd + 2) * ratio); x < int((urlBox->x() - 1) * ratio); ++x) {
            for (int y = 0; y < bar.height(); ++y) {
                QVERIFY2(bar.pixelColor(x, y) == face,
                         qPrintable(QStringLiteral("a mark at %1,%2").arg(x).arg(y)));
            }
        }
    }

    // Also run at twice the scale and on a small screen at twice the scale (see the CMake file).
    void placeIsKeptAcrossARestart() {
        const std::string bytes = lvtest::ReadBytes(lvtest::Fixture("mw-windows.lvd"));
        std::string settings;
        {
            Window w(bytes, "[Location]\r\nLeft=40\r\nTop=30\r\nWidth=660\r\n", true);
            QCoreApplication::processEvents();
            VerifyOnTheScreen(w);
            if (w.view.screen()->availableGeometry().height() >= 600) {
                QCOMPARE(w.view.pos(), QPoint(40, 30));
                QCOMPARE(w.view.width(), 652);
            }
            const QPoint moved = w.view.pos() / 2;
            w.view.move(moved);
            QCoreApplication::processEvents();
            w.view.close();
            const std::string ini = w.dir.File("LVD.INI");
            QCOMPARE(Setting(ini, "Location", "Left"), std::to_string(moved.x()));
            QCOMPARE(Setting(ini, "Location", "Top"), std::to_string(moved.y()));
            QCOMPARE(Setting(ini, "Location", "Width"), std::to_string(w.view.width() + 8));
            settings = lvtest::ReadBytes(ini);
        }
        // Started again from what was saved: the same place and size, not scaled once more.
        Window again(bytes, settings, true);
        QCoreApplication::processEvents();
        VerifyOnTheScreen(again);
        QCOMPARE(std::to_string(again.view.x()),
                 Setting(again.dir.File("LVD.INI"), "Location", "Left"));
        QCOMPARE(std::to_string(again.view.y()),
                 Setting(again.dir.File("LVD.INI"), "Location", "Top"));
        QCOMPARE(std::to_string(again.view.width() + 8),
                 Setting(again.dir.File("LVD.INI"), "Location", "Width"));
    }

    void resetFormSizeResizesTheWindow() {
        Window w;
        w.view.resize(900, 600);
        QCoreApplication::processEvents();
        QCOMPARE(w.view.Button(21)->x(), 226);
        w.view.Action(QStringLiteral("MResetSize"))->trigger();
        QCoreApplication::processEvents();
        QCOMPARE(w.view.size(), QSize(612, 422 + w.view.menuBar()->sizeHint().height()));
        QCOMPARE(w.view.Button(21)->x(), 154);
        QCOMPARE(w.view.ButtonArea()->height(), 380);
    }

    void largeButtonFontGrowsTheRows() {
        Window w(lvtest::ReadBytes(lvtest::Fixture("mw-windows.lvd")),
                 "[Notebook]\r\nFontName=DejaVu Sans\r\nFontSize=16\r\n", true);
        QCoreApplication::processEvents();
        QPushButton* last = w.view.Button(20);
        const QFontMetrics metrics(last->font());
        QVERIFY(metrics.height() + 4 > 19);
        for (int slot : {1, 20, 80}) {
            QVERIFY(w.view.Button(slot)->height() >= metrics.height() + 4);
        }
        QCOMPARE(w.view.Button(2)->y(), w.view.Button(1)->height());
        // The window grew to hold the rows, as far as the screen has room.
        if (w.view.screen()->availableGeometry().height() >= 768) {
            QVERIFY(last->geometry().bottom() < w.view.ButtonArea()->height());
        }
        QVERIFY(w.view.ButtonArea()->geometry().bottom() < w.view.Tabs()->y());
        VerifyOnTheScreen(w);
    }

    void columnMenuRebuildsTheGrid() {
        Window w;
        w.view.Action(QStringLiteral("MColumn2"))->trigger();
        QCOMPARE(w.view.Button(41), nullptr);
        QCOMPARE(w.view.Button(1)->width(), 305);
        QVERIFY(w.view.Action(QStringLiteral("MColumn2"))->isChecked());
        w.view.Action(QStringLiteral("MColumn3"))->trigger();
        QCOMPARE(w.view.Button(45)->text(), QStringLiteral("Far column"));
    }

    void undoAndRedoItemsNameTheCommandAndStepBackAndForth() {
        Window w;
        QAction* undo = w.view.Action(QStringLiteral("MUndo"));
        QAction* redo = w.view.Action(QStringLiteral("MRedo"));
        QVERIFY(!undo->isEnabled());
        QVERIFY(!redo->isEnabled());
        QCOMPARE(undo->text(), QStringLiteral("&Undo last Edit"));

        int slot = 1;
        while (!w.view.Button(slot)->text().isEmpty()) {
            ++slot;
        }
        const QPoint at = w.view.Button(slot)->mapTo(w.view.centralWidget(),
                                                     w.view.Button(slot)->rect().center());
        const std::string file = w.dir.File("notes.txt");
        lvtest::WriteBytes(file, "x");
        w.view.Dispatch([&] { w.form.FormDropFiles({file}, at.x(), at.y()); });
        const QString dropped = w.view.Button(slot)->text();
        QVERIFY(!dropped.isEmpty());
        QVERIFY(undo->isEnabled());
        QCOMPARE(undo->text(), QStringLiteral("&Undo Drop files"));
        QVERIFY(!redo->isEnabled());

        undo->trigger();
        QCOMPARE(w.view.Button(slot)->text(), QString());
        QVERIFY(!undo->isEnabled());
        QVERIFY(redo->isEnabled());
        QCOMPARE(redo->text(), QStringLiteral("&Redo Drop files"));

        redo->trigger();
        QCOMPARE(w.view.Button(slot)->text(), dropped);
        QVERIFY(!redo->isEnabled());
        QCOMPARE(redo->text(), QStringLiteral("&Redo"));
    }

    void fileErrorOfAHandlerIsShownInOneBox() {
        Window w;
        // A directory where the settings file should be makes every settings save fail.
        const std::string settings = w.dir.File("LVD.INI");
        std::filesystem::remove(settings);
        std::filesystem::create_directory(settings);
        w.view.Action(QStringLiteral("MIcons"))->trigger();
        QCOMPARE(w.dialogs.Errors().size(), std::size_t{1});
        QVERIFY(QString::fromStdString(w.dialogs.Errors()[0]).startsWith("Cannot "));
        QVERIFY(w.view.isVisible());
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
