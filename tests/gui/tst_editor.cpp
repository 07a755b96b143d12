#include "gui/ModalHelpers.h"
#include "gui/TBConfigFormView.h"
#include "mainwindow/TBConfigForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

using lvtest::Child;
using lvtest::WhenModal;

class TestEditor : public QObject {
    Q_OBJECT
private slots:
    void typedTextsReachTheFormOnSave() {
        lv::TBConfigFormView view;
        lv::TBConfigForm form;
        form.Open();
        form.Desc1 = "Caf\xe9";
        form.EI1 = "one\r\ntwo";
        int saved = 0;
        form.onNameChange = [&] { ++saved; };
        WhenModal([](QWidget* modal) {
            QCOMPARE(modal->windowTitle(), QStringLiteral("Bookmark"));
            QCOMPARE(Child<QLineEdit>(modal, "Desc1")->text(), QStringLiteral("Caf\u00e9"));
            QCOMPARE(Child<QPlainTextEdit>(modal, "EI1")->toPlainText(),
                     QStringLiteral("one\ntwo"));
            Child<QPlainTextEdit>(modal, "EI1")->setPlainText(QStringLiteral("a\nb"));
            QLineEdit* url = Child<QLineEdit>(modal, "URL1");
            url->setFocus();
            QTest::keyClicks(url, QStringLiteral("www.example.com"));
            QTest::keyClick(url, Qt::Key_Return);
        });
        view.Edit(form);
        QVERIFY(form.Closed());
        QCOMPARE(saved, 1);
        QCOMPARE(form.URL1, std::string("http://www.example.com/"));
        QCOMPARE(form.EI1, std::string("a\r\nb"));
        QCOMPARE(form.EditorAction, 0);
    }

    void aProtectedBookmarkShowsOnlyItsTitleAndBox() {
        lv::TBConfigFormView view;
        lv::TBConfigForm form;
        form.Open();
        form.Desc1 = "Bank";
        form.URL1 = "scrambled\xb6x";
        form.PassBox = true;
        form.titleReadOnly = true;
        form.fieldsVisible = false;
        form.actionsVisible = false;
        WhenModal([](QWidget* modal) {
            QVERIFY(Child<QLineEdit>(modal, "Desc1")->isReadOnly());
            QVERIFY(!Child<QLineEdit>(modal, "URL1")->isVisible());
            QVERIFY(!Child<QPushButton>(modal, "Erase")->isVisible());
            QVERIFY(Child<QCheckBox>(modal, "PassBox")->isChecked());
            Child<QCheckBox>(modal, "PassBox")->click();
        });
        view.Edit(form);
        QCOMPARE(form.EditorAction, int(lv::kEditProtect));
        QCOMPARE(form.URL1, std::string("scrambled\xb6x"));
    }

    void escapeCancelsWithoutAction() {
        lv::TBConfigFormView view;
        lv::TBConfigForm form;
        form.Open();
        form.onNameChange = [] { QFAIL("nothing is saved on Escape"); };
        WhenModal([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
        view.Edit(form);
        QVERIFY(form.Closed());
        QCOMPARE(form.EditorAction, 0);
    }
};

QTEST_MAIN(TestEditor)
#include "tst_editor.moc"
