#include "exchange/LinkList.h"
#include "gui/MainWindowView.h"
#include "gui/QtPrinter.h"
#include "mainwindow/TForm1.h"
#include "pages/TAlphaForm.h"
#include "platform/Screen.h"
#include "store/DataFile.h"
#include "support/FixedClock.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

#include <QAction>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QToolButton>

namespace {

// The text of a PDF as poppler reads it; empty when it cannot be read.
QString PdfText(const QString& pdf) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

int PdfPages(const QString& pdf) {
    QProcess process;
    process.start(QStringLiteral("pdfinfo"), {pdf});
    process.waitForFinished(30000);
    for (const QString& line : QString::fromUtf8(process.readAllStandardOutput()).split('\n')) {
        if (line.startsWith(QStringLiteral("Pages:"))) {
            return line.mid(6).trimmed().toInt();
        }
    }
    return 0;
}

std::string DataFile() {
    std::string text = "[Tabs]\r\nCount=2\r\nTab1=Work\r\nTab2=News Page\r\n[Work]\r\n"
                       "01N=Caf\xE9 &#937;\r\n01U=http://cafe.example/\r\n";
    text += "[News Page]\r\n";
    for (int slot = 1; slot <= 80; ++slot) {
        const std::string n = std::to_string(slot);
        text += lv::SlotKey(slot, 'N') + "=News " + n + "\r\n" + lv::SlotKey(slot, 'U') +
                "=http://news" + n + ".example/\r\n";
    }
    return text;
}

} // namespace

class TestPrinting : public QObject {
    Q_OBJECT
private slots:
    void init() {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) {
            QSKIP("pdftotext (poppler-utils) is not installed");
        }
    }

    // Every line reaches the paper, over as many sheets as it takes, in the bookmark font.
    void aLongListPrintsOnSeveralSheets() {
        lvtest::TempDir dir;
        const QString pdf = QFile::decodeName(dir.File("list.pdf").c_str());
        std::vector<std::string> lines;
        for (int i = 1; i <= 150; ++i) {
            lines.push_back("        Line " + std::to_string(i) + "    http://l.example/");
        }
        lines.push_back("Last heading \xCE\xA9");
        lv::QtPrinter printer = lv::QtPrinter::ToPdf(pdf);
        const lv::PrintResult result = printer.PrintLines(lines, {"DejaVu Sans", 12, 0x0000FF});
        QVERIFY(result.printed);
        QVERIFY(PdfPages(pdf) > 1);
        const QString text = PdfText(pdf);
        for (const char* part : {"Line 1 ", "Line 77", "Line 150", "Last heading \xCE\xA9"}) {
            QVERIFY2(text.contains(QString::fromUtf8(part)), part);
        }
    }

    // The tool button and the menu item print the chosen pages with their headings.
    void theWindowPrintsThePageHeadings() {
        lvtest::TempDir dir;
        lvtest::WriteBytes(dir.File("Work.lvd"), DataFile());
        const QString pdf = QFile::decodeName(dir.File("window.pdf").c_str());
        lv::QtPrinter printer = lv::QtPrinter::ToPdf(pdf);
        lvtest::ScriptedDialogs dialogs;
        lv::FixedScreen screen{1280, 1024};
        lvtest::FixedClock clock;
        lv::MainWindowPorts ports{dialogs, screen, clock, {}};
        ports.printer = &printer;
        ports.pageRange = [](lv::TAlphaForm& range) {
            range.SelectRow(0, true);
            range.SelectRow(1, true);
            range.AlphaBtnClick();
        };
        lv::TForm1 form{ports, dir.Path().string() + "/"};
        lv::MainWindowView view{form, dialogs, QString()};
        view.Dispatch([&] { form.FormCreate({dir.File("Work.lvd")}); });

        dialogs.Queue(lv::MsgResult::Yes);
        auto* button = view.findChild<QToolButton*>(QStringLiteral("Print"));
        QVERIFY(button != nullptr);
        button->click();
        QCOMPARE(dialogs.Asked().back(),
                 std::string("Message: Are you sure you want to Print Page 1 through Page 2"));
        QString text = PdfText(pdf);
        QVERIFY2(text.contains(QStringLiteral("Work")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("News Page")));
        QVERIFY(text.contains(QString::fromUtf8("Caf\xC3\xA9 \xCE\xA9")));
        QVERIFY(text.contains(QStringLiteral("http://news80.example/")));
        QVERIFY(PdfPages(pdf) >= 2);

        QFile::remove(pdf);
        dialogs.Queue(lv::MsgResult::Yes);
        QAction* item = view.Action(QStringLiteral("MPrint"));
        QVERIFY(item != nullptr);
        item->trigger();
        QVERIFY(PdfText(pdf).contains(QStringLiteral("News Page")));
        for (const char* name : {"HTML", "Email1"}) {
            QVERIFY(view.findChild<QToolButton*>(QString::fromLatin1(name)) != nullptr);
        }
        for (const char* name : {"MHTML", "MEmail", "MImportIE", "MEIEFile", "MEIEPage",
                                 "MExportHTML", "MPrintBookmarks", "MEmailBookmarks"}) {
            QVERIFY2(view.Action(QString::fromLatin1(name)) != nullptr, name);
        }
    }
};

QTEST_MAIN(TestPrinting)
#include "tst_printing.moc"
