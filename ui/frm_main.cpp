#include "ui/frm_main.h"

#include <QAction>
#include <QCloseEvent>
#include <QFile>
#include <QFrame>
#include <QGridLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <QValidator>
#include <algorithm>

#include "engine/rating_run.h"
#include "inputfile/inputfile.h"
#include "ui/app_icon.h"
#include "ui/frm_about.h"
#include "ui/placement.h"
#include "ui/platform.h"
#include "ui/report_printing.h"
#include "ui/slab_output.h"

namespace slabrating::ui {

namespace {

// Field sizes of the design, in twips.
constexpr int kFieldWidthTwips = 1212;
constexpr int kModRatioWidthTwips = 492;

const QString kOpenKey = QStringLiteral("Open");
const QString kSaveKey = QStringLiteral("Save");

QLabel* heading(const QString& text) {
    auto* label = new QLabel(text);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

QLabel* rightLabel(const QString& text) {
    auto* label = new QLabel(text);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

QFrame* rule() {
    auto* line = new QFrame;
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

// The record holds single-byte Latin-1 text on one line.
bool recordCanHold(QChar c) {
    return c.unicode() <= 0xFF && c != QLatin1Char('\r') && c != QLatin1Char('\n');
}

bool recordCanHold(const QString& text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return recordCanHold(c); });
}

/// Keeps a field to the characters the record can hold: such a character typed is
/// refused, and a paste keeps the rest of its text (a spreadsheet cell without its line end).
class RecordTextValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override {
        qsizetype kept = 0;
        int keptBeforeCursor = 0;
        for (qsizetype i = 0; i < input.size(); ++i) {
            if (recordCanHold(input[i])) {
                input[kept++] = input[i];
                keptBeforeCursor += i < pos ? 1 : 0;
            }
        }
        input.truncate(kept);
        pos = keptBeforeCursor;
        return Acceptable;
    }
};

QString fromLatin1(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// The one conversion of window text into the record's bytes; the fields' validator and the
// date's fallback see to it that it meets no character Latin-1 cannot hold.
std::string toLatin1(const QString& text) {
    return text.toLatin1().toStdString();
}

// The short date of the regional settings, or yyyy-mm-dd where the single-byte report
// cannot hold that form (Arabic or Devanagari digits, for one).
std::string reportDate(const QLocale& locale, const QDate& date) {
    const QString shortDate = locale.toString(date, QLocale::ShortFormat);
    return toLatin1(recordCanHold(shortDate) ? shortDate : date.toString(Qt::ISODate));
}

}  // namespace

frmMain::frmMain(Platform& platform, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint),
      m_platform(platform) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Brevania DOT Slab Rating"));
    setWindowIcon(appIcon());
    setContextMenuPolicy(Qt::PreventContextMenu);
    buildMenus();
    buildToolBar();
    buildFields();
    buildStatusBar();
    restorePlacement();
}

frmMain::~frmMain() {
    delete m_output.data();
}

SlabOutput* frmMain::reportWindow() const {
    return m_output;
}

void frmMain::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    QAction* open = file->addAction(QStringLiteral("&Open..."), this, &frmMain::mnuFileOpen_Click);
    open->setObjectName(QStringLiteral("mnuFileOpen"));
    open->setShortcut(QKeySequence::Open);
    QAction* run =
        file->addAction(QStringLiteral("Run Analysis"), this, &frmMain::mnuFileRun_Click);
    run->setObjectName(QStringLiteral("mnuFileRun"));
    file->addSeparator();
    QAction* saveAs =
        file->addAction(QStringLiteral("Save &As..."), this, &frmMain::mnuFileSaveAs_Click);
    saveAs->setObjectName(QStringLiteral("mnuFileSaveAs"));
    saveAs->setShortcut(QKeySequence::Save);
    file->addSeparator();
    QAction* exit = file->addAction(QStringLiteral("E&xit"), this, &frmMain::mnuFileExit_Click);
    exit->setObjectName(QStringLiteral("mnuFileExit"));
    // Quit is Ctrl+Q wherever the desktop names no key of its own for it.
    const QKeySequence quit(QKeySequence::Quit);
    exit->setShortcut(quit.isEmpty() ? QKeySequence(Qt::CTRL | Qt::Key_Q) : quit);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    QAction* about = help->addAction(QStringLiteral("&About "), this, &frmMain::mnuHelpAbout_Click);
    about->setObjectName(QStringLiteral("mnuHelpAbout"));
}

