#include "cli/CliDialogs.h"

#include "store/Text.h"

namespace lv::cli {

namespace {

// Message texts are stored bytes (Windows-1252); the terminal speaks UTF-8.
std::string OneLine(const std::string& text) {
    std::string line = Cp1252ToUtf8(text);
    for (char& c : line) {
        if (c == '\r' || c == '\n')
            c = ' ';
    }
    return line;
}

} // namespace

void CliDialogs::Unanswered(const std::string& what) {
    throw CliError("cannot answer without a flag: " + what);
}

void CliDialogs::Notice(const std::string& text) {
    notices_.push_back(OneLine(text));
    std::fprintf(context_.err, "linkvane-cli: %s\n", notices_.back().c_str());
}

MsgResult CliDialogs::Message(const MessageRequest& request) {
    if (answerMessage) {
        if (auto answer = answerMessage(request))
            return *answer;
    }
    if (request.buttons == MsgButtons::Ok) {
        Notice(request.text);
        return MsgResult::Ok;
    }
    Unanswered("\"" + OneLine(request.text) + "\"");
}

int CliDialogs::UserDlg(const UserDlgRequest& request) {
    if (answerUserDlg) {
        if (auto answer = answerUserDlg(request))
            return *answer;
    }
    std::string text;
    for (const std::string& line : request.message) {
        if (!text.empty())
            text += ' ';
        text += line;
    }
    if (request.buttons.size() <= 1) {
        Notice(text);
        return 0;
    }
    Unanswered("\"" + OneLine(text) + "\"");
}

PasswordResult CliDialogs::Password(const PasswordRequest&) {
    PasswordResult result;
    if (!passwords.empty()) {
        result.password = passwords.front();
        passwords.pop_front();
    }
    return result;
}

FontResult CliDialogs::Font(const FontRequest&) {
    Unanswered("a font choice");
}

void CliDialogs::Count(const CountRequest& request) {
    Notice(request.caption.empty() ? request.label : request.caption + ": " + request.label);
}

ColorResult CliDialogs::Color(const ColorRequest&) {
    Unanswered("a colour choice");
}

OpenFileResult CliDialogs::OpenFile(const OpenFileRequest& request) {
    if (answerOpenFile) {
        if (auto answer = answerOpenFile(request))
            return *answer;
    }
    Unanswered("a file to open (" + OneLine(request.title) + ")");
}

OpenFileResult CliDialogs::SaveFile(const SaveFileRequest& request) {
    if (answerSaveFile) {
        if (auto answer = answerSaveFile(request))
            return *answer;
    }
    Unanswered("a file to save (" + OneLine(request.title) + ")");
}

int CliDialogs::NavPage(const NavPageRequest&) {
    Unanswered("a page choice");
}

void CliDialogs::Error(const std::string& text) {
    failed_ = true;
    Notice(text);
}

} // namespace lv::cli
