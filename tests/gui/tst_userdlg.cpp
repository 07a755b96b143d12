#include "gui/ModalHelpers.h"
#include "gui/QtDialogs.h"

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

using lvtest::WhenModal;

namespace {

lv::UserDlgRequest Question() {
    lv::UserDlgRequest request;
    request.title = "Dead link";
    request.message = {"http://gone.example/ does not answer."};
    request.buttons = {"&Launch", "&Delete", "&Edit", "&Ignore"};
    return request;
}

} // namespace

class TestUserDlg : public QObject {
    Q_OBJECT
private slots:
    void pressedButtonGivesItsIndex() {
        lv::QtDialogs dialogs;
        WhenModal([](QWidget* modal) {
            QCOMPARE(modal->windowTitle(), QStringLiteral("Dead link"));
            auto* button = modal->findChild<QPushButton*>(QStringLiteral("btn2"));
            QVERIFY(button != nullptr);
            QCOMPARE(button->text(), QStringLiteral("&Edit"));
            QCOMPARE(button->width(), 75);
            QCOMPARE(modal->findChild<QPushButton*>(QStringLiteral("btn1"))->x() + 80, button->x());
            QVERIFY(modal->findChild<QPushButton*>(QStringLiteral("btn0"))->isDefault());
            QTest::mouseClick(button, Qt::LeftButton);
        });
        QCOMPARE(dialogs.UserDlg(Question()), 2);
    }

    void closingWithoutAButtonIsNoChoice() {
        lv::QtDialogs dialogs;
        WhenModal([](QWidget* modal) {
            QVERIFY(!(modal->windowFlags() & Qt::WindowCloseButtonHint));
            QTest::keyClick(modal, Qt::Key_Escape);
        });
        QCOMPARE(dialogs.UserDlg(Question()), -1);

        lv::UserDlgRequest withCancel = Question();
        withCancel.cancelButton = 3;
        WhenModal([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
        QCOMPARE(dialogs.UserDlg(withCancel), 3);
    }
};

QTEST_MAIN(TestUserDlg)
#include "tst_userdlg.moc"
