// The Internet Search window and the e-mail dialog on screen: clicks and keys reach the forms,
// and what the forms hold is what the windows show.
#include "gui/ModalHelpers.h"
#include "gui/TEFormView.h"
#include "gui/TSearchFormView.h"
#include "platform/PollEventLoop.h"
#include "store/TIniFile32.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"
#include "tools/TSearchForm.h"
#include "web/TEForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

using lvtest::Child;
using lvtest::WhenModal;

class TestSearchMail : public QObject {
    Q_OBJECT
private slots:
    void searchWithTwoClickedSitesClosesWithBothAddresses() {
        lvtest::TempDir dir;
        lvtest::WriteBytes(dir.File("Disk.ISE"), "[Sites]\r\nCount=3\r\n1=Beta\r\n2=Alpha\r\n"
                                                 "3=Gamma\r\nAlpha1=https://a.test/?q=\r\n"
                                                 "Beta1=https://b.test/?s=\r\nBeta2=&x=1\r\n"
                                                 "Gamma1=https://g.test/?q=\r\n");
        lvtest::ScriptedDialogs dialogs;
        lv::TSearchForm form(dialogs);
        lv::TSearchForm::Context context;
        context.settingsFile = dir.File("LVD.INI");
        context.programDir = dir.Path().string() + "/";
        form.FormActivate(context);
        lv::TSearchFormView view;
        WhenModal([](QWidget* modal) {
            QCOMPARE(modal->windowTitle(), QStringLiteral("Internet Search  [ Disk ]"));
            auto* list = Child<QTreeWidget>(modal, "SiteList");
            QCOMPARE(list->topLevelItemCount(), 3);
            QCOMPARE(list->topLevelItem(0)->text(0), QStringLiteral("Alpha"));
            for (int row : {2, 0}) {
                const QRect place = list->visualItemRect(list->topLevelItem(row));
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, place.center());
            }
            QVERIFY(!Child<QPushButton>(modal, "AddButton1")->isEnabled());
            QCOMPARE(Child<QLabel>(modal, "Label10")->text(), QStringLiteral("2 Selected"));
            auto* topic = Child<QLineEdit>(modal, "SearchText1");
            QTest::keyClicks(topic, QStringLiteral("two words"));
            QTest::keyClick(topic, Qt::Key_Return);
        });
        view.Search(form);
        QCOMPARE(QString::fromStdString(form.Result()),
                 QStringLiteral("https://a.test/?q=two+words;;https://g.test/?q=two+words"));
    }

    void emailDialogKeepsTheAddressBookAndTheOpenersChoice() {
        lvtest::TempDir dir;
        lvtest::WriteBytes(dir.File("LVD.USE"), "[Address]\r\nCount=1\r\n1=zed@z.test\r\n");
        lvtest::ScriptedDialogs dialogs;
        lv::PollEventLoop loop;
        lv::TEForm form(loop, dialogs);
        form.programDir = dir.Path().string() + "/";
        form.sendMode = lv::EmailMode::Page;
        form.bookmarks = {"<A HREF=\"http://a.test/\">A</A><BR>"};
        lv::TEFormView view(form);
        WhenModal([](QWidget* modal) {
            QCOMPARE(modal->windowTitle(), QStringLiteral(" E-Mail Options - [ LVD ]"));
            auto* page = modal->findChildren<QRadioButton*>().at(3);
            QVERIFY(page->isChecked());
            // The opener's bookmarks are fixed: "Send a single bookmark." comes back to them.
            modal->findChildren<QRadioButton*>().at(1)->click();
            QVERIFY(page->isChecked());
            auto* recipient = Child<QComboBox>(modal, "Edit1");
            recipient->setEditText(QStringLiteral("amy@a.test"));
            QTest::keyClick(recipient->lineEdit(), Qt::Key_Insert);
            QCOMPARE(recipient->count(), 2);
            QCOMPARE(recipient->itemText(0), QStringLiteral("amy@a.test"));
            Child<QPushButton>(modal, "CloseButton")->click();
        });
        view.Send();
        QVERIFY(form.Closed());
        QVERIFY(form.bookmarks.empty());
        QCOMPARE(QString::fromStdString(
                     lv::TIniFile32(dir.File("LVD.USE")).ReadString("Address", "1", "")),
                 QStringLiteral("amy@a.test"));
    }
};

QTEST_MAIN(TestSearchMail)
#include "tst_searchmail.moc"
