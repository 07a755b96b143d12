#pragma once

#include "gui/GlyphPainter.h"
#include "mainwindow/TForm1.h"

#include <QMainWindow>
#include <QString>
#include <functional>
#include <string>
#include <vector>

class QAction;
class QPushButton;
class QTabBar;
class QToolButton;

namespace lv {

class Dialogs;
class EditControls;
class FileControls;
class LaunchControls;
class PageControls;
class WebControls;
class QtTrayIcon;
class TrayControls;

// The main window on screen. It owns no bookmark state: every user action becomes a handler
// call on TForm1 (through Dispatch), and the window is drawn again from the model afterwards.
class MainWindowView : public QMainWindow {
    Q_OBJECT
public:
    MainWindowView(TForm1& form, Dialogs& dialogs, QString helpFile);
    ~MainWindowView() override;

    // Runs a handler the way the application runs every handler: a file error ends it and is
    // shown in the general error box; the window is redrawn either way. A close the handler
    // asked for happens once the outermost handler has finished.
    void Dispatch(const std::function<void()>& handler);
    // A termination request: open dialogs are dismissed as cancelled, the window closes the way
    // "Exit Linkvane" does, and errors from then on go to stderr, since no one may be there to
    // answer a box.
    void Terminate();
    // The window has closed (possibly before it was ever shown).
    bool Closed() const { return closing_; }
    // Saving at close reported an error.
    bool CloseFailed() const { return closeFailed_; }
    void Render();
    // Puts the window where the model wants it and shows it when it should be visible.
    void ApplyPlace();

    QPushButton* Button(int slot) const;
    QTabBar* Tabs() const { return tabs_; }
    // The tab bar holds a run of at most kShownTabs pages around the current one: the bar lays
    // out every tab again for each tab added, which made a DataFile of thousands of pages take
    // minutes to show. The page of a bar index, -1 for none.
    static constexpr int kShownTabs = 100;
    int PageOfTab(int tab) const { return tab < 0 ? -1 : tab + tabOffset_; }
    QWidget* ButtonArea() const { return buttonArea_; }
    QAction* Action(const QString& objectName) const;
    LaunchControls* Launch() const { return launch_; }
    // The program's tray icon: its click and menu reach the handlers from now on.
    void AttachTray(QtTrayIcon* tray);

protected:
    void closeEvent(QCloseEvent* event) override;
    // A minimise by the user goes to the launch behaviour (the tray, the mini strip).
    void changeEvent(QEvent* event) override;

private:
    void BuildMenus();
    void BuildToolBar();
    QAction* AddCheck(QMenu* menu, const QString& name, const QString& text,
                      std::function<void()> run);
    void RenderButtons();
    void RenderTabs();
    void LayoutPanels();
    // Row pitch of the button grid: the model's 19 pixels, more when the button font needs it.
    int RowHeight() const;
    // The window's size for the model's place, grown by the taller rows.
    QSize PlaceSize() const;
    int GrownHeight(int height, int growth) const;
    void OpenHelp(const QString& anchor);
    // Help > About: name, version, licence, the program directory and the DataFile in use.
    void ShowAbout();
    // An error of a handler: the general error box, or stderr once termination was requested.
    void Report(const std::string& text);

    TForm1& form_;
    Dialogs& dialogs_;
    QString helpFile_;
    GlyphPainter painter_;
    QWidget* central_ = nullptr;
    QWidget* toolBar_ = nullptr;
    QToolButton* helpButton_ = nullptr;
    QWidget* buttonArea_ = nullptr;
    QTabBar* tabs_ = nullptr;
    int tabOffset_ = 0; // page of the bar's first tab
    int rowHeight_ = 19;
    int sizeRequests_ = 0; // the model's size requests applied so far
    QPushButton* protectedButton_ = nullptr;
    EditControls* edit_ = nullptr;
    LaunchControls* launch_ = nullptr;
    FileControls* files_ = nullptr;
    PageControls* pages_ = nullptr;
    WebControls* web_ = nullptr;
    std::vector<QPushButton*> buttons_;
    std::vector<GlyphRef> shownGlyphs_;
    bool rendering_ = false;
    bool closing_ = false;
    bool closeFailed_ = false;
    bool unattended_ = false;
    int dispatchDepth_ = 0;
    // The launch behaviour on the real window: hidden, minimised, the mini strip, on top.
    void ApplyShowRequest();
    TrayControls* tray_ = nullptr;
    int showRequests_ = 0; // the model's show requests applied so far
    bool placed_ = false;  // ApplyPlace has run: requests from now on are applied
    bool shownOnTop_ = false;
    bool shownMini_ = false;
};

} // namespace lv
