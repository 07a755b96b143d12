#include "gui/AppInfo.h"

#include "Version.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

// The embedded icon lives in this static library; its resources are registered by hand.
static void InitIconResource() {
    Q_INIT_RESOURCE(linkvane);
}

namespace lv {

namespace {

// The application icon on a 256 x 256 grid, for when the SVG cannot be read.
QPixmap DrawIcon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 256.0, size / 256.0);
    p.setPen(QPen(QColor(0x2b, 0x57, 0x97), 10));
    p.setBrush(QColor(0xf4, 0xf7, 0xfb));
    p.drawRoundedRect(QRectF(28, 20, 200, 216), 18, 18);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x3d, 0x7b, 0xd9));
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 2; ++column) {
            p.drawRoundedRect(QRectF(54 + column * 84, 62 + row * 52, 64, 36), 8, 8);
        }
    }
    QPainterPath ribbon;
    ribbon.moveTo(150, 8);
    ribbon.lineTo(206, 8);
    ribbon.lineTo(206, 112);
    ribbon.lineTo(178, 88);
    ribbon.lineTo(150, 112);
    ribbon.closeSubpath();
    QPen edge(QColor(0xa8, 0x32, 0x1a), 6);
    edge.setJoinStyle(Qt::RoundJoin);
    p.setPen(edge);
    p.setBrush(QColor(0xe8, 0x54, 0x2f));
    p.drawPath(ribbon);
    return pixmap;
}

} // namespace

QString AppVersion() {
    return QStringLiteral(LV_VERSION);
}

namespace {

QString HelpFileLine(const QString& helpFile) {
    return QStringLiteral("Help page: ") + helpFile +
           (QFileInfo::exists(helpFile) ? QString() : QStringLiteral(" (not found)")) +
           QLatin1Char('\n');
}

} // namespace

QString VersionText(const QString& helpFile) {
    return QStringLiteral("linkvane ") + AppVersion() + QLatin1Char('\n') + HelpFileLine(helpFile);
}

QString UsageText(const QString& helpFile) {
    return QStringLiteral(
               "Usage: linkvane [/Stem] [DataFile.lvd]\n"
               "A bookmark manager: pages of buttons that open web pages and files.\n"
               "\n"
               "  /Stem        read the settings from Stem.INI in the program directory\n"
               "  DataFile     open this DataFile\n"
               "  --version    print the version and exit\n"
               "  --help       print this text and exit\n"
               "\n") +
           HelpFileLine(helpFile);
}

QString AboutText(const QString& programDir, const QString& dataFile) {
    return QStringLiteral("<h3>Linkvane</h3>"
                          "<p>Version %1</p>"
                          "<p>A bookmark manager for Linux.<br>"
                          "Released under the MIT License.</p>"
                          "<p>Program directory (settings and DataFiles):<br><tt>%2</tt></p>"
                          "<p>DataFile in use:<br><tt>%3</tt></p>")
        .arg(AppVersion().toHtmlEscaped(), programDir.toHtmlEscaped(), dataFile.toHtmlEscaped());
}

QIcon AppIcon() {
    InitIconResource();
    if (QImageReader::supportedImageFormats().contains("svg")) {
        QIcon icon(QStringLiteral(":/icons/linkvane.svg"));
        if (!icon.pixmap(32).isNull()) {
            return icon;
        }
    }
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        icon.addPixmap(DrawIcon(size));
    }
    return icon;
}

QString FindHelpFile(const QString& exeDir, const QString& sourceTreeFile) {
    const QString candidates[] = {exeDir + QStringLiteral("/../share/linkvane/help.html"),
                                  exeDir + QStringLiteral("/help.html"), sourceTreeFile};
    for (const QString& candidate : candidates) {
        if (!candidate.isEmpty() && QFileInfo::exists(candidate)) {
            return QFileInfo(candidate).canonicalFilePath();
        }
    }
    return QDir::cleanPath(QFileInfo(candidates[0]).absoluteFilePath());
}

} // namespace lv
