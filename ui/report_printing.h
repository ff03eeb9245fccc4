#pragma once

#include <QFont>
#include <QPainter>
#include <QString>
#include <QStringList>

#include "ui/platform.h"

class QPrinter;

namespace slabrating::ui {

/// The printer font of the report: "Courier" at 12 points.
QFont reportPrinterFont();

/// The lines of a text held with '\n' line ends; a final line end opens no further line.
QStringList reportLines(const QString& text);

/// Prints `text` once per copy, each copy a document of its own starting on a fresh page;
/// rows go on to the next page when a page is full and a line wider than a row goes on
/// in the next row, so no character is lost. False when the printer failed; the copies
/// ended before the failure stay printed.
bool printReport(const QString& text, ReportPrinter& printer);

/// File name of copy `copy` (from 1) when printing to a file: the first copy keeps the
/// chosen name, later ones get "-2", "-3", ... before the extension, so no copy
/// overwrites another.
QString copyFileName(const QString& fileName, int copy);

/// A ReportPrinter on a QPrinter that the printer dialog has set up (a real printer or a
/// PDF file), which must outlive it. It prints the copies itself, one job each, so it sets
/// the printer's own copy count to 1 while it lives; when it goes, the printer holds the
/// copies and output file the dialog chose again.
class QtReportPrinter : public ReportPrinter {
public:
    explicit QtReportPrinter(QPrinter& printer);
    ~QtReportPrinter() override;

    int copies() const override { return m_copies; }
    bool beginDocument() override;
    int rowsPerPage() const override { return m_rowsPerPage; }
    int charactersPerRow() const override { return m_charactersPerRow; }
    void printRow(int row, const QString& text) override;
    bool newPage() override;
    bool endDocument() override;

private:
    QPrinter& m_printer;
    QPainter m_painter;
    QString m_outputFileName;  // chosen output file; empty when printing to a printer
    int m_copies = 1;
    int m_document = 0;
    int m_rowsPerPage = 1;
    int m_charactersPerRow = 1;
    qreal m_lineSpacing = 0;  // device pixels
    qreal m_ascent = 0;       // device pixels
};

}  // namespace slabrating::ui
