#include "ui/slab_output.h"

#include <QCloseEvent>
#include <QFile>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QVBoxLayout>

#include "engine/rating_run.h"
#include "files/safe_write.h"
#include "ui/placement.h"
#include "ui/platform.h"

namespace slabrating::ui {

namespace {

// Design sizes in twips.
constexpr int kTextWidthTwips = 9495;
constexpr int kTextHeightTwips = 4215;
constexpr int kPrintWidthTwips = 1215;
constexpr int kSaveWidthTwips = 1575;
constexpr int kButtonHeightTwips = 375;

const QString kLineEnd = QStringLiteral("\r\n");

}  // namespace

QFont reportScreenFont() {
    QFont font;
    if (QFontDatabase::families().contains(QStringLiteral("Courier New"))) {
        font = QFont(QStringLiteral("Courier New"));
    } else {
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    }
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

    auto* print = new QPushButton(QStringLiteral("Print"));
    print->setObjectName(QStringLiteral("PrintOutput"));
    print->setMinimumSize(twipsToPixels(kPrintWidthTwips, dpi),
                          twipsToPixels(kButtonHeightTwips, dpi));
    auto* save = new QPushButton(QStringLiteral("Save to File"));
    save->setObjectName(QStringLiteral("SaveOutput"));
    save->setMinimumSize(twipsToPixels(kSaveWidthTwips, dpi),
                         twipsToPixels(kButtonHeightTwips, dpi));
    connect(print, &QPushButton::clicked, this, &SlabOutput::PrintOutput_Click);
    connect(save, &QPushButton::clicked, this, &SlabOutput::SaveOutput_Click);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(3);
    buttons->addWidget(print);
    buttons->addStretch(5);
    buttons->addWidget(save);
    buttons->addStretch(2);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 6);
    layout->addWidget(m_Text1, 1);
    layout->addLayout(buttons);
    setTabOrder(m_Text1, print);
    setTabOrder(print, save);
    setFixedSize(sizeHint());
}

void SlabOutput::setReport(const std::string& report) {
    QString text = QString::fromLatin1(report.data(), static_cast<qsizetype>(report.size()));
    text.replace(kLineEnd, QStringLiteral("\n"));
    m_Text1->setPlainText(text);
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

void SlabOutput::PrintOutput_Click() {
    emit printRequested();
}

void SlabOutput::closeEvent(QCloseEvent* event) {
    event->accept();
    emit closed();
}

}  // namespace slabrating::ui
