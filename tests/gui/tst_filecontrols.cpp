#include "MenuWindow.h"
#include "gui/FileControls.h"
#include "gui/MainWindowView.h"
#include "gui/TAlphaFormView.h"
#include "mainwindow/TForm1.h"
#include "pages/TAlphaForm.h"
#include "platform/Clock.h"
#include "platform/Screen.h"
#include "support/FixedClock.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

namespace {

using Window = lvtest::MenuWindow;
using lvtest::ItemNames;

} // namespace

class TestFileControls : public QObject {
    Q_OBJECT
private slots:
    void menusKeepTheMainWindowOrder() {
        Window w;
        const QStringList file = ItemNames(w.Menu(QStringLiteral("&File")));
        QCOMPARE(file.mid(0, 9), (QStringList{"MFNew", "MFOpen", "MFSaveAs", "MFRename", "MFDelete",
                                              "MFMerge", "MImport", "MExport", "MCopyProgram"}));
        QCOMPARE(file.mid(9), (QStringList{"MProgPass", "MExit1"}));
        const QStringList bookmarks = ItemNames(w.Menu(QStringLiteral("&Bookmarks")));
        QCOMPARE(bookmarks.indexOf("MAlpha") + 1, bookmarks.indexOf("MCount"));
        auto* open = w.view.findChild<QToolButton*>(QStringLiteral("OpenButton1"));
        QVERIFY(open != nullptr);
        QCOMPARE(open->toolTip(), QStringLiteral("Open Existing Linkvane File"));
        // No tool button covers another.
        const auto buttons = w.view.findChildren<QToolButton*>();
        for (QToolButton* a : buttons) {
            for (QToolButton* b : buttons) {
                QVERIFY2(a == b || !a->isVisible() || !b->isVisible() ||
                             !a->geometry().intersects(b->geometry()),
                         qPrintable(a->objectName() + " " + b->objectName()));
            }
        }
    }

    void aDriveItemAloneIsChecked() {
        Window w;
        QMenu* drives = w.view.findChild<QMenu*>(QStringLiteral("MCopyProgram"));
        QCOMPARE(drives->actions().size(), 16);
        QVERIFY(drives->actions().at(0)->isChecked());
        QCOMPARE(drives->actions().at(15)->text().left(14), QStringLiteral("Copy to P:\\"));
        // Without a volume the copy only warns; the letter is remembered all the same.
        drives->actions().at(3)->trigger();
        QCOMPARE(w.dialogs.Messages().back().kind, lv::MsgKind::Warning);
        QVERIFY(drives->actions().at(3)->isChecked());
        QVERIFY(!drives->actions().at(0)->isChecked());
        QCOMPARE(w.form.State().diskDrive, 3);
    }

    void aLockedWindowOpensAnotherFileBesideAccessProtectedFile() {
        Window w("[Tabs]\r\nCount=1\r\nTab1=Bank\r\n[Program]\r\nVersion=3.x\r\n");
        auto* open = w.view.findChild<QToolButton*>(QStringLiteral("PNewBtn"));
        auto* access = w.view.findChild<QPushButton*>(QStringLiteral("ProgPassButton"));
        QVERIFY(open->isVisible() && access->isVisible());
        QCOMPARE(open->geometry().left(), access->geometry().right() + 5);

        lvtest::WriteBytes(w.dir.File("Work.lvd"), "[Tabs]\r\nCount=1\r\nTab1=Work\r\n");
        w.dialogs.Queue(lv::OpenFileResult{true, w.dir.File("Work.lvd")});
        QTest::mouseClick(open, Qt::LeftButton);
        QVERIFY(!open->isVisible() && !access->isVisible());
        QCOMPARE(w.view.Tabs()->tabText(0), QStringLiteral("Work"));
    }

    void theRangeComesFromTheSelectedRowsAndACancelledColourGoesBackToAll() {
        lvtest::TempDir dir;
        lv::TAlphaForm form(
            dir.File("LVD.INI"),
            [](std::int32_t, std::array<std::string, 16>&, int) {
                return std::optional<std::int32_t>();
            },
            nullptr);
        form.SetTexts("Alphabetize the \"B\" Page", "Alphabetize");
        form.FormActivate({"A", "B", "C", "D", "E", "F"}, 1);
        lv::TAlphaFormView view;
        QTimer::singleShot(0, &view, [&view] {
            view.ColorGroup()->button(2)->click();
            QVERIFY(view.ColorGroup()->button(0)->isChecked());
            view.PageList()->topLevelItem(1)->setSelected(true);
            view.PageList()->topLevelItem(4)->setSelected(true);
            view.ActionButton()->click();
        });
        view.Choose(form, 0, 0);
        QCOMPARE(view.windowTitle(), QStringLiteral("Alphabetize the \"B\" Page"));
        QCOMPARE(form.FirstPage(), 1);
        QCOMPARE(form.LastPage(), 4);
        QCOMPARE(form.ColorMode(), std::string("All"));
    }
};

QTEST_MAIN(TestFileControls)
#include "tst_filecontrols.moc"
