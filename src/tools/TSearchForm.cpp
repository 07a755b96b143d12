#include "tools/TSearchForm.h"

#include "store/Backup.h"
#include "store/FileIo.h"
#include "store/TIniFile32.h"
#include "store/Text.h"
#include "tools/SearchEngineFile.h"
#include "web/TWwwDde.h"

#include <algorithm>

namespace lv {
namespace {

using searchfile::kCount;
using searchfile::kSection;

constexpr const char* kFilter = "Search Engine Files|*.ISE";
constexpr std::size_t kSecondPartLimit = 255;

// The list keys: the old "1" .. before go, "Count" and "1" .. n are written from the list.
void WriteList(TIniFile32& ini, int before, const std::vector<std::string>& sites) {
    for (int i = 1; i <= before; ++i) {
        ini.DeleteKey(kSection, std::to_string(i));
    }
    ini.WriteInteger(kSection, kCount, static_cast<int>(sites.size()));
    for (std::size_t i = 0; i < sites.size(); ++i) {
        ini.WriteString(kSection, std::to_string(i + 1), sites[i]);
    }
}

void Save(TIniFile32& ini) {
    if (ini.Modified()) {
        ini.UpdateFile();
    }
}

} // namespace

bool TSearchForm::Selected(int row) const {
    return row >= 0 && row < static_cast<int>(selected_.size()) &&
           selected_[static_cast<std::size_t>(row)];
}

void TSearchForm::Tell(const std::string& text) {
    dialogs_.Message({MsgKind::Information, {}, text, MsgButtons::Ok, 0});
}

void TSearchForm::FormActivate(const Context& context) {
    context_ = context;
    result_.clear();
    searching_ = false;
    ResetControls();
    backColor = context.tabColor;
    fontColor = context.tabFontColor;
    file_ = FindSearchEngineFile(context.settingsFile, context.dataFileName, context.programDir);
    Reload();
    caption = "Internet Search  [ " + SearchFileCaptionName(file_) + " ]";
    closed_ = false;
}

void TSearchForm::ResetControls() {
    addCaption = "Add";
    renameCaption = "Rename";
    siteNameVisible = false;
    topicVisible = true;
    listVisible = true;
    searchVisible = true;
    deleteVisible = true;
    fileButtonsVisible = true;
    searchEnabled = true;
    addEnabled = true;
    fileButtonsEnabled = true;
    deleteEnabled = false;
    renameEnabled = false;
}

void TSearchForm::Reload() {
    sites_.clear();
    for (const std::string& name : ReadSiteNames(file_)) {
        InsertSorted(name);
    }
    selected_.assign(sites_.size(), false);
}

void TSearchForm::InsertSorted(const std::string& name) {
    const auto at = std::upper_bound(sites_.begin(), sites_.end(), name, LessText1252);
    selected_.insert(selected_.begin() + (at - sites_.begin()), false);
    sites_.insert(at, name);
}

std::vector<std::string> TSearchForm::SelectedNames() const {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < sites_.size(); ++i) {
        if (selected_[i]) {
            names.push_back(sites_[i]);
        }
    }
    return names;
}

void TSearchForm::SelectSite(int row, bool selected) {
    if (row >= 0 && row < static_cast<int>(selected_.size())) {
        selected_[static_cast<std::size_t>(row)] = selected;
    }
    SiteListClick();
}

void TSearchForm::SiteListClick() {
    const auto count = std::count(selected_.begin(), selected_.end(), true);
    Label10 = std::to_string(count) + " Selected";
    const bool any = count > 0;
    if (any) {
        searchEnabled = true;
    }
    deleteEnabled = any;
    renameEnabled = any;
    addEnabled = !any;
    fileButtonsEnabled = !any;
}

void TSearchForm::SearchButton1Click() {
    if (SearchText1.empty()) {
        Tell("You must have text in the Enter Search Topic field.");
        return;
    }
    searching_ = true;
    const std::string topic = PrepareTopic(SearchText1);
    std::string result;
    for (const std::string& name : SelectedNames()) {
        const SearchSite site = ReadSite(file_, name);
        if (!result.empty()) {
            result += ";;";
        }
        result += site.before + topic + site.after;
    }
    if (result.empty() && SelectedNames().empty()) {
        Tell("Select a search site from the list.");
        return;
    }
    result_ = result;
    searching_ = false;
    closed_ = true;
}

