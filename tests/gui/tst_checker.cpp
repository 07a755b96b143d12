// The link checker window's main path: check, see the rows and counters fill in while the
// window runs, act on a row, close.
#include "gui/ModalHelpers.h"
#include "gui/QtEventLoop.h"
#include "gui/THttpAsyFormView.h"
#include "pages/TAlphaForm.h"
#include "store/DataFile.h"
#include "store/TIniFile32.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"
#include "tools/THttpAsyForm.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

using lvtest::Child;
using lvtest::WhenModal;

class TestChecker : public QObject {
    Q_OBJECT
private slots:
    void checksShowsTheRowsAndClosesEmpty() {
        lvtest::TempDir dir;
        const std::string dataFile = dir.File("a.lvd");
        {
            lv::TIniFile32 ini(dataFile);
            ini.SetDeferSaves(true);
            lv::SaveTabs(ini, {"Web"});
            // Addresses without a host: the client gives up at once, nothing goes out.
            ini.WriteString("Web", "01N", "No host");
            ini.WriteString("Web", "01U", "http:///nowhere");
            ini.WriteString("Web", "03N", "Nor here");
            ini.WriteString("Web", "03U", "http:///nothing");
            ini.UpdateFile();
        }
        lv::QtEventLoop loop;
        lvtest::ScriptedDialogs dialogs;
        lv::CheckerSetup setup;
        setup.dataFile = dataFile;
        setup.settingsFile = dir.File("LVD.INI");
        setup.pages = {"Web"};
        setup.pageRange = [](lv::TAlphaForm& range) { range.AlphaBtnClick(); };
        lv::THttpAsyForm form(loop, dialogs, setup);
        form.FormActivate();
        lv::THttpAsyFormView view;
        bool checked = false;
        WhenModal([&](QWidget* modal) {
            // A failed check must not leave the window open for ever.
            struct Closer {
                QWidget* window;
                ~Closer() {
                    if (window->isVisible()) {
                        QMetaObject::invokeMethod(window, "reject", Qt::QueuedConnection);
                    }
                }
            } closer{modal};
            QCOMPARE(modal->windowTitle(), QStringLiteral("Click on \"Check Links\""));
            QTest::mouseClick(Child<QPushButton>(modal, "SearchButton"), Qt::LeftButton);
            auto* bad = Child<QTreeWidget>(modal, "View1");
            QTRY_COMPARE(bad->topLevelItemCount(), 3);
            QCOMPARE(bad->topLevelItem(0)->text(1), QStringLiteral("No host"));
            QCOMPARE(bad->topLevelItem(1)->text(3), QStringLiteral("03"));
            QCOMPARE(bad->topLevelItem(1)->text(4),
                     QStringLiteral("Site does not exist! 404 Error"));
            QCOMPARE(bad->topLevelItem(2)->text(0), QStringLiteral("Completed"));
            QCOMPARE(Child<QLabel>(modal, "BCountL")->text(), QStringLiteral("2"));
            QCOMPARE(Child<QLabel>(modal, "TCountL")->text(), QStringLiteral("2 of 2"));
            QCOMPARE(Child<QTreeWidget>(modal, "View2")->topLevelItemCount(), 1);
            // A press on a row asks what to do with its bookmark.
            dialogs.Queue(3);
            QTest::mouseClick(bad->viewport(), Qt::LeftButton, {},
                              bad->visualItemRect(bad->topLevelItem(0)).center());
            QCOMPARE(dialogs.UserDlgs().size(), std::size_t{1});
            QCOMPARE(dialogs.UserDlgs()[0].title, std::string("Launch, Delete or Edit bookmark"));
            checked = true;
            QTest::mouseClick(Child<QPushButton>(modal, "CloseBtn"), Qt::LeftButton);
        });
        view.Check(form, 0xC0C0C0, 0);
        QVERIFY(checked);
        QVERIFY(form.Closed());
        QVERIFY(form.View1().empty());
        QVERIFY(!form.Checking());
    }
};

QTEST_MAIN(TestChecker)
#include "tst_checker.moc"
