#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <sstream>

#include "cli/cli.h"
#include "engine/field_table.h"
#include "engine/rating_run.h"
#include "tests/support/messages.h"
#include "tests/support/support.h"
#include "tests/ui/fake_platform.h"
#include "tests/ui/ui_test_main.h"
#include "ui/frm_about.h"
#include "ui/frm_main.h"
#include "ui/placement.h"
#include "ui/qt_platform.h"
#include "ui/report_printing.h"
#include "ui/slab_output.h"

using namespace slabrating;
using namespace slabrating::ui;
using slabrating::ui::test::exampleSlab;
using slabrating::ui::test::FakePlatform;

namespace {

QLineEdit* field(QWidget& window, const char* name) {
    auto* edit = window.findChild<QLineEdit*>(QString::fromLatin1(name));
    if (edit == nullptr) {
        qFatal("no field %s", name);
    }
    return edit;
}

/// The message boxes' texts for messages the engine's and the reader's suites pin.
QStringList messages(std::initializer_list<std::string> texts) {
    QStringList list;
    for (const std::string& text : texts) {
        list << QString::fromStdString(text);
    }
    return list;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

bool writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The example slab's record, from the description of the input file.
const QByteArray kExampleRecord =
    "1B-12-AC JD 50           SH 50 OVER CREEK185001400012500031020030004000000150060\r\n";

// Types `text` into the field as a user would, replacing what it held.
void type(QWidget& window, const char* name, const QString& text) {
    QLineEdit* edit = field(window, name);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(edit, c.toLatin1());
        } else {
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
}

// The fake platform's date, 5 March 2024, in the short form of its US English settings.
const QString kRunDate = QStringLiteral("3/5/24");

// Answers the next printer dialog, once it is open, as `user` does.
void answerPrinterDialog(std::function<void(QPrintDialog&)> user) {
    QTimer::singleShot(0, [user = std::move(user)] {
        auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            qFatal("no printer dialog open");
        }
        user(*dialog);
    });
}

// Prints a line-by-line comparison before the exact comparison, so a mismatch shows where.
void compareReports(const QByteArray& actual, const QByteArray& expected, const QString& name) {
    if (actual != expected) {
        const QList<QByteArray> a = actual.split('\n');
        const QList<QByteArray> e = expected.split('\n');
        for (qsizetype i = 0; i < std::max(a.size(), e.size()); ++i) {
            const QByteArray al = i < a.size() ? a[i] : QByteArray("<none>");
            const QByteArray el = i < e.size() ? e[i] : QByteArray("<none>");
            if (al != el) {
                qWarning("%s line %lld\n  actual:   [%s]\n  expected: [%s]", qPrintable(name),
                         static_cast<long long>(i + 1), al.constData(), el.constData());
            }
        }
        writeAll(name + QStringLiteral(".actual"), actual);
    }
    QCOMPARE(actual, expected);
}

// The engine's report of the bundled example `name` ("ws-slab"), dated as this test's runs.
QByteArray engineReport(const QString& name) {
    const QString base = QDir(QStringLiteral(SLABRATING_EXAMPLES)).filePath(name);
    const support::Example example{QFile::encodeName(base + QStringLiteral(".qri")).toStdString(),
                                   QFile::encodeName(base + QStringLiteral(".qro")).toStdString()};
    return QByteArray::fromStdString(support::engineReport(example, kRunDate.toStdString()));
}

}  // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_platform = std::make_unique<FakePlatform>();
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }
    void cleanup() {
        m_window.reset();
        m_platform.reset();
    }

    void captionsMenusAndToolbar() {
        frmMain& w = window();
        QCOMPARE(w.windowTitle(), QStringLiteral("Brevania DOT Slab Rating"));
        QVERIFY(!(w.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(w.windowFlags() & Qt::WindowMinimizeButtonHint);
        QCOMPARE(w.minimumSize(), w.maximumSize());

        QStringList menus;
        for (QAction* menu : w.menuBar()->actions()) {
            QStringList items;
            for (QAction* item : menu->menu()->actions()) {
                items << (item->isSeparator() ? QStringLiteral("-") : item->text());
                if (!item->shortcut().isEmpty()) {
                    items.back() +=
                        QLatin1Char('[') + item->shortcut().toString() + QLatin1Char(']');
                }
            }
            menus << menu->text() + QLatin1Char(':') + items.join(QLatin1Char('|'));
        }
        QCOMPARE(menus, (QStringList{QStringLiteral("&File:&Open...[Ctrl+O]|Run Analysis|-|Save "
                                                    "&As...[Ctrl+S]|-|E&xit[Ctrl+Q]"),
                                     QStringLiteral("&Help:&About ")}));
        // The desktop's own keys on the existing items, their texts unchanged. (Before: no
        // item had a shortcut.)
        QCOMPARE(QKeySequence(QKeySequence::Open).toString(), QStringLiteral("Ctrl+O"));

        auto* toolbar = w.findChild<QToolBar*>(QStringLiteral("tbToolBar"));
        QVERIFY(toolbar);
        QStringList buttons;
        for (QAction* button : toolbar->actions()) {
            QVERIFY(!button->icon().isNull());
            buttons << button->data().toString() + QLatin1Char('/') + button->toolTip();
        }
        QCOMPARE(buttons, (QStringList{QStringLiteral("Open/Open"), QStringLiteral("Save/Save")}));
    }

    void labels() {
        frmMain& w = window();
        QStringList texts;
        for (QLabel* label : w.findChildren<QLabel*>()) {
            texts << label->text();
        }
        const QStringList expected = {
            QStringLiteral("Structure Information"),
            QStringLiteral("Structure Number:"),
            QStringLiteral("Rater:"),
            QStringLiteral("Batch ID:"),
            QStringLiteral("Comments:"),
            QStringLiteral("Highway Number:"),
            QStringLiteral("Load Type:"),
            QStringLiteral("Deadload"),
            QStringLiteral("Bituminous Overlay (in):"),
            QStringLiteral("Geometry"),
            QStringLiteral("Effective Span (ft):"),
            QStringLiteral("Actual Slab Thickness (in.):"),
            QStringLiteral("Reinforcing Steel:"),
            QStringLiteral("Area (sqin)"),
            QStringLiteral("Distance (in)"),
            QStringLiteral("Top:"),
            QStringLiteral("Bottom:"),
            QStringLiteral("For definitions of input values please refer to the KARV Bridge "
                           "Rating Manual in the Bridge Decks section"),
            QStringLiteral("Materials Properties"),
            QStringLiteral("Concrete f'c (PSI):"),
            QStringLiteral("Steel Fy (PSI):"),
            QStringLiteral("or   Inv Fc (Working Stress)"),
            QStringLiteral("or  Inv Fs (Working Stress)"),
            QStringLiteral("Modular Ratio (Leave blank for load factor):")};
        for (const QString& text : expected) {
            QVERIFY2(texts.contains(text), qPrintable(text));
        }
    }

    void fieldTooltips_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("tooltip");
        const char* rows[][2] = {
            {"StructNo", "Enter the structure number"},
            {"Rater", "Enter the initials of the person doing the rating (3 charcaters max.)"},
            {"BatchID", "Enter the BARS Batch ID number (optional)"},
            {"Comments", "Additional comments to define the slab."},
            {"Hwy", "Enter the highway number."},
            {"Bitum", "Enter the average asphalt thickness. "},
            {"EffSpan", "Enter the effective span length."},
            {"SlabThick", "Enter the actual slab thickness."},
            {"StAreaTop", "Enter the area of the top reinforcing steel over the girders."},
            {"StDistTop",
             "Enter the distance from the bottom of the slab to the centerline of the top "
             "reinforceing steel."},
            {"STAreaBot", "Enter the area of the bottom reinforcing midpoint between the girders."},
            {"StDistBot",
             "Enter the distance from the bottom of the slab to the centerline of the reinforcing "
             "steel taken at a midpoint of the girders."},
            {"Concfc", "Enter the value of the concrete strength."},
            {"SteelFy", "Enter the value of the steel yeild stress."},
            {"ModRatio", ""},
        };
        for (const auto& row : rows) {
            QTest::newRow(row[0]) << QString::fromLatin1(row[0]) << QString::fromLatin1(row[1]);
        }
    }
    void fieldTooltips() {
        QFETCH(QString, name);
        QFETCH(QString, tooltip);
        QCOMPARE(field(window(), name.toLatin1().constData())->toolTip(), tooltip);
    }

    void fieldLimits_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("limit");
        QTest::newRow("structure number 7") << QStringLiteral("StructNo") << 7;
        QTest::newRow("rater 3") << QStringLiteral("Rater") << 3;
        QTest::newRow("highway 3") << QStringLiteral("Hwy") << 3;
        QTest::newRow("batch 6") << QStringLiteral("BatchID") << 6;
        QTest::newRow("comments 21") << QStringLiteral("Comments") << 21;
        QTest::newRow("modular ratio 2") << QStringLiteral("ModRatio") << 2;
        QTest::newRow("span has none") << QStringLiteral("EffSpan") << 40;
        QTest::newRow("steel fy has none") << QStringLiteral("SteelFy") << 40;
    }
    void fieldLimits() {
        QFETCH(QString, name);
        QFETCH(int, limit);
        frmMain& w = window();
        const QString typed = QStringLiteral("1234567890123456789012345678901234567890");
        type(w, name.toLatin1().constData(), typed.left(limit + 1));
        QCOMPARE(field(w, name.toLatin1().constData())->text(), typed.left(limit));
    }

    // The record holds single-byte Latin-1 text on one line: other characters never reach
    // a field, whether typed or pasted, and a paste keeps the characters the record can hold.
    void recordTextOnly_data() {
        QTest::addColumn<bool>("pasted");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("comments");  // what the field and the record hold
        const QString bridge = QStringLiteral("Br\u00FCcke \u20AC\u00A0x");
        const QString bridgeKept = QStringLiteral("Br\u00FCcke \u00A0x");
        QTest::newRow("typed euro sign") << false << bridge << bridgeKept;
        QTest::newRow("typed Japanese")
            << false << QStringLiteral("SH \u65E5\u672C 50") << QStringLiteral("SH  50");
        QTest::newRow("pasted euro sign") << true << bridge << bridgeKept;
        QTest::newRow("pasted emoji")
            << true << QStringLiteral("SH \U0001F309 50") << QStringLiteral("SH  50");
        QTest::newRow("pasted spreadsheet cell")
            << true << QStringLiteral("SH 50 OVER CREEK\r\n") << QStringLiteral("SH 50 OVER CREEK");
    }
    void recordTextOnly() {
        QFETCH(bool, pasted);
        QFETCH(QString, input);
        QFETCH(QString, comments);
        frmMain& w = window();
        if (pasted) {
            QGuiApplication::clipboard()->setText(input);
            field(w, "Comments")->paste();
        } else {
            type(w, "Comments", input);
        }
        QCOMPARE(field(w, "Comments")->text(), comments);
        // One byte a character, each its Latin-1 code.
        QCOMPARE(QString::fromLatin1(w.fields().Comments), comments);
    }

    void fieldsRoundTrip() {
        frmMain& w = window();
        SlabFields f = exampleSlab();
        f.Comments = "\xE9t\xE9  \xA0 pont";
        f.Rater = " JD";
        f.LoadType = LoadType::Interstate;
        w.setFields(f);
        QCOMPARE(w.fields(), f);
        f.LoadType = LoadType::None;
        w.setFields(f);
        QCOMPARE(w.fields(), f);
    }

    void focusOrder() {
        frmMain& w = window();
        const QStringList expected = {
            QStringLiteral("StructNo"),  QStringLiteral("Rater"),     QStringLiteral("BatchID"),
            QStringLiteral("Comments"),  QStringLiteral("Hwy"),       QStringLiteral("List1"),
            QStringLiteral("Bitum"),     QStringLiteral("EffSpan"),   QStringLiteral("SlabThick"),
            QStringLiteral("StAreaTop"), QStringLiteral("StDistTop"), QStringLiteral("STAreaBot"),
            QStringLiteral("StDistBot"), QStringLiteral("Concfc"),    QStringLiteral("SteelFy"),
            QStringLiteral("ModRatio")};
        QStringList order;
        QWidget* widget = field(w, "StructNo");
        while (order.size() < expected.size()) {
            if (expected.contains(widget->objectName()) && !order.contains(widget->objectName())) {
                order << widget->objectName();
            } else if (order.contains(widget->objectName())) {
                break;
            }
            widget = widget->nextInFocusChain();
        }
        QCOMPARE(order, expected);
    }

    void loadTypeList() {
        frmMain& w = window();
        auto* list = w.findChild<QListWidget*>(QStringLiteral("List1"));
        QCOMPARE(list->count(), 2);
        QCOMPARE(list->item(0)->text(), QStringLiteral("1=Brevania"));
        QCOMPARE(list->item(1)->text(), QStringLiteral("2=Interstate"));
        QCOMPARE(list->toolTip(), QStringLiteral("Click on \"Brevania\" for state highways, "
                                                 "\"Interstate\" for interstate highways."));
        QCOMPARE(w.fields().LoadType, LoadType::None);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(1)).center());
        QCOMPARE(w.fields().LoadType, LoadType::Interstate);
    }

    void statusBar() {
        frmMain& w = window();
        auto* panel1 = w.findChild<QLabel*>(QStringLiteral("sbStatusBarPanel1"));
        auto* panel2 = w.findChild<QLabel*>(QStringLiteral("sbStatusBarPanel2"));
        auto* panel3 = w.findChild<QLabel*>(QStringLiteral("sbStatusBarPanel3"));
        QVERIFY(panel1 && panel2 && panel3);
        QCOMPARE(panel1->text(), QStringLiteral("Use File => Open to start"));
        QCOMPARE(panel2->text(), kRunDate);
        QCOMPARE(panel3->text(), QStringLiteral("2:07 PM"));
        // The panels follow the computer's clock.
        m_platform->date = QDate(2024, 12, 31);
        m_platform->time = QTime(9, 30);
        QTRY_COMPARE_WITH_TIMEOUT(panel3->text(), QStringLiteral("9:30 AM"), 3000);
        QCOMPARE(panel2->text(), QStringLiteral("12/31/24"));
    }

    // The report header's date is the short date of the regional settings, or yyyy-mm-dd
    // where the single-byte report cannot hold that form.
    void reportDate_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("date");
        QTest::newRow("US English") << "en_US"
                                    << "3/5/24";
        QTest::newRow("German") << "de_DE"
                                << "05.03.24";
        QTest::newRow("Japanese") << "ja_JP"
                                  << "2024/03/05";
        QTest::newRow("Egyptian Arabic digits") << "ar_EG"
                                                << "2024-03-05";
        QTest::newRow("Marathi Devanagari digits") << "mr_IN"
                                                   << "2024-03-05";
    }
    void reportDate() {
        QFETCH(QString, locale);
        QFETCH(QString, date);
        m_platform->localeSettings = QLocale(locale);
        QCOMPARE(m_platform->localeSettings.name(), locale);
        frmMain& w = window();
        w.setFields(exampleSlab());
        w.mnuFileRun_Click();
        QCOMPARE(w.reportWindow()->reportText().section(QStringLiteral("\r\n"), 0, 0),
                 QStringLiteral("Slab Rating Version 2     Date: ") + date);
    }

    // Fields typed as a user would, run from the menu, and the report window's text
    // compared byte for byte with the engine's report of the example's file (the date is
    // the run's own).
    void typedRun_data() {
        QTest::addColumn<QStringList>("typed");  // the 15 fields in focus order, then the list row
        QTest::addColumn<QString>("example");
        QTest::addColumn<QString>("methodLine");
        QTest::newRow("load factor, state trucks")
            << QStringList{"B-12-AC", " JD",  "",      "     SH 50 OVER CREEK",
                           " 50",     "0",    "2",     "18.5",
                           "14",      "0.31", "12.5",  "0.6",
                           "1.5",     "3000", "40000", ""}
            << "lf-state-trucks"
            << " LOAD FACTOR RATING-COMP STEEL NOT USED";
        QTest::newRow("working stress")
            << QStringList{" W-2002", " RS",  "",      "  WORKING STRESS SLAB",
                           " 35",     "0",    "2",     "10",
                           "8",       "0.62", "6.5",   "0.62",
                           "1.5",     "1200", "20000", "10"}
            << "ws-slab"
            << "WORKING STRESS RATING";
    }
    void typedRun() {
        QFETCH(QStringList, typed);
        QFETCH(QString, example);
        QFETCH(QString, methodLine);
        frmMain& w = window();
        const char* names[] = {"StructNo",  "Rater",     "BatchID",   "Comments",
                               "Hwy",       nullptr,     "Bitum",     "EffSpan",
                               "SlabThick", "StAreaTop", "StDistTop", "STAreaBot",
                               "StDistBot", "Concfc",    "SteelFy",   "ModRatio"};
        for (int i = 0; i < 16; ++i) {
            if (names[i] != nullptr) {
                type(w, names[i], typed[i]);
            } else {
                auto* list = w.findChild<QListWidget*>(QStringLiteral("List1"));
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                                  list->visualItemRect(list->item(typed[i].toInt())).center());
            }
        }
        w.findChild<QAction*>(QStringLiteral("mnuFileRun"))->trigger();
        QVERIFY(m_platform->messages.isEmpty());
        SlabOutput* report = w.reportWindow();
        QVERIFY(report);
        QVERIFY(report->isVisible());
        const QStringList lines = report->reportText().split(QStringLiteral("\r\n"));
        QCOMPARE(lines[0], QStringLiteral("Slab Rating Version 2     Date: ") + kRunDate);
        QCOMPARE(lines[5], methodLine);
        compareReports(report->reportFileBytes(), engineReport(example), example);
    }

    void runReusesTheOpenReportWindow() {
        frmMain& w = window();
        w.setFields(exampleSlab());
        w.mnuFileRun_Click();
        SlabOutput* first = w.reportWindow();
        first->findChild<QPlainTextEdit*>(QStringLiteral("Text1"))
            ->appendPlainText(QStringLiteral("old"));
        w.mnuFileRun_Click();
        QCOMPARE(w.reportWindow(), first);
        QVERIFY(!first->reportText().contains(QStringLiteral("old")));
    }

    // Every example input beside its saved report: opened, run, and compared byte for byte
    // with the report saved from the report window (the header's date is the run's own).
    // Each bundled example opened and run from the menu: the report window holds the
    // engine's report of the file.
    void openedExamples_data() {
        QTest::addColumn<QString>("name");
        for (const char* base :
             {"lf-state-trucks", "lf-thickness-warning", "ws-interstate-trucks", "ws-slab"}) {
            QTest::newRow(base) << QString::fromLatin1(base);
        }
    }
    void openedExamples() {
        QFETCH(QString, name);
        frmMain& w = window();
        m_platform->fileAnswers = {
            QDir(QStringLiteral(SLABRATING_EXAMPLES)).filePath(name + QStringLiteral(".qri"))};
        w.mnuFileOpen_Click();
        QCOMPARE(m_platform->messages, QStringList());
        w.mnuFileRun_Click();
        QVERIFY(w.reportWindow());
        compareReports(w.reportWindow()->reportFileBytes(), engineReport(name), name);
    }

    void nonNumericField_data() {
        // The window passes on the rating run's message; the engine's suite pins its text.
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        const std::pair<const char*, const char*> rows[] = {
            {"Bitum", ""},        {"EffSpan", "ten"},   {"SlabThick", "14in"},
            {"StAreaTop", "."},   {"StDistTop", "   "}, {"STAreaBot", "x"},
            {"StDistBot", "1,5"}, {"Concfc", ""},       {"SteelFy", "40 000"},
        };
        for (const auto& [name, text] : rows) {
            QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(text);
        }
    }
    void nonNumericField() {
        QFETCH(QString, name);
        QFETCH(QString, text);
        frmMain& w = window();
        w.setFields(exampleSlab());
        field(w, name.toLatin1().constData())->setText(text);
        w.mnuFileRun_Click();
        QCOMPARE(m_platform->messages, messages({support::notNumeric(name.toStdString())}));
        QCOMPARE(w.reportWindow(), nullptr);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (QWidget* top : QApplication::topLevelWidgets()) {
            QVERIFY2(top->objectName() != QStringLiteral("SlabOutput"), "report window left");
        }
    }

    void onlyFirstNonNumericFieldReported() {
        frmMain& w = window();
        w.mnuFileRun_Click();  // every field blank
        QCOMPARE(m_platform->messages, messages({support::notNumeric("Bitum")}));
        QCOMPARE(w.reportWindow(), nullptr);
    }

    void nonNumericClosesAnOpenReportWindow() {
        frmMain& w = window();
        w.setFields(exampleSlab());
        w.mnuFileRun_Click();
        QVERIFY(w.reportWindow());
        field(w, "SteelFy")->clear();
        w.mnuFileRun_Click();
        QCOMPARE(w.reportWindow(), nullptr);
        w.setFields(exampleSlab());
        w.mnuFileRun_Click();
        QVERIFY(w.reportWindow());
        QVERIFY(w.reportWindow()->isVisible());
    }

    void rangeFailure_data() {
        QTest::addColumn<QString>("span");
        QTest::addColumn<QString>("topDistance");
        QTest::addColumn<QString>("message");
        const QString under = QString::fromStdString(support::kSpanUnder2);
        const QString over = QString::fromStdString(support::kSpanOver24);
        QTest::newRow("span 1.99") << "1.99"
                                   << "12.5" << under;
        QTest::newRow("span 24.01") << "24.01"
                                    << "12.5" << over;
        QTest::newRow("last failing named") << "30"
                                            << "0.05" << over;
    }
    void rangeFailure() {
        QFETCH(QString, span);
        QFETCH(QString, topDistance);
        QFETCH(QString, message);
        frmMain& w = window();
        w.setFields(exampleSlab());
        field(w, "EffSpan")->setText(span);
        field(w, "StDistTop")->setText(topDistance);
        w.mnuFileRun_Click();
        QCOMPARE(m_platform->messages, QStringList{message});
        QCOMPARE(m_platform->messageParents, QStringList{QStringLiteral("SlabOutput")});
        QVERIFY(w.reportWindow());
        QVERIFY(w.reportWindow()->isVisible());
        QCOMPARE(w.reportWindow()->reportText(),
                 QStringLiteral("Slab Rating Version 2     Date: ") + kRunDate +
                     QStringLiteral("\r\n\r\n Structure NO. B-12-AC     Rater: JD      State HWY "
                                    "NO. = 50 \r\n     Batch ID=         Description: SH 50 "
                                    "OVER CREEK     \r\n"));
    }

    // The sheet saved from the report window is the one the command-line tool writes for the
    // same fields and date, edits of the report text notwithstanding. It names the input file
    // only while the fields are those last opened from or saved to it.
    void calcSheetAsTheCommandLine_data() {
        QTest::addColumn<QString>("input");       // example opened first; "" to type the slab
        QTest::addColumn<QStringList>("edits");   // "Name=text" set afterwards
        QTest::addColumn<bool>("saveAs");         // saved as an input file before the run
        QTest::addColumn<QString>("sheetNames");  // "input", "saved" or "" for no file
        QTest::newRow("opened example") << "ws-slab" << QStringList() << false << "input";
        QTest::newRow("typed") << "" << QStringList() << false << "";
        QTest::newRow("opened, then edited")
            << "lf-state-trucks" << QStringList{"EffSpan=18"} << false << "";
        QTest::newRow("typed and saved") << "" << QStringList() << true << "saved";
        QTest::newRow("saved, then edited") << "" << QStringList{"Rater=RS"} << true << "";
        QTest::newRow("range failure") << "" << QStringList{"EffSpan=30"} << false << "";
    }
    void calcSheetAsTheCommandLine() {
        QFETCH(QString, input);
        QFETCH(QStringList, edits);
        QFETCH(bool, saveAs);
        QFETCH(QString, sheetNames);
        frmMain& w = window();
        const QString inputPath =
            QDir(QStringLiteral(SLABRATING_EXAMPLES)).filePath(input + QStringLiteral(".qri"));
        const QString savedPath = m_dir->filePath(QStringLiteral("saved.qri"));
        if (input.isEmpty()) {
            w.setFields(exampleSlab());
        } else {
            m_platform->fileAnswers = {inputPath};
            w.mnuFileOpen_Click();
        }
        if (saveAs) {
            m_platform->fileAnswers = {savedPath};
            w.mnuFileSaveAs_Click();
        }
        for (const QString& edit : edits) {
            field(w, edit.section(QLatin1Char('='), 0, 0).toLatin1().constData())
                ->setText(edit.section(QLatin1Char('='), 1));
        }
        w.mnuFileRun_Click();
        QVERIFY(w.reportWindow());
        w.reportWindow()
            ->findChild<QPlainTextEdit*>(QStringLiteral("Text1"))
            ->appendPlainText(QStringLiteral("Checked by RS"));
        m_platform->messages.clear();
        const QString sheet = m_dir->filePath(QStringLiteral("window.html"));
        m_platform->fileAnswers = {sheet};
        w.reportWindow()->findChild<QPushButton*>(QStringLiteral("CalcSheet"))->click();
        QCOMPARE(m_platform->messages, QStringList());
        QCOMPARE(m_platform->openedUrls, QList<QUrl>{QUrl::fromLocalFile(sheet)});

        const QString cliSheet = m_dir->filePath(QStringLiteral("cli.html"));
        std::vector<std::string> args = {
            "--date",
            kRunDate.toStdString(),
            "--rating-date",
            m_platform->currentDate().toString(QStringLiteral("yyyy-MM-dd")).toStdString(),
            "--calc",
            QFile::encodeName(cliSheet).toStdString()};
        if (sheetNames != QStringLiteral("input")) {
            // The window's texts replace the file's, as the run took them.
            const SlabFields f = w.fields();
            for (const FieldInfo& info : kFields) {
                args.push_back("--set");
                args.push_back(std::string(info.name) + '=' + f.*info.text);
            }
            args.push_back("--set");
            args.push_back(std::string(kLoadTypeName) + "=" + loadTypeInfo(f.LoadType).code);
        }
        if (!sheetNames.isEmpty()) {
            const QString file = sheetNames == QStringLiteral("input") ? inputPath : savedPath;
            args.push_back(QFile::encodeName(file).toStdString());
        }
        std::istringstream in;
        std::ostringstream out;
        std::ostringstream err;
        const int status = cli::run(args, in, out, err);
        QVERIFY2(status == 0 || status == 1, err.str().c_str());
        QVERIFY(QFile::exists(cliSheet));
        compareReports(readAll(sheet), readAll(cliSheet), QStringLiteral("calc-sheet.html"));
    }

    void openGoodFile() {
        frmMain& w = window();
        const QString path = m_dir->filePath(QStringLiteral("example.qri"));
        QVERIFY(writeAll(path, kExampleRecord));
        m_platform->fileAnswers = {path};
        w.mnuFileOpen_Click();
        QCOMPARE(m_platform->messages, QStringList());
        QCOMPARE(m_platform->fileDialogs.size(), 1);
        QCOMPARE(m_platform->fileDialogs[0].kind, QStringLiteral("open"));
        QCOMPARE(m_platform->fileDialogs[0].filter, QStringLiteral("Slab Input (.qri) (*.qri)"));
        QCOMPARE(w.fields(), support::exampleFieldsAsRead());
    }

    void openBadFile_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("short line, bad load type")
            << QByteArray("3B-12-AC JD 50           SH 50 OVER CREEK\r\n")
            << messages({support::kLoadTypeWarning, support::readIncorrect("EffSpan"),
                         support::readIncorrect("SlabThick"), support::readIncorrect("StDistTop"),
                         support::readIncorrect("StAreaTop"), support::readIncorrect("Bitum"),
                         support::readIncorrect("Concfc"), support::readIncorrect("SteelFy"),
                         support::readIncorrect("StDistBot"), support::readIncorrect("STAreaBot")});
        QTest::newRow("empty first line")
            << QByteArray("\r\n" + kExampleRecord) << messages({support::kInvalidInput});
        QTest::newRow("empty file") << QByteArray() << messages({support::kFileNotFound});
    }
    void openBadFile() {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, messages);
        frmMain& w = window();
        const QString path = m_dir->filePath(QStringLiteral("bad.qri"));
        QVERIFY(writeAll(path, bytes));
        m_platform->fileAnswers = {path};
        w.mnuFileOpen_Click();
        QCOMPARE(m_platform->messages, messages);
        QCOMPARE(m_platform->messageParents.count(QStringLiteral("frmMain")), messages.size());
    }

    void openMissingFileLeavesFields() {
        frmMain& w = window();
        w.setFields(exampleSlab());
        m_platform->fileAnswers = {m_dir->filePath(QStringLiteral("none.qri"))};
        w.mnuFileOpen_Click();
        QCOMPARE(m_platform->messages, messages({support::kFileNotFound}));
        QCOMPARE(w.fields(), exampleSlab());
    }

    void openCancelledChangesNothing() {
        frmMain& w = window();
        w.setFields(exampleSlab());
        w.mnuFileOpen_Click();
        QCOMPARE(m_platform->fileDialogs.size(), 1);
        QVERIFY(m_platform->messages.isEmpty());
        QCOMPARE(w.fields(), exampleSlab());
    }

    // The program's one file dialog: the Open dialog starts with the name last chosen in
    // any window's use of it; a save clears the name first.
    void fileDialogKeepsItsFileName_data() {
        QTest::addColumn<QStringList>("uses");    // "open", "saveAs" or "reportSave", ':', answer
        QTest::addColumn<QString>("startsWith");  // file name of the last Open dialog
        QTest::newRow("first open") << QStringList{"open:"} << "";
        QTest::newRow("opened") << QStringList{"open:example.qri", "open:"} << "example.qri";
        QTest::newRow("open cancelled")
            << QStringList{"open:example.qri", "open:", "open:"} << "example.qri";
        QTest::newRow("saved as") << QStringList{"saveAs:saved.qri", "open:"} << "saved.qri";
        QTest::newRow("report saved")
            << QStringList{"open:example.qri", "reportSave:report.qro", "open:"} << "report.qro";
        QTest::newRow("save cancelled")
            << QStringList{"open:example.qri", "saveAs:", "open:"} << "";
    }
    void fileDialogKeepsItsFileName() {
        QFETCH(QStringList, uses);
        QFETCH(QString, startsWith);
        frmMain& w = window();
        QVERIFY(writeAll(m_dir->filePath(QStringLiteral("example.qri")), kExampleRecord));
        w.setFields(exampleSlab());
        w.mnuFileRun_Click();
        for (const QString& use : uses) {
            const QString answer = use.section(QLatin1Char(':'), 1);
            m_platform->fileAnswers = {answer.isEmpty() ? QString() : m_dir->filePath(answer)};
            if (use.startsWith(QStringLiteral("open:"))) {
                w.mnuFileOpen_Click();
            } else if (use.startsWith(QStringLiteral("saveAs:"))) {
                w.mnuFileSaveAs_Click();
            } else if (use.startsWith(QStringLiteral("reportSave:"))) {
                w.reportWindow()->SaveOutput_Click();
            } else {
                QFAIL(qPrintable(use));
            }
        }
        QVERIFY(m_platform->messages.isEmpty());
        QCOMPARE(m_platform->fileDialogs.last().kind, QStringLiteral("open"));
        QCOMPARE(m_platform->fileDialogs.last().fileName,
                 startsWith.isEmpty() ? QString() : m_dir->filePath(startsWith));
    }

    void saveAsRoundTrip() {
        frmMain& w = window();
        w.setFields(exampleSlab());
        // A name without extension is given the filter's, as save dialogs do, so that Open
        // and a batch's folder walk find the file. (Before: it was saved as "saved".)
        m_platform->fileAnswers = {m_dir->filePath(QStringLiteral("saved"))};
        const QString path = m_dir->filePath(QStringLiteral("saved.qri"));
        w.mnuFileSaveAs_Click();
        QCOMPARE(m_platform->fileDialogs.size(), 1);
        QCOMPARE(m_platform->fileDialogs[0].kind, QStringLiteral("save"));
        QCOMPARE(m_platform->fileDialogs[0].title, QStringLiteral("Save Slab Input File As"));
        QCOMPARE(m_platform->fileDialogs[0].filter, QStringLiteral("Slab Input File (*.qri)"));
        QVERIFY(m_platform->messages.isEmpty());
        QCOMPARE(readAll(path), kExampleRecord);

        w.setFields(SlabFields{});
        m_platform->fileAnswers = {path};
        w.mnuFileOpen_Click();
        QVERIFY(m_platform->messages.isEmpty());
        const SlabFields read = w.fields();
        QCOMPARE(read.StructNo, std::string("B-12-AC"));
        QCOMPARE(read.EffSpan, std::string("18.5"));
        QCOMPARE(read.LoadType, LoadType::StateTrucks);
        // Saving what was read gives the same record again.
        m_platform->fileAnswers = {path};
        w.mnuFileSaveAs_Click();
        QCOMPARE(readAll(path), kExampleRecord);
    }

    void saveAsCancelledWritesNothing() {
        frmMain& w = window();
        w.setFields(exampleSlab());
        w.mnuFileSaveAs_Click();
        QVERIFY(m_platform->messages.isEmpty());
        QVERIFY(QDir(m_dir->path()).isEmpty());
    }

    void saveAsFailureIsReported() {
        frmMain& w = window();
        w.setFields(exampleSlab());
        m_platform->fileAnswers = {m_dir->filePath(QStringLiteral("no/such/dir/x.qri"))};
        w.mnuFileSaveAs_Click();
        QCOMPARE(m_platform->messages.size(), 1);
        QVERIFY(!m_platform->messages[0].isEmpty());
    }

    void toolbarButtons() {
        frmMain& w = window();
        auto* toolbar = w.findChild<QToolBar*>(QStringLiteral("tbToolBar"));
        toolbar->actions()[1]->trigger();  // "Save"
        toolbar->actions()[0]->trigger();  // "Open"
        QCOMPARE(m_platform->fileDialogs.size(), 2);
        QCOMPARE(m_platform->fileDialogs[0].title, QStringLiteral("Save Slab Input File As"));
        QCOMPARE(m_platform->fileDialogs[0].filter, QStringLiteral("Slab Input File (*.qri)"));
        QCOMPARE(m_platform->fileDialogs[1].kind, QStringLiteral("open"));
        QAction other(QStringLiteral("Other"));
        other.setData(QStringLiteral("Other"));
        w.tbToolBar_ButtonClick(&other);
        QCOMPARE(m_platform->fileDialogs.size(), 2);
    }

    void placementRestored_data() {
        QTest::addColumn<QStringList>("stored");    // MainLeft, MainTop, MainWidth, MainHeight
        QTest::addColumn<QList<QRect>>("screens");  // available area of each screen (pixels)
        QTest::addColumn<QRect>("expected");        // position and size of the window (pixels)
        const QRect laptop(0, 0, 1920, 1040);
        const QRect rightMonitor(1920, 0, 1280, 1024);
        const QRect leftMonitor(-1280, 0, 1280, 1024);
        QTest::newRow("first start") << QStringList{} << QList{laptop} << QRect(67, 67, 449, 538);
        QTest::newRow("stored") << QStringList{"1500", "3000", "12090", "12375"} << QList{laptop}
                                << QRect(100, 200, 800, 800);
        QTest::newRow("not numbers")
            << QStringList{"left", "", "12090", "1e3x"} << QList{laptop} << QRect(67, 67, 800, 538);
        QTest::newRow("on the monitor to the right")
            << QStringList{"30000", "3000", "12090", "12375"} << QList{laptop, rightMonitor}
            << QRect(2000, 200, 800, 800);
        QTest::newRow("monitor to the right removed")
            << QStringList{"30000", "3000", "12090", "12375"} << QList{laptop}
            << QRect(67, 67, 449, 538);
        QTest::newRow("monitor to the left removed")
            << QStringList{"-15000", "3000", "9000", "12375"} << QList{laptop}
            << QRect(67, 67, 449, 538);
        QTest::newRow("partly on the laptop") << QStringList{"-6000", "3000", "12090", "12375"}
                                              << QList{laptop} << QRect(-400, 200, 800, 800);
        QTest::newRow("below the screens") << QStringList{"1500", "16000", "12090", "12375"}
                                           << QList{laptop, leftMonitor} << QRect(67, 67, 449, 538);
    }
    void placementRestored() {
        QFETCH(QStringList, stored);
        QFETCH(QList<QRect>, screens);
        QFETCH(QRect, expected);
        m_platform->screens = screens;
        const char* keys[] = {"MainLeft", "MainTop", "MainWidth", "MainHeight"};
        for (qsizetype i = 0; i < stored.size(); ++i) {
            m_platform->settings.insert(QString::fromLatin1(keys[i]), stored[i]);
        }
        frmMain& w = window();
        // The window is never smaller than its fields need.
        const QSize size = expected.size().expandedTo(w.sizeHint());
        QCOMPARE(w.pos(), expected.topLeft());
        QCOMPARE(w.size(), size);
        QCOMPARE(w.minimumSize(), size);
        QCOMPARE(w.maximumSize(), size);
    }

    void placementSavedOnExit() {
        m_platform->settings = {{"MainLeft", "1500"},
                                {"MainTop", "3000"},
                                {"MainWidth", "12090"},
                                {"MainHeight", "12375"}};
        frmMain& w = window();
        w.move(150, 90);
        w.mnuFileExit_Click();
        QVERIFY(!w.isVisible());
        QCOMPARE(m_platform->settingWrites, (QStringList{"MainLeft=2250", "MainTop=1350",
                                                         "MainWidth=12090", "MainHeight=12375"}));
    }

    void minimizedSavesNothing() {
        frmMain& w = window();
        w.showMinimized();
        QVERIFY(w.isMinimized());
        w.close();
        QVERIFY(m_platform->settingWrites.isEmpty());
    }

    void placementThroughSettingsFile() {
        const QString file = m_dir->filePath(QStringLiteral("settings.ini"));
        {
            QSettings settings(file, QSettings::IniFormat);
            settings.setValue(QStringLiteral("Settings/MainLeft"), QStringLiteral("1500"));
            settings.setValue(QStringLiteral("Settings/MainTop"), QStringLiteral("xyz"));
        }
        {
            QtPlatform platform(std::make_unique<QSettings>(file, QSettings::IniFormat));
            frmMain w(platform);
            QCOMPARE(w.pos(), QPoint(100, 67));
            w.show();
            w.move(300, 45);
            w.close();
        }
        QSettings settings(file, QSettings::IniFormat);
        QCOMPARE(settings.value(QStringLiteral("Settings/MainLeft")).toString(),
                 QStringLiteral("4500"));
        QCOMPARE(settings.value(QStringLiteral("Settings/MainTop")).toString(),
                 QStringLiteral("675"));
        QtPlatform platform(std::make_unique<QSettings>(file, QSettings::IniFormat));
        frmMain again(platform);
        QCOMPARE(again.pos(), QPoint(300, 45));
    }

    void exitWithReportWindowOpen() {
        frmMain& w = window();
        w.setFields(exampleSlab());
        w.mnuFileRun_Click();
        QPointer<SlabOutput> report = w.reportWindow();
        QVERIFY(report && report->isVisible());
        w.mnuFileExit_Click();
        QVERIFY(!w.isVisible());
        QCOMPARE(w.reportWindow(), nullptr);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(report.isNull());
        QCOMPARE(m_platform->settingWrites.size(), 4);
    }

    void reportClosedByUserIsMadeAnew() {
        frmMain& w = window();
        w.setFields(exampleSlab());
        w.mnuFileRun_Click();
        w.reportWindow()->close();
        QCOMPARE(w.reportWindow(), nullptr);
        w.mnuFileRun_Click();
        QVERIFY(w.reportWindow());
        QVERIFY(w.reportWindow()->isVisible());
    }

    void aboutBoxIsModalOverTheMainWindow() {
        frmMain& w = window();
        QString caption;
        QWidget* owner = nullptr;
        m_platform->onModal = [&](QDialog& dialog) {
            caption = dialog.windowTitle();
            owner = dialog.parentWidget();
            return QDialog::Accepted;
        };
        w.mnuHelpAbout_Click();
        QCOMPARE(m_platform->modalDialogs, QStringList{QStringLiteral("frmAbout")});
        QCOMPARE(caption, QStringLiteral("About Slab Rating"));
        QCOMPARE(owner, &w);
    }

    void printFromReportWindow() {
        frmMain& w = window();
        w.setFields(exampleSlab());
        w.mnuFileRun_Click();
        auto log = std::make_shared<test::PrintLog>();
        log->copies = 3;
        m_platform->printerAnswer = [log] { return std::make_unique<test::FakePrinter>(log); };
        w.reportWindow()->findChild<QPushButton*>(QStringLiteral("PrintOutput"))->click();
        QCOMPARE(m_platform->printerDialogs, 1);
        QCOMPARE(log->documents.size(), 3);
        const QStringList lines =
            w.reportWindow()->reportText().split(QStringLiteral("\r\n")).mid(0, 4);
        QCOMPARE(log->documents[2][0].mid(0, 4), lines);
        QVERIFY(m_platform->messages.isEmpty());
    }

    // The report window's Print button through the desktop's printer dialog, with a PDF
    // file and three copies chosen: three complete documents, none overwriting another.
    // The next print's dialog opens with the copies and the file chosen the last time.
    void printToPdfThreeCopies() {
        const QString path = m_dir->filePath(QStringLiteral("report.pdf"));
        // The desktop's own dialogs, with message boxes recorded instead of shown.
        class Desktop : public QtPlatform {
        public:
            using QtPlatform::QtPlatform;
            void showMessage(QWidget*, const QString& text) override { messages.append(text); }
            QStringList messages;
        } platform(std::make_unique<QSettings>(
            m_dir->filePath(QStringLiteral("settings/settings.ini")), QSettings::IniFormat));
        frmMain w(platform);
        w.setFields(exampleSlab());
        w.mnuFileRun_Click();
        auto* print = w.reportWindow()->findChild<QPushButton*>(QStringLiteral("PrintOutput"));
        answerPrinterDialog([&](QPrintDialog& dialog) {
            dialog.printer()->setOutputFormat(QPrinter::PdfFormat);
            dialog.printer()->setOutputFileName(path);
            dialog.printer()->setCopyCount(3);
            dialog.done(QDialog::Accepted);
        });
        print->click();
        QCOMPARE(platform.messages, QStringList());
        const QStringList files = QDir(m_dir->path()).entryList(QDir::Files);
        QCOMPARE(files, (QStringList{QStringLiteral("report-2.pdf"), QStringLiteral("report-3.pdf"),
                                     QStringLiteral("report.pdf")}));
        for (const QString& file : files) {
            const QByteArray pdf = readAll(m_dir->filePath(file));
            QVERIFY2(pdf.startsWith("%PDF") && pdf.size() > 1000, qPrintable(file));
        }

        int copies = 0;
        QString outputFile;
        answerPrinterDialog([&](QPrintDialog& dialog) {
            copies = dialog.printer()->copyCount();
            outputFile = dialog.printer()->outputFileName();
            dialog.reject();
        });
        print->click();
        QCOMPARE(copies, 3);
        QCOMPARE(outputFile, path);
    }

    void printCancelledDoesNothing() {
        frmMain& w = window();
        w.setFields(exampleSlab());
        w.mnuFileRun_Click();
        w.reportWindow()->findChild<QPushButton*>(QStringLiteral("PrintOutput"))->click();
        QCOMPARE(m_platform->printerDialogs, 1);
        QVERIFY(m_platform->messages.isEmpty());
    }

    void printFailureIsReported() {
        frmMain& w = window();
        w.setFields(exampleSlab());
        w.mnuFileRun_Click();
        auto log = std::make_shared<test::PrintLog>();
        log->copies = 2;
        log->failBeginAtDocument = 1;
        m_platform->printerAnswer = [log] { return std::make_unique<test::FakePrinter>(log); };
        w.reportWindow()->findChild<QPushButton*>(QStringLiteral("PrintOutput"))->click();
        QCOMPARE(m_platform->messages,
                 QStringList{QStringLiteral("Error: The report could not be printed.")});
    }

private:
    frmMain& window() {
        if (!m_window) {
            m_window = std::make_unique<frmMain>(*m_platform);
            m_window->show();
        }
        return *m_window;
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FakePlatform> m_platform;
    std::unique_ptr<frmMain> m_window;
};

SLABRATING_UI_TEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
