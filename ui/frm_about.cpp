#include "ui/frm_about.h"

#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSysInfo>
#include <QVBoxLayout>

#include "engine/version.h"
#include "ui/app_icon.h"
#include "ui/placement.h"
#include "ui/platform.h"

namespace slabrating::ui {

namespace {

constexpr int kDesignWidthTwips = 5865;

const QString kUnavailable = QStringLiteral("System Information Is Unavailable At This Time");

QFrame* etchedRule() {
    auto* line = new QFrame;
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

// The program's icon beside its title, version and description.
QHBoxLayout* titleRow() {
    auto* picIcon = new QLabel;
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setPixmap(appIcon().pixmap(32, 32));
    picIcon->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto* lblTitle = new QLabel(kApplicationTitle);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont = lblTitle->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    lblTitle->setFont(titleFont);
    auto* lblVersion = new QLabel(versionText());
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    auto* lblDescription = new QLabel(QStringLiteral("This application rates concrete slabs."));
    lblDescription->setObjectName(QStringLiteral("lblDescription"));

    auto* texts = new QVBoxLayout;
    texts->addWidget(lblTitle);
    texts->addWidget(lblVersion);
    texts->addSpacing(8);
    texts->addWidget(lblDescription);
    texts->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addWidget(picIcon, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(texts, 1);
    return top;
}

}  // namespace

QString versionNumber() {
    return QString::fromLatin1(kVersionNumber.data(),
                               static_cast<qsizetype>(kVersionNumber.size()));
}

QString versionText() {
    return QStringLiteral("Version ") + versionNumber();
}

QString systemReportText(const QString& settingsLocation) {
    const QString lines[] = {
        QStringLiteral("Operating system: ") + QSysInfo::prettyProductName(),
        QStringLiteral("Kernel: ") + QSysInfo::kernelType() + QLatin1Char(' ') +
            QSysInfo::kernelVersion(),
        QStringLiteral("CPU architecture: ") + QSysInfo::currentCpuArchitecture(),
        QStringLiteral("Qt version: ") + QString::fromLatin1(qVersion()),
        QStringLiteral("Program version: ") + kApplicationTitle + QLatin1Char(' ') +
            versionNumber(),
        QStringLiteral("Settings stored in: ") + settingsLocation,
    };
    QString text;
    for (const QString& line : lines) {
        text += line + QLatin1Char('\n');
    }
    return text;
}

frmAbout::frmAbout(Platform& platform, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_platform(platform) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Slab Rating"));
    QHBoxLayout* top = titleRow();
    QHBoxLayout* bottom = disclaimerRow();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(etchedRule());
    layout->addLayout(bottom);
    setMinimumWidth(twipsToPixels(kDesignWidthTwips, logicalDpiX()));
    setFixedSize(sizeHint());
}

QHBoxLayout* frmAbout::disclaimerRow() {
    auto* lblDisclaimer = new QLabel(QStringLiteral(
        "Warning: a rating is only as sound as its inputs. A qualified engineer must check "
        "every rating before it is used."));
    lblDisclaimer->setObjectName(QStringLiteral("lblDisclaimer"));
    lblDisclaimer->setWordWrap(true);

    auto* cmdOK = new QPushButton(QStringLiteral("OK"));
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdOK->setAutoDefault(true);
    auto* cmdSysInfo = new QPushButton(QStringLiteral("&System Info..."));
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    cmdSysInfo->setAutoDefault(false);
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdSysInfo);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(lblDisclaimer, 1, Qt::AlignBottom);
    bottom->addSpacing(12);
    bottom->addLayout(buttons);
    return bottom;
}

void frmAbout::cmdOK_Click() {
    accept();
}

void frmAbout::cmdSysInfo_Click() {
    StartSysInfo();
}

void frmAbout::StartSysInfo() {
    for (const QString& name : kSystemInfoPrograms) {
        const QString path = m_platform.findProgram(name);
        if (path.isEmpty()) {
            continue;
        }
        // The first program found is the one: when it does not start, the others are
        // not tried.
        if (!m_platform.startProgram(path)) {
            m_platform.showMessage(this, kUnavailable);
        }
        return;
    }

    QDialog report(this);
    report.setObjectName(QStringLiteral("SystemReport"));
    report.setWindowTitle(QStringLiteral("System Information"));
    auto* text = new QPlainTextEdit(systemReportText(m_platform.settingsLocation()));
    text->setObjectName(QStringLiteral("SystemReportText"));
    text->setReadOnly(true);
    text->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(box, &QDialogButtonBox::rejected, &report, &QDialog::reject);
    auto* layout = new QVBoxLayout(&report);
    layout->addWidget(text);
    layout->addWidget(box);
    report.resize(520, 220);
    m_platform.execModal(report);
}

}  // namespace slabrating::ui
