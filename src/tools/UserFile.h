#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace lv {

// The UserFile: the user's details for pasting into web forms and what the e-mail dialog needs.
// Its path is the program folder + the settings stem + ".USE" (an existing file of another
// letter case is used). Every access opens the file afresh.
std::string UserFileName(const std::string& programDir, const std::string& settingsStem);

inline constexpr std::string_view kUserSection = "User";

// One text box of "User Setup": its label and the "User" key it edits.
struct UserField {
    std::string_view label;
    std::string_view key;
};

// The dialog's boxes in the order they show and are saved. Fields added here appear in the
// dialog and are read and saved with the others.
inline constexpr auto kUserFields = std::to_array<UserField>({
    {"First Name", "First"},
    {"Last Name", "Last"},
    {"Company Name", "Company"},
    {"Address 1", "Address1"},
    {"Address 2", "Address2"},
    {"City ,", "City"},
    {"State/Province", "State"},
    {"Postal Code", "Zip"},
    {"Country", "Country"},
    {"Phone Number", "Phone"},
    {"Fax Number", "Fax"},
    {"E-Mail Address", "Email"},
    {"Your URL", "URL"},
    {"Other Info", "Other"},
    {"Miscellaneous.", "Misc"},
    {"Mail Server", "MailS"},
});

// "User Setup": one text per field of kUserFields (stored bytes, Windows-1252).
class TUserSetup {
public:
    static constexpr const char* kCaption = "User Setup";

    explicit TUserSetup(std::string userFile) : userFile_(std::move(userFile)) {}

    std::vector<std::string> values = std::vector<std::string>(kUserFields.size());
    int backColor = 0;
    int fontColor = 0;

    // Each showing reads the fields afresh; a missing "URL" shows "http://".
    void FormActivate(int tabColor, int tabFontColor);
    // "Save" closes the dialog; once it has closed, FormClose writes every field as typed, in
    // table order (so a failed write is reported outside the dialog's own events).
    void SaveClick() { saveRequested_ = closed_ = true; }
    bool Closed() const { return closed_; }
    // Closing by the window's close box writes nothing.
    void CloseBox() { closed_ = true; }
    void FormClose();

    std::string& Value(std::string_view key);

private:
    std::string userFile_;
    bool closed_ = true;
    bool saveRequested_ = false;
};

// What the clipboard commands of the tray menu copy, by the menu item's name: "First" ..
// "Misc" copy that "User" key, "Full" first and last name with one blank between. An unknown
// name copies nothing. No "http://" default here.
std::string UserDetailText(const std::string& userFile, std::string_view item);

// The menu items that copy a user detail, in menu order, with their captions.
struct UserCopyItem {
    std::string_view name;
    std::string_view caption;
};
inline constexpr auto kUserCopyItems = std::to_array<UserCopyItem>({
    {"First", "Copy 'First Name' to Clipboard"},
    {"Last", "Copy 'Last Name' to Clipboard"},
    {"Full", "Copy 'Full Name' to Clipboard"},
    {"Company", "Copy 'Company Name' to Clipboard"},
    {"Address1", "Copy 'Address1' to Clipboard"},
    {"Address2", "Copy 'Address2' to Clipboard"},
    {"City", "Copy 'City' to Clipboard"},
    {"State", "Copy 'State/Province' to Clipboard"},
    {"Zip", "Copy 'Postal Code' to Clipboard"},
    {"Country", "Copy 'Country' to Clipboard"},
    {"Phone", "Copy 'Phone #' to Clipboard"},
    {"Fax", "Copy 'Fax #' to Clipboard"},
    {"Email", "Copy 'E-Mail Address' to Clipboard"},
    {"URL", "Copy 'Your URL' to Clipboard"},
    {"Other", "Copy 'Other' to Clipboard"},
    {"Misc", "Copy 'Misc' to Clipboard"},
});
inline constexpr std::string_view kCopyKeywordsCaption = "Copy Bookmark 'Keywords' to Clipboard";
inline constexpr std::string_view kCopyExtraCaption = "Copy Bookmark 'Extra info' to Clipboard";
inline constexpr std::string_view kCopyTextFileCaption = "Copy Text File to Clipboard";
inline constexpr std::string_view kTextFileTitle = "Select Text File";
inline constexpr std::string_view kTextFileFilter = "Text Files|*.txt|All Files|*.*";
inline constexpr int kTextFileHelpTopic = 29;
// A text file copied whole is read up to this size; a larger one is not copied.
inline constexpr std::size_t kTextFileLimit = 16 * 1024 * 1024;

} // namespace lv
