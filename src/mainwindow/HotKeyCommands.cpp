// The main window's global hotkeys and the default icon of bookmarks.
#include "mainwindow/TForm1.h"

#include "platform/GlobalHotKeys.h"
#include "platform/TrayIcon.h"
#include "store/Backup.h"
#include "store/DataFile.h"
#include "store/FileIo.h"
#include "store/TIniFile32.h"
#include "tools/TGlyphForm.h"

namespace lv {

void TForm1::SetHotKeys() {
    hotKeyMgr_.SetAction(THotKeyManager::AddBookmark, [this] { AddBookmarkClick(); });
    hotKeyMgr_.SetAction(THotKeyManager::HideLinkvane, [this] { HotKeyHide(); });
    hotKeyMgr_.SetAction(THotKeyManager::ShowLinkvane, [this] { HotKeyShow(); });
    hotKeyMgr_.SetAction(THotKeyManager::OpenFile, [this] { MFOpenClick(); });
    // Hidden mode needs a way back: without a show key its check mark goes.
    hotKeyMgr_.onShowOff = [this] { state_.checks.trayHide = false; };
    // A desktop that takes the show key back later: a window hidden with neither that key nor a
    // tray icon comes back at once.
    hotKeyMgr_.onShowLost = [this] {
        const bool inTray = ports_.trayIcon != nullptr && ports_.trayIcon->Shown();
        if (!state_.place.visible && !inTray) {
            state_.place.visible = true;
            state_.place.minimized = false;
        }
    };
    hotKeyMgr_.SetHotKeys(state_.SettingsFile());
}

void TForm1::MHotkeysClick() {
    THotKeyForm& form = hotKeyForm_;
    form.backColor = state_.TabSelectedColor;
    form.fontColor = state_.TabFontColor;
    form.onHelp = ports_.openHelp;
    GlobalHotKeys* desktop = hotKeyMgr_.Desktop();
    form.available = desktop != nullptr && desktop->Available();
    form.unavailableText = desktop != nullptr
                               ? desktop->UnavailableText()
                               : std::string("This desktop offers no global hotkeys.");
    form.desktopNote = form.available ? desktop->NoteText() : std::string();
    if (!form.available && form.unavailableText.empty()) {
        form.unavailableText = "This desktop offers no global hotkeys.";
    }
    form.onSave = [this] {
        hotKeyForm_.SaveClick(state_.SettingsFile(), hotKeyMgr_, hotKeyMgr_.onShowOff);
    };
    form.FormActivate(state_.SettingsFile());
    if (ports_.hotKeyForm) {
        ports_.hotKeyForm(form);
    } else {
        form.CloseClick();
    }
}

void TForm1::HotKeyHide() {
    // Hiding without a key that really brings the window back would lose the program.
    if (!hotKeyMgr_.Registered(THotKeyManager::ShowLinkvane)) {
        return;
    }
    state_.place.visible = false;
}

void TForm1::HotKeyShow() {
    state_.place.visible = true;
    state_.place.minimized = false;
}

void TForm1::MDefaultIconClick() {
    if (state_.DataFileName.empty()) {
        return;
    }
    TakeModificationBackup(state_.DataFileName, state_.checks.autoBackup, "Default icon");
    TGlyphForm chooser;
    chooser.backColor = state_.TabSelectedColor;
    chooser.fontColor = state_.TabFontColor;
    chooser.onHelp = ports_.openHelp;
    // The default glyph is an image of the built-in list, so only those are offered.
    chooser.FormActivate({state_.DataFileName, "Default", "Icon", true, true}, &ports_.dialogs);
    if (ports_.glyphForm) {
        ports_.glyphForm(chooser);
    }
    if (chooser.GetChoice() == TGlyphForm::Choice::None) {
        DisarmBeforeFirstChange();
        return;
    }
    TIniFile32 ini(state_.DataFileName);
    state_.DefaultIconG = ReadDefaultIconG(ini);
    ReloadCurrent();
}

} // namespace lv
