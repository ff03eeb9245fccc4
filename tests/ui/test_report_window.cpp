#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>

#include "engine/rating_run.h"
#include "tests/support/messages.h"
#include "tests/ui/fake_platform.h"
#include "tests/ui/ui_test_main.h"
#include "ui/placement.h"
#include "ui/report_printing.h"
#include "ui/slab_output.h"

using namespace slabrating::ui;
using slabrating::ui::test::exampleSlab;
using slabrating::ui::test::FakePlatform;
using slabrating::ui::test::FakePrinter;
using slabrating::ui::test::PrintLog;

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// A report as the run builds it: every line ends in CR LF.
const std::string kReport =
    "Slab Rating Version 2     Date: 3/5/24\r\n"
    "\r\n"
    " Structure NO. B-12-AC     Rater: JD      State HWY NO. = 50 \r\n"
    "     Batch ID=         Description: SH 50 OVER CREEK     \r\n";

QStringList pageLines(int count) {
    QStringList lines;
    for (int i = 1; i <= count; ++i) {
        lines << QStringLiteral("line %1").arg(i);
    }
    return lines;
}

// A rectangle in twips, in pixels at `dpi`.
QRect twipsRect(int left, int top, int width, int height, double dpi) {
    return QRect(twipsToPixels(left, dpi), twipsToPixels(top, dpi), twipsToPixels(width, dpi),
                 twipsToPixels(height, dpi));
}

// A button's place in the window's own area.
QRect placeInWindow(const QWidget& window, const char* name) {
    const auto* button = window.findChild<QPushButton*>(QString::fromLatin1(name));
    return QRect(button->mapTo(&window, QPoint(0, 0)), button->size());
}

int pdfPageCount(const QByteArray& pdf) {
    return static_cast<int>(pdf.count("/Type /Page\n") + pdf.count("/Type /Page ") +
                            pdf.count("/Type /Page>") + pdf.count("/Type /Page/"));
}

}  // namespace

