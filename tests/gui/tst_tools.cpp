// The search window's list with 80,000 rows, and the clipboard commands on the desktop's
// clipboard.
#include "gui/QtClipboard.h"
#include "gui/TDupeView.h"
#include "gui/TUserSetupView.h"
#include "mainwindow/TForm1.h"
#include "platform/Screen.h"
#include "store/DataFile.h"
#include "store/FileIo.h"
#include "support/FixedClock.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"
#include "tools/TDupe.h"
#include "tools/UserFile.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <map>

namespace {

// 1,000 pages of 80 bookmarks.
std::string BigDataFile() {
    std::string bytes = "[Tabs]\r\nCount=1000\r\n";
    for (int page = 1; page <= 1000; ++page) {
        bytes += "Tab" + std::to_string(page) + "=P" + std::to_string(page) + "\r\n";
    }
    for (int page = 1; page <= 1000; ++page) {
        bytes += "[P" + std::to_string(page) + "]\r\n";
        for (int slot = 1; slot <= 80; ++slot) {
            const std::string id = std::to_string(page * 100 + slot);
            bytes += lv::SlotKey(slot, 'N') + "=Bookmark " + id + "\r\n";
            bytes += lv::SlotKey(slot, 'U') + "=http://site" + id + ".example/\r\n";
        }
    }
    return bytes;
}

} // namespace

