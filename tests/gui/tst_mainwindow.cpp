#include "gui/MainWindowView.h"
#include "mainwindow/TForm1.h"
#include "mainwindow/TTabForm.h"
#include "platform/Clock.h"
#include "platform/Screen.h"
#include "store/TIniFile32.h"
#include "support/FixedClock.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

#include <QAction>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <memory>
#include <sys/stat.h>

namespace {

// The real main window over a copy of a DataFile written by the Windows program.
struct Window {
    lvtest::TempDir dir;
    lvtest::ScriptedDialogs dialogs;
    lv::FixedScreen screen{1280, 1024};
    lvtest::FixedClock clock;
    std::string dataFile = dir.File("Bookmarks.lvd");
    lv::TForm1 form{lv::MainWindowPorts{dialogs, screen, clock, {}}, dir.Path().string() + "/"};
    lv::MainWindowView view{form, dialogs, QString()};

    Window() : Window(lvtest::ReadBytes(lvtest::Fixture("mw-windows.lvd"))) {}
    explicit Window(const std::string& bytes, const std::string& settings = {}) {
        lvtest::WriteBytes(dataFile, bytes);
        if (!settings.empty()) {
            lvtest::WriteBytes(dir.File("LVD.INI"), settings);
        }
        view.Dispatch([this] { form.FormCreate({dataFile}); });
        view.ApplyPlace();
    }
};

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