void frmMain::buildToolBar() {
    m_tbToolBar = addToolBar(QStringLiteral("Toolbar"));
    m_tbToolBar->setObjectName(QStringLiteral("tbToolBar"));
    m_tbToolBar->setMovable(false);
    m_tbToolBar->setFloatable(false);
    m_tbToolBar->setIconSize(QSize(16, 16));
    const struct {
        QString key;
        QString theme;
        QStyle::StandardPixmap fallback;
    } buttons[] = {
        {kOpenKey, QStringLiteral("document-open"), QStyle::SP_DialogOpenButton},
        {kSaveKey, QStringLiteral("document-save"), QStyle::SP_DialogSaveButton},
    };
    for (const auto& button : buttons) {
        QAction* action = m_tbToolBar->addAction(
            QIcon::fromTheme(button.theme, style()->standardIcon(button.fallback)), button.key);
        action->setObjectName(QStringLiteral("tbToolBar") + button.key);
        action->setData(button.key);
        action->setToolTip(button.key);
    }
    connect(m_tbToolBar, &QToolBar::actionTriggered, this, &frmMain::tbToolBar_ButtonClick);
}

void frmMain::buildFields() {
    auto* central = new QWidget;
    auto* outer = new QVBoxLayout(central);
    outer->setContentsMargins(8, 0, 8, 4);
    outer->setSpacing(4);
    outer->addWidget(rule());

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    outer->addLayout(grid);
    outer->addStretch(1);

    const double dpi = logicalDpiX();
    const int fieldWidth = twipsToPixels(kFieldWidthTwips, dpi);
    auto* validator = new RecordTextValidator(this);
    auto field = [&](Field id, const char* tip) {
        const FieldInfo& info = fieldInfo(id);
        QLineEdit*& member = m_fields[static_cast<std::size_t>(id)];
        member = new QLineEdit;
        member->setObjectName(
            QString::fromLatin1(info.name.data(), static_cast<qsizetype>(info.name.size())));
        if (info.typedLimit > 0) {
            member->setMaxLength(static_cast<int>(info.typedLimit));
        }
        if (tip != nullptr) {
            member->setToolTip(QString::fromLatin1(tip));
        }
        member->setValidator(validator);
        member->setFixedWidth(fieldWidth);
        return member;
    };

    int row = 0;
    grid->addWidget(heading(QStringLiteral("Structure Information")), row++, 0, 1, 4);
    grid->addWidget(rightLabel(QStringLiteral("Structure Number:")), row, 0);
    grid->addWidget(field(Field::StructNo, "Enter the structure number"), row, 1);
    grid->addWidget(rightLabel(QStringLiteral("Rater:")), row, 2);
    grid->addWidget(field(Field::Rater,
                          "Enter the initials of the person doing the rating (3 charcaters max.)"),
                    row++, 3, Qt::AlignLeft);
    grid->addWidget(rightLabel(QStringLiteral("Batch ID:")), row, 0);
    grid->addWidget(field(Field::BatchID, "Enter the BARS Batch ID number (optional)"), row, 1);
    grid->addWidget(rightLabel(QStringLiteral("Comments:")), row, 2);
    field(Field::Comments, "Additional comments to define the slab.");
    // Reaches the window's right edge, so that more of the 21 characters show at once.
    edit(Field::Comments)->setMaximumWidth(QWIDGETSIZE_MAX);
    edit(Field::Comments)->setMinimumWidth(fieldWidth * 3 / 2);
    grid->addWidget(edit(Field::Comments), row++, 3);
    grid->addWidget(rightLabel(QStringLiteral("Highway Number:")), row, 0);
    grid->addWidget(field(Field::Hwy, "Enter the highway number."), row, 1);
    grid->addWidget(rightLabel(QStringLiteral("Load Type:")), row, 2,
                    Qt::AlignRight | Qt::AlignTop);
    m_List1 = new QListWidget;
    m_List1->setObjectName(QStringLiteral("List1"));
    QString tip = QStringLiteral("Click on ");
    for (const LoadType id : kListedLoadTypes) {
        const LoadTypeInfo& type = loadTypeInfo(id);
        tip += (m_List1->count() > 0 ? QStringLiteral(", \"") : QStringLiteral("\"")) +
               QString::fromLatin1(seriesInfo(type.series).place) + QStringLiteral("\" for ") +
               QString::fromLatin1(type.highways);
        m_List1->addItem(QString::fromLatin1(type.listEntry));
    }
    m_List1->setSelectionMode(QAbstractItemView::SingleSelection);
    m_List1->setToolTip(tip + QLatin1Char('.'));
    m_List1->setFixedWidth(
        std::max(fieldWidth, m_List1->sizeHintForColumn(0) + 2 * m_List1->frameWidth() + 4));
    m_List1->setFixedHeight(2 * m_List1->sizeHintForRow(0) + 2 * m_List1->frameWidth() + 2);
    m_List1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_List1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_List1->setCurrentRow(-1, QItemSelectionModel::Clear);
    grid->addWidget(m_List1, row++, 3, Qt::AlignLeft);
    grid->addWidget(rule(), row++, 0, 1, 4);

    grid->addWidget(heading(QStringLiteral("Deadload")), row, 0);
    grid->addWidget(rightLabel(QStringLiteral("Bituminous Overlay (in):")), row, 1, 1, 2);
    grid->addWidget(field(Field::Bitum, "Enter the average asphalt thickness. "), row++, 3,
                    Qt::AlignLeft);
    grid->addWidget(rule(), row++, 0, 1, 4);

    grid->addWidget(heading(QStringLiteral("Geometry")), row++, 0, 1, 4);
    grid->addWidget(rightLabel(QStringLiteral("Effective Span (ft):")), row, 0);
    grid->addWidget(field(Field::EffSpan, "Enter the effective span length."), row, 1);
    grid->addWidget(rightLabel(QStringLiteral("Actual Slab Thickness (in.):")), row, 2);
    grid->addWidget(field(Field::SlabThick, "Enter the actual slab thickness."), row++, 3,
                    Qt::AlignLeft);
    grid->addWidget(rule(), row++, 0, 1, 4);

    grid->addWidget(heading(QStringLiteral("Reinforcing Steel:")), row++, 0, 1, 4);
    auto* steel = new QGridLayout;
    steel->setHorizontalSpacing(6);
    steel->setVerticalSpacing(4);
    steel->addWidget(new QLabel(QStringLiteral("Area (sqin)")), 0, 1);
    steel->addWidget(new QLabel(QStringLiteral("Distance (in)")), 0, 2);
    steel->addWidget(rightLabel(QStringLiteral("Top:")), 1, 0);
    steel->addWidget(
        field(Field::StAreaTop, "Enter the area of the top reinforcing steel over the girders."), 1,
        1);
    steel->addWidget(field(Field::StDistTop,
                           "Enter the distance from the bottom of the slab to the centerline of "
                           "the top reinforceing steel."),
                     1, 2);
    steel->addWidget(rightLabel(QStringLiteral("Bottom:")), 2, 0);
    steel->addWidget(field(Field::STAreaBot,
                           "Enter the area of the bottom reinforcing midpoint between the "
                           "girders."),
                     2, 1);
    steel->addWidget(field(Field::StDistBot,
                           "Enter the distance from the bottom of the slab to the centerline of "
                           "the reinforcing steel taken at a midpoint of the girders."),
                     2, 2);
    grid->addLayout(steel, row, 0, 1, 2);
    QLabel* note = heading(QStringLiteral(
        "For definitions of input values please refer to the KARV Bridge Rating Manual in the "
        "Bridge Decks section"));
    note->setWordWrap(true);
    note->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    grid->addWidget(note, row++, 2, 1, 2);
    grid->addWidget(rule(), row++, 0, 1, 4);

    grid->addWidget(heading(QStringLiteral("Materials Properties")), row++, 0, 1, 4);
    auto* concLabel = new QLabel(QStringLiteral("Concrete f'c (PSI):"));
    grid->addWidget(concLabel, row, 0);
    grid->addWidget(field(Field::Concfc, "Enter the value of the concrete strength."), row, 1);
    grid->addWidget(rightLabel(QStringLiteral("Steel Fy (PSI):")), row, 2);
    grid->addWidget(field(Field::SteelFy, "Enter the value of the steel yeild stress."), row++, 3,
                    Qt::AlignLeft);
    grid->addWidget(new QLabel(QStringLiteral("or   Inv Fc (Working Stress)")), row, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("or  Inv Fs (Working Stress)")), row++, 3);
    grid->addWidget(rightLabel(QStringLiteral("Modular Ratio (Leave blank for load factor):")), row,
                    0, 1, 3);
    field(Field::ModRatio, nullptr);
    edit(Field::ModRatio)
        ->setFixedWidth(std::max(
            twipsToPixels(kModRatioWidthTwips, dpi),
            edit(Field::ModRatio)->fontMetrics().horizontalAdvance(QStringLiteral("000")) + 12));
    grid->addWidget(edit(Field::ModRatio), row++, 3, Qt::AlignLeft);
    grid->setColumnStretch(3, 1);

    QWidget* order[] = {edit(Field::StructNo),  edit(Field::Rater),     edit(Field::BatchID),
                        edit(Field::Comments),  edit(Field::Hwy),       m_List1,
                        edit(Field::Bitum),     edit(Field::EffSpan),   edit(Field::SlabThick),
                        edit(Field::StAreaTop), edit(Field::StDistTop), edit(Field::STAreaBot),
                        edit(Field::StDistBot), edit(Field::Concfc),    edit(Field::SteelFy),
                        edit(Field::ModRatio)};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) {
        setTabOrder(order[i], order[i + 1]);
    }
    setCentralWidget(central);
}

