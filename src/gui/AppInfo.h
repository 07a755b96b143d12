#pragma once

#include <QIcon>
#include <QString>

namespace lv {

// The program's version, from the project's one version number.
QString AppVersion();
// What --version prints: "linkvane <version>", then the help page this copy opens.
QString VersionText(const QString& helpFile);
// The usage --help prints; helpFile is the help page this copy would open.
QString UsageText(const QString& helpFile);

// The About box: name, version, licence and where the data lives.
QString AboutText(const QString& programDir, const QString& dataFile);

// The application icon, from the embedded SVG; drawn in code when Qt cannot read SVG (the SVG
// image plugin is missing).
QIcon AppIcon();

// The help page: installed (<exe dir>/../share/linkvane/help.html), beside the program (a
// portable copy), else the source tree's. With none there, the installed place is named.
QString FindHelpFile(const QString& exeDir, const QString& sourceTreeFile);

} // namespace lv
