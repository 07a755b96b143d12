#pragma once

// The Dialogs of a benchmark: nothing is meant to ask, so any question ends the run.
#include "platform/Dialogs.h"

#include <stdexcept>
#include <string>

namespace lvbench {

class NoDialogs : public lv::Dialogs {
public:
    lv::MsgResult Message(const lv::MessageRequest&) override { throw Unexpected(); }
    int UserDlg(const lv::UserDlgRequest&) override { throw Unexpected(); }
    lv::PasswordResult Password(const lv::PasswordRequest&) override { throw Unexpected(); }
    lv::FontResult Font(const lv::FontRequest&) override { throw Unexpected(); }
    void Count(const lv::CountRequest&) override { throw Unexpected(); }
    lv::ColorResult Color(const lv::ColorRequest&) override { throw Unexpected(); }
    lv::OpenFileResult OpenFile(const lv::OpenFileRequest&) override { throw Unexpected(); }
    lv::OpenFileResult SaveFile(const lv::SaveFileRequest&) override { throw Unexpected(); }
    int NavPage(const lv::NavPageRequest&) override { throw Unexpected(); }
    void Error(const std::string&) override { throw Unexpected(); }

private:
    static std::logic_error Unexpected() { return std::logic_error("unexpected question"); }
};

} // namespace lvbench
