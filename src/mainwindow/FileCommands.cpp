#include "mainwindow/FileCommands.h"

#include "mainwindow/Keyboard.h"
#include "mainwindow/PageGrid.h"
#include "mainwindow/PasswordProtection.h"
#include "mainwindow/StartUp.h"
#include "mainwindow/TaskTray.h"
#include "pages/Alphabetize.h"
#include "pages/ColorFilter.h"
#include "pages/FileMerge.h"
#include "pages/OldToNew.h"
#include "pages/TAlphaForm.h"
#include "store/Backup.h"
#include "store/DataFile.h"
#include "store/FileError.h"
#include "store/FileIo.h"
#include "store/Settings.h"
#include "store/TIniFile32.h"
#include "store/Text.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace lv {
namespace {

namespace fs = std::filesystem;

std::string LastPart(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string DirectoryOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The extension of the last path component, without its dot, in lower case.
std::string Extension(const std::string& path) {
    const std::string name = LastPart(path);
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : LowerCase1252(name.substr(dot + 1));
}

bool HasExtension(const std::string& path) {
    return LastPart(path).find('.') != std::string::npos;
}

// An existing file spelt in another letter case stands for the name asked for.
std::string AsOnDisk(const std::string& path) {
    return ResolveCaseInsensitive(DirectoryOf(path), LastPart(path));
}

std::string Canonical(const std::string& path) {
    std::error_code error;
    const fs::path canonical = fs::weakly_canonical(path, error);
    return error ? fs::path(path).lexically_normal().string() : canonical.string();
}

bool SameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    return fs::equivalent(a, b, error) || Canonical(a) == Canonical(b);
}

// Open only what can be read: a missing name must not become an empty DataFile.
void RequireReadable(const std::string& path) {
    std::error_code error;
    if (!fs::is_regular_file(path, error) || !std::ifstream(path, std::ios::binary)) {
        throw FileError::CannotOpen(path);
    }
}

void RemoveFile(const std::string& path) {
    std::error_code error;
    if (!fs::remove(path, error) || error) {
        throw FileError("Cannot delete file " + path);
    }
}

} // namespace

bool InDirectory(const std::string& path, const std::string& directory) {
    std::string dir = directory;
    while (dir.size() > 1 && dir.back() == '/') {
        dir.pop_back();
    }
    const std::string parent = DirectoryOf(path);
    if (parent == dir) {
        return true;
    }
    std::error_code error;
    return fs::equivalent(parent, dir, error);
}

// Paths stay the file system's bytes, as the program directory and the DataFile name are;
// only texts shown to the user are turned into the program's character set.
std::string FileCommands::PickFile(const char* title, const char* filter) {
    const OpenFileResult chosen = ports_.dialogs.OpenFile({title, filter, state_.ProgramDir});
    if (!chosen.accepted || chosen.path.empty()) {
        return {};
    }
    return AsOnDisk(chosen.path);
}

std::string FileCommands::PickNewFile(int helpContext) {
    SaveFileRequest request;
    request.title = "Enter New File Name";
    request.filter = kDataFileFilter;
    request.directory = state_.ProgramDir;
    request.defaultExtension = "lvd";
    request.overwritePrompt = true;
    request.helpContext = helpContext;
    const OpenFileResult chosen = ports_.dialogs.SaveFile(request);
    if (!chosen.accepted || chosen.path.empty()) {
        return {};
    }
    return chosen.path;
}

void FileCommands::ChangeDataFile(const std::string& dataFile, const std::string& firstPage) {
    WritePagePass(state_);
    state_.PagePassBox.clear();
    state_.DataFileName = dataFile;
    WriteToIniS(state_.SettingsFile(), settings::kFileName.section, settings::kFileName.key,
                dataFile);
    ReadPagePassFromFile(state_);
    {
        TIniFile32 ini(dataFile);
        state_.DefaultIconG = ReadDefaultIconG(ini);
    }
    // Only the keyboard selection goes: a page carried by Move Page stays in hand, to be
    // dropped into the new file.
    ClearSelection(state_);
    state_.TabSet1.selected = 0;
    state_.InitialLoad = true;
    try {
        PageGrid(state_).Load(firstPage);
    } catch (...) {
        state_.InitialLoad = false;
        state_.caption = FormCaption(state_, ports_.clock);
        throw;
    }
    state_.InitialLoad = false;
    state_.caption = FormCaption(state_, ports_.clock);
}

