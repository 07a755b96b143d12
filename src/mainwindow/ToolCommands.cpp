// The main window's tool commands: the bookmark search window, "User Setup" and the clipboard
// commands of the tray menu.
#include "mainwindow/Launching.h"
#include "mainwindow/PageGrid.h"
#include "mainwindow/TForm1.h"
#include "pages/PageNames.h"
#include "platform/Unicode.h"
#include "store/Backup.h"
#include "store/DataFile.h"
#include "store/FileIo.h"
#include "store/Text.h"

#include <cstdlib>

namespace lv {
namespace {

bool IsUtf8(std::string_view bytes) {
    std::size_t at = 0;
    while (at < bytes.size()) {
        const std::size_t start = at;
        if (DecodeUtf8(bytes, at) == U'\uFFFD' &&
            bytes.substr(start, at - start) != "\xEF\xBF\xBD") {
            return false;
        }
    }
    return true;
}

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    return home != nullptr && *home != '\0' ? std::string(home) : std::string("/");
}

} // namespace

TDupe& TForm1::Dupe() {
    if (dupe_ == nullptr) {
        DupeHooks hooks;
        hooks.dataFile = [this] { return state_.DataFileName; };
        hooks.columnCount = [this] { return state_.ColumnCount; };
        hooks.backup = [this](const char* command) {
            TakeModificationBackup(state_.DataFileName, state_.checks.autoBackup, command);
        };
        hooks.launch = [this](const std::string& page, int slot, const std::string& target) {
            state_.CurrentButtonName = ButtonName(slot);
            Launching(state_, ports_)
                .Launch(page, target, {.forceLocal = false, .fromSearch = true});
        };
        hooks.eraseButton = [this](const std::string& page, int slot, bool webIconQuestion) {
            Edit().EraseButton(page, slot, webIconQuestion);
        };
        hooks.editBookmark = [this](const std::string& page, int slot, const std::string& title,
                                    const std::string& url) { SearchEdit(page, slot, title, url); };
        hooks.askPageName = [this](const std::string& proposal) {
            std::string pending = proposal;
            TNameForm& form = pageForms_.NameForm;
            form.Open(pending);
            if (ports_.nameForm) {
                ports_.nameForm(form);
            } else {
                form.EscapeKey();
            }
            form.Finish(pending);
            return pending;
        };
        hooks.appendPage = [this](const std::string& name) {
            auto& names = state_.TabSet1.names;
            // Beyond an exact twin, a name that differs from a page only in case, or one that
            // cannot be stored as a section (blanks at its ends, "]"), would share or lose a
            // section: it is mended the way arriving pages are.
            names.push_back(ArrivingPageName(name, names));
            TIniFile32 ini(state_.DataFileName);
            lv::SaveTabs(ini, names);
            return names.back();
        };
        hooks.showLastPage = [this] {
            // The new page is loaded as at start-up (the page list read afresh), then its tab,
            // the last one, is selected.
            const std::string page = state_.TabSet1.names.back();
            state_.InitialLoad = true;
            try {
                Load(page);
            } catch (...) {
                state_.InitialLoad = false;
                throw;
            }
            state_.InitialLoad = false;
            state_.TabSet1.selected = static_cast<int>(state_.TabSet1.names.size()) - 1;
            TabSet1Click();
        };
        hooks.openHelp = [this](int topic) {
            if (ports_.openHelp) {
                ports_.openHelp(topic);
            }
        };
        hooks.backColor = [this] { return state_.TabSelectedColor; };
        hooks.fontColor = [this] { return state_.TabFontColor; };
        dupe_ = std::make_unique<TDupe>(ports_.dialogs, std::move(hooks));
    }
    return *dupe_;
}

void TForm1::MSearchAClick() {
    TDupe& dupe = Dupe();
    if (ports_.searchWindow) {
        ports_.searchWindow(dupe);
    } else {
        dupe.FormActivate();
    }
}

