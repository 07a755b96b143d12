#pragma once

#include <QLabel>

namespace lv {

class TWait;

// Shows a TWait countdown. While the countdown runs, the whole application swallows mouse
// presses and key presses with a beep: the wait is modal, but painting and timers go on.
class TWaitView : public QLabel {
public:
    explicit TWaitView(TWait& wait, QWidget* parent = nullptr);
    ~TWaitView() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Refresh();

    TWait& wait_;
    bool filtering_ = false;
};

} // namespace lv
