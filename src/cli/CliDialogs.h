#pragma once

#include "cli/Command.h"
#include "platform/Dialogs.h"

#include <deque>
#include <functional>
#include <optional>

namespace lv::cli {

// The Dialogs of a terminal: nobody is there to answer. Notices (a message with only an OK
// button) are printed to stderr; a question is answered by the command's own hooks, set from its
// flags (--force for "replace the file?", --password for a page password), and any question
// without an answer ends the command with a CliError that quotes it.
class CliDialogs : public Dialogs {
public:
    explicit CliDialogs(Context& context) : context_(context) {}

    // Answers to messages with more than an OK button; nullopt: no flag answers this one.
    std::function<std::optional<MsgResult>(const MessageRequest&)> answerMessage;
    // Answers to TUserDlg questions (index of the button); nullopt: no flag answers it.
    std::function<std::optional<int>(const UserDlgRequest&)> answerUserDlg;
    // Answers to open- and save-file dialogs.
    std::function<std::optional<OpenFileResult>(const OpenFileRequest&)> answerOpenFile;
    std::function<std::optional<OpenFileResult>(const SaveFileRequest&)> answerSaveFile;
    // Answers to password prompts, taken in order; when none is left the prompt is cancelled
    // (an empty password), as Escape would.
    std::deque<std::string> passwords;

    // Notices printed so far (without the program name), for summaries and tests.
    const std::vector<std::string>& Notices() const { return notices_; }
    // True once Error() was called: a file error ended a handler.
    bool Failed() const { return failed_; }

    MsgResult Message(const MessageRequest& request) override;
    int UserDlg(const UserDlgRequest& request) override;
    PasswordResult Password(const PasswordRequest& request) override;
    FontResult Font(const FontRequest& request) override;
    void Count(const CountRequest& request) override;
    ColorResult Color(const ColorRequest& request) override;
    OpenFileResult OpenFile(const OpenFileRequest& request) override;
    OpenFileResult SaveFile(const SaveFileRequest& request) override;
    int NavPage(const NavPageRequest& request) override;
    void Error(const std::string& text) override;

private:
    [[noreturn]] static void Unanswered(const std::string& what);
    void Notice(const std::string& text);

    Context& context_;
    std::vector<std::string> notices_;
    bool failed_ = false;
};

} // namespace lv::cli