std::string TSearchForm::BrowserUrl(std::string& title) {
    title.clear();
    std::string address;
    if (context_.browser == nullptr) {
        return address;
    }
    TWwwDde link(*context_.browser, dialogs_);
    link.ProgramPath = context_.browserPath;
    link.DebugPort =
        TIniFile32(context_.settingsFile).ReadInteger("Browser", "DebugPort", link.DebugPort);
    link.OnBusy = onBusy;
    if (!link.GetWindowInfo(title, address)) {
        address.clear();
    }
    return address;
}

void TSearchForm::AddButton1Click() {
    std::string title;
    const std::string url = BrowserUrl(title);
    if (addCaption == "Add") {
        addCaption = "SAVE";
        siteNameVisible = true;
        SiteName1 = title;
        listVisible = false;
        searchVisible = false;
        deleteVisible = false;
        fileButtonsVisible = false;
        return;
    }
    addCaption = "Add";
    siteNameVisible = false;
    listVisible = true;
    searchVisible = true;
    deleteVisible = true;
    fileButtonsVisible = true;
    if (SearchText1.empty() || SiteName1.empty()) {
        Tell("You must have a site name in the New Site Name field "
             "as well as text in the Enter Search Topic field.");
        return;
    }
    SaveNewSite(url);
}

void TSearchForm::SaveNewSite(const std::string& url) {
    const std::string topic = PrepareTopic(SearchText1);
    const std::size_t at = url.find(topic);
    if (url.empty() || at == std::string::npos) {
        Tell("Search Topic does not match!");
        return;
    }
    const std::string first = url.substr(0, at);
    const std::string second = url.substr(at + topic.size(), kSecondPartLimit);
    const int before = static_cast<int>(sites_.size());
    InsertSorted(SiteName1);
    TIniFile32 ini(file_);
    ini.SetDeferSaves(true);
    WriteList(ini, before, sites_);
    ini.WriteString(kSection, SiteName1 + "1", first);
    // A name listed twice shares its keys; an old second part must not outlive the new site.
    if (!second.empty()) {
        ini.WriteString(kSection, SiteName1 + "2", second);
    } else {
        ini.DeleteKey(kSection, SiteName1 + "2");
    }
    Save(ini);
    Reload();
    SiteListClick();
}

void TSearchForm::DeleteButton1Click() {
    const MsgResult answer = dialogs_.Message({MsgKind::Information,
                                               {},
                                               "Are you sure you want to delete search site?",
                                               MsgButtons::YesNo,
                                               0});
    if (answer != MsgResult::Yes) {
        return;
    }
    const int before = static_cast<int>(sites_.size());
    std::vector<std::string> removed;
    std::vector<std::string> kept;
    std::vector<bool> keptSelection;
    for (std::size_t i = 0; i < sites_.size(); ++i) {
        if (selected_[i]) {
            removed.push_back(sites_[i]);
        } else {
            kept.push_back(sites_[i]);
            keptSelection.push_back(false);
        }
    }
    sites_ = std::move(kept);
    selected_ = std::move(keptSelection);
    {
        TIniFile32 ini(file_);
        ini.SetDeferSaves(true);
        WriteList(ini, before, sites_);
        for (const std::string& name : removed) {
            ini.DeleteKey(kSection, name + "1");
            ini.DeleteKey(kSection, name + "2");
        }
        Save(ini);
    }
    SiteListClick();
}

void TSearchForm::RenameButton1Click() {
    if (renameCaption == "Rename") {
        const std::vector<std::string> names = SelectedNames();
        if (names.empty()) {
            return;
        }
        if (names.size() > 1) {
            Tell("Only 1 site at a time can be renamed.");
        }
        SiteName1 = names.front();
        renameCaption = "Save Name";
        deleteEnabled = false;
        fileButtonsVisible = false;
        topicVisible = false;
        siteNameVisible = true;
        return;
    }
    SaveRename();
}

