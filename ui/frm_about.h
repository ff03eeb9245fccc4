#pragma once

#include <QDialog>

class QHBoxLayout;

namespace slabrating::ui {

class Platform;

/// Programs that show this computer's system information, in the order they are tried.
inline const QStringList kSystemInfoPrograms = {QStringLiteral("hardinfo"),
                                                QStringLiteral("kinfocenter"),
                                                QStringLiteral("gnome-system-monitor")};

/// The program's major, minor and revision numbers joined by "." ("2.1.0").
QString versionNumber();
/// "Version " and the program's major, minor and revision numbers joined by ".".
QString versionText();

/// The built-in system report: operating system, kernel, CPU architecture, Qt version,
/// program version and where the settings are kept, one "name: value" line each.
QString systemReportText(const QString& settingsLocation);

/// The About box: title, version, description, disclaimer, and a way to this computer's
/// system information.
class frmAbout : public QDialog {
    Q_OBJECT

public:
    explicit frmAbout(Platform& platform, QWidget* parent = nullptr);

public slots:
    void cmdOK_Click();
    void cmdSysInfo_Click();
    /// Starts the first system information program on the PATH; without one, shows the
    /// built-in system report.
    void StartSysInfo();

private:
    /// The disclaimer beside the OK and System Info buttons.
    QHBoxLayout* disclaimerRow();

    Platform& m_platform;
};

}  // namespace slabrating::ui
