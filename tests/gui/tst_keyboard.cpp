// Real key events on the main window's key sink and URL box.
#include "gui/LaunchControls.h"
#include "gui/MainWindowView.h"
#include "mainwindow/launch_fakes.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>

namespace {

struct Window {
    lvtest::LaunchHarness h;
    lv::MainWindowView* view = nullptr;

    explicit Window(const std::string& pages) {
        h.tabs = "Count=3\r\nTab1=Alpha\r\nTab2=Beta\r\nTab3=Bravo\r\n";
        h.Start(pages);
        view = new lv::MainWindowView(*h.form, h.dialogs, QString());
        view->Render();
        view->ApplyPlace();
    }
    ~Window() { delete view; }
    QLineEdit* Keys() const { return view->Launch()->Keys(); }
    const lv::MainWindowState& State() const { return h.form->State(); }
};

} // namespace

class TestKeyboard : public QObject {
    Q_OBJECT
private slots:
    void downWalksTheSlotsAndStopsAtTheLastVisibleOne() {
        Window w("[Alpha]\r\n02N=Two\r\n02U=http://two.example/\r\n");
        QTest::keyClick(w.Keys(), Qt::Key_Down);
        QTest::keyClick(w.Keys(), Qt::Key_Down);
        QCOMPARE(w.State().SelectedSlot, 2);
        QCOMPARE(w.view->windowTitle(), QStringLiteral("2 : http://two.example/"));
        for (int i = 0; i < 85; ++i) {
            QTest::keyClick(w.Keys(), Qt::Key_Down);
        }
        QCOMPARE(w.State().SelectedSlot, 80);

        w.view->Dispatch([&] { w.h.form->MColumn2Click(); });
        QTest::keyClick(w.Keys(), Qt::Key_Up);
        for (int i = 0; i < 45; ++i) {
            QTest::keyClick(w.Keys(), Qt::Key_Down);
        }
        QCOMPARE(w.State().SelectedSlot, 40);
    }

    void enterLaunchesTheSelectedBookmark() {
        Window w("[Alpha]\r\n01N=One\r\n01U=http://one.example/\r\n");
        QTest::keyClick(w.Keys(), Qt::Key_Down);
        QTest::keyClick(w.Keys(), Qt::Key_Return);
        QCOMPARE(w.h.launcher.starts.size(), std::size_t(1));
        QCOMPARE(w.h.launcher.starts[0].argument, std::string("http://one.example/"));
        QVERIFY(w.Keys()->text().isEmpty());
    }

    void pageKeysAndLettersSwitchPages() {
        Window w("");
        QTest::keyClick(w.Keys(), Qt::Key_Left);
        QCOMPARE(w.view->Tabs()->currentIndex(), 2);
        QTest::keyClick(w.Keys(), Qt::Key_Home);
        QCOMPARE(w.view->Tabs()->currentIndex(), 0);
        QTest::keyClick(w.Keys(), Qt::Key_B);
        QCOMPARE(w.view->Tabs()->currentIndex(), 1);
        QTest::keyClicks(w.Keys(), QStringLiteral("b"));
        QCOMPARE(w.view->Tabs()->currentIndex(), 2);
        QTest::keyClick(w.Keys(), Qt::Key_End);
        QTest::keyClick(w.Keys(), Qt::Key_Right);
        QCOMPARE(w.view->Tabs()->currentIndex(), 0);
        QVERIFY(w.Keys()->text().isEmpty());
    }

    void urlBoxOpensOnEnterAndRemembersTheEntry() {
        Window w("");
        QComboBox* box = w.view->Launch()->UrlBox();
        box->lineEdit()->setFocus();
        QTest::keyClicks(box->lineEdit(), QStringLiteral("www.example.com"));
        QTest::keyClick(box->lineEdit(), Qt::Key_Return);
        QCOMPARE(w.h.launcher.starts.size(), std::size_t(1));
        QCOMPARE(w.h.launcher.starts[0].argument, std::string("http://www.example.com/"));
        QCOMPARE(box->count(), 1);
        QCOMPARE(box->itemText(0), QStringLiteral("http://www.example.com/"));
        QVERIFY(box->currentText().isEmpty());

        box->setEditText(QStringLiteral("http://www.example.com/"));
        QTest::keyClick(box->lineEdit(), Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(box->count(), 0);
    }

    void aClickOnAButtonLaunchesIt() {
        Window w("[Alpha]\r\n03N=Three\r\n03U=http://three.example/\r\n");
        QTest::mouseClick(w.view->Button(3), Qt::LeftButton);
        QCOMPARE(w.h.launcher.starts.size(), std::size_t(1));
        QCOMPARE(w.h.launcher.starts[0].argument, std::string("http://three.example/"));
    }
};

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
