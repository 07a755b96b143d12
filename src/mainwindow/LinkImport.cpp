#include "mainwindow/LinkImport.h"

#include "mainwindow/Launching.h"
#include "mainwindow/PageGrid.h"
#include "mainwindow/PagePasswords.h"
#include "mainwindow/StartUp.h"
#include "mainwindow/UrlHelpers.h"
#include "mainwindow/WebAccess.h"
#include "pages/PageNames.h"
#include "store/Backup.h"
#include "store/DataFile.h"
#include "store/FileIo.h"
#include "store/TIniFile32.h"
#include "store/Text.h"
#include "web/PageHead.h"
#include "web/TWwwDde.h"

namespace lv {
namespace {

constexpr int kImportSlots = 80;
constexpr std::size_t kMaxAddress = 255;

bool EndsAddress(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte <= ' ' || c == '"' || c == '\'' || c == '>' || c == '<';
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            end = text.size();
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
        if (end < text.size() && text[end] == '\r' && start < text.size() && text[start] == '\n') {
            ++start;
        }
    }
    return lines;
}

bool SlotFree(const TIniFile32& ini, const std::string& page, int slot) {
    return ini.ReadString(page, SlotKey(slot, 'U'), "").empty() &&
           ini.ReadString(page, SlotKey(slot, 'N'), "").empty();
}

void NewImportPage(TIniFile32& ini, std::vector<std::string>& pages, ImportPosition& pos) {
    ++pos.pagesAdded;
    const std::string name = ArrivingPageName(pos.page, pages);
    const auto at = static_cast<std::size_t>(pos.firstTab + pos.pagesAdded);
    pages.insert(pages.begin() + static_cast<std::ptrdiff_t>(std::min(at, pages.size())), name);
    SaveTabs(ini, pages);
    pos.page = name;
    pos.slot = 1;
}

} // namespace

bool FindLinkInLine(std::string_view line, bool textIsUtf8, FoundLink& link) {
    const std::size_t http = line.find("http://");
    const std::size_t https = line.find("https://");
    const std::size_t start = std::min(http, https);
    if (start == std::string_view::npos) {
        return false;
    }
    std::size_t end = start;
    while (end < line.size() && end - start < kMaxAddress && !EndsAddress(line[end])) {
        ++end;
    }
    const std::string address = DecodeHtmlText(line.substr(start, end - start), textIsUtf8);
    const std::size_t schemeEnd = address.find("://") + 3;
    if (address.size() <= schemeEnd) {
        return false; // a scheme without a host
    }
    link.address = address;
    link.title.clear();
    const std::size_t open = line.find('>', end);
    if (open != std::string_view::npos) {
        const std::size_t close = line.find('<', open + 1);
        if (close != std::string_view::npos) {
            std::string title = DecodeHtmlText(line.substr(open + 1, close - open - 1), textIsUtf8);
            const std::size_t first = title.find_first_not_of(" \t");
            const std::size_t last = title.find_last_not_of(" \t");
            link.title =
                first == std::string::npos ? std::string() : title.substr(first, last - first + 1);
        }
    }
    return true;
}

int PlaceImportedLinks(TIniFile32& ini, std::vector<std::string>& pages,
                       const std::vector<std::string>& passwordBox,
                       const std::vector<std::string>& lines, bool textIsUtf8,
                       ImportPosition& pos) {
    int written = 0;
    for (const std::string& line : lines) {
        FoundLink link;
        if (!FindLinkInLine(line, textIsUtf8, link)) {
            continue;
        }
        if (pos.slot > kImportSlots) {
            NewImportPage(ini, pages, pos);
        }
        while (!SlotFree(ini, pos.page, pos.slot)) {
            ++pos.slot;
            if (pos.slot > kImportSlots) {
                NewImportPage(ini, pages, pos);
            }
        }
        const std::string title = link.title.empty() ? SiteTitle(link.address) : link.title;
        std::string stored = link.address;
        if (const auto password = FindPagePass(passwordBox, pos.page, pages)) {
            stored = SafeEncrypt(stored, *password).value_or(stored);
        }
        ini.WriteString(pos.page, SlotKey(pos.slot, 'N'), title);
        ini.WriteString(pos.page, SlotKey(pos.slot, 'U'), stored);
        ++written;
        ++pos.slot;
    }
    return written;
}

