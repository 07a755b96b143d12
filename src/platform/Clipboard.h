#pragma once

#include <string>

namespace lv {

// The desktop's clipboard, as text. Texts are UTF-8; callers convert stored (Windows-1252) text
// at the edge.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    // The clipboard's text; empty when it holds none.
    virtual std::string Text() const = 0;
    virtual void SetText(const std::string& utf8) = 0;
};

// A clipboard of this process only: for headless runs and tests.
class MemoryClipboard : public Clipboard {
public:
    std::string Text() const override { return text_; }
    void SetText(const std::string& utf8) override { text_ = utf8; }

private:
    std::string text_;
};

} // namespace lv