void TSearchForm::SaveRename() {
    const std::vector<std::string> names = SelectedNames();
    // An empty new name would list a site nobody can see or select: the old name stays.
    if (!names.empty() && !SiteName1.empty() && SiteName1 != names.front()) {
        const std::string& old = names.front();
        const SearchSite site = ReadSite(file_, old);
        const auto at = std::find(sites_.begin(), sites_.end(), old);
        const int before = static_cast<int>(sites_.size());
        const std::size_t index = static_cast<std::size_t>(at - sites_.begin());
        sites_.erase(at);
        selected_.erase(selected_.begin() + static_cast<std::ptrdiff_t>(index));
        InsertSorted(SiteName1);
        TIniFile32 ini(file_);
        ini.SetDeferSaves(true);
        if (!site.before.empty()) {
            ini.DeleteKey(kSection, old + "1");
            ini.WriteString(kSection, SiteName1 + "1", site.before);
        }
        if (!site.after.empty()) {
            ini.DeleteKey(kSection, old + "2");
            ini.WriteString(kSection, SiteName1 + "2", site.after);
        }
        WriteList(ini, before, sites_);
        Save(ini);
    }
    ResetControls();
    Reload();
    Label10 = " 0 Selected";
}

void TSearchForm::RememberFile() {
    TIniFile32(context_.settingsFile).WriteString("Search", "Name", file_);
    caption = "Internet Search  [ " + SearchFileCaptionName(file_) + " ]";
}

void TSearchForm::NewButton1Click() {
    const OpenFileResult choice = dialogs_.SaveFile(
        {"Enter New File Name", kFilter, context_.programDir, "ISE", true, kHelpTopic});
    if (!choice.accepted || choice.path.empty()) {
        return;
    }
    file_ = choice.path;
    {
        TIniFile32 ini(file_);
        ini.WriteInteger(kSection, kCount, ini.ReadInteger(kSection, kCount, 0));
    }
    Reload();
    RememberFile();
}

void TSearchForm::LoadButton1Click() {
    const OpenFileResult choice =
        dialogs_.OpenFile({"Select Search Engine File.", kFilter, context_.programDir});
    if (choice.accepted && !choice.path.empty()) {
        file_ = choice.path;
        Reload();
    }
    RememberFile();
}

void TSearchForm::MergeButton1Click() {
    const OpenFileResult choice =
        dialogs_.OpenFile({"Select Search Engine File.", kFilter, context_.programDir});
    if (!choice.accepted || choice.path.empty()) {
        return;
    }
    const std::vector<std::string> incoming = ReadSiteNames(choice.path);
    std::vector<SearchSite> sites;
    for (const std::string& name : incoming) {
        sites.push_back(ReadSite(choice.path, name));
    }
    const int before = static_cast<int>(sites_.size());
    TIniFile32 ini(file_);
    ini.SetDeferSaves(true);
    for (const SearchSite& site : sites) {
        InsertSorted(site.name);
        ini.WriteString(kSection, site.name + "1", site.before);
        if (!site.after.empty()) {
            ini.WriteString(kSection, site.name + "2", site.after);
        }
    }
    WriteList(ini, before + static_cast<int>(sites.size()), sites_);
    Save(ini);
    SiteListClick();
}

void TSearchForm::SaveButton1Click() {
    const OpenFileResult choice = dialogs_.SaveFile(
        {"Enter New File Name", kFilter, context_.programDir, "ISE", true, kHelpTopic});
    if (!choice.accepted || choice.path.empty()) {
        return;
    }
    if (PathExists(file_)) {
        FileCopy(file_, choice.path);
    } else {
        // Nothing stored yet: the copy of an empty list is an empty file.
        WriteFileAtomic(choice.path, "");
    }
    file_ = choice.path;
    RememberFile();
}

void TSearchForm::HelpButton1Click() {
    if (onHelp) {
        onHelp(kHelpTopic);
    }
}

void TSearchForm::CloseButton1Click() {
    closed_ = true;
    addEnabled = true;
    deleteEnabled = false;
    Label10 = "0 Selected";
}

void TSearchForm::KeyEnter() {
    // Enter finishes what the window is in the middle of; only otherwise does it search.
    bool saved = false;
    if (addCaption == "SAVE") {
        AddButton1Click();
        saved = true;
    }
    if (renameCaption == "Save Name") {
        SaveRename();
        saved = true;
    }
    if (!saved && searchVisible) {
        SearchButton1Click();
    }
}

} // namespace lv