bool LinkImport::WebPageLines(std::vector<std::string>& lines, bool& utf8) {
    std::string title;
    std::string address;
    bool shown = false;
    if (ports_.browser != nullptr) {
        TWwwDde link(*ports_.browser, ports_.dialogs);
        link.ProgramPath = state_.BrowserPath;
        link.DebugPort =
            TIniFile32(state_.SettingsFile()).ReadInteger("Browser", "DebugPort", link.DebugPort);
        shown = link.GetWindowInfo(title, address) && !address.empty();
    }
    if (!shown) {
        // The program has no web site of its own to open instead; the box's Help tells more.
        ports_.dialogs.Message(
            {MsgKind::Warning, {}, std::string(kNoBrowserPageText), MsgButtons::Ok, 54});
        return false;
    }
    state_.caption = "Loading Bookmarks from Web Page " + title;
    if (ports_.showNow) {
        ports_.showNow();
    }
    const FetchedPage page = FetchMainWindowPage(state_, ports_, address);
    // The yellow "site answers" light is over with the fetch.
    RestoreConnectionLamp(state_, ports_);
    if (!page.ok) {
        state_.caption = std::string(kNoBookmarksFoundCaption);
        return false;
    }
    utf8 = LooksLikeUtf8(page.body);
    lines = SplitLines(page.body);
    return true;
}

void LinkImport::MWSImportClick(Source source) {
    if (state_.TabSet1.names.empty()) {
        return;
    }
    state_.Memo1.clear();
    ImportPosition pos;
    pos.page = state_.TabSet1.Current();
    pos.firstTab = state_.TabSet1.selected;
    TakeModificationBackup(state_.DataFileName, state_.checks.autoBackup, "Import links");

    const std::string dataFile = state_.DataFileName;
    std::vector<std::string> lines;
    bool utf8 = true;
    if (source == Source::WebPage) {
        if (!WebPageLines(lines, utf8)) {
            DisarmBeforeFirstChange();
            return;
        }
    } else {
        if (ports_.clipboard == nullptr) {
            DisarmBeforeFirstChange();
            return;
        }
        state_.Memo1 = ports_.clipboard->Text();
        lines = SplitLines(state_.Memo1);
    }
    // The page fetch pumps the loop: another file may be open now, or the tab list changed.
    if (state_.DataFileName != dataFile ||
        FindPage(pos.page, state_.TabSet1.names) == std::string::npos) {
        DisarmBeforeFirstChange();
        return;
    }
    state_.BookmarkBox = lines;
    TIniFile32 ini(state_.DataFileName);
    ini.SetDeferSaves(true); // one save for the whole import
    const int written =
        PlaceImportedLinks(ini, state_.TabSet1.names, state_.PagePassBox, lines, utf8, pos);
    if (ini.Modified()) {
        ini.UpdateFile();
    }
    state_.BookmarkBox.clear();
    if (written == 0) {
        DisarmBeforeFirstChange();
    }
    if (source == Source::Clipboard) {
        ports_.clipboard->SetText("");
        state_.Memo1.clear();
    }
    const int tab = pos.firstTab < static_cast<int>(state_.TabSet1.names.size()) ? pos.firstTab : 0;
    state_.TabSet1.selected = tab;
    PageGrid(state_).Load(state_.TabSet1.names[static_cast<std::size_t>(tab)]);
    state_.caption = FormCaption(state_, ports_.clock);
}

} // namespace lv
