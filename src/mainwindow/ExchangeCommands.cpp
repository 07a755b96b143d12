#include "mainwindow/ExchangeCommands.h"

#include "exchange/Favorites.h"
#include "mainwindow/FileCommands.h"
#include "pages/TAlphaForm.h"
#include "platform/Printer.h"
#include "store/FileIo.h"
#include "store/TIniFile32.h"
#include "store/Text.h"

#include <cstdlib>

namespace lv {

namespace {

std::string WithoutTrailingSlash(std::string dir) {
    while (dir.size() > 1 && dir.back() == '/') {
        dir.pop_back();
    }
    return dir;
}

std::string HomeDirectory() {
    const char* home = std::getenv("HOME");
    return home != nullptr && *home != '\0' ? std::string(home) : std::string("/");
}

} // namespace

void ExchangeCommands::Inform(const std::string& text) {
    ports_.dialogs.Message({MsgKind::Information, {}, text, MsgButtons::Ok, 0});
}

void ExchangeCommands::PrintClick(
    LinkListMode mode, const std::function<void(const std::string& emailMode)>& showEmailDialog) {
    if (state_.TabSet1.names.empty()) {
        return;
    }
    const std::string action = LinkListAction(mode);
    TAlphaForm form(state_.SettingsFile(), DialogsColorPicker(ports_.dialogs), ports_.openHelp);
    form.SetTexts(LinkListCaption(mode, state_.TabSet1.Current()), action);
    form.FormActivate(state_.TabSet1.names, state_.TabSet1.selected);
    if (ports_.pageRange) {
        ports_.pageRange(form);
    }
    state_.Memo1.clear();
    if (form.FirstPage() < 0 || form.LastPage() < 0) {
        Inform("You did not select a page, or pages, of bookmarks to " + action + ".");
        return;
    }
    if (form.LastPage() > form.FirstPage()) {
        const std::string question = "Are you sure you want to " + action + " Page " +
                                     std::to_string(form.FirstPage() + 1) + " through Page " +
                                     std::to_string(form.LastPage() + 1);
        if (ports_.dialogs.Message(
                {MsgKind::Confirmation, {}, question, MsgButtons::YesNoHelp, 48}) !=
            MsgResult::Yes) {
            return;
        }
    }
    LinkListRequest request;
    request.mode = mode;
    request.pages = state_.TabSet1.names;
    request.firstPage = form.FirstPage();
    request.lastPage = form.LastPage();
    request.columnCount = state_.ColumnCount;
    request.filter = form.Filter();
    const LinkList list = BuildLinkList(TIniFile32(state_.DataFileName), request);
    if (list.protectedLeftOut > 0) {
        Inform(std::to_string(list.protectedLeftOut) +
               " password protected bookmarks are not in the list.");
    }

    switch (mode) {
    case LinkListMode::Print: {
        if (ports_.printer == nullptr) {
            break;
        }
        std::vector<std::string> lines;
        lines.reserve(list.lines.size());
        for (const std::string& line : list.lines) {
            lines.push_back(Cp1252ToUtf8(line));
        }
        const PrintResult printed =
            ports_.printer->PrintLines(lines, {Cp1252ToUtf8(state_.ButtonFontName),
                                               state_.ButtonFontSize, state_.ButtonFontColor});
        if (!printed.printed && !printed.error.empty()) {
            ports_.dialogs.Error(Utf8ToCp1252(printed.error));
        }
        break;
    }
    case LinkListMode::Html: {
        SaveFileRequest save;
        save.title = "Save Links to HTML File";
        save.filter = kHtmlFileFilter;
        save.directory = state_.ProgramDir;
        save.defaultExtension = "html";
        save.overwritePrompt = true;
        save.helpContext = 46;
        const OpenFileResult chosen = ports_.dialogs.SaveFile(save);
        if (chosen.accepted && !chosen.path.empty()) {
            WriteFileAtomic(chosen.path, HtmlListDocument(list.lines));
        }
        break;
    }
    case LinkListMode::Email:
        state_.Memo1 = MemoText(list.lines);
        if (showEmailDialog) {
            showEmailDialog("All");
        }
        break;
    }
    state_.Memo1.clear();
}

void ExchangeCommands::MImportIEClick() {
    const std::string target = ResolveCaseInsensitive(WithoutTrailingSlash(state_.ProgramDir),
                                                      std::string(kFavoritesDataFile));
    if (PathExists(target) &&
        ports_.dialogs.Message({MsgKind::Confirmation,
                                {},
                                "File already exists.  Do you want to overwrite it?",
                                MsgButtons::YesNoHelp,
                                67}) != MsgResult::Yes) {
        return;
    }
    std::string root = FavoritesRoot();
    if (root.empty()) {
        const OpenFileResult chosen =
            ports_.dialogs.SelectFolder({"Select the Favorites folder", HomeDirectory(), false, 0});
        if (!chosen.accepted || chosen.path.empty()) {
            return;
        }
        root = chosen.path;
    }
    // The old file is replaced only once the new one is complete: a failed import keeps it.
    const FavoritesImport import = ImportFavorites(root, target);
    if (import.pages.empty()) {
        Inform("No Internet shortcuts (.url files) were found in " + Utf8ToCp1252(root) + ".");
        return;
    }
    if (target == state_.DataFileName) {
        // The page passwords belong to the pages that were just replaced.
        state_.PagePassBox.clear();
    }
    FileCommands(state_, ports_).ChangeDataFile(target, import.pages.front());
    std::string summary;
    for (const std::string& line : ImportSummary(import)) {
        summary += (summary.empty() ? "" : "\r") + Utf8ToCp1252(line);
    }
    Inform(summary);
}

void ExchangeCommands::MExportIEClick(bool wholeFile) {
    if (state_.TabSet1.names.empty()) {
        return;
    }
    const std::string root = FavoritesRoot();
    const OpenFileResult chosen = ports_.dialogs.SelectFolder(
        {"Export Bookmarks to Internet Explorer", root.empty() ? HomeDirectory() : root, true, 3});
    if (!chosen.accepted || chosen.path.empty()) {
        return;
    }
    FavoritesExportRequest request;
    request.dataFile = state_.DataFileName;
    request.pages = state_.TabSet1.names;
    request.firstPage = wholeFile ? 0 : state_.TabSet1.selected;
    request.lastPage =
        wholeFile ? static_cast<int>(state_.TabSet1.names.size()) - 1 : state_.TabSet1.selected;
    request.columnCount = state_.ColumnCount;
    request.folder = chosen.path;
    const FavoritesExport result = ExportFavorites(request);
    if (!result.notTaken.empty()) {
        Inform(std::to_string(result.notTaken.size()) +
               " password protected bookmarks were not exported.");
    }
}

} // namespace lv
