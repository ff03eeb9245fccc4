#pragma once

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <array>

#include "engine/field_table.h"
#include "engine/fields.h"

class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QToolBar;

namespace slabrating::ui {

class Platform;
class SlabOutput;
class frmAbout;

/// The main window: the inputs of one rating, the menus and the toolbar from which every
/// action starts, and the placement that persists between sessions.
class frmMain : public QMainWindow {
    Q_OBJECT

public:
    /// Builds the window and restores its placement (Form_Load); `platform` outlives it.
    explicit frmMain(Platform& platform, QWidget* parent = nullptr);
    ~frmMain() override;

    /// The fifteen field texts (Latin-1) and the load-type selection.
    SlabFields fields() const;
    /// Puts a record into the fields and the list; load type 0 clears the selection.
    void setFields(const SlabFields& fields);

    /// Reads an input file into the fields and shows the reader's messages in order.
    void openInputFile(const QString& path);

    /// The report window while it is open, else null.
    SlabOutput* reportWindow() const;

public slots:
    void mnuFileOpen_Click();
    void mnuFileRun_Click();
    void mnuFileSaveAs_Click();
    void mnuFileExit_Click();
    void mnuFilePrint_Click();
    void mnuHelpAbout_Click();
    /// Dispatches a toolbar button on its key ("Open", "Save"); other keys do nothing.
    void tbToolBar_ButtonClick(QAction* button);

protected:
    /// Form_Unload: closes the other windows, then stores the placement unless minimized.
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void buildToolBar();
    void buildFields();
    void buildStatusBar();
    void restorePlacement();
    void savePlacement();
    void updateClock();
    SlabOutput* showReportWindow();
    void unloadReportWindow();
    void trackWindow(QWidget* window);
    void rememberInputFile(const QString& path);
    std::string inputFileOfFields(const SlabFields& fields) const;

    Platform& m_platform;
    QPointer<SlabOutput> m_output;
    QList<QPointer<QWidget>> m_openWindows;  // other windows, in the order they opened
    // The input file last opened or saved and the fields as they were then: a run names the
    // file only while its fields are still those.
    QString m_inputFile;
    SlabFields m_inputFileFields;

    /// The line edit of a field; its Qt object name is the field's name ("EffSpan").
    QLineEdit* edit(Field field) const { return m_fields[static_cast<std::size_t>(field)]; }

    std::array<QLineEdit*, kFieldCount> m_fields{};  ///< the fields' line edits, by Field
    QListWidget* m_List1 = nullptr;
    QToolBar* m_tbToolBar = nullptr;
    QLabel* m_panelDate = nullptr;
    QLabel* m_panelTime = nullptr;
};

}  // namespace slabrating::ui
