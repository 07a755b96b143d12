#pragma once

#include <QProxyStyle>

namespace lv {

// Hints show at once and stay up for two minutes, so a bookmark's target and notes can be read
// in full.
class HintStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option = nullptr,
                  const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override {
        if (hint == SH_ToolTip_WakeUpDelay || hint == SH_ToolTip_FallAsleepDelay) {
            return 0;
        }
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

inline constexpr int kHintDuration = 120000;

} // namespace lv
