#pragma once

#include <QByteArray>
#include <QWidget>
#include <optional>
#include <string>

#include "engine/fields.h"
#include "engine/rating_run.h"

class QPlainTextEdit;
class QPushButton;

namespace slabrating::ui {

class Platform;

/// The report window: the report of the last run in an editable fixed-pitch text box
/// `Text1`, saved to a file or printed as it stands, edits included; and the run itself,
/// whose calculation sheet it saves.
class SlabOutput : public QWidget {
    Q_OBJECT

public:
    /// Builds the window; `platform` outlives it.
    explicit SlabOutput(Platform& platform, QWidget* parent = nullptr);

    /// Replaces the text by a report whose lines end in CR LF; the window then holds no run.
    void setReport(const std::string& report);
    /// Shows the report of `result` and keeps the run for its calculation sheet: `fields` the
    /// texts the run was given, `file` the input file that holds them (empty for none).
    void setRun(const std::string& file, const SlabFields& fields, RatingResult result);
    /// The text of `Text1` with CR LF line ends.
    QString reportText() const;
    /// The bytes of a saved report: the text in Latin-1 and a final CR LF.
    QByteArray reportFileBytes() const;
    /// The text of `Text1` with '\n' line ends, as the printer takes it.
    QString textToPrint() const;

public slots:
    void SaveOutput_Click();
    void PrintOutput_Click();
    /// Saves the calculation sheet of the run the window holds and shows it in the browser.
    void CalcSheet_Click();

signals:
    /// The print button: the main window owns the printer dialog and prints the text.
    void printRequested();
    /// The window was closed and is about to go away.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    /// Ctrl+P prints, Ctrl+S saves, Escape and Ctrl+W close the window.
    void addShortcuts(QPushButton* print, QPushButton* save);

    /// The run whose report the window shows, as its calculation sheet needs it.
    struct Run {
        std::string file;  ///< the input file as named; empty for none
        SlabFields fields;
        RatingResult result;
    };

    Platform& m_platform;
    QPlainTextEdit* m_Text1 = nullptr;
    QPushButton* m_CalcSheet = nullptr;
    std::optional<Run> m_run;
};

/// True when every character a report may hold (printable ASCII and the Latin-1 letters)
/// is as wide in `font` as a blank, as the report's columns need.
bool advancesAreEqual(const QFont& font);

/// The screen font of the report: Courier New where installed, else the system's fixed
/// font, else the first font of the desktop whose characters are all as wide (9.75 pt).
QFont reportScreenFont();

}  // namespace slabrating::ui
