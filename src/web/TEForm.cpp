#include "web/TEForm.h"

#include "store/TIniFile32.h"
#include "store/Text.h"
#include "web/WinsockErrors.h"

#include <algorithm>

namespace lv {
namespace {

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

std::string BaseName(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

TEForm::TEForm(EventLoop& loop, Dialogs& dialogs) : dialogs_(dialogs), wait_(loop), client_(loop) {}

void TEForm::FormShow() {
    userFile_ = ResolveCaseInsensitive(programDir.empty() ? std::string(".") : programDir,
                                       settingsStem + ".USE");
    caption = " E-Mail Options - [ " + settingsStem + " ]";
    addresses.clear();
    Memo1.clear();
    memoWordWrap = true;
    memoVisible = true;
    addressFile_ = userFile_;
    {
        const TIniFile32 ini(addressFile_);
        fontName = ini.ReadString("CommentFont", "Name", "Arial");
        fontSize = ini.ReadInteger("CommentFont", "Size", 10);
    }
    LoadAddresses();
    const std::string typedPassword = mail.rememberPassword ? std::string() : mail.password;
    mail = ReadMailSettings(userFile_);
    // A password typed earlier in this session stays until the program ends.
    if (!mail.rememberPassword) {
        mail.password = typedPassword;
    }
    closed_ = false;
}

void TEForm::FormActivate() {
    backColor = tabColor;
    fontColor = tabFontColor;
    BMGroup = 0;
    BMGroupClick(1);
}

void TEForm::BMGroupClick(int item) {
    if (item == 0) {
        BMGroup = 0;
        return;
    }
    // The bookmarks were fixed by the opener: any other choice comes back to them.
    switch (sendMode) {
    case EmailMode::One:
        BMGroup = 1;
        break;
    case EmailMode::All:
        BMGroup = 2;
        break;
    case EmailMode::Page:
        BMGroup = 3;
        break;
    case EmailMode::None:
        BMGroup = 0;
        break;
    }
}

void TEForm::FormClose() {
    bookmarks.clear();
    CBox2 = false;
    closed_ = true;
}

void TEForm::CloseButtonClick() {
    FormClose();
}

void TEForm::HelpClick() {
    if (onHelp) {
        onHelp(kHelpContext);
    }
}

void TEForm::Tell(const std::string& text, MsgKind kind) {
    dialogs_.Message({kind, {}, text, MsgButtons::Ok, kHelpContext});
}

void TEForm::Button1Click() {
    CheckAddress();
    message_ = SplitLines(Memo1);
    message_.emplace_back(" ");
    if (BMGroup != 0) {
        message_.insert(message_.end(), bookmarks.begin(), bookmarks.end());
    }
    memoVisible = false;
    WriteMailSettings(userFile_, mail);

    // The Windows program closed whatever happened; a message that did not go out is told,
    // with the server's answer, and the comment stays for another try.
    std::vector<std::string> failures;
    auto sendOne = [&] {
        std::string why;
        if (!SendMail(why)) {
            failures.push_back(Edit1 + ": " + why);
        }
    };
    if (CBox2) {
        const std::vector<std::string> all = addresses;
        for (const std::string& address : all) {
            Edit1 = address;
            sendOne();
        }
    } else {
        sendOne();
    }
    memoVisible = true;
    memoWordWrap = true;
    if (failures.empty()) {
        FormClose();
        return;
    }
    std::string text =
        failures.size() == 1 ? "The e-mail was not sent." : "Some e-mails were not sent.";
    for (const std::string& failure : failures) {
        text += "\r\n" + failure;
    }
    Tell(text, MsgKind::Error);
}

bool TEForm::SendMail(std::string& why) {
    std::string email;
    std::string server;
    {
        const TIniFile32 ini(userFile_);
        email = ini.ReadString("User", "Email", "");
        server = ini.ReadString("User", "MailS", "");
    }
    if (email.empty()) {
        Tell("You need to include your e-mail address in your user information",
             MsgKind::Information);
    }
    if (server.empty()) {
        Tell("You need to have a mail server listed in your user information",
             MsgKind::Information);
    }
    client_.RcptName = {Edit1};
    client_.HdrFrom = email;
    client_.HdrTo = Edit1;
    client_.HdrSubject = Edit2;
    client_.FromName = email;
    client_.Host = server;
    client_.Port = EffectivePort(mail);
    client_.Security = ClientSecurity(mail.security);
    client_.UserName = mail.userName;
    client_.Password = mail.password;
    client_.CaFile = caFile;
    client_.Wait = &wait_;
    client_.TimeOut = 15;
    client_.OnGetData = [this](TCustomSmtpClient&, int n, std::string& line, std::size_t size,
                               bool& more) { SmtpClientGetData(n, line, size, more); };
    const bool sent = client_.Open() && client_.Mail();
    why = client_.ErrorMessage();
    if (!sent && why.empty()) {
        why = client_.LastResponse();
    }
    if (!sent && why.starts_with("Can't connect") && client_.ConnectError() != 0) {
        why += ": " + WinsockErrorText(client_.ConnectError());
    }
    client_.Quit();
    return sent;
}

void TEForm::SmtpClientGetData(int lineNum, std::string& line, std::size_t bufSize,
                               bool& more) const {
    if (lineNum < 1 || lineNum > static_cast<int>(message_.size())) {
        more = false;
        return;
    }
    line = message_[static_cast<std::size_t>(lineNum - 1)];
    if (bufSize > 0 && line.size() >= bufSize) {
        line.resize(bufSize - 1);
    }
}

void TEForm::LoadAddresses() {
    addresses.clear();
    const TIniFile32 ini(addressFile_);
    const int count = ini.ReadInteger("Address", "Count", 0);
    for (int i = 1; i <= count; ++i) {
        AddAddress(ini.ReadString("Address", std::to_string(i), ""));
    }
}

void TEForm::AddAddress(const std::string& address) {
    if (address.empty()) {
        return;
    }
    addresses.insert(std::upper_bound(addresses.begin(), addresses.end(), address, LessText1252),
                     address);
}

void TEForm::WriteAddresses(bool eraseFirst) {
    TIniFile32 ini(addressFile_);
    ini.SetDeferSaves(true);
    if (eraseFirst) {
        ini.EraseSection("Address");
    }
    ini.WriteInteger("Address", "Count", static_cast<int>(addresses.size()));
    for (std::size_t i = 0; i < addresses.size(); ++i) {
        ini.WriteString("Address", std::to_string(i + 1), addresses[i]);
    }
    if (ini.Modified()) {
        ini.UpdateFile();
    }
}

void TEForm::CheckAddress() {
    if (std::find(addresses.begin(), addresses.end(), Edit1) == addresses.end()) {
        AddAddress(Edit1);
        WriteAddresses(false);
    }
}

void TEForm::Edit1KeyDown(EditKey key) {
    bool erase = false;
    if (key == EditKey::Insert) {
        if (std::find(addresses.begin(), addresses.end(), Edit1) == addresses.end()) {
            AddAddress(Edit1);
        }
        if (onBeep) {
            onBeep();
        }
    } else if (key == EditKey::Delete) {
        const auto found = std::find(addresses.begin(), addresses.end(), Edit1);
        if (found != addresses.end()) {
            addresses.erase(found);
        }
        if (onBeep) {
            onBeep();
        }
        erase = true;
    }
    WriteAddresses(erase);
}

void TEForm::EGroupClick() {
    const OpenFileResult choice =
        dialogs_.OpenFile({"Select an E-Mail Group", "E-Mail Groups|*.use", programDir});
    if (!choice.accepted || choice.path.empty()) {
        return;
    }
    addressFile_ = choice.path;
    const std::string name = Utf8ToCp1252(BaseName(addressFile_));
    caption =
        " E-Mail Options - [ " + name.substr(0, name.size() >= 4 ? name.size() - 4 : 0) + " ]";
    LoadAddresses();
}

void TEForm::Memo1MouseDown(bool rightButton) {
    if (!rightButton) {
        return;
    }
    const FontResult font = dialogs_.Font({fontName, fontSize, 0});
    if (!font.accepted) {
        return;
    }
    fontName = font.name;
    fontSize = font.size;
    TIniFile32 ini(addressFile_);
    ini.SetDeferSaves(true);
    ini.WriteString("CommentFont", "Name", fontName);
    ini.WriteInteger("CommentFont", "Size", fontSize);
    ini.UpdateFile();
}

} // namespace lv
