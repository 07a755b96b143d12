// The tray's part of the real window: the Setup items, and the launch behaviour applied to the
// window itself (hidden behind the tray icon and back, the mini strip kept on top).
#include "gui/MainWindowView.h"
#include "mainwindow/TForm1.h"
#include "platform/ProcessLauncher.h"
#include "platform/Screen.h"
#include "support/DesktopFakes.h"
#include "support/FixedClock.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

namespace {

class NullLauncher : public lv::ProcessLauncher {
public:
    std::vector<std::string> arguments;
    lv::ProcessStart Start(const std::string&, const std::string& argument, std::int64_t) override {
        arguments.push_back(argument);
        return {true, 0, {}, 1};
    }
    bool IsWatching(const std::string&, std::int64_t) const override { return false; }
};

struct Window {
    lvtest::TempDir dir;
    lvtest::ScriptedDialogs dialogs;
    lv::FixedScreen screen{1280, 1024};
    lvtest::FixedClock clock;
    lvtest::FakeTrayIcon tray;
    NullLauncher launcher;
    std::unique_ptr<lv::TForm1> form;
    std::unique_ptr<lv::MainWindowView> view;

    Window() {
        const std::string browser = dir.File("browser");
        lvtest::WriteBytes(browser, "#!/bin/sh\n");
        lvtest::WriteBytes(dir.File("lvd.ini"),
                           "[Browser]\r\nCount=1\r\nSelected=1\r\n1=" + browser + "\r\n");
        lvtest::WriteBytes(dir.File("Disk.LVD"), "[Tabs]\r\nCount=1\r\nTab1=Home\r\n[Home]\r\n"
                                                 "01N=Site\r\n01U=http://127.0.0.1:9/\r\n");
        lv::MainWindowPorts ports{dialogs, screen, clock, {}};
        ports.launcher = &launcher;
        ports.trayIcon = &tray;
        form = std::make_unique<lv::TForm1>(ports, dir.Path().string() + "/");
        view = std::make_unique<lv::MainWindowView>(*form, dialogs, QString());
        view->Dispatch([this] { form->FormCreate({}); });
        view->ApplyPlace();
    }
};

QStringList SetupItems(const lv::MainWindowView& view) {
    QStringList names;
    for (QAction* item : view.findChild<QMenuBar*>()->actions()) {
        if (item->text() == QStringLiteral("&Setup")) {
            for (QAction* entry : item->menu()->actions()) {
                if (!entry->objectName().isEmpty()) {
                    names << entry->objectName();
                }
            }
        }
    }
    return names;
}

} // namespace

class TestTray : public QObject {
    Q_OBJECT
private slots:
    void setupMenuHasTheTrayItemsInTheirPlaces() {
        Window w;
        const QStringList names = SetupItems(*w.view);
        QVERIFY2(names.mid(0, 6) == (QStringList{"MAutoRun", "MStartSmall", "MStartBar", "MMini",
                                                 "MHide", "MBackup"}),
                 qPrintable(names.join(',')));
        QCOMPARE(names.indexOf("MMRU"), names.indexOf("MWebIconSearch") + 1);
        QVERIFY(w.view->Action(QStringLiteral("MMRU"))->isChecked());
    }

    void trayModeHidesTheWindowUntilTheIconIsClicked() {
        Window w;
        QVERIFY(QTest::qWaitForWindowExposed(w.view.get()));
        w.view->Action(QStringLiteral("MStartSmall"))->trigger();
        QVERIFY(w.view->Action(QStringLiteral("MStartSmall"))->isChecked());
        w.view->Dispatch([&] { w.form->ButtonClick(1); });
        QCOMPARE(w.launcher.arguments.size(), std::size_t{1});
        QVERIFY(!w.view->isVisible());
        QVERIFY(w.tray.shown);
        QCOMPARE(w.tray.recent, std::vector<std::string>{"Site  |Home::01"});
        w.view->Dispatch([&] { w.form->RestoreFromTray(); });
        QVERIFY(w.view->isVisible());
        QVERIFY(!w.tray.shown);
    }

    void miniModeMakesAStripKeptOnTopUntilItIsLeft() {
        Window w;
        QVERIFY(QTest::qWaitForWindowExposed(w.view.get()));
        const int full = w.view->height();
        w.view->Action(QStringLiteral("MMini"))->trigger();
        QVERIFY(w.view->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY2(w.view->height() < full / 2, qPrintable(QString::number(w.view->height())));
        QVERIFY(w.view->isVisible());
        w.view->Action(QStringLiteral("MMini"))->trigger();
        QVERIFY(!w.view->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(w.view->height(), full);
        QVERIFY(w.view->isVisible());
    }
};

QTEST_MAIN(TestTray)
#include "tst_tray.moc"
