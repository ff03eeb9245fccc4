#pragma once

#include <QByteArray>
#include <QWidget>
#include <string>

class QPlainTextEdit;
class QPushButton;

namespace slabrating::ui {

class Platform;

/// The report window: the report of the last run in an editable fixed-pitch text box
/// `Text1`, saved to a file or printed as it stands, edits included.
class SlabOutput : public QWidget {
    Q_OBJECT

public:
    /// Builds the window; `platform` outlives it.
    explicit SlabOutput(Platform& platform, QWidget* parent = nullptr);

    /// Replaces the text by a report whose lines end in CR LF.
    void setReport(const std::string& report);
    /// The text of `Text1` with CR LF line ends.
    QString reportText() const;
    /// The bytes of a saved report: the text in Latin-1 and a final CR LF.
    QByteArray reportFileBytes() const;
    /// The text of `Text1` with '\n' line ends, as the printer takes it.
    QString textToPrint() const;

public slots:
    void SaveOutput_Click();
    void PrintOutput_Click();

signals:
    /// The print button: the main window owns the printer dialog and prints the text.
    void printRequested();
    /// The window was closed and is about to go away.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    Platform& m_platform;
    QPlainTextEdit* m_Text1 = nullptr;
};

/// The screen font of the report: Courier New where installed, else the system's fixed font.
QFont reportScreenFont();

}  // namespace slabrating::ui