void frmMain::buildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("sbStatusBar"));
    bar->setSizeGripEnabled(false);
    auto* text = new QLabel(QStringLiteral("Use File => Open to start"));
    text->setObjectName(QStringLiteral("sbStatusBarPanel1"));
    m_panelDate = new QLabel;
    m_panelDate->setObjectName(QStringLiteral("sbStatusBarPanel2"));
    m_panelTime = new QLabel;
    m_panelTime->setObjectName(QStringLiteral("sbStatusBarPanel3"));
    bar->addWidget(text, 1);
    bar->addPermanentWidget(m_panelDate);
    bar->addPermanentWidget(m_panelTime);
    updateClock();
    auto* clock = new QTimer(this);
    // The time panel shows minutes; a tick each second keeps it at most a second late.
    clock->setInterval(1000);
    connect(clock, &QTimer::timeout, this, &frmMain::updateClock);
    clock->start();
}

void frmMain::updateClock() {
    const QLocale locale = m_platform.locale();
    m_panelDate->setText(locale.toString(m_platform.currentDate(), QLocale::ShortFormat));
    m_panelTime->setText(locale.toString(m_platform.currentTime(), QLocale::ShortFormat));
}

void frmMain::restorePlacement() {
    const double dpi = logicalDpiX();
    const Placement placement = readPlacement(m_platform, dpi);
    QSize area(twipsToPixels(placement.width - kNominalFrameTwips.width(), dpi),
               twipsToPixels(placement.height - kNominalFrameTwips.height(), dpi));
    // The window cannot be resized: it takes the stored size unless its fields would not
    // fit, with the fonts of this desktop, into that size.
    setFixedSize(area.expandedTo(sizeHint()));
    move(twipsToPixels(placement.left, dpi), twipsToPixels(placement.top, dpi));
}

