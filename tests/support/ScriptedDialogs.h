#pragma once

#include "platform/Dialogs.h"

#include <deque>
#include <string>
#include <variant>
#include <vector>

namespace lvtest {

// The Dialogs port for tests: answers come from a queue filled in advance, and every question
// is recorded with its exact text so a test can assert what the user was asked. A question
// without a queued answer fails the running test and gets the "no choice" answer.
class ScriptedDialogs : public lv::Dialogs {
public:
    using Answer = std::variant<lv::MsgResult, int, lv::PasswordResult, lv::FontResult,
                                lv::ColorResult, lv::OpenFileResult>;

    void Queue(Answer answer) { answers_.push_back(std::move(answer)); }

    // One line per question: "Message: <text>", "UserDlg: <title>: <line>|<line>",
    // "Color: <colour>", "Password: masked|plain", "Font: <name>", "Count: <caption>: <label>",
    // "Error: <text>",
    // "OpenFile: <title>", "SaveFile: <title>", "NavPage: <page>|<page>".
    const std::vector<std::string>& Asked() const { return asked_; }
    const std::vector<lv::MessageRequest>& Messages() const { return messages_; }
    const std::vector<lv::UserDlgRequest>& UserDlgs() const { return userDlgs_; }
    const std::vector<std::string>& Errors() const { return errors_; }
    std::size_t Pending() const { return answers_.size(); }

    lv::MsgResult Message(const lv::MessageRequest& request) override;
    int UserDlg(const lv::UserDlgRequest& request) override;
    lv::PasswordResult Password(const lv::PasswordRequest& request) override;
    lv::FontResult Font(const lv::FontRequest& request) override;
    void Count(const lv::CountRequest& request) override;
    lv::ColorResult Color(const lv::ColorRequest& request) override;
    lv::OpenFileResult OpenFile(const lv::OpenFileRequest& request) override;
    // Answered with a queued OpenFileResult.
    lv::OpenFileResult SaveFile(const lv::SaveFileRequest& request) override;
    int NavPage(const lv::NavPageRequest& request) override;
    // Answered with a queued OpenFileResult; recorded as "SelectFolder: <title>".
    lv::OpenFileResult SelectFolder(const lv::FolderRequest& request) override;
    void Error(const std::string& text) override;

private:
    template <typename T> T Next(const T& fallback);

    std::deque<Answer> answers_;
    std::vector<std::string> asked_;
    std::vector<lv::MessageRequest> messages_;
    std::vector<lv::UserDlgRequest> userDlgs_;
    std::vector<std::string> errors_;
};

} // namespace lvtest
