#include "gui/AppInfo.h"
#include "gui/DesktopHotKeys.h"
#include "gui/HintStyle.h"
#include "gui/LaunchControls.h"
#include "gui/MainWindowView.h"
#include "gui/NetscapeControls.h"
#include "gui/QtClipboard.h"
#include "gui/QtDialogs.h"
#include "gui/QtEventLoop.h"
#include "gui/QtPrinter.h"
#include "gui/QtScreen.h"
#include "gui/QtTrayIcon.h"
#include "gui/TAlphaFormView.h"
#include "gui/TBConfigFormView.h"
#include "gui/TDupeView.h"
#include "gui/TEFormView.h"
#include "gui/TGlyphFormView.h"
#include "gui/THotKeyFormView.h"
#include "gui/THttpAsyFormView.h"
#include "gui/TNameFormView.h"
#include "gui/TPFormView.h"
#include "gui/TSearchFormView.h"
#include "gui/TTabFormView.h"
#include "gui/TUserSetupView.h"
#include "mainwindow/BrowserList.h"
#include "mainwindow/TForm1.h"
#include "mainwindow/TPForm.h"
#include "pages/TAlphaForm.h"
#include "platform/BrowserProbe.h"
#include "platform/Clock.h"
#include "platform/IcmpEcho.h"
#include "platform/LinuxProcessLauncher.h"
#include "platform/LinuxShell.h"
#include "platform/NetworkState.h"
#include "platform/ProgramDir.h"
#include "platform/SignalWatcher.h"
#include "platform/UnixSingleInstance.h"
#include "platform/XdgAutoStart.h"
#include "store/TIniFile32.h"
#include "web/DevToolsTransport.h"
#include "web/TEForm.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QSocketNotifier>
#include <QUrl>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string_view>