void frmMain::savePlacement() {
    const double dpi = logicalDpiX();
    Placement placement;
    placement.left = pixelsToTwips(x(), dpi);
    placement.top = pixelsToTwips(y(), dpi);
    placement.width = pixelsToTwips(width(), dpi) + kNominalFrameTwips.width();
    placement.height = pixelsToTwips(height(), dpi) + kNominalFrameTwips.height();
    writePlacement(m_platform, placement);
}

SlabFields frmMain::fields() const {
    SlabFields f;
    for (const FieldInfo& info : kFields) {
        f.*info.text = toLatin1(edit(info.id)->text());
    }
    // The list's rows are the listed load types, in the table's order.
    f.LoadType = LoadType::None;
    for (std::size_t row = 0; row < kListedLoadTypes.size(); ++row) {
        if (m_List1->item(static_cast<int>(row))->isSelected()) {
            f.LoadType = kListedLoadTypes[row];
        }
    }
    return f;
}

void frmMain::setFields(const SlabFields& f) {
    for (const FieldInfo& info : kFields) {
        edit(info.id)->setText(fromLatin1(f.*info.text));
    }
    const auto* listed = std::find(kListedLoadTypes.begin(), kListedLoadTypes.end(), f.LoadType);
    if (listed != kListedLoadTypes.end()) {
        m_List1->setCurrentRow(static_cast<int>(listed - kListedLoadTypes.begin()),
                               QItemSelectionModel::ClearAndSelect);
    } else {
        m_List1->clearSelection();
    }
}

void frmMain::mnuFileOpen_Click() {
    const QString path = m_platform.openFileName(this, QStringLiteral("Slab Input (.qri) (*.qri)"));
    if (path.isEmpty()) {
        return;
    }
    openInputFile(path);
}

