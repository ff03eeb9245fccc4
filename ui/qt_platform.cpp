#include "ui/qt_platform.h"

#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMarginsF>
#include <QMessageBox>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>

#include "ui/report_printing.h"

namespace slabrating::ui {

namespace {

const QString kSettingsSection = QStringLiteral("Settings");

// A quarter inch: about the unprintable edge of most printers, and it leaves room for
// the report's widest lines (about 80 characters of 12 pt Courier) on Letter paper.
constexpr qreal kPrintMarginMillimetres = 6.35;

}  // namespace

QtPlatform::QtPlatform() : QtPlatform(std::make_unique<QSettings>(kApplicationTitle)) {}

QtPlatform::QtPlatform(std::unique_ptr<QSettings> settings) : m_settings(std::move(settings)) {}

QtPlatform::~QtPlatform() = default;

void QtPlatform::showMessage(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, kApplicationTitle, text, QMessageBox::Ok, parent);
    box.exec();
}

QString QtPlatform::showOpenDialog(QWidget* parent, const QString& filter,
                                   const QString& fileName) {
    return QFileDialog::getOpenFileName(parent, QString(), fileName, filter);
}

QString QtPlatform::showSaveDialog(QWidget* parent, const QString& title, const QString& filter,
                                   const QString& fileName) {
    return QFileDialog::getSaveFileName(parent, title, fileName, filter, nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

std::unique_ptr<ReportPrinter> QtPlatform::choosePrinter(QWidget* parent) {
    if (!m_printer) {
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        m_printer->setPageMargins(QMarginsF(kPrintMarginMillimetres, kPrintMarginMillimetres,
                                            kPrintMarginMillimetres, kPrintMarginMillimetres),
                                  QPageLayout::Millimeter);
    }
    QPrintDialog dialog(m_printer.get(), parent);
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    if (dialog.exec() != QDialog::Accepted) {
        return nullptr;
    }
    return std::make_unique<QtReportPrinter>(*m_printer);
}

int QtPlatform::execModal(QDialog& dialog) {
    return dialog.exec();
}

QString QtPlatform::readSetting(const QString& key) {
    const QVariant value = m_settings->value(kSettingsSection + QLatin1Char('/') + key);
    return value.isValid() ? value.toString() : QString();
}

void QtPlatform::writeSetting(const QString& key, const QString& value) {
    m_settings->setValue(kSettingsSection + QLatin1Char('/') + key, value);
    m_settings->sync();
}

QString QtPlatform::settingsLocation() {
    return m_settings->fileName();
}

QList<QRect> QtPlatform::availableScreens() {
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens()) {
        screens.append(screen->availableGeometry());
    }
    return screens;
}

QString QtPlatform::findProgram(const QString& name) {
    return QStandardPaths::findExecutable(name);
}

bool QtPlatform::startProgram(const QString& path) {
    return QProcess::startDetached(path, {});
}

bool QtPlatform::openUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

QDate QtPlatform::currentDate() {
    return QDate::currentDate();
}

QTime QtPlatform::currentTime() {
    return QTime::currentTime();
}

QLocale QtPlatform::locale() {
    return QLocale::system();
}

}  // namespace slabrating::ui
