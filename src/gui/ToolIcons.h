#pragma once

#include <QIcon>
#include <QString>

namespace lv {

// The picture of a tool-bar button, drawn as lines and shapes so it stays sharp at any scale
// and looks the same whatever icon theme the desktop has. An unknown name gives a null icon.
QIcon ToolIcon(const QString& buttonName);

} // namespace lv
