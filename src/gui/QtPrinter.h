#pragma once

#include "platform/Printer.h"

#include <QString>

class QWidget;

namespace lv {

// The system's printers through Qt Print Support: the print dialog chooses the printer, then the
// lines go out as one job. Made with a PDF file name it prints into that file without asking,
// for tests and for saving a list as PDF.
class QtPrinter : public Printer {
public:
    explicit QtPrinter(QWidget* parent) : parent_(parent) {}
    static QtPrinter ToPdf(const QString& pdfFile) {
        QtPrinter printer(nullptr);
        printer.pdfFile_ = pdfFile;
        return printer;
    }

    void SetParent(QWidget* parent) { parent_ = parent; }

    PrintResult PrintLines(const std::vector<std::string>& lines, const PrintFont& font) override;

private:
    QWidget* parent_;
    QString pdfFile_;
};

} // namespace lv
