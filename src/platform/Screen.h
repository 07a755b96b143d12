#pragma once

namespace lv {

// Size of the screen the main window lives on, in pixels.
class Screen {
public:
    virtual ~Screen() = default;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
};

// A screen of known size: for headless runs and tests.
class FixedScreen : public Screen {
public:
    FixedScreen(int width, int height) : width_(width), height_(height) {}
    int Width() const override { return width_; }
    int Height() const override { return height_; }

private:
    int width_;
    int height_;
};

} // namespace lv