class TestReportWindow : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_platform = std::make_unique<FakePlatform>();
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_window = std::make_unique<SlabOutput>(*m_platform);
        m_window->show();
    }
    void cleanup() {
        m_window.reset();
        m_platform.reset();
    }

    void windowAndControls() {
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Slab Analysis Results"));
        QVERIFY(!(m_window->windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(m_window->windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(m_window->minimumSize(), m_window->maximumSize());
        auto* text = m_window->findChild<QPlainTextEdit*>(QStringLiteral("Text1"));
        QVERIFY(text);
        QCOMPARE(text->lineWrapMode(), QPlainTextEdit::NoWrap);
        QVERIFY(!text->isReadOnly());
        // Judged by the glyphs' advances, not by the font's own fixed-pitch flag, which Qt
        // denies some fonts whose glyphs are all one width (Noto Sans Mono). (Before: the
        // suite failed on a desktop with that font.)
        QVERIFY(advancesAreEqual(text->font()));
        QCOMPARE(m_window->findChild<QPushButton*>(QStringLiteral("PrintOutput"))->text(),
                 QStringLiteral("Print"));
        QCOMPARE(m_window->findChild<QPushButton*>(QStringLiteral("SaveOutput"))->text(),
                 QStringLiteral("Save to File"));
        QCOMPARE(m_window->findChild<QPushButton*>(QStringLiteral("CalcSheet"))->text(),
                 QStringLiteral("Calculation Sheet"));
    }

    // Print and Save to File keep their places and the window its size; the third button
    // sits between them on the same row.
    void buttonPlaces() {
        const double dpi = m_window->logicalDpiX();
        QCOMPARE(m_window->size(), twipsRect(0, 0, 9495, 4770, dpi).size());
        const QRect print = placeInWindow(*m_window, "PrintOutput");
        const QRect save = placeInWindow(*m_window, "SaveOutput");
        const QRect calc = placeInWindow(*m_window, "CalcSheet");
        QCOMPARE(print, twipsRect(1980, 4305, 1215, 375, dpi));
        QCOMPARE(save, twipsRect(6600, 4305, 1575, 375, dpi));
        QCOMPARE(calc.top(), print.top());
        QCOMPARE(calc.height(), print.height());
        QVERIFY(calc.left() > print.right() && calc.right() < save.left());
        QCOMPARE(calc.left() - print.right(), save.left() - calc.right());
    }

    void calcSheetNeedsARun() {
        auto* calc = m_window->findChild<QPushButton*>(QStringLiteral("CalcSheet"));
        QVERIFY(!calc->isEnabled());
        m_window->setRun(std::string(), exampleSlab(), RunRating(exampleSlab(), "3/5/24"));
        QVERIFY(calc->isEnabled());
        m_window->setReport(kReport);
        QVERIFY(!calc->isEnabled());
        m_window->CalcSheet_Click();
        QVERIFY(m_platform->fileDialogs.isEmpty());
    }

    // The sheet's save and the browser; %1 in a message is the sheet's path.
    void calcSheetSave_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("browserStarts");
        QTest::addColumn<bool>("written");
        QTest::addColumn<QString>("message");
        QTest::newRow("saved and shown") << "sheet.html" << true << true << "";
        QTest::newRow("cancelled") << "" << true << false << "";
        QTest::newRow("not saved") << "missing/dir/sheet.html" << true << false
                                   << QString::fromStdString(slabrating::support::kSaveFailed);
        QTest::newRow("no browser")
            << "sheet.html" << false << true
            << "The calculation sheet was saved as %1, but no program could be started to show "
               "it.";
    }
    void calcSheetSave() {
        QFETCH(QString, answer);
        QFETCH(bool, browserStarts);
        QFETCH(bool, written);
        QFETCH(QString, message);
        m_window->setRun(std::string(), exampleSlab(), RunRating(exampleSlab(), "3/5/24"));
        const QString path = answer.isEmpty() ? QString() : m_dir->filePath(answer);
        m_platform->fileAnswers = {path};
        m_platform->urlsOpen = browserStarts;
        m_window->findChild<QPushButton*>(QStringLiteral("CalcSheet"))->click();
        QCOMPARE(m_platform->fileDialogs.size(), 1);
        QCOMPARE(m_platform->fileDialogs[0].title, QStringLiteral("Save Calculation Sheet As"));
        QCOMPARE(m_platform->fileDialogs[0].filter, QStringLiteral("Calculation Sheets (*.html)"));
        QCOMPARE(QFile::exists(path), written);
        QCOMPARE(m_platform->openedUrls,
                 written ? QList<QUrl>{QUrl::fromLocalFile(path)} : QList<QUrl>());
        QCOMPARE(m_platform->messages, message.isEmpty() ? QStringList()
                                                         : QStringList{QString(message).replace(
                                                               QStringLiteral("%1"), path)});
        if (answer.isEmpty()) {
            QVERIFY(QDir(m_dir->path()).isEmpty());
        }
    }

    // The name the save dialog suggests: the structure number, in the folder the dialog
    // was last used in.
    void calcSheetFileName_data() {
        QTest::addColumn<QString>("structureNumber");
        QTest::addColumn<QString>("lastFile");
        QTest::addColumn<QString>("suggested");
        QTest::newRow("structure number") << "B-12-AC"
                                          << ""
                                          << "B-12-AC.html";
        QTest::newRow("padding trimmed") << "  W-2002 "
                                         << ""
                                         << "W-2002.html";
        QTest::newRow("latin-1 kept") << "Br\u00FCcke"
                                      << ""
                                      << "Br\u00FCcke.html";
        QTest::newRow("folder separators") << "12/3\\4"
                                           << ""
                                           << "12_3_4.html";
        QTest::newRow("reserved characters") << "A:B*?\"<>|"
                                             << ""
                                             << "A_B______.html";
        QTest::newRow("leading dots") << "..5"
                                      << ""
                                      << "__5.html";
        QTest::newRow("blank") << "   "
                               << ""
                               << "Calculation Sheet.html";
        QTest::newRow("folder of the last file") << "B-12-AC"
                                                 << "/data/slabs/w.qri"
                                                 << "/data/slabs/B-12-AC.html";
    }
    void calcSheetFileName() {
        QFETCH(QString, structureNumber);
        QFETCH(QString, lastFile);
        QFETCH(QString, suggested);
        if (!lastFile.isEmpty()) {
            m_platform->fileAnswers = {lastFile};
            m_platform->openFileName(nullptr, QStringLiteral("*.qri"));
        }
        slabrating::SlabFields fields = exampleSlab();
        fields.StructNo = structureNumber.toLatin1().toStdString();
        m_window->setRun(std::string(), fields, RunRating(fields, "3/5/24"));
        m_window->CalcSheet_Click();
        QCOMPARE(m_platform->fileDialogs.last().kind, QStringLiteral("save"));
        QCOMPARE(m_platform->fileDialogs.last().fileName, suggested);
    }

    void reportLinesShowAsLines() {
        m_window->setReport(kReport);
        auto* text = m_window->findChild<QPlainTextEdit*>(QStringLiteral("Text1"));
        QCOMPARE(text->document()->findBlockByNumber(0).text(),
                 QStringLiteral("Slab Rating Version 2     Date: 3/5/24"));
        QCOMPARE(text->document()->findBlockByNumber(1).text(), QString());
        QCOMPARE(text->document()->findBlockByNumber(3).text(),
                 QStringLiteral("     Batch ID=         Description: SH 50 OVER CREEK     "));
        QVERIFY(!text->toPlainText().contains(QLatin1Char('\r')));
    }

    void savedBytes_data() {
        QTest::addColumn<QByteArray>("report");
        QTest::newRow("header") << QByteArray::fromStdString(kReport);
        QTest::newRow("latin-1 and no-break space") << QByteArray(
            " Structure NO. Br\xFC"
            "cke\xA0"
            "1     Rater: \xE9"
            "a \r\n");
        QTest::newRow("blank lines at the end") << QByteArray("a\r\n\r\n\r\n");
        QTest::newRow("trailing blanks") << QByteArray("x   \r\n   \r\n");
        QTest::newRow("empty report") << QByteArray();
    }
    void savedBytes() {
        QFETCH(QByteArray, report);
        m_window->setReport(report.toStdString());
        const QString path = m_dir->filePath(QStringLiteral("report.qro"));
        m_platform->fileAnswers = {path};
        m_window->findChild<QPushButton*>(QStringLiteral("SaveOutput"))->click();
        QCOMPARE(m_platform->fileDialogs.size(), 1);
        QCOMPARE(m_platform->fileDialogs[0].title, QStringLiteral("Save Output File As"));
        QCOMPARE(m_platform->fileDialogs[0].filter, QStringLiteral("Output Files (*.qro)"));
        QVERIFY(m_platform->messages.isEmpty());
        QCOMPARE(readAll(path), report + "\r\n");
    }

    void saveWithEdits() {
        m_window->setReport(kReport);
        auto* text = m_window->findChild<QPlainTextEdit*>(QStringLiteral("Text1"));
        QTextCursor cursor(text->document()->findBlockByNumber(1));
        text->setTextCursor(cursor);
        QTest::keyClicks(text, QStringLiteral("Checked by RS"));
        QTest::keyClick(text, Qt::Key_Return);
        QTest::keyClicks(text, QStringLiteral("ok"));
        m_platform->fileAnswers = {m_dir->filePath(QStringLiteral("edited"))};
        const QString path = m_dir->filePath(QStringLiteral("edited.qro"));
        m_window->SaveOutput_Click();
        QCOMPARE(readAll(path),
                 QByteArray("Slab Rating Version 2     Date: 3/5/24\r\n"
                            "Checked by RS\r\n"
                            "ok\r\n"
                            " Structure NO. B-12-AC     Rater: JD      State HWY NO. = 50 \r\n"
                            "     Batch ID=         Description: SH 50 OVER CREEK     \r\n"
                            "\r\n"));
    }

    void saveReplacesAnExistingFile() {
        const QString path = m_dir->filePath(QStringLiteral("old.qro"));
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(5000, 'x'));
        old.close();
        m_window->setReport("short\r\n");
        m_platform->fileAnswers = {path};
        m_window->SaveOutput_Click();
        QCOMPARE(readAll(path), QByteArray("short\r\n\r\n"));
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files),
                 QStringList{QStringLiteral("old.qro")});
    }

    // The chosen name gets the filter's extension only when it has none. (Before: a report
    // saved as "bridge" had no extension.)
    void saveAddsTheExtension_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("saved");
        QTest::newRow("no extension") << QStringLiteral("bridge") << QStringLiteral("bridge.qro");
        QTest::newRow("its own extension") << QStringLiteral("b.txt") << QStringLiteral("b.txt");
        QTest::newRow("the filter's") << QStringLiteral("b.qro") << QStringLiteral("b.qro");
    }
    void saveAddsTheExtension() {
        QFETCH(QString, answer);
        QFETCH(QString, saved);
        m_window->setReport(kReport);
        m_platform->fileAnswers = {m_dir->filePath(answer)};
        m_window->SaveOutput_Click();
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{saved});
    }

    // Ctrl+P prints, Ctrl+S saves, Escape and Ctrl+W close the window. (Before: none of
    // these keys did anything.)
    void keyboardShortcuts() {
        m_window->setReport(kReport);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        QSignalSpy printed(m_window.get(), &SlabOutput::printRequested);
        QTest::keySequence(m_window.get(), QKeySequence::Print);
        QCOMPARE(printed.size(), 1);
        QTest::keySequence(m_window.get(), QKeySequence::Save);
        QCOMPARE(m_platform->fileDialogs.size(), 1);
        for (const QKeySequence& keys :
             {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
            QSignalSpy closed(m_window.get(), &SlabOutput::closed);
            m_window->show();
            QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
            QTest::keySequence(m_window.get(), keys);
            QVERIFY2(closed.size() == 1, qPrintable(keys.toString()));
            QVERIFY(!m_window->isVisible());
        }
    }

    void saveCancelledDoesNothing() {
        m_window->setReport(kReport);
        m_window->SaveOutput_Click();
        QCOMPARE(m_platform->fileDialogs.size(), 1);
        QVERIFY(m_platform->messages.isEmpty());
        QVERIFY(QDir(m_dir->path()).isEmpty());
    }

    void saveFailureIsReported() {
        m_window->setReport(kReport);
        m_platform->fileAnswers = {m_dir->filePath(QStringLiteral("missing/dir/report.qro"))};
        m_window->SaveOutput_Click();
        QCOMPARE(m_platform->messages,
                 QStringList{QStringLiteral("Error: The report could not be saved.")});
    }

    void printButtonAsksTheMainWindow() {
        int requests = 0;
        connect(m_window.get(), &SlabOutput::printRequested, this, [&] { ++requests; });
        m_window->findChild<QPushButton*>(QStringLiteral("PrintOutput"))->click();
        QCOMPARE(requests, 1);
    }

    // Pages and rows of every copy, as the printer got them.
    void pagesAndCopies_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("copies");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("width");
        QTest::addColumn<QList<QStringList>>("pages");
        QTest::newRow("one page") << pageLines(3).join(QLatin1Char('\n')) + QLatin1Char('\n') << 1
                                  << 60 << 80 << QList<QStringList>{pageLines(3)};
        QTest::newRow("three copies")
            << QStringLiteral("a\nb\n") << 3 << 60 << 80 << QList<QStringList>{{"a", "b"}};
        QTest::newRow("page break")
            << pageLines(12).join(QLatin1Char('\n')) << 1 << 5 << 80
            << QList<QStringList>{pageLines(12).mid(0, 5), pageLines(12).mid(5, 5),
                                  pageLines(12).mid(10)};
        QTest::newRow("exactly full page") << pageLines(5).join(QLatin1Char('\n')) + "\n"
                                           << 1 << 5 << 80 << QList<QStringList>{pageLines(5)};
        QTest::newRow("long line goes on") << QStringLiteral("abcdefghij\n\nxy") << 1 << 60 << 4
                                           << QList<QStringList>{{"abcd", "efgh", "ij", "", "xy"}};
        QTest::newRow("continuation across pages") << QStringLiteral("abcdefgh") << 1 << 1 << 3
                                                   << QList<QStringList>{{"abc"}, {"def"}, {"gh"}};
    }
    void pagesAndCopies() {
        QFETCH(QString, text);
        QFETCH(int, copies);
        QFETCH(int, rows);
        QFETCH(int, width);
        QFETCH(QList<QStringList>, pages);
        auto log = std::make_shared<PrintLog>();
        log->copies = copies;
        log->rowsPerPage = rows;
        log->charactersPerRow = width;
        FakePrinter printer(log);
        QVERIFY(printReport(text, printer));
        QCOMPARE(log->documents.size(), copies);
        for (const QList<QStringList>& document : log->documents) {
            QCOMPARE(document, pages);
        }
        QVERIFY(!log->documentOpen);
    }

    void printFailureStopsAndKeepsEndedCopies() {
        auto log = std::make_shared<PrintLog>();
        log->copies = 3;
        log->failBeginAtDocument = 2;
        FakePrinter printer(log);
        QVERIFY(!printReport(QStringLiteral("a\n"), printer));
        QCOMPARE(log->documents.size(), 1);
    }

    void copyFileNames_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("copy");
        QTest::addColumn<QString>("expected");
        QTest::newRow("first copy keeps the name") << "/t/report.pdf" << 1 << "/t/report.pdf";
        QTest::newRow("second copy") << "/t/report.pdf" << 2 << "/t/report-2.pdf";
        QTest::newRow("no extension") << "/t/report" << 3 << "/t/report-3";
        QTest::newRow("dot in folder") << "/t.d/report" << 2 << "/t.d/report-2";
    }
    void copyFileNames() {
        QFETCH(QString, name);
        QFETCH(int, copy);
        QFETCH(QString, expected);
        QCOMPARE(copyFileName(name, copy), expected);
    }

    // A real printer writing PDF files: three copies are three documents, each complete.
    void printToPdfThreeCopies() {
        QString report;
        for (int i = 1; i <= 130; ++i) {
            report +=
                QStringLiteral("%1 Actual Concrete Stress      (PSI)      123.45      234.56\n")
                    .arg(i, 3);
        }
        const QString path = m_dir->filePath(QStringLiteral("report.pdf"));
        QPrinter qprinter(QPrinter::HighResolution);
        qprinter.setOutputFormat(QPrinter::PdfFormat);
        qprinter.setOutputFileName(path);
        qprinter.setPageSize(QPageSize(QPageSize::Letter));
        qprinter.setCopyCount(3);
        QtReportPrinter printer(qprinter);
        QCOMPARE(printer.copies(), 3);
        QVERIFY(printReport(report, printer));
        QVERIFY(printer.charactersPerRow() >= 60);
        const int pages = (130 + printer.rowsPerPage() - 1) / printer.rowsPerPage();
        QVERIFY(pages >= 2);
        for (const QString& name : {QStringLiteral("report.pdf"), QStringLiteral("report-2.pdf"),
                                    QStringLiteral("report-3.pdf")}) {
            const QByteArray pdf = readAll(m_dir->filePath(name));
            QVERIFY2(pdf.startsWith("%PDF"), qPrintable(name));
            QCOMPARE(pdfPageCount(pdf), pages);
        }
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files).size(), 3);
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FakePlatform> m_platform;
    std::unique_ptr<SlabOutput> m_window;
};

SLABRATING_UI_TEST_MAIN(TestReportWindow)
#include "test_report_window.moc"
