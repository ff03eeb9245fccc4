#include "ui/report_printing.h"

#include <QFileInfo>
#include <QFontMetricsF>
#include <QPrinter>
#include <algorithm>
#include <cmath>

namespace slabrating::ui {

QFont reportPrinterFont() {
    QFont font(QStringLiteral("Courier"));
    font.setPointSizeF(12);
    // Where no font is called Courier, fontconfig must still pick a fixed-pitch one:
    // the report's columns line up only then.
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

QStringList reportLines(const QString& text) {
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty()) {
        lines.removeLast();
    }
    return lines;
}

bool printReport(const QString& text, ReportPrinter& printer) {
    const QStringList lines = reportLines(text);
    for (int copy = 1; copy <= printer.copies(); ++copy) {
        if (!printer.beginDocument()) {
            return false;
        }
        const int rows = std::max(1, printer.rowsPerPage());
        const int width = std::max(1, printer.charactersPerRow());
        int row = 0;
        for (const QString& line : lines) {
            qsizetype start = 0;
            do {
                if (row == rows) {
                    if (!printer.newPage()) {
                        printer.endDocument();
                        return false;
                    }
                    row = 0;
                }
                printer.printRow(row++, line.mid(start, width));
                start += width;
            } while (start < line.size());
        }
        if (!printer.endDocument()) {
            return false;
        }
    }
    return true;
}

QString copyFileName(const QString& fileName, int copy) {
    if (copy <= 1) {
        return fileName;
    }
    const QFileInfo info(fileName);
    const QString suffix = info.suffix();
    const QString tail = QStringLiteral("-%1").arg(copy);
    if (suffix.isEmpty() || info.completeBaseName().isEmpty()) {
        return fileName + tail;
    }
    return fileName.left(fileName.size() - suffix.size() - 1) + tail + QLatin1Char('.') + suffix;
}

QtReportPrinter::QtReportPrinter(QPrinter& printer)
    : m_printer(printer),
      m_outputFileName(printer.outputFileName()),
      m_copies(std::max(1, printer.copyCount())) {
    m_printer.setCopyCount(1);
}

QtReportPrinter::~QtReportPrinter() {
    if (m_painter.isActive()) {
        m_painter.end();
    }
    m_printer.setCopyCount(m_copies);
    if (!m_outputFileName.isEmpty()) {
        m_printer.setOutputFileName(m_outputFileName);
    }
}

bool QtReportPrinter::beginDocument() {
    ++m_document;
    if (!m_outputFileName.isEmpty()) {
        m_printer.setOutputFileName(copyFileName(m_outputFileName, m_document));
    }
    m_printer.setDocName(QStringLiteral("Slab Rating report"));
    if (!m_painter.begin(&m_printer)) {
        return false;
    }
    m_painter.setFont(reportPrinterFont());
    const QFontMetricsF metrics(m_painter.font(), &m_printer);
    m_lineSpacing = metrics.lineSpacing();
    m_ascent = metrics.ascent();
    const qreal advance = metrics.horizontalAdvance(QLatin1Char('M'));
    m_rowsPerPage = std::max(1, static_cast<int>(std::floor(m_printer.height() / m_lineSpacing)));
    m_charactersPerRow = std::max(1, static_cast<int>(std::floor(m_printer.width() / advance)));
    return true;
}

void QtReportPrinter::printRow(int row, const QString& text) {
    m_painter.drawText(QPointF(0, row * m_lineSpacing + m_ascent), text);
}

bool QtReportPrinter::newPage() {
    return m_printer.newPage() && m_printer.printerState() != QPrinter::Error;
}

bool QtReportPrinter::endDocument() {
    if (!m_painter.isActive()) {
        return false;
    }
    const bool ended = m_painter.end();
    return ended && m_printer.printerState() != QPrinter::Error &&
           m_printer.printerState() != QPrinter::Aborted;
}

}  // namespace slabrating::ui
