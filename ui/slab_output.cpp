#include "ui/slab_output.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QKeySequence>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "engine/rating_run.h"
#include "export/calc_sheet.h"
#include "export/rated_slab.h"
#include "files/file_writer.h"
#include "ui/placement.h"
#include "ui/platform.h"

namespace slabrating::ui {

namespace {

// Design sizes in twips.
constexpr int kTextWidthTwips = 9495;
constexpr int kTextHeightTwips = 4215;
constexpr int kButtonHeightTwips = 375;

// The buttons on the row below the text box, left edge and width in twips. Print and Save to
// File keep their long-standing places; Calculation Sheet sits midway between them.
constexpr int kPrintLeftTwips = 1980;
constexpr int kPrintWidthTwips = 1215;
constexpr int kCalcSheetLeftTwips = 3990;
constexpr int kCalcSheetWidthTwips = 1815;
constexpr int kSaveLeftTwips = 6600;
constexpr int kSaveWidthTwips = 1575;

const QString kLineEnd = QStringLiteral("\r\n");

// Characters a file name cannot hold here or on a Windows share.
const QString kNotInFileNames = QStringLiteral("/\\:*?\"<>|");

// The sheet's suggested file name: the structure number, each character that a file name
// cannot hold (and a leading dot, which would hide the file) made '_'.
QString calcSheetFileName(const std::string& structureNumber) {
    QString name =
        QString::fromLatin1(structureNumber.data(), static_cast<qsizetype>(structureNumber.size()))
            .trimmed();
    if (name.isEmpty()) {
        return QStringLiteral("Calculation Sheet.html");
    }
    for (QChar& c : name) {
        if (c.category() == QChar::Other_Control || kNotInFileNames.contains(c)) {
            c = QLatin1Char('_');
        }
    }
    for (qsizetype i = 0; i < name.size() && name[i] == QLatin1Char('.'); ++i) {
        name[i] = QLatin1Char('_');
    }
    return name + QStringLiteral(".html");
}

// A button of the row at its design place, grown where this desktop's font needs more room.
QPushButton* placedButton(const QString& text, const QString& name, int leftTwips, int widthTwips,
                          double dpi, QWidget* row) {
    auto* button = new QPushButton(text, row);
    button->setObjectName(name);
    const QSize size = QSize(twipsToPixels(widthTwips, dpi), twipsToPixels(kButtonHeightTwips, dpi))
                           .expandedTo(button->sizeHint());
    button->setGeometry(QRect(QPoint(twipsToPixels(leftTwips, dpi), 0), size));
    return button;
}

}  // namespace

bool advancesAreEqual(const QFont& font) {
    const QFontMetricsF metrics(font);
    const qreal advance = metrics.horizontalAdvance(QLatin1Char(' '));
    // The report's characters: the printable ASCII ones its layout uses, and the Latin-1
    // letters a typed description may hold.
    for (int code = 0x21; code <= 0xff; ++code) {
        if ((code < 0x7f || code >= 0xa0) &&
            metrics.horizontalAdvance(QChar(static_cast<char16_t>(code))) != advance) {
            return false;
        }
    }
    return advance > 0;
}

QFont reportScreenFont() {
    // The original's font where there is one, else the desktop's fixed font, else any font
    // whose every report character is as wide as the others: the report's columns need that
    // (a font's own fixed-pitch flag is not always right, and some fonts that hold it do
    // not keep it for every character).
    QList<QFont> candidates;
    if (QFontDatabase::families().contains(QStringLiteral("Courier New"))) {
        candidates.append(QFont(QStringLiteral("Courier New")));
    }
    candidates.append(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    for (const QString& family : QFontDatabase::families()) {
        candidates.append(QFont(family));
    }
    for (QFont font : candidates) {
        font.setPointSizeF(9.75);
        font.setStyleHint(QFont::TypeWriter);
        if (advancesAreEqual(font)) {
            return font;
        }
    }
    QFont font = candidates.front();
    font.setPointSizeF(9.75);
    font.setStyleHint(QFont::TypeWriter);
    return font;
}

SlabOutput::SlabOutput(Platform& platform, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_platform(platform) {
    setObjectName(QStringLiteral("SlabOutput"));
    setWindowTitle(QStringLiteral("Slab Analysis Results"));

    const double dpi = logicalDpiX();
    m_Text1 = new QPlainTextEdit;
    m_Text1->setObjectName(QStringLiteral("Text1"));
    m_Text1->setFont(reportScreenFont());
    m_Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Tabs would break the report's columns; the focus order leaves the box by Tab.
    m_Text1->setTabChangesFocus(true);
    m_Text1->setMinimumSize(twipsToPixels(kTextWidthTwips, dpi),
                            twipsToPixels(kTextHeightTwips, dpi));

    auto* buttons = new QWidget(this);
    QPushButton* print = placedButton(QStringLiteral("Print"), QStringLiteral("PrintOutput"),
                                      kPrintLeftTwips, kPrintWidthTwips, dpi, buttons);
    m_CalcSheet = placedButton(QStringLiteral("Calculation Sheet"), QStringLiteral("CalcSheet"),
                               kCalcSheetLeftTwips, kCalcSheetWidthTwips, dpi, buttons);
    QPushButton* save = placedButton(QStringLiteral("Save to File"), QStringLiteral("SaveOutput"),
                                     kSaveLeftTwips, kSaveWidthTwips, dpi, buttons);
    // Until the window holds a run there is no sheet to save.
    m_CalcSheet->setEnabled(false);
    buttons->setFixedHeight(std::max({print->height(), m_CalcSheet->height(), save->height()}));
    buttons->setMinimumWidth(save->geometry().right() + 1);
    connect(print, &QPushButton::clicked, this, &SlabOutput::PrintOutput_Click);
    connect(m_CalcSheet, &QPushButton::clicked, this, &SlabOutput::CalcSheet_Click);
    connect(save, &QPushButton::clicked, this, &SlabOutput::SaveOutput_Click);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 6);
    layout->addWidget(m_Text1, 1);
    layout->addWidget(buttons);
    setTabOrder(m_Text1, print);
    setTabOrder(print, m_CalcSheet);
    setTabOrder(m_CalcSheet, save);
    setFixedSize(sizeHint());
    addShortcuts(print, save);
}

void SlabOutput::addShortcuts(QPushButton* print, QPushButton* save) {
    const auto shortcut = [this](const QKeySequence& keys, const QString& name) {
        auto* made = new QShortcut(keys, this);
        made->setObjectName(name);
        return made;
    };
    connect(shortcut(QKeySequence::Print, QStringLiteral("PrintShortcut")), &QShortcut::activated,
            print, &QPushButton::click);
    connect(shortcut(QKeySequence::Save, QStringLiteral("SaveShortcut")), &QShortcut::activated,
            save, &QPushButton::click);
    for (const QKeySequence& keys :
         {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
        connect(shortcut(keys, QStringLiteral("CloseShortcut")), &QShortcut::activated, this,
                &QWidget::close);
    }
}

void SlabOutput::setReport(const std::string& report) {
    m_run.reset();
    m_CalcSheet->setEnabled(false);
    QString text = QString::fromLatin1(report.data(), static_cast<qsizetype>(report.size()));
    text.replace(kLineEnd, QStringLiteral("\n"));
    m_Text1->setPlainText(text);
}

void SlabOutput::setRun(const std::string& file, const SlabFields& fields, RatingResult result) {
    setReport(result.report);
    m_run = Run{file, fields, std::move(result)};
    m_CalcSheet->setEnabled(true);
}

QString SlabOutput::textToPrint() const {
    // The raw text keeps no-break spaces that a typed description may hold; only the
    // block separators of the editor become line ends.
    QString text = m_Text1->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}

QString SlabOutput::reportText() const {
    QString text = textToPrint();
    text.replace(QLatin1Char('\n'), kLineEnd);
    return text;
}

QByteArray SlabOutput::reportFileBytes() const {
    const QByteArray text = reportText().toLatin1();
    const std::string bytes = savedReportBytes(std::string_view(text.constData(), text.size()));
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

void SlabOutput::SaveOutput_Click() {
    const QString path = m_platform.saveFileName(this, QStringLiteral("Save Output File As"),
                                                 QStringLiteral("Output Files (*.qro)"));
    if (path.isEmpty()) {
        return;
    }
    const QByteArray bytes = reportFileBytes();
    if (!writeFileReplacing(QFile::encodeName(path).toStdString(),
                            std::string_view(bytes.constData(), bytes.size()))) {
        m_platform.showMessage(this, QStringLiteral("Error: The report could not be saved."));
    }
}

void SlabOutput::CalcSheet_Click() {
    if (!m_run) {
        return;
    }
    const QString path = m_platform.saveFileName(this, QStringLiteral("Save Calculation Sheet As"),
                                                 QStringLiteral("Calculation Sheets (*.html)"),
                                                 calcSheetFileName(m_run->fields.StructNo));
    if (path.isEmpty()) {
        return;
    }
    // The sheet is the run's, never the text box's, which the user may have edited.
    RatedSlab slab;
    slab.file = m_run->file;
    slab.fields = m_run->fields;
    slab.outcome = slabOutcome(m_run->result.outcome);
    slab.message = m_run->result.message;
    slab.result = &m_run->result;
    if (!writeFileReplacing(QFile::encodeName(path).toStdString(), calcSheetHtml(slab))) {
        m_platform.showMessage(
            this, QString::fromLatin1(kSaveFailedMessage.data(),
                                      static_cast<qsizetype>(kSaveFailedMessage.size())));
        return;
    }
    if (!m_platform.openUrl(QUrl::fromLocalFile(path))) {
        m_platform.showMessage(
            this, QStringLiteral("The calculation sheet was saved as %1, but no program could "
                                 "be started to show it.")
                      .arg(QDir::toNativeSeparators(path)));
    }
}

void SlabOutput::PrintOutput_Click() {
    emit printRequested();
}

void SlabOutput::closeEvent(QCloseEvent* event) {
    event->accept();
    emit closed();
}

}  // namespace slabrating::ui