void TForm1::SearchEdit(const std::string& page, int slot, const std::string& title,
                        const std::string& url) {
    TakeModificationBackup(state_.DataFileName, state_.checks.autoBackup, "Edit bookmark");
    const Bookmark bookmark = StoreButton(state_.DataFileName, page, SlotPrefix(slot));
    TBConfigForm& form = edit_.BConfigForm;
    form.Open();
    form.Desc1 = title;
    form.URL1 = url;
    form.EI1 = DecodeNotes(bookmark.notes);
    form.EI2 = bookmark.extra;
    form.RunBox = bookmark.local == "Yes";
    form.PassBox = false;
    form.bookmarkColor =
        ReadFromIniILVD(state_.DataFileName, page, SlotKey(slot, 'C'), state_.ButtonFontColor);
    form.titleReadOnly = false;
    form.fieldsVisible = true;
    form.actionsVisible = true;
    form.resetColorVisible = form.bookmarkColor != state_.ButtonFontColor;
    form.passBoxVisible = false;
    form.slotActionsVisible = false;
    edit_.shownUrl = form.URL1;
    BookmarkEdit edit = Edit();
    form.onNameChange = [&edit, page, slot] { edit.NameChange(page, slot); };
    form.onResetColor = [&edit, page, slot] { edit.ResetBC(page, slot); };
    if (ports_.bookmarkEditor) {
        ports_.bookmarkEditor(form);
    }
    form.onNameChange = nullptr;
    form.onResetColor = nullptr;
    form.passBoxVisible = true;
    form.slotActionsVisible = true;
    if (form.EditorAction == kEditColor) {
        edit.BFontChange(page, slot);
    } else if (form.EditorAction == kEditLocal && form.URL1.starts_with("mailto:")) {
        // A mail address opens through the desktop, as the editor's own flow arranges.
        TIniFile32 ini(state_.DataFileName);
        if (ini.ReadString(page, SlotKey(slot, 'L'), "") != "Yes") {
            ini.WriteString(page, SlotKey(slot, 'L'), "Yes");
        }
    }
    form.EditorAction = kEditNothing;
}

std::string TForm1::UserFile() const {
    return UserFileName(state_.ProgramDir, state_.SettingsStem);
}

void TForm1::MChangeUserINfoClick() {
    TUserSetup setup(UserFile());
    setup.FormActivate(state_.TabSelectedColor, state_.TabFontColor);
    if (ports_.userSetup) {
        ports_.userSetup(setup);
    }
    setup.FormClose();
}

void TForm1::CopyToClipboard(const std::string& text) {
    if (ports_.clipboard == nullptr) {
        return;
    }
    // The clipboard is emptied first: with nothing to copy it stays empty.
    ports_.clipboard->SetText("");
    state_.Memo1 = text;
    if (!state_.Memo1.empty()) {
        ports_.clipboard->SetText(Cp1252ToUtf8(state_.Memo1));
    }
    state_.Memo1.clear();
}

void TForm1::CopyUserDetail(std::string_view item) {
    CopyToClipboard(UserDetailText(UserFile(), item));
}

void TForm1::UserID1Click() {
    const int slot = SlotFromPrefix(state_.CurrentButtonName);
    std::string notes;
    if (slot > 0 && !state_.TabSet1.names.empty()) {
        notes = DecodeNotes(
            ReadFromIniSLVD(state_.DataFileName, state_.TabSet1.Current(), SlotKey(slot, 'P'), ""));
    }
    CopyToClipboard(notes);
}

void TForm1::WebPassClick() {
    const int slot = SlotFromPrefix(state_.CurrentButtonName);
    std::string extra;
    if (slot > 0 && !state_.TabSet1.names.empty()) {
        extra =
            ReadFromIniSLVD(state_.DataFileName, state_.TabSet1.Current(), SlotKey(slot, 'S'), "");
    }
    CopyToClipboard(extra);
}

void TForm1::TextClick() {
    const OpenFileResult chosen = ports_.dialogs.OpenFile(
        {std::string(kTextFileTitle), std::string(kTextFileFilter), HomeFolder()});
    if (!chosen.accepted || ports_.clipboard == nullptr) {
        return;
    }
    // Read before the clipboard is emptied: a file that cannot be read keeps what it held, and
    // the reason is shown as a file error.
    const std::string bytes = ReadFileBytes(chosen.path, kTextFileLimit).value_or("");
    ports_.clipboard->SetText("");
    if (!bytes.empty()) {
        ports_.clipboard->SetText(IsUtf8(bytes) ? bytes : Cp1252ToUtf8(bytes));
    }
}

} // namespace lv
