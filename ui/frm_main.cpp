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
#include <array>
#include <utility>
#include <vector>

#include "engine/rating_run.h"
#include "inputfile/inputfile.h"
#include "ui/app_icon.h"
#include "ui/frm_about.h"
#include "ui/main_form.h"
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

QLabel* caption(const char* text, Qt::Alignment alignment) {
    auto* label = new QLabel(QString::fromLatin1(text));
    label->setAlignment(alignment);
    return label;
}

QLabel* formText(const FormText& text) {
    const QString words = QString::fromLatin1(text.text);
    if (text.style == FormTextStyle::Plain) {
        return new QLabel(words);
    }
    QLabel* label = heading(words);
    if (text.style == FormTextStyle::Note) {
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    return label;
}

QFrame* rule() {
    auto* line = new QFrame;
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

QGridLayout* formGrid() {
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    return grid;
}

// A widget of the form, or the steel table, and the cell it takes.
struct FormItem {
    FormGrid grid;
    GridCell cell;
    QWidget* widget = nullptr;
    QLayout* layout = nullptr;  ///< where `widget` is null
    Qt::Alignment alignment = {};
};

// The texts and the rules between the fields.
std::vector<FormItem> formDecorations() {
    std::vector<FormItem> items;
    for (const FormText& text : kFormTexts) {
        items.push_back({text.grid, text.cell, formText(text)});
    }
    for (const int row : kFormRuleRows) {
        items.push_back({FormGrid::Form, {row, 0, kFormColumns}, rule()});
    }
    return items;
}

// Adds the items of one grid row by row, each row from the left: the window's children, and
// so what a screen reader reads out, follow the form as it looks.
void placeInReadingOrder(std::vector<FormItem> items, FormGrid which, QGridLayout& grid) {
    std::stable_sort(items.begin(), items.end(), [](const FormItem& a, const FormItem& b) {
        return std::pair(a.cell.row, a.cell.column) < std::pair(b.cell.row, b.cell.column);
    });
    for (const FormItem& item : items) {
        if (item.grid != which) {
            continue;
        }
        if (item.widget != nullptr) {
            grid.addWidget(item.widget, item.cell.row, item.cell.column, 1, item.cell.columnSpan,
                           item.alignment);
        } else {
            grid.addLayout(item.layout, item.cell.row, item.cell.column, 1, item.cell.columnSpan,
                           item.alignment);
        }
    }
}

// Every field has its row in the form, once.
constexpr bool formHasEveryFieldOnce() {
    std::array<int, kFieldCount> rows{};
    for (const FormField& field : kFormFields) {
        ++rows[static_cast<std::size_t>(field.id)];
    }
    return std::all_of(rows.begin(), rows.end(), [](int n) { return n == 1; });
}
static_assert(formHasEveryFieldOnce());

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

// A field's line edit as its row of the form describes it.
QLineEdit* fieldEdit(const FormField& field, QValidator& validator, double dpi) {
    const FieldInfo& info = fieldInfo(field.id);
    auto* edit = new QLineEdit;
    edit->setObjectName(
        QString::fromLatin1(info.name.data(), static_cast<qsizetype>(info.name.size())));
    if (info.typedLimit > 0) {
        edit->setMaxLength(static_cast<int>(info.typedLimit));
    }
    if (field.toolTip != nullptr) {
        edit->setToolTip(QString::fromLatin1(field.toolTip));
    }
    edit->setValidator(&validator);
    const int standardWidth = twipsToPixels(kFieldWidthTwips, dpi);
    switch (field.width) {
        case FieldWidth::Standard:
            edit->setFixedWidth(standardWidth);
            break;
        case FieldWidth::Wide:
            // Reaches the window's right edge, so that more of a long text shows at once.
            edit->setMinimumWidth(standardWidth * 3 / 2);
            break;
        case FieldWidth::TwoDigits:
            edit->setFixedWidth(
                std::max(twipsToPixels(kModRatioWidthTwips, dpi),
                         edit->fontMetrics().horizontalAdvance(QStringLiteral("000")) + 12));
            break;
    }
    return edit;
}

// The load types' list, none of them selected, with a tooltip that says which to choose.
QListWidget* loadTypeList(double dpi) {
    auto* list = new QListWidget;
    list->setObjectName(QStringLiteral("List1"));
    QString tip = QStringLiteral("Click on ");
    for (const LoadType id : kListedLoadTypes) {
        const LoadTypeInfo& type = loadTypeInfo(id);
        tip += (list->count() > 0 ? QStringLiteral(", \"") : QStringLiteral("\"")) +
               QString::fromLatin1(seriesInfo(type.series).place) + QStringLiteral("\" for ") +
               QString::fromLatin1(type.highways);
        list->addItem(QString::fromLatin1(type.listEntry));
    }
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setToolTip(tip + QLatin1Char('.'));
    list->setFixedWidth(std::max(twipsToPixels(kFieldWidthTwips, dpi),
                                 list->sizeHintForColumn(0) + 2 * list->frameWidth() + 4));
    list->setFixedHeight(2 * list->sizeHintForRow(0) + 2 * list->frameWidth() + 2);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setCurrentRow(-1, QItemSelectionModel::Clear);
    return list;
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
    QGridLayout* form = formGrid();
    outer->addLayout(form);
    outer->addStretch(1);

    QGridLayout* steel = formGrid();
    std::vector<FormItem> items = formDecorations();
    items.push_back({FormGrid::Form, kSteelTableCell, nullptr, steel});
    m_List1 = loadTypeList(logicalDpiX());
    items.push_back({FormGrid::Form, kLoadTypeList.captionCell,
                     caption(kLoadTypeList.caption, Qt::AlignRight | Qt::AlignVCenter), nullptr,
                     Qt::AlignRight | Qt::AlignTop});
    items.push_back({FormGrid::Form, kLoadTypeList.listCell, m_List1, nullptr, Qt::AlignLeft});

    std::vector<QWidget*> tabOrder;
    auto* validator = new RecordTextValidator(this);
    for (const FormField& field : kFormFields) {
        if (field.caption != nullptr) {
            items.push_back(
                {field.grid, field.captionCell, caption(field.caption, field.captionAlignment)});
        }
        QLineEdit*& edit = m_fields[static_cast<std::size_t>(field.id)];
        edit = fieldEdit(field, *validator, logicalDpiX());
        items.push_back({field.grid, field.editCell, edit, nullptr, field.editAlignment});
        tabOrder.push_back(edit);
        if (field.id == kLoadTypeList.after) {
            tabOrder.push_back(m_List1);
        }
    }
    placeInReadingOrder(items, FormGrid::Steel, *steel);
    placeInReadingOrder(items, FormGrid::Form, *form);
    // The last column takes the window's spare width.
    form->setColumnStretch(kFormColumns - 1, 1);
    for (std::size_t i = 0; i + 1 < tabOrder.size(); ++i) {
        setTabOrder(tabOrder[i], tabOrder[i + 1]);
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
