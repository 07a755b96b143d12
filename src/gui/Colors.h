#pragma once

#include <QColor>
#include <QPalette>

namespace lv {

// Colours in the files are platform colour values: 0x00BBGGRR, negative values naming system
// colours by their index in the low byte.
QColor ToQColor(int value, const QPalette& palette);
int FromQColor(const QColor& colour);

} // namespace lv
