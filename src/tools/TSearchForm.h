#pragma once

#include "platform/Dialogs.h"

#include <functional>
#include <string>
#include <vector>

namespace lv {

class BrowserTransport;

// The Internet Search window: one topic to several search sites at once, the sites learnt from
// the browser's own search pages and kept in a search-engine file. The view shows this state and
// calls the handlers; texts are Windows-1252 bytes, file paths UTF-8.
class TSearchForm {
public:
    static constexpr int kHelpTopic = 72;

    // What the window needs from the main window each time it opens.
    struct Context {
        std::string settingsFile;
        std::string dataFileName;
        std::string programDir; // with a trailing "/"
        std::string browserPath;
        BrowserTransport* browser = nullptr;
        int tabColor = 0;
        int tabFontColor = 0;
    };

    explicit TSearchForm(Dialogs& dialogs) : dialogs_(dialogs) {}

    std::function<void(int topic)> onHelp;
    // The hourglass while the browser is asked (true before, false after).
    std::function<void(bool busy)> onBusy;

    // --- Controls ----------------------------------------------------------------------------
    std::string caption;
    std::string SearchText1; // "Enter Search Topic:"
    std::string SiteName1;   // "New Site Name:"
    std::string Label10 = "0 Selected";
    std::string addCaption = "Add";
    std::string renameCaption = "Rename";
    bool siteNameVisible = false;
    bool topicVisible = true;       // the topic box and its label
    bool listVisible = true;        // the list, its label and the selection count
    bool searchVisible = true;      // SearchButton1 and its label
    bool deleteVisible = true;      // Delete
    bool fileButtonsVisible = true; // New File, Load File, Merge File, Save File As
    bool searchEnabled = true;
    bool addEnabled = true;
    bool deleteEnabled = false;
    bool renameEnabled = false;
    bool fileButtonsEnabled = true;
    int backColor = 0;
    int fontColor = 0;

    // The list, sorted by name, and which rows are selected.
    const std::vector<std::string>& Sites() const { return sites_; }
    bool Selected(int row) const;
    const std::string& FileName() const { return file_; }
    bool Closed() const { return closed_; }
    // One or more addresses joined by ";;"; empty when the window closed without a search.
    const std::string& Result() const { return result_; }
    // True from a search attempt until it succeeds or the window opens again: launches made
    // meanwhile are not recent bookmarks.
    bool Searching() const { return searching_; }

    // --- Handlers ----------------------------------------------------------------------------
    void FormActivate(const Context& context);
    void SelectSite(int row, bool selected);
    void SiteListClick();
    void SearchButton1Click();
    void AddButton1Click();
    void DeleteButton1Click();
    void RenameButton1Click();
    void NewButton1Click();
    void LoadButton1Click();
    void MergeButton1Click();
    void SaveButton1Click();
    void HelpButton1Click();
    void CloseButton1Click();
    // Enter in the topic or the site-name box.
    void KeyEnter();

private:
    void Tell(const std::string& text);
    void Reload();
    void InsertSorted(const std::string& name);
    void ResetControls();
    void SaveNewSite(const std::string& url);
    void SaveRename();
    void RememberFile();
    std::string BrowserUrl(std::string& title);
    std::vector<std::string> SelectedNames() const;

    Dialogs& dialogs_;
    Context context_;
    std::string file_;
    std::vector<std::string> sites_;
    std::vector<bool> selected_;
    std::string result_;
    bool searching_ = false;
    bool closed_ = true;
};

} // namespace lv
