#pragma once

#include <QDate>
#include <QList>
#include <QLocale>
#include <QRect>
#include <QString>
#include <QTime>
#include <QUrl>
#include <memory>

class QDialog;
class QWidget;

namespace slabrating::ui {

/// One printer chosen in the printer dialog. Pages hold rows of a fixed-pitch font;
/// every document is a print job of its own and starts on a fresh page.
class ReportPrinter {
public:
    virtual ~ReportPrinter() = default;
    /// Number of copies the user chose in the printer dialog (at least 1).
    virtual int copies() const = 0;
    /// Starts one print job; false when the printer refused it.
    virtual bool beginDocument() = 0;
    /// Rows of text on one page of the current document (at least 1).
    virtual int rowsPerPage() const = 0;
    /// Characters of the printer font on one row of the current document (at least 1).
    virtual int charactersPerRow() const = 0;
    /// Prints `text` on row `row` (0 = top) of the current page.
    virtual void printRow(int row, const QString& text) = 0;
    /// Moves on to a fresh page of the current document; false on a printer error.
    virtual bool newPage() = 0;
    /// Ends the current document and sends it to the printer; false on a printer error.
    virtual bool endDocument() = 0;
};

/// Everything the windows need from the desktop: message boxes, file and printer
/// dialogs, modal windows, the per-user settings store, the screens, starting other
/// programs, showing a page in the browser, the clock and the regional settings. The windows
/// receive one; tests hand in a fake that answers from a script.
class Platform {
public:
    virtual ~Platform() = default;

    /// Modal message box with one OK button, titled with the application title.
    virtual void showMessage(QWidget* parent, const QString& text) = 0;
    /// Open dialog with the platform's own title, starting with the file name the shared
    /// file dialog kept from its last use; the chosen path, or empty when cancelled.
    QString openFileName(QWidget* parent, const QString& filter);
    /// Save dialog with its file name cleared, that replaces without asking; the chosen
    /// path, with the filter's extension ("(*.qri)") added when its name has none, or empty
    /// when cancelled.
    QString saveFileName(QWidget* parent, const QString& title, const QString& filter);
    /// The same dialog with `suggestedName` (a file name without folder) as its file name, in
    /// the folder of the file name the dialog kept from its last use.
    QString saveFileName(QWidget* parent, const QString& title, const QString& filter,
                         const QString& suggestedName);
    /// Printer dialog; the chosen printer, or null when cancelled.
    virtual std::unique_ptr<ReportPrinter> choosePrinter(QWidget* parent) = 0;
    /// Shows `dialog` modally and returns its result code.
    virtual int execModal(QDialog& dialog) = 0;

    /// Value of `key` in the section "Settings" of the settings store; null when missing.
    virtual QString readSetting(const QString& key) = 0;
    /// Stores `value` under `key` in the section "Settings".
    virtual void writeSetting(const QString& key, const QString& value) = 0;
    /// Where the settings store keeps its values (a file path or a description).
    virtual QString settingsLocation() = 0;

    /// The area of each attached screen that windows may take (pixels, desktop coordinates).
    virtual QList<QRect> availableScreens() = 0;

    /// Full path of an executable found on the PATH; empty when there is none.
    virtual QString findProgram(const QString& name) = 0;
    /// Starts a program detached from this one; false when it could not be started.
    virtual bool startProgram(const QString& path) = 0;
    /// Shows `url` in the desktop's program for it (a local web page in the browser); false
    /// when no program could be started.
    virtual bool openUrl(const QUrl& url) = 0;

    /// Today's date on this computer.
    virtual QDate currentDate() = 0;
    /// The time of day on this computer.
    virtual QTime currentTime() = 0;
    /// The regional settings in which dates and times are shown.
    virtual QLocale locale() = 0;

protected:
    /// Shows the open dialog starting with `fileName`; empty when cancelled.
    virtual QString showOpenDialog(QWidget* parent, const QString& filter,
                                   const QString& fileName) = 0;
    /// Shows the save dialog starting with `fileName` (often empty); empty when cancelled.
    virtual QString showSaveDialog(QWidget* parent, const QString& title, const QString& filter,
                                   const QString& fileName) = 0;

private:
    // The one file dialog of the program keeps the name last chosen in it; a save clears
    // it first, so a cancelled save leaves it empty.
    QString m_dialogFileName;
};

/// The application title: settings application name, message box titles, About box.
inline const QString kApplicationTitle = QStringLiteral("Slab Rating");

}  // namespace slabrating::ui
