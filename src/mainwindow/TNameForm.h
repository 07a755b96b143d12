#pragma once

#include <string>

namespace lv {

// "Enter New Page Name": one edit and "Save Name". The view shows Edit1 and calls the handlers;
// the caller reads the pending page name back after the dialog closed.
class TNameForm {
public:
    static constexpr const char* kCaption = "Enter New Page Name";

    std::string Edit1;

    // Opening shows the pending page name.
    void Open(const std::string& pendingPageName);
    // "Save Name", or Enter in the edit.
    void SaveNameClick() { closed_ = true; }
    // Escape: nothing typed counts.
    void EscapeKey();
    bool Closed() const { return closed_; }

    // Closing: a non-empty edit becomes the pending page name, an empty one leaves it as it
    // was; the edit is cleared for the next showing.
    void Finish(std::string& pendingPageName);

private:
    bool closed_ = true;
};

} // namespace lv
