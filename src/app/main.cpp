#include "gui/HintStyle.h"
#include "gui/MainWindowView.h"
#include "gui/QtDialogs.h"
#include "gui/QtScreen.h"
#include "mainwindow/TForm1.h"
#include "platform/Clock.h"
#include "platform/ProgramDir.h"
#include "platform/SignalWatcher.h"
#include "store/Text.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QSocketNotifier>
#include <exception>

namespace {

// The help page: installed beside the program, else the one of the source tree it was built from.
QString FindHelpFile() {
    const QString exeDir = QCoreApplication::applicationDirPath();
    const QString candidates[] = {exeDir + QStringLiteral("/../share/linkvane/help.html"),
                                  exeDir + QStringLiteral("/help.html"),
                                  QStringLiteral(LV_SOURCE_HELP_FILE)};
    for (const QString& candidate : candidates) {
        if (QFileInfo::exists(candidate)) {
            return QFileInfo(candidate).canonicalFilePath();
        }
    }
    return candidates[0];
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Linkvane"));
    QApplication::setQuitOnLastWindowClosed(true);
    QApplication::setStyle(new lv::HintStyle);

    std::string programDir;
    try {
        programDir = lv::FindProgramDir(lv::ProgramDirSourcesFromEnvironment());
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, QStringLiteral("Linkvane"), QString::fromUtf8(error.what()));
        return 1;
    }

    std::vector<std::string> args;
    for (const QString& arg : QCoreApplication::arguments().mid(1)) {
        args.push_back(lv::Utf8ToCp1252(arg.toStdString()));
    }

    lv::QtDialogs dialogs;
    lv::QtScreen screen;
    lv::SystemClock clock;
    lv::TForm1 form(lv::MainWindowPorts{dialogs, screen, clock, {}}, programDir);
    lv::MainWindowView view(form, dialogs, FindHelpFile());
    dialogs.SetParent(&view);

    // A termination request closes the window the way "Exit Linkvane" does.
    lv::SignalWatcher watcher;
    QSocketNotifier notifier(watcher.Fd(), QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, &view, [&] {
        while (watcher.TakeSignal() != 0) {
        }
        view.Dispatch([&] { form.MExit1Click(); });
    });

    view.Dispatch([&] { form.FormCreate(args); });
    view.ApplyPlace();
    return QApplication::exec();
}
