#pragma once

#include <QDialog>
#include <QMap>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>

#include "engine/fields.h"
#include "tests/support/support.h"
#include "ui/platform.h"

namespace slabrating::ui::test {

/// The example slab of the input-file description (structure B-12-AC, 18.5 ft span,
/// 14 in slab, f'c 3000 psi, Fy 40000 psi, state trucks), as a user would type it.
inline SlabFields exampleSlab() {
    return support::exampleFields();
}

/// What a FakePrinter printed: its documents, each a list of pages of rows.
struct PrintLog {
    int copies = 1;
    int rowsPerPage = 60;
    int charactersPerRow = 80;
    int failBeginAtDocument = 0;  ///< 1-based document whose start fails; 0 = none
    QList<QList<QStringList>> documents;
    bool documentOpen = false;
};

/// A printer that keeps the rows it is given.
class FakePrinter : public ReportPrinter {
public:
    explicit FakePrinter(std::shared_ptr<PrintLog> log) : m_log(std::move(log)) {}
    int copies() const override { return m_log->copies; }
    bool beginDocument() override {
        if (m_log->documents.size() + 1 == m_log->failBeginAtDocument) {
            return false;
        }
        m_log->documents.append({QStringList()});
        m_log->documentOpen = true;
        return true;
    }
    int rowsPerPage() const override { return m_log->rowsPerPage; }
    int charactersPerRow() const override { return m_log->charactersPerRow; }
    void printRow(int row, const QString& text) override {
        QStringList& page = m_log->documents.last().last();
        if (page.size() != row) {
            page.append(QStringLiteral("<row %1 out of order>").arg(row));
        }
        page.append(text);
    }
    bool newPage() override {
        m_log->documents.last().append(QStringList());
        return true;
    }
    bool endDocument() override {
        m_log->documentOpen = false;
        return true;
    }

private:
    std::shared_ptr<PrintLog> m_log;
};

/// One use of a file dialog.
struct FileDialogUse {
    QString kind;  ///< "open" or "save"
    QString title;
    QString filter;
    QString fileName;  ///< file name the dialog started with
};

/// A platform that answers from a script and records what the windows asked of it.
class FakePlatform : public Platform {
public:
    QStringList messages;        ///< texts of the message boxes, in order
    QStringList messageParents;  ///< object names of their parent windows
    QStringList fileAnswers;     ///< answers of the file dialogs, used from the front
    QList<FileDialogUse> fileDialogs;
    std::function<std::unique_ptr<ReportPrinter>()> printerAnswer;  ///< null: cancelled
    int printerDialogs = 0;
    QStringList modalDialogs;                  ///< object names of modal windows shown
    std::function<int(QDialog&)> onModal;      ///< what the user does in a modal window
    QMap<QString, QString> settings;           ///< the "Settings" section
    QStringList settingWrites;                 ///< "key=value", in order
    QList<QRect> screens{{0, 0, 1920, 1040}};  ///< available area of each screen (pixels)
    QMap<QString, QString> programs;           ///< programs on the PATH: name -> path
    QStringList startedPrograms;               ///< paths asked to start
    bool programsStart = true;
    QList<QUrl> openedUrls;  ///< addresses asked to be shown, in order
    bool urlsOpen = true;
    QDate date{2024, 3, 5};
    QTime time{14, 7};
    QLocale localeSettings{QLocale::English, QLocale::UnitedStates};

    void showMessage(QWidget* parent, const QString& text) override {
        messages.append(text);
        messageParents.append(parent != nullptr ? parent->objectName() : QString());
    }
    std::unique_ptr<ReportPrinter> choosePrinter(QWidget*) override {
        ++printerDialogs;
        return printerAnswer ? printerAnswer() : nullptr;
    }
    int execModal(QDialog& dialog) override {
        modalDialogs.append(dialog.objectName());
        return onModal ? onModal(dialog) : QDialog::Rejected;
    }
    QString readSetting(const QString& key) override { return settings.value(key); }
    void writeSetting(const QString& key, const QString& value) override {
        settings.insert(key, value);
        settingWrites.append(key + QLatin1Char('=') + value);
    }
    QString settingsLocation() override { return QStringLiteral("/fake/Slab Rating.conf"); }
    QList<QRect> availableScreens() override { return screens; }
    QString findProgram(const QString& name) override { return programs.value(name); }
    bool startProgram(const QString& path) override {
        startedPrograms.append(path);
        return programsStart;
    }
    bool openUrl(const QUrl& url) override {
        openedUrls.append(url);
        return urlsOpen;
    }
    QDate currentDate() override { return date; }
    QTime currentTime() override { return time; }
    QLocale locale() override { return localeSettings; }

protected:
    QString showOpenDialog(QWidget*, const QString& filter, const QString& fileName) override {
        fileDialogs.append({QStringLiteral("open"), QString(), filter, fileName});
        return nextAnswer();
    }
    QString showSaveDialog(QWidget*, const QString& title, const QString& filter,
                           const QString& fileName) override {
        fileDialogs.append({QStringLiteral("save"), title, filter, fileName});
        return nextAnswer();
    }

private:
    QString nextAnswer() { return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst(); }
};

}  // namespace slabrating::ui::test
