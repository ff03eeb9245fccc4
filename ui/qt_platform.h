#pragma once

#include <QSettings>
#include <memory>

#include "ui/platform.h"

class QPrinter;

namespace slabrating::ui {

/// The desktop itself: QMessageBox, QFileDialog, QPrintDialog, QSettings, QProcess,
/// QDesktopServices.
class QtPlatform : public Platform {
public:
    /// Uses the per-user store of the application title ("Slab Rating").
    QtPlatform();
    /// Uses `settings` as the settings store (tests give a temporary file).
    explicit QtPlatform(std::unique_ptr<QSettings> settings);
    ~QtPlatform() override;

    void showMessage(QWidget* parent, const QString& text) override;
    std::unique_ptr<ReportPrinter> choosePrinter(QWidget* parent) override;
    int execModal(QDialog& dialog) override;
    QString readSetting(const QString& key) override;
    void writeSetting(const QString& key, const QString& value) override;
    QString settingsLocation() override;
    QList<QRect> availableScreens() override;
    QString findProgram(const QString& name) override;
    bool startProgram(const QString& path) override;
    bool openUrl(const QUrl& url) override;
    QDate currentDate() override;
    QTime currentTime() override;
    QLocale locale() override;

protected:
    QString showOpenDialog(QWidget* parent, const QString& filter,
                           const QString& fileName) override;
    QString showSaveDialog(QWidget* parent, const QString& title, const QString& filter,
                           const QString& fileName) override;

private:
    std::unique_ptr<QSettings> m_settings;
    // One printer for the program's run: the printer dialog opens with the printer, copies
    // and output file chosen the last time, as the file dialog keeps its file name.
    std::unique_ptr<QPrinter> m_printer;
};

}  // namespace slabrating::ui