class TestTools : public QObject {
    Q_OBJECT
private slots:
    void listShowsEightyThousandRowsAsOneView() {
        lvtest::TempDir dir;
        const std::string file = dir.File("big.lvd");
        lv::WriteFileAtomic(file, BigDataFile());
        lvtest::ScriptedDialogs dialogs;
        lv::DupeHooks hooks;
        hooks.dataFile = [&] { return file; };
        hooks.columnCount = [] { return 4; };
        lv::TDupe dupe(dialogs, hooks);
        lv::TDupeView view(nullptr, [](const std::function<void()>& run) { run(); });
        view.Open(dupe);
        QVERIFY(QTest::qWaitForWindowExposed(&view));

        auto* edit = view.findChild<QLineEdit*>(QStringLiteral("Edit1"));
        QVERIFY(edit != nullptr);
        QTest::keyClicks(edit, QStringLiteral("bookmark"));
        QElapsedTimer shown;
        shown.start();
        QTest::keyClick(edit, Qt::Key_Return);
        QCoreApplication::processEvents();
        QTreeView* list = view.List();
        QVERIFY(list->isVisible());
        QCOMPARE(list->model()->rowCount(), 80000);
        // Rows are painted from the model: no widget per row.
        QVERIFY(list->findChildren<QWidget*>().size() < 50);
        list->scrollToBottom();
        QCoreApplication::processEvents();
        QCOMPARE(list->verticalScrollBar()->value(), list->verticalScrollBar()->maximum());
        const QModelIndex last = list->model()->index(79999, 0);
        QCOMPARE(last.data().toString(), QStringLiteral("http://site99980.example/"));
        qInfo("search and first paint of 80,000 rows: %lld ms", shown.elapsed());

        // A click on a row asks what to do with that bookmark.
        dialogs.Queue(3);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(last).center());
        QCOMPARE(dialogs.UserDlgs().size(), std::size_t{1});
        QCOMPARE(QString::fromStdString(dialogs.UserDlgs().back().message.front()),
                 QStringLiteral("Select an Option for Bookmark 99980"));
        QCOMPARE(QString::fromStdString(dupe.listHint),
                 QString::fromLatin1(lv::kDupeHintLaunchDeleteEdit.data()));
    }

    void clipboardCommandsPutTheDetailsOnTheClipboard() {
        lvtest::TempDir dir;
        lvtest::WriteBytes(dir.File("Disk.LVD"), "[Tabs]\r\nCount=1\r\nTab1=Page1\r\n[Page1]\r\n"
                                                 "02N=Shop\r\n02U=http://shop.example/\r\n"
                                                 "02P=first|~second\r\n02S=user: me\r\n");
        std::string user = "[User]\r\n";
        for (const lv::UserField& field : lv::kUserFields) {
            user += std::string(field.key) + "=" + std::string(field.key) + " value\r\n";
        }
        // Stored text is Windows-1252; the clipboard gets UTF-8.
        user.replace(user.find("Misc value"), 10, "Misc \xE9t\xE9");
        lvtest::WriteBytes(dir.File("LVD.USE"), user);
        lvtest::ScriptedDialogs dialogs;
        lv::FixedScreen screen(1280, 1024);
        lvtest::FixedClock clock;
        lv::QtClipboard clipboard;
        lv::MainWindowPorts ports{dialogs, screen, clock, {}};
        ports.clipboard = &clipboard;
        lv::TForm1 form(ports, dir.Path().string() + "/");
        form.FormCreate({});
        form.State().CurrentButtonName = "B02";

        using Command = void (lv::TForm1::*)();
        const std::map<std::string_view, Command> commands = {
            {"First", &lv::TForm1::FirstClick},       {"Last", &lv::TForm1::LastClick},
            {"Full", &lv::TForm1::FullClick},         {"Company", &lv::TForm1::CompanyClick},
            {"Address1", &lv::TForm1::Address1Click}, {"Address2", &lv::TForm1::Address2Click},
            {"City", &lv::TForm1::CityClick},         {"State", &lv::TForm1::StateClick},
            {"Zip", &lv::TForm1::ZipClick},           {"Country", &lv::TForm1::CountryClick},
            {"Phone", &lv::TForm1::PhoneClick},       {"Fax", &lv::TForm1::FaxClick},
            {"Email", &lv::TForm1::EmailClick},       {"URL", &lv::TForm1::URLClick},
            {"Other", &lv::TForm1::OtherClick},       {"Misc", &lv::TForm1::MiscClick},
        };
        QClipboard* desktop = QGuiApplication::clipboard();
        for (const lv::UserCopyItem& item : lv::kUserCopyItems) {
            desktop->setText(QStringLiteral("before"));
            const auto command = commands.find(item.name);
            QVERIFY(command != commands.end());
            (form.*command->second)();
            const QString name =
                QString::fromLatin1(item.name.data(), static_cast<int>(item.name.size()));
            const QString expected = item.name == "Full" ? QStringLiteral("First value Last value")
                                     : item.name == "Misc" ? QStringLiteral("Misc \u00e9t\u00e9")
                                                           : name + QStringLiteral(" value");
            QCOMPARE(desktop->text(), expected);
        }
        form.UserID1Click();
        QCOMPARE(desktop->text(), QStringLiteral("first\r\nsecond"));
        form.WebPassClick();
        QCOMPARE(desktop->text(), QStringLiteral("user: me"));

        // Nothing stored: the clipboard is left empty.
        lvtest::WriteBytes(dir.File("LVD.USE"), "[User]\r\nFirst=\r\n");
        form.URLClick();
        QCOMPARE(desktop->text(), QString());
        form.FullClick();
        QCOMPARE(desktop->text(), QStringLiteral(" "));
    }

    void userSetupShowsTheFieldsAndSavesWhatWasTyped() {
        lvtest::TempDir dir;
        const std::string file = dir.File("LVD.USE");
        lv::TUserSetup setup(file);
        setup.FormActivate(0xFFFFFF, 0);
        lv::TUserSetupView view;
        QTimer::singleShot(0, [&view] {
            QCOMPARE(view.Box(12)->text(), QStringLiteral("http://"));
            view.Box(0)->setText(QStringLiteral("Zo\u00eb"));
            QTest::keyClick(view.Box(0), Qt::Key_Return);
        });
        view.Edit(setup);
        setup.FormClose();
        QVERIFY(lv::TIniFile32(file).ReadString("User", "First", "") == "Zo\xEB");
    }
};

QTEST_MAIN(TestTools)
#include "tst_tools.moc"
