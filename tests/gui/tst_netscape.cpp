#include "MenuWindow.h"
#include "gui/MainWindowView.h"
#include "gui/NetscapeControls.h"
#include "mainwindow/TForm1.h"
#include "platform/Screen.h"
#include "support/FixedClock.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QProgressDialog>
#include <QTest>

namespace {

using Window = lvtest::MenuWindow;
using lvtest::ItemNames;

} // namespace

class TestNetscape : public QObject {
    Q_OBJECT
    static QProgressDialog* Shown() {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* dialog = qobject_cast<QProgressDialog*>(widget);
                dialog && dialog->isVisible()) {
                return dialog;
            }
        }
        return nullptr;
    }

private slots:
    void theMenusImportAndExport() {
        Window w;
        auto* import = w.view.findChild<QMenu*>(QStringLiteral("MImport"));
        auto* exportNs = w.view.findChild<QMenu*>(QStringLiteral("MExportNS"));
        QVERIFY(import != nullptr && exportNs != nullptr);
        QCOMPARE(import->title(), QStringLiteral("&Import Bookmarks"));
        QCOMPARE(exportNs->actions().size(), 2);
        QVERIFY(w.Item(QStringLiteral("MENSFile")) != nullptr);
        // Beside the other exchange commands, in the menus' order.
        QCOMPARE(ItemNames(import).mid(0, 2), (QStringList{"MImportIE", "MImportNS"}));
        auto* exportMenu = w.view.findChild<QMenu*>(QStringLiteral("MExport"));
        QCOMPARE(ItemNames(exportMenu).mid(0, 3),
                 (QStringList{"MExportIE", "MExportNS", "MExportHTML"}));

        const std::string file = w.dir.File("b.html");
        lvtest::WriteBytes(file, "<H1>Menu</H1><DL><DT><A HREF=\"http://a/\">Caf\xC3\xA9</A></DL>");
        w.dialogs.Queue(lv::OpenFileResult{true, file});
        w.Item(QStringLiteral("MImportNS"))->trigger();
        QCOMPARE(w.form.State().TabSet1.names, std::vector<std::string>{"Menu"});
        QCOMPARE(w.form.State().buttons.at(0).caption, std::string("Caf\xE9"));

        const std::string out = w.dir.File("out.html");
        w.dialogs.Queue(lv::OpenFileResult{true, out});
        w.Item(QStringLiteral("MENSPage"))->trigger();
        QVERIFY(lvtest::ReadBytes(out).find(">Caf\xC3\xA9</A>") != std::string::npos);
        QCOMPARE(w.dialogs.Pending(), std::size_t{0});
    }

    void progressShowsAndEndsWithoutAWaitCursorLeft() {
        lv::FileWorkProgress progress;
        // Halfway after more than its short moment: the window is up.
        for (int i = 0; i <= 5; ++i) {
            progress.Step("Importing bookmarks", i, 10);
            QTest::qWait(100);
        }
        QProgressDialog* dialog = Shown();
        QVERIFY(dialog != nullptr);
        QCOMPARE(dialog->labelText(), QStringLiteral("Importing bookmarks"));
        QCOMPARE(dialog->value(), 500);
        progress.Step({}, 0, 0);
        QVERIFY(QApplication::overrideCursor() == nullptr);
        QVERIFY(Shown() == nullptr);
    }
};

QTEST_MAIN(TestNetscape)
#include "tst_netscape.moc"
