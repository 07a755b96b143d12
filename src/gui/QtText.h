#pragma once

#include "store/Text.h"

#include <QString>
#include <string>

namespace lv {

// The core's texts are Windows-1252 bytes; Qt speaks Unicode. These are the only crossings.
inline QString Q(const std::string& cp1252) {
    return QString::fromStdString(Cp1252ToUtf8(cp1252));
}

inline std::string FromQ(const QString& text) {
    return Utf8ToCp1252(text.toStdString());
}

// Hints and messages keep Windows line ends (CR, or CR LF); Qt wants LF.
inline QString QLines(const std::string& cp1252) {
    QString text = Q(cp1252);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

} // namespace lv