namespace {

QString FindHelpFile() {
    return lv::FindHelpFile(QCoreApplication::applicationDirPath(),
                            QStringLiteral(LV_SOURCE_HELP_FILE));
}

// --version and --help answer on stdout without a window, so they work with no display.
int AnswerOption(int argc, char* argv[], std::string_view option) {
    QCoreApplication app(argc, argv);
    const QString helpFile = FindHelpFile();
    const QString text =
        option == "--version" ? lv::VersionText(helpFile) : lv::UsageText(helpFile);
    std::fputs(text.toLocal8Bit().constData(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg(argv[i]);
        if (arg == "--version" || arg == "--help") {
            return AnswerOption(argc, argv, arg);
        }
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Linkvane"));
    QApplication::setApplicationVersion(lv::AppVersion());
    // Desktops match the window to linkvane.desktop by this name (the Wayland app id).
    QGuiApplication::setDesktopFileName(QStringLiteral("linkvane"));
    QApplication::setWindowIcon(lv::AppIcon());
    QApplication::setQuitOnLastWindowClosed(true);
    QApplication::setStyle(new lv::HintStyle);

    std::string programDir;
    bool firstStart = false;
    try {
        programDir = lv::FindProgramDir(lv::ProgramDirSourcesFromEnvironment(), &firstStart);
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, QStringLiteral("Linkvane"), QString::fromUtf8(error.what()));
        return 1;
    }

    std::vector<std::string> args;
    for (const QString& arg : QCoreApplication::arguments().mid(1)) {
        // Arguments are file names: kept as the file system spells them.
        args.push_back(QFile::encodeName(arg).toStdString());
    }
    // One running copy per user and program directory: a second one hands its arguments to it
    // and ends without a window.
    lv::UnixSingleInstance once(programDir, lv::UnixSingleInstance::RuntimeDirFromEnvironment());
    if (!once.Claim(args)) {
        return 0;
    }

    // No installer runs on Linux to mark the first start ("/_"): a program directory made just
    // now is one, and the new user is welcomed.
    if (firstStart && args.empty()) {
        args.emplace_back("/_");
    }

    lv::QtDialogs dialogs;
    lv::QtScreen screen;
    lv::SystemClock clock;
    lv::QtEventLoop loop;
    lv::LinuxProcessLauncher launcher(loop);
    lv::LinuxShell shell;
    lv::DevToolsTransport browser(loop);
    lv::FileSearchProgress searchProgress;
    lv::FileWorkProgress workProgress;
    lv::QtClipboard clipboard;
    lv::QtPrinter printer(nullptr);
    lv::QtTrayIcon tray;
    const char* home = std::getenv("LINKVANE_HOME");
    lv::XdgAutoStart autoStart(
        lv::XdgAutoStart::PlacesFromEnvironment(),
        QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString(),
        home != nullptr ? home : "");
    lv::TForm1* started = nullptr;
    lv::MainWindowPorts ports{dialogs, screen, clock, {}};
    lv::TBConfigFormView* editorView = nullptr; // owned by the main window
    ports.bookmarkEditor = [&editorView](lv::TBConfigForm& editor) { editorView->Edit(editor); };
    lv::TAlphaFormView* rangeView = nullptr; // owned by the main window
    ports.pageRange = [&rangeView, &started](lv::TAlphaForm& range) {
        rangeView->Choose(range, started->State().TabSelectedColor, started->State().TabFontColor);
    };
    lv::MainWindowView* shown = nullptr;
    ports.showNow = [&shown] {
        if (shown != nullptr) {
            shown->Render();
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        }
    };
    lv::TNameFormView* nameView = nullptr; // owned by the main window
    lv::TTabFormView* tabView = nullptr;
    ports.nameForm = [&nameView](lv::TNameForm& nameForm) { nameView->Edit(nameForm); };
    ports.tabForm = [&tabView](lv::TTabForm& tabForm) { tabView->Edit(tabForm); };
    ports.openHelp = [](int topic) {
        QUrl url = QUrl::fromLocalFile(FindHelpFile());
        url.setFragment(QStringLiteral("topic-%1").arg(topic));
        QDesktopServices::openUrl(url);
    };
    // No usable browser in the settings: the first known browsers found become 1 and 2.
    ports.probeBrowser = [&started] {
        return lv::RecordProbedBrowsers(started->State().SettingsFile(),
                                        lv::ProbeInstalledBrowsers());
    };
    // Internet search and e-mail: each dialog is made once and shown on demand.
    lv::TSearchFormView* netSearchView = nullptr; // owned by the main window
    ports.searchForm = [&netSearchView](lv::TSearchForm& search) { netSearchView->Search(search); };
    lv::TEForm emailForm(loop, dialogs);
    lv::TEFormView* emailView = nullptr;
    emailForm.onHelp = ports.openHelp;
    emailForm.onBeep = [] { QApplication::beep(); };
    ports.emailForm = [&emailView, &emailForm, &started](lv::EmailMode mode,
                                                         const std::vector<std::string>& lines) {
        const lv::MainWindowState& state = started->State();
        emailForm.programDir = state.ProgramDir;
        emailForm.settingsStem = state.SettingsStem;
        emailForm.sendMode = mode;
        emailForm.bookmarks = lines;
        emailForm.tabColor = state.TabSelectedColor;
        emailForm.tabFontColor = state.TabFontColor;
        emailView->Send();
    };
    ports.launcher = &launcher;
    ports.shell = &shell;
    ports.browser = &browser;
    ports.clipboard = &clipboard;
    ports.printer = &printer;
    ports.trayIcon = &tray;
    ports.autoStart = &autoStart;
    ports.searchProgress = [&searchProgress](const std::string& folder) {
        return searchProgress.Step(folder);
    };
    // The bookmark search window (modeless) and "User Setup".
    lv::TDupeView* searchView = nullptr; // owned by the main window
    lv::TUserSetupView* userView = nullptr;
    ports.searchWindow = [&searchView](lv::TDupe& dupe) { searchView->Open(dupe); };
    ports.userSetup = [&userView](lv::TUserSetup& setup) { userView->Edit(setup); };
    // Web access: page and icon fetches on the window's loop, the connection lamp, the pings.
    lv::LinuxNetworkState network;
    lv::LinuxIcmpEcho icmp;
    ports.loop = &loop;
    ports.network = &network;
    ports.icmp = &icmp;
    lv::TPFormView* pingView = nullptr; // owned by the main window
    ports.pingForm = [&pingView, &started](lv::TPForm& speed) {
        pingView->Ping(speed, started->State().TabSelectedColor, started->State().TabFontColor);
    };
    ports.progress = [&workProgress](const std::string& what, long long done, long long total) {
        workProgress.Step(what, done, total);
    };
    lv::THttpAsyFormView* checkerView = nullptr; // owned by the main window
    ports.linkChecker = [&checkerView, &started](lv::THttpAsyForm& checker) {
        checkerView->Check(checker, started->State().TabSelectedColor,
                           started->State().TabFontColor);
    };
    // Global hotkeys, the hotkey dialog and the icon chooser.
    std::unique_ptr<lv::GlobalHotKeys> hotKeys = lv::OpenDesktopHotKeys(loop);
    ports.hotKeys = hotKeys.get();
    lv::THotKeyFormView* hotKeyView = nullptr; // owned by the main window
    lv::TGlyphFormView* glyphView = nullptr;
    ports.hotKeyForm = [&hotKeyView](lv::THotKeyForm& hotKeyForm) { hotKeyView->Edit(hotKeyForm); };
    ports.glyphForm = [&glyphView](lv::TGlyphForm& glyphForm) { glyphView->Choose(glyphForm); };
    lv::TForm1 form(ports, programDir);
    started = &form;
    lv::MainWindowView view(form, dialogs, FindHelpFile());
    dialogs.SetParent(&view);
    printer.SetParent(&view);
    editorView = new lv::TBConfigFormView(&view, FindHelpFile());
    rangeView = new lv::TAlphaFormView(&view, FindHelpFile());
    shown = &view;
    nameView = new lv::TNameFormView(&view);
    tabView = new lv::TTabFormView(&view);
    searchView =
        new lv::TDupeView(&view, [&view](const std::function<void()>& run) { view.Dispatch(run); });
    userView = new lv::TUserSetupView(&view);
    pingView = new lv::TPFormView(&view);
    netSearchView = new lv::TSearchFormView(&view);
    emailView = new lv::TEFormView(emailForm, &view);
    checkerView = new lv::THttpAsyFormView(&view);
    hotKeyView = new lv::THotKeyFormView(&view);
    glyphView = new lv::TGlyphFormView(&view);
    // A hotkey runs like any handler; the hide and show keys change whether the window shows.
    // What the desktop holds may change later too (a portal that asked its user): a show key
    // taken back brings a hidden window back.
    auto applyVisibility = [&form, &view] {
        if (!form.State().place.visible) {
            view.hide();
        } else if (!view.isVisible() || view.isMinimized()) {
            view.showNormal();
            view.raise();
            view.activateWindow();
        }
    };
    hotKeys->SetHandler([&form, &view, applyVisibility](int id) {
        view.Dispatch([&form, id] { form.HotKeyMgr().HotKeyPressed(id); });
        applyVisibility();
    });
    hotKeys->SetHoldingsHandler([&form, &view, applyVisibility] {
        const bool hidden = !form.State().place.visible;
        view.Dispatch([&form] { form.HotKeyMgr().HoldingsChanged(); });
        if (hidden && form.State().place.visible) {
            applyVisibility();
        }
    });

    // A termination request closes the window the way "Exit Linkvane" does, also while a box
    // is open (one at start-up included).
    lv::SignalWatcher watcher;
    QSocketNotifier notifier(watcher.Fd(), QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, &view, [&] {
        while (watcher.TakeSignal() != 0) {
        }
        view.Terminate();
    });

    view.AttachTray(&tray);
    // Another copy started: it has handed over its arguments and ends; this one says so.
    std::unique_ptr<QSocketNotifier> instances;
    if (once.WatchFd() >= 0) {
        instances = std::make_unique<QSocketNotifier>(once.WatchFd(), QSocketNotifier::Read);
        QObject::connect(instances.get(), &QSocketNotifier::activated, &view, [&] {
            std::vector<std::string> handed;
            if (once.Take(handed)) {
                view.Dispatch([&form, handed] { form.InstanceStarted(handed); });
            }
        });
    }

    view.Dispatch([&] { form.FormCreate(args); });
    // The port of the browser's DevTools endpoint, for single-window launches and capture.
    view.Dispatch([&] {
        browser.SetPort(
            lv::TIniFile32(form.State().SettingsFile())
                .ReadInteger("Browser", "DebugPort", lv::DevToolsTransport::kDefaultPort));
    });
    view.ApplyPlace();
    const int status = view.Closed() ? 0 : QApplication::exec();
    // A save at close that failed has been reported; the exit status says so too.
    return view.CloseFailed() ? 1 : status;
}
