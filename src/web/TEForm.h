#pragma once

#include "platform/Dialogs.h"
#include "platform/EventLoop.h"
#include "web/EmailMode.h"
#include "web/MailSettings.h"
#include "web/SmtpClient.h"
#include "web/TWait.h"

#include <functional>
#include <string>
#include <vector>

namespace lv {

// The e-mail dialog: the comment text, optionally followed by the opener's bookmark lines, to
// one address or to every address of the address book, one message each. The address book and
// the comment font live in the UserFile or in a loaded ".use" group file. The view shows this
// state and calls the handlers; texts are Windows-1252 bytes, the comment's lines end in "\n".
class TEForm {
public:
    static constexpr int kHelpContext = 56;
    static constexpr int kGroupHelpContext = 73;
    static constexpr const char* kItems[] = {"Do not send bookmarks.", "Send a single bookmark.",
                                             "Send groups of bookmarks.",
                                             "Send bookmarks from current page."};

    TEForm(EventLoop& loop, Dialogs& dialogs);

    // --- Set by the opener before showing -------------------------------------------------
    std::string programDir; // with a trailing "/"
    std::string settingsStem = "LVD";
    EmailMode sendMode = EmailMode::None;
    std::vector<std::string> bookmarks; // the main window's scratch lines
    int tabColor = 0;                   // the page tab strip's colours
    int tabFontColor = 0;
    std::string caFile; // extra trusted certificates for the server (tests, private servers)
    std::function<void(int topic)> onHelp;
    std::function<void()> onBeep;

    // --- Controls ----------------------------------------------------------------------------
    std::string caption = "E-Mail Bookmarks / Comments / Files";
    std::string Edit1;                  // "Send to:"
    std::vector<std::string> addresses; // its drop-down list, sorted
    std::string Edit2 = "Bookmarks";    // "Subject:"
    std::string Memo1;                  // "Comments:"
    bool memoWordWrap = true;
    bool memoVisible = true; // false while sending ("Please wait...")
    std::string fontName = "Arial";
    int fontSize = 10;
    bool CBox2 = false; // "Include All E-Mail Addresses."
    int BMGroup = 0;    // index into kItems
    int backColor = 0;
    int fontColor = 0;
    // The server settings beside "Mail Server" (the password only in memory unless remembered).
    MailSettings mail;

    TWait& Wait1() { return wait_; }
    const std::string& UserFile() const { return userFile_; }
    const std::string& AddressFile() const { return addressFile_; }
    bool Closed() const { return closed_; }

    // --- Handlers ------------------------------------------------------------------------------
    void FormShow();
    void FormActivate();
    void FormClose();
    void BMGroupClick(int item);
    // "Send E-Mail". Closes the dialog when every message went out; otherwise tells the user
    // why and stays open with the comment as it was.
    void Button1Click();
    // One message to the recipient in Edit1. False with the reason when it did not go out.
    bool SendMail(std::string& why);
    void CheckAddress();
    enum class EditKey { Insert, Delete, Other };
    void Edit1KeyDown(EditKey key);
    void EGroupClick();
    void Memo1MouseDown(bool rightButton);
    void HelpClick();
    void CloseButtonClick();
    // The client's OnGetData: body line n (from 1) cut to bufSize - 1 bytes, then the end.
    void SmtpClientGetData(int lineNum, std::string& line, std::size_t bufSize, bool& more) const;

    // The lines of the message being sent (comment, a line of one blank, the bookmarks).
    const std::vector<std::string>& MessageLines() const { return message_; }

private:
    void LoadAddresses();
    void WriteAddresses(bool eraseFirst);
    void AddAddress(const std::string& address);
    void Tell(const std::string& text, MsgKind kind);

    Dialogs& dialogs_;
    TWait wait_;
    TSmtpClient client_;
    std::string userFile_;
    std::string addressFile_;
    std::vector<std::string> message_;
    bool closed_ = true;
};

} // namespace lv