void frmMain::openInputFile(const QString& path) {
    SlabFields f = fields();
    const ReadResult read = ReadInputFile(QFile::encodeName(path).toStdString(), f);
    setFields(f);
    if (!read.stopped()) {
        rememberInputFile(path);
    }
    for (const std::string& message : read.messages) {
        m_platform.showMessage(this, fromLatin1(message));
    }
}

void frmMain::mnuFileSaveAs_Click() {
    const QString path = m_platform.saveFileName(this, QStringLiteral("Save Slab Input File As"),
                                                 QStringLiteral("Slab Input File (*.qri)"));
    if (path.isEmpty()) {
        return;
    }
    const SaveResult saved = SaveInputFile(fields(), QFile::encodeName(path).toStdString());
    if (saved.outcome != SaveOutcome::Saved) {
        m_platform.showMessage(this, fromLatin1(saved.message));
        return;
    }
    rememberInputFile(path);
}

void frmMain::rememberInputFile(const QString& path) {
    m_inputFile = path;
    m_inputFileFields = fields();
}

std::string frmMain::inputFileOfFields(const SlabFields& f) const {
    if (m_inputFile.isEmpty() || f != m_inputFileFields) {
        return std::string();
    }
    return QFile::encodeName(m_inputFile).toStdString();
}

void frmMain::mnuFileRun_Click() {
    SlabOutput* output = showReportWindow();
    const SlabFields f = fields();
    // The inventory's rating date is the run's day, as the command line's default is.
    RunSettings settings;
    settings.ratingDate =
        m_platform.currentDate().toString(QStringLiteral("yyyyMMdd")).toStdString();
    RatingResult result =
        RunRating(f, reportDate(m_platform.locale(), m_platform.currentDate()), settings);
    if (result.ErrorFlag != 0) {
        m_platform.showMessage(output, fromLatin1(result.message));
        unloadReportWindow();
        return;
    }
    const bool complete = result.outcome == RunOutcome::Complete;
    const QString message = fromLatin1(result.message);
    output->setRun(inputFileOfFields(f), f, std::move(result));
    if (!complete) {
        m_platform.showMessage(output, message);
    }
}

void frmMain::mnuFileExit_Click() {
    close();
}

void frmMain::mnuFilePrint_Click() {
    if (!m_output) {
        return;
    }
    const std::unique_ptr<ReportPrinter> printer = m_platform.choosePrinter(m_output);
    if (!printer) {
        return;
    }
    if (!printReport(m_output->textToPrint(), *printer)) {
        m_platform.showMessage(m_output, QStringLiteral("Error: The report could not be printed."));
    }
}

void frmMain::mnuHelpAbout_Click() {
    frmAbout about(m_platform, this);
    trackWindow(&about);
    m_platform.execModal(about);
}

void frmMain::tbToolBar_ButtonClick(QAction* button) {
    const QString key = button->data().toString();
    if (key == kOpenKey) {
        mnuFileOpen_Click();
    } else if (key == kSaveKey) {
        mnuFileSaveAs_Click();
    }
}

SlabOutput* frmMain::showReportWindow() {
    if (!m_output) {
        m_output = new SlabOutput(m_platform);
        connect(m_output, &SlabOutput::printRequested, this, &frmMain::mnuFilePrint_Click);
        connect(m_output, &SlabOutput::closed, this, [this] {
            // A closed report window is gone: the next run makes a new one.
            SlabOutput* closing = m_output;
            m_output = nullptr;
            closing->deleteLater();
        });
        trackWindow(m_output);
    }
    if (m_output->isVisible()) {
        // Shown again for a new run: bring it in front of the main window.
        m_output->raise();
        m_output->activateWindow();
    } else {
        m_output->show();
    }
    return m_output;
}

void frmMain::unloadReportWindow() {
    if (m_output) {
        m_output->close();
    }
}

void frmMain::trackWindow(QWidget* window) {
    m_openWindows.removeAll(nullptr);
    m_openWindows.append(window);
}

void frmMain::closeEvent(QCloseEvent* event) {
    for (qsizetype i = m_openWindows.size() - 1; i >= 0; --i) {
        if (QWidget* window = m_openWindows[i]) {
            window->close();
        }
    }
    m_openWindows.clear();
    if (!isMinimized()) {
        savePlacement();
    }
    event->accept();
}

}  // namespace slabrating::ui