void FileCommands::ReloadCurrent() {
    if (!state_.TabSet1.names.empty()) {
        PageGrid(state_).Load(state_.TabSet1.Current());
    }
}

void FileCommands::MFNewClick() {
    const std::string chosen = PickNewFile(12);
    if (chosen.empty()) {
        return;
    }
    const std::string dataFile = DataFileForStem(FileStem(chosen), ".lvd");
    // An existing file keeps its pages' sections; only its page list starts again.
    {
        TIniFile32 ini(dataFile);
        ini.SetDeferSaves(true);
        WriteNewDataFile(ini);
        ini.UpdateFile();
    }
    ChangeDataFile(dataFile, "Page1");
}

std::string FileCommands::OfferCopyToProgramDir(const std::string& chosen) {
    if (InDirectory(chosen, state_.ProgramDir)) {
        return chosen;
    }
    const MessageRequest copy{MsgKind::Confirmation,
                              {},
                              "Would you like to copy this data file to the Linkvane directory",
                              MsgButtons::YesNoHelp,
                              48};
    if (ports_.dialogs.Message(copy) != MsgResult::Yes) {
        return chosen;
    }
    const std::string name = LastPart(chosen);
    // "work.lvd" there is the same file to the user as "Work.lvd": replace it, never add a twin.
    const std::string destination = AsOnDisk(state_.ProgramDir + name);
    if (PathExists(destination)) {
        const MessageRequest replace{MsgKind::Confirmation,
                                     {},
                                     "A file named " + Utf8ToCp1252(name) +
                                         " already exists in the Linkvane directory, do you want "
                                         "to replace it?",
                                     MsgButtons::YesNoHelp,
                                     48};
        if (ports_.dialogs.Message(replace) != MsgResult::Yes) {
            return chosen;
        }
    }
    FileCopy(chosen, destination);
    return destination;
}

void FileCommands::MFOpenClick() {
    std::string chosen = PickFile("Select Linkvane File", kOpenFileFilter);
    if (chosen.empty()) {
        return;
    }
    if (Extension(chosen) == "obk") {
        RequireReadable(chosen);
        const std::string converted = ConvertedFileName(chosen);
        if (!PathExists(converted) ||
            ports_.dialogs.Message({MsgKind::Confirmation,
                                    {},
                                    "Converted file already exists, do you want to overwrite it?",
                                    MsgButtons::YesNoHelp,
                                    48}) == MsgResult::Yes) {
            state_.caption = kConvertingCaption;
            if (ports_.showNow) {
                ports_.showNow();
            }
            try {
                OldToNew(chosen);
            } catch (...) {
                state_.caption = FormCaption(state_, ports_.clock);
                throw;
            }
        }
        chosen = converted;
    }
    if (!HasExtension(chosen)) {
        ports_.dialogs.Message({MsgKind::Information,
                                {},
                                "Please use Create New File to create a new file.",
                                MsgButtons::Ok,
                                0});
        return;
    }
    RequireReadable(chosen);
    const std::string use = OfferCopyToProgramDir(chosen);
    // A picked DataFile is used as it is spelt; another name stands for its stem's DataFile.
    const std::string dataFile =
        Extension(use) == "lvd" ? use : DataFileForStem(FileStem(use), ".LVD");
    RequireReadable(dataFile);
    ChangeDataFile(dataFile, ReadFromIniSLVD(dataFile, datafile::kTabs, "Tab1", "Page1"));
}

