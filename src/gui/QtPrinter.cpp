#include "gui/QtPrinter.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <algorithm>

namespace lv {

namespace {

// 0x00BBGGRR; system colours (negative) print black.
QColor PrintColor(int color) {
    if (color < 0) {
        return Qt::black;
    }
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

} // namespace

PrintResult QtPrinter::PrintLines(const std::vector<std::string>& lines, const PrintFont& font) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Linkvane Bookmarks"));
    if (!pdfFile_.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdfFile_);
    } else {
        QPrintDialog dialog(&printer, parent_);
        if (dialog.exec() != QDialog::Accepted) {
            return {};
        }
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        return {false, "The printer " + printer.printerName().toStdString() + " cannot print."};
    }
    QFont printFont(QString::fromStdString(font.name), std::max(font.size, 1));
    painter.setFont(printFont);
    painter.setPen(PrintColor(font.color));
    const QRect page = painter.viewport();
    const int lineHeight = QFontMetrics(printFont, &printer).lineSpacing();
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
    int y = 0;
    for (const std::string& line : lines) {
        const QString text = QString::fromStdString(line);
        const QRect needed = painter.boundingRect(QRect(0, 0, page.width(), page.height()), flags,
                                                  text.isEmpty() ? QStringLiteral(" ") : text);
        const int height = std::max(needed.height(), lineHeight);
        if (y > 0 && y + height > page.height()) {
            if (!printer.newPage()) {
                painter.end();
                return {false, "The printer ran out of pages."};
            }
            y = 0;
        }
        painter.drawText(QRect(0, y, page.width(), height), flags, text);
        y += height;
    }
    if (!painter.end()) {
        return {false, "The print job could not be finished."};
    }
    return {true, {}};
}

} // namespace lv
