// The access-speed dialog on screen and the web controls of the main window.
#include "gui/ModalHelpers.h"
#include "gui/TPFormView.h"
#include "mainwindow/TPForm.h"
#include "platform/IcmpEcho.h"

#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QTest>
#include <map>

using lvtest::WhenModal;

namespace {

class TimesEcho : public lv::IcmpEcho {
public:
    std::map<std::string, int> times;
    lv::EchoResult Echo(const std::string& address, int, int, std::chrono::milliseconds) override {
        const auto found = times.find(address);
        return found == times.end() ? lv::EchoResult{0, 0, "Request timed out"}
                                    : lv::EchoResult{1, found->second, {}};
    }
};

} // namespace

class TestAccessSpeed : public QObject {
    Q_OBJECT
private slots:
    void barsAreDrawnInTheirColoursAndAClickPicksTheBookmark() {
        TimesEcho echo;
        echo.times = {{"127.0.1.1", 40}, {"127.0.1.2", 20}};
        lv::TPForm form;
        form.icmp = &echo;
        form.resolve = [](const std::string& host, std::string& dotted) {
            dotted = host;
            return host.rfind("127.0.1.", 0) == 0;
        };
        form.HostEditItems = {"127.0.1.1", "127.0.1.2", "127.0.9.9"};
        form.ListBox3 = {"B03", "B07", "B09"};
        lv::TPFormView view;
        bool checked = false;
        // The bars come once the pings are done, a moment after the dialog is up.
        WhenModal([&checked](QWidget* modal) {
            QTRY_VERIFY(modal->findChild<QWidget*>(QStringLiteral("SB2")) != nullptr);
            QCOMPARE(modal->windowTitle(), QStringLiteral("Access Speed"));
            QWidget* fast = modal->findChild<QWidget*>(QStringLiteral("SB1"));
            QWidget* slow = modal->findChild<QWidget*>(QStringLiteral("SB0"));
            QCOMPARE(fast->toolTip(), QStringLiteral("Click to Launch"));
            QCOMPARE(fast->geometry(), QRect(5, 20 + 18, 400, 18));
            const QImage fastPicture = fast->grab().toImage();
            const QImage slowPicture = slow->grab().toImage();
            // Filled from the left: green for the fastest, maroon for the other.
            QCOMPARE(fastPicture.pixelColor(2, fastPicture.height() - 2), QColor(0, 0x80, 0));
            QCOMPARE(slowPicture.pixelColor(2, slowPicture.height() - 2), QColor(0x80, 0, 0));
            QVERIFY(modal->findChild<QLabel*>(QStringLiteral("Label2"))->isVisible());
            checked = true;
            QTest::mouseClick(fast, Qt::LeftButton);
        });
        view.Ping(form, 0xFFFFFF, 0);
        QVERIFY(checked);
        QCOMPARE(QString::fromStdString(form.Chosen()), QStringLiteral("B07"));
    }
};

QTEST_MAIN(TestAccessSpeed)
#include "tst_accessspeed.moc"
