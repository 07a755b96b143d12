#include "support/ScriptedDialogs.h"

#include <gtest/gtest.h>

namespace lvtest {

template <typename T> T ScriptedDialogs::Next(const T& fallback) {
    if (answers_.empty()) {
        ADD_FAILURE() << "unexpected question: " << asked_.back();
        return fallback;
    }
    Answer answer = answers_.front();
    answers_.pop_front();
    if (!std::holds_alternative<T>(answer)) {
        ADD_FAILURE() << "queued answer does not fit the question: " << asked_.back();
        return fallback;
    }
    return std::get<T>(answer);
}

lv::MsgResult ScriptedDialogs::Message(const lv::MessageRequest& request) {
    messages_.push_back(request);
    asked_.push_back("Message: " + request.text);
    // A plain notice with only "OK" needs no scripted answer.
    if (request.buttons == lv::MsgButtons::Ok) {
        return lv::MsgResult::Ok;
    }
    return Next<lv::MsgResult>(lv::MsgResult::Cancel);
}

int ScriptedDialogs::UserDlg(const lv::UserDlgRequest& request) {
    userDlgs_.push_back(request);
    std::string line = "UserDlg: " + request.title + ":";
    for (std::size_t i = 0; i < request.message.size(); ++i) {
        line += (i == 0 ? " " : "|") + request.message[i];
    }
    asked_.push_back(line);
    return Next<int>(-1);
}

lv::PasswordResult ScriptedDialogs::Password(const lv::PasswordRequest& request) {
    asked_.push_back(std::string("Password: ") + (request.masked ? "masked" : "plain"));
    return Next<lv::PasswordResult>({});
}

lv::FontResult ScriptedDialogs::Font(const lv::FontRequest& request) {
    asked_.push_back("Font: " + request.name);
    return Next<lv::FontResult>({});
}

void ScriptedDialogs::Count(const lv::CountRequest& request) {
    asked_.push_back("Count: " + request.caption + ": " + request.label);
}

lv::OpenFileResult ScriptedDialogs::OpenFile(const lv::OpenFileRequest& request) {
    asked_.push_back("OpenFile: " + request.title);
    return Next<lv::OpenFileResult>({});
}

lv::OpenFileResult ScriptedDialogs::SaveFile(const lv::SaveFileRequest& request) {
    asked_.push_back("SaveFile: " + request.title);
    return Next<lv::OpenFileResult>({});
}

lv::OpenFileResult ScriptedDialogs::SelectFolder(const lv::FolderRequest& request) {
    asked_.push_back("SelectFolder: " + request.title);
    return Next<lv::OpenFileResult>({});
}

int ScriptedDialogs::NavPage(const lv::NavPageRequest& request) {
    std::string line = "NavPage:";
    for (std::size_t i = 0; i < request.pages.size(); ++i) {
        line += (i == 0 ? " " : "|") + request.pages[i];
    }
    asked_.push_back(line);
    return Next<int>(0);
}

lv::ColorResult ScriptedDialogs::Color(const lv::ColorRequest& request) {
    asked_.push_back("Color: " + std::to_string(request.color));
    return Next<lv::ColorResult>({});
}

void ScriptedDialogs::Error(const std::string& text) {
    errors_.push_back(text);
    asked_.push_back("Error: " + text);
}

} // namespace lvtest
