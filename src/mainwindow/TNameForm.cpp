#include "mainwindow/TNameForm.h"

namespace lv {

void TNameForm::Open(const std::string& pendingPageName) {
    Edit1 = pendingPageName;
    closed_ = false;
}

void TNameForm::EscapeKey() {
    Edit1.clear();
    closed_ = true;
}

void TNameForm::Finish(std::string& pendingPageName) {
    if (!Edit1.empty()) {
        pendingPageName = Edit1;
    }
    Edit1.clear();
    closed_ = true;
}

} // namespace lv
