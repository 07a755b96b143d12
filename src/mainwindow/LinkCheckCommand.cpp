// The main window's side of the link checker: what the checker window needs from it, and the
// page it comes back to.

#include "mainwindow/TForm1.h"

#include "mainwindow/TNameForm.h"
#include "store/DataFile.h"
#include "store/TIniFile32.h"
#include "tools/THttpAsyForm.h"

namespace lv {

void TForm1::CheckBtnClick() {
    if (!ports_.linkChecker || ports_.loop == nullptr || state_.TabSet1.names.empty()) {
        return;
    }
    CheckerSetup setup;
    setup.dataFile = state_.DataFileName;
    setup.settingsFile = state_.SettingsFile();
    setup.pages = state_.TabSet1.names;
    setup.currentPage = state_.TabSet1.selected;
    setup.columns = state_.ColumnCount;
    setup.autoBackup = state_.checks.autoBackup;
    setup.pageRange = ports_.pageRange;
    setup.openHelp = ports_.openHelp;
    setup.launch = [this](const std::string& page, int slot, const std::string& address) {
        // The launch reads the slot's local-launch and extra-information keys.
        state_.CurrentButtonName = ButtonName(slot);
        Launch(page, address);
    };
    setup.erase = [this](const std::string& page, int slot) {
        Edit().EraseButton(page, slot, true);
    };
    setup.edit = [this](const std::string& page, int slot, const std::string& link) {
        TBConfigForm& form = edit_.BConfigForm;
        const TIniFile32 ini(state_.DataFileName);
        form.Open();
        form.Desc1 = ini.ReadString(page, SlotKey(slot, 'N'), "");
        form.URL1 = link;
        form.EI1 = DecodeNotes(ini.ReadString(page, SlotKey(slot, 'P'), ""));
        form.EI2 = ini.ReadString(page, SlotKey(slot, 'S'), "");
        form.bookmarkColor = ini.ReadInteger(page, SlotKey(slot, 'C'), state_.ButtonFontColor);
        form.PassBox = false;
        form.RunBox = false;
        form.passBoxVisible = false;
        edit_.shownUrl = link;
        form.onNameChange = [this, page, slot] { Edit().NameChange(page, slot); };
        form.onResetColor = [this, page, slot] { Edit().ResetBC(page, slot); };
        if (ports_.bookmarkEditor) {
            ports_.bookmarkEditor(form);
        }
        form.onNameChange = nullptr;
        form.onResetColor = nullptr;
        // Moving, copying and erasing from the editor belong to the main window's grid.
        form.EditorAction = kEditNothing;
        form.passBoxVisible = true;
    };
    setup.pageName = [this](const std::string& proposed) {
        TNameForm& form = pageForms_.NameForm;
        form.Open(proposed);
        if (ports_.nameForm) {
            ports_.nameForm(form);
        } else {
            form.SaveNameClick();
        }
        // Escape leaves the name empty: nothing is moved.
        std::string name;
        form.Finish(name);
        return name;
    };
    setup.pageAdded = [this](int tab) {
        state_.TabSet1.names = ReadTabs(TIniFile32(state_.DataFileName));
        SelectTab(tab);
    };
    THttpAsyForm checker(*ports_.loop, ports_.dialogs, std::move(setup));
    checker.FormActivate();
    ports_.linkChecker(checker);
    checker.FormClose();
    state_.TabSet1.names = ReadTabs(TIniFile32(state_.DataFileName));
    ReloadCurrent();
}

} // namespace lv
