#include "gui/ModalHelpers.h"
#include "gui/QtDialogs.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <algorithm>
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

// The message label shows every line whole and the buttons hold their captions, below it.
void VerifyShownWhole(QWidget* modal) {
    auto* label = modal->findChild<QLabel*>(QStringLiteral("Message"));
    QVERIFY(label != nullptr);
    const QRect box = label->geometry();
    const QSize needed = label->wordWrap() ? QSize(box.width(), label->heightForWidth(box.width()))
                                           : label->sizeHint();
    QVERIFY2(needed.width() <= box.width() && needed.height() <= box.height(),
             qPrintable(QStringLiteral("needs %1x%2, has %3x%4 at scale %5")
                            .arg(needed.width())
                            .arg(needed.height())
                            .arg(box.width())
                            .arg(box.height())
                            .arg(modal->devicePixelRatioF())));
    QVERIFY(modal->rect().contains(box));
    const auto buttons = modal->findChildren<QPushButton*>();
    QVERIFY(!buttons.isEmpty());
    for (QPushButton* button : buttons) {
        const QRect r = button->geometry();
        QVERIFY(modal->rect().contains(r));
        QVERIFY(r.top() > box.bottom());
        const QFontMetrics metrics = button->fontMetrics();
        QString caption = button->text();
        caption.remove(QLatin1Char('&'));
        QVERIFY2(metrics.horizontalAdvance(caption) + 8 <= r.width(), qPrintable(caption));
        QVERIFY(metrics.height() + 4 <= r.height());
    }
}

int ScreenWidth() {
    return QGuiApplication::primaryScreen()->geometry().width();
}

} // namespace

class TestUserDlg : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        qInfo("scale %g, screen %dx%d", qApp->devicePixelRatio(), ScreenWidth(),
              QGuiApplication::primaryScreen()->geometry().height());
    }

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

    // Run once as it is and once with QT_SCALE_FACTOR=2 (see the CMake file).
    void everyLineShowsWhole_data() {
        QTest::addColumn<QStringList>("message");
        QTest::addColumn<QStringList>("buttons");
        QTest::newRow("three lines")
            << QStringList{"Click on any blank button to add bookmarks.",
                           "Other files can be opened using the File menu.",
                           "Right-click any page tab or button for options."}
            << QStringList{"Begin"};
        QTest::newRow("welcome with empty lines")
            << QStringList{"Click on any blank button to add bookmarks to Linkvane.", "",
                           "Other Linkvane data files can be opened or created using the File "
                           "menu.",
                           "",
                           "Click your Right mouse button on any Page Tab or Button for Options."}
            << QStringList{"Begin"};
        QTest::newRow("web icon question")
            << QStringList{"A Web Icon is being used by the \"News\" bookmark.",
                           "http://news.example.com/",
                           "Icon file: /home/ann/.local/share/linkvane/Diskwebicons/news.ico",
                           "If you have duplicate bookmarks they may be using this icon as well.",
                           "If you delete this icon you can recover it by bookmarking the site "
                           "again."}
            << QStringList{"Delete Image", "Keep Image"};
        QTest::newRow("browser list")
            << QStringList{"Add         =  Add an installed browser to list.",
                           "Remove  =  Remove browser from list."}
            << QStringList{"Add", "Remove", "Ignore"};
        QTest::newRow("a line wider than the screen allows")
            << QStringList{QString(300, QLatin1Char('w')) + QStringLiteral(" end")}
            << QStringList{"&OK"};
    }

    void everyLineShowsWhole() {
        QFETCH(QStringList, message);
        QFETCH(QStringList, buttons);
        lv::UserDlgRequest request;
        request.title = "Question";
        for (const QString& line : message) {
            request.message.push_back(line.toStdString());
        }
        for (const QString& caption : buttons) {
            request.buttons.push_back(caption.toStdString());
        }
        lv::QtDialogs dialogs;
        bool checked = false;
        WhenModal([&checked](QWidget* modal) {
            [&checked, modal] {
                VerifyShownWhole(modal);
                // A wrapping message makes the window 60 % of the screen wide, or as wide as
                // the row of buttons.
                auto* label = modal->findChild<QLabel*>(QStringLiteral("Message"));
                int rowEnd = 0;
                for (auto* button : modal->findChildren<QPushButton*>()) {
                    rowEnd = std::max(rowEnd, button->geometry().right() + 1);
                }
                const int limit = ScreenWidth() * 60 / 100;
                if (label->wordWrap()) {
                    QCOMPARE(modal->width(), std::max(limit, rowEnd + 8));
                } else {
                    QVERIFY(modal->width() < limit || modal->width() == rowEnd + 8);
                }
                checked = true;
            }();
            QTest::mouseClick(modal->findChild<QPushButton*>(QStringLiteral("btn0")),
                              Qt::LeftButton);
        });
        QCOMPARE(dialogs.UserDlg(request), 0);
        QVERIFY(checked);
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
