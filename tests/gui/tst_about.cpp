#include "ModalHelpers.h"
#include "gui/AppInfo.h"
#include "gui/MainWindowView.h"
#include "mainwindow/TForm1.h"
#include "platform/Screen.h"
#include "support/FixedClock.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTest>
#include <filesystem>

namespace {

QString Native(const std::string& path) {
    return QFile::decodeName(path.c_str());
}

void Touch(const std::filesystem::path& file) {
    std::filesystem::create_directories(file.parent_path());
    lvtest::WriteBytes(file.string(), "<html></html>");
}

} // namespace

class TestAbout : public QObject {
    Q_OBJECT
private slots:
    void aboutNamesTheVersionLicenceAndWhereTheDataLives() {
        lvtest::TempDir dir;
        lvtest::ScriptedDialogs dialogs;
        lv::FixedScreen screen{1280, 1024};
        lvtest::FixedClock clock;
        const std::string dataFile = dir.File("Bookmarks.lvd");
        lvtest::WriteBytes(dataFile, lvtest::ReadBytes(lvtest::Fixture("mw-windows.lvd")));
        lv::TForm1 form{lv::MainWindowPorts{dialogs, screen, clock, {}}, dir.Path().string() + "/"};
        lv::MainWindowView view{form, dialogs, QString()};
        view.Dispatch([&] { form.FormCreate({dataFile}); });

        QString title;
        QString text;
        lvtest::WhenModal([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box != nullptr);
            QCOMPARE(box->objectName(), QStringLiteral("AboutBox"));
            title = box->windowTitle();
            text = box->text();
            box->accept();
        });
        view.Action(QStringLiteral("MAbout"))->trigger();

        QCOMPARE(title, QStringLiteral("About Linkvane"));
        QCOMPARE(lv::AppVersion(), QStringLiteral(LV_EXPECTED_VERSION));
        for (const QString& part :
             {QStringLiteral("Linkvane"), QStringLiteral("Version ") + lv::AppVersion(),
              QStringLiteral("MIT License"), Native(dir.Path().string() + "/").toHtmlEscaped(),
              Native(dataFile).toHtmlEscaped()}) {
            QVERIFY2(text.contains(part), qPrintable(part + QStringLiteral(" not in ") + text));
        }
        // The help page is not opened for About any more.
        QVERIFY(dialogs.Errors().empty());
    }

    // Paths with markup characters stay text in the rich-text box.
    void aboutEscapesThePaths() {
        const QString text =
            lv::AboutText(QStringLiteral("/home/a<b>/"), QStringLiteral("/home/a<b>/x&y.lvd"));
        QVERIFY(!text.contains(QStringLiteral("<b>/")));
        QVERIFY(text.contains(QStringLiteral("/home/a&lt;b&gt;/x&amp;y.lvd")));
    }

    // The window shows the application icon: the page of blue buttons with the red ribbon.
    void windowIconIsTheApplicationIcon() {
        lvtest::TempDir dir;
        lvtest::ScriptedDialogs dialogs;
        lv::FixedScreen screen{1280, 1024};
        lvtest::FixedClock clock;
        lv::TForm1 form{lv::MainWindowPorts{dialogs, screen, clock, {}}, dir.Path().string() + "/"};
        lv::MainWindowView view{form, dialogs, QString()};
        const QIcon icon = view.windowIcon();
        QVERIFY(!icon.isNull());
        const QImage image = icon.pixmap(64).toImage().scaled(64, 64);
        QVERIFY(!image.isNull());
        const QColor ribbon = image.pixelColor(44, 10); // (178, 40) of 256
        const QColor button = image.pixelColor(21, 20); // (86, 80) of 256
        const QColor outside = image.pixelColor(2, 62); // below-left of the rounded page
        QVERIFY2(ribbon.red() > 180 && ribbon.blue() < 100, qPrintable(ribbon.name()));
        QVERIFY2(button.blue() > 180 && button.red() < 100, qPrintable(button.name()));
        QCOMPARE(outside.alpha(), 0);
    }

    // Installed beside share/, portable beside the program, else the source tree's page.
    void helpPageIsFoundRelativeToTheProgram() {
        struct Case {
            const char* name;
            std::vector<const char*> pages; // made under the temporary folder
            const char* exeDir;
            const char* expected; // "" for the source tree's page
        };
        const Case cases[] = {
            {"installed",
             {"usr/share/linkvane/help.html", "usr/bin/help.html"},
             "usr/bin",
             "usr/share/linkvane/help.html"},
            {"portable", {"app/help.html"}, "app", "app/help.html"},
            {"source tree", {}, "app", ""},
        };
        for (const Case& c : cases) {
            lvtest::TempDir dir;
            for (const char* page : c.pages) {
                Touch(dir.Path() / page);
            }
            const std::string source = dir.File("src/docs/help.html");
            Touch(source);
            std::filesystem::create_directories(dir.Path() / c.exeDir);
            const QString found =
                lv::FindHelpFile(Native((dir.Path() / c.exeDir).string()), Native(source));
            const std::string expected =
                *c.expected != '\0' ? (dir.Path() / c.expected).string() : source;
            QVERIFY2(found == QFileInfo(Native(expected)).canonicalFilePath(),
                     qPrintable(QStringLiteral("%1: %2").arg(QLatin1String(c.name), found)));
        }
        // None anywhere: the installed place is named, so the error says where it belongs.
        lvtest::TempDir dir;
        const QString found = lv::FindHelpFile(Native(dir.File("bin")), QString());
        QCOMPARE(found, Native(dir.File("share/linkvane/help.html")));
    }
};

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