void FileCommands::MFSaveAsClick(bool rename) {
    const std::string chosen = PickNewFile(49);
    if (chosen.empty()) {
        return;
    }
    const std::string newStem = FileStem(chosen);
    const std::string oldStem = FileStem(state_.DataFileName);
    const std::string newFile = DataFileForStem(newStem, ".lvd");
    const std::string oldCompanion = DataFileForStem(oldStem, ".DAT");
    // Saving or renaming a file onto itself must neither copy nor delete it.
    const bool sameFile = SameFile(newFile, state_.DataFileName);
    if (!sameFile) {
        FileCopy(state_.DataFileName, newFile);
        if (PathExists(oldCompanion)) {
            FileCopy(oldCompanion, DataFileForStem(newStem, ".DAT"));
        }
        if (rename) {
            RemoveFile(state_.DataFileName);
            if (PathExists(oldCompanion)) {
                RemoveFile(oldCompanion);
            }
            // A page or bookmarks carried from this file now live under its new name.
            for (std::string* carried :
                 {&state_.pageOps.PendingSourceFile, &state_.pageOps.BookmarkSourceFile}) {
                if (*carried == state_.DataFileName) {
                    *carried = newFile;
                }
            }
        }
    }
    state_.DataFileName = newFile;
    WriteToIniS(state_.SettingsFile(), settings::kFileName.section, settings::kFileName.key,
                newFile);
    state_.caption = FormCaption(state_, ports_.clock);
}

void FileCommands::MFDeleteClick() {
    const std::string chosen = PickFile("Select File to Delete", kDeleteFileFilter);
    if (chosen.empty()) {
        return;
    }
    // The file in use, its backup and companion share its stem.
    if (SameText1252(FileStem(Canonical(chosen)), FileStem(Canonical(state_.DataFileName))) ||
        SameFile(chosen, state_.DataFileName)) {
        ports_.dialogs.Message({MsgKind::Error,
                                {},
                                "You cannot delete [ " + Utf8ToCp1252(LastPart(FileStem(chosen))) +
                                    " ] while it is in use by Linkvane.",
                                MsgButtons::Ok,
                                0});
        return;
    }
    if (ports_.dialogs.Message(
            {MsgKind::Confirmation,
             {},
             "Are you sure you want to delete [ " + Utf8ToCp1252(LastPart(chosen)) + " ]?",
             MsgButtons::YesNo,
             0}) == MsgResult::Yes) {
        RemoveFile(chosen);
    }
}

void FileCommands::MFMergeClick() {
    const std::string chosen = PickFile("Select Linkvane File", kDataFileFilter);
    if (chosen.empty()) {
        return;
    }
    RequireReadable(chosen);
    const FileMergeResult merged =
        MergeFiles(ports_.dialogs, chosen, state_.DataFileName, state_.checks.autoBackup,
                   ReadFilterColor(state_.SettingsFile()));
    if (!merged.pagesAdded.empty()) {
        state_.TabSet1.names = ReadTabs(TIniFile32(state_.DataFileName));
    }
    ReloadCurrent();
    state_.caption = FormCaption(state_, ports_.clock);
}

void FileCommands::AlphaButtonClick() {
    if (state_.TabSet1.names.empty()) {
        return;
    }
    TAlphaForm form(state_.SettingsFile(), DialogsColorPicker(ports_.dialogs), ports_.openHelp);
    form.SetTexts(AlphabetizeCaption(state_.TabSet1.Current()), kAlphabetizeAction);
    form.FormActivate(state_.TabSet1.names, state_.TabSet1.selected);
    if (ports_.pageRange) {
        ports_.pageRange(form);
    }
    if (!ConfirmAlphabetizeRange(ports_.dialogs, form.FirstPage(), form.LastPage())) {
        return;
    }
    AlphabetizeRequest request;
    request.dataFile = state_.DataFileName;
    request.pages = state_.TabSet1.names;
    request.firstPage = form.FirstPage();
    request.lastPage = form.LastPage();
    request.columnCount = state_.ColumnCount;
    request.filter = form.Filter();
    request.autoBackup = state_.checks.autoBackup;
    // The moved bookmarks leave the recent list: their slots now hold others.
    const AlphabetizeResult result = AlphabetizePages(request);
    TaskTray(state_, ports_).RemoveEntries(result.recentEntriesToRemove);
    ReloadCurrent();
}

} // namespace lv
