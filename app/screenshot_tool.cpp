// The screenshot tool of scripts/screenshots.sh: opens an example input file in the main
// window as a user would, runs the rating and saves pictures of both windows.
// Usage: slabrating-screenshots <directory> <file.qri>
//        (writes main-window.png and report-window.png)

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QSettings>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "ui/frm_main.h"
#include "ui/qt_platform.h"
#include "ui/slab_output.h"

namespace {

bool saveScreenshots(slabrating::ui::frmMain& window, const QString& directory,
                     const QString& input) {
    window.show();
    window.openInputFile(input);
    window.mnuFileRun_Click();
    QApplication::processEvents();
    slabrating::ui::SlabOutput* report = window.reportWindow();
    if (report == nullptr || !QDir().mkpath(directory)) {
        return false;
    }
    const QDir dir(directory);
    return window.grab().save(dir.filePath(QStringLiteral("main-window.png"))) &&
           report->grab().save(dir.filePath(QStringLiteral("report-window.png")));
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(slabrating::ui::kApplicationTitle);
    const QStringList args = QApplication::arguments();
    if (args.size() != 3) {
        std::fputs("usage: slabrating-screenshots <directory> <file.qri>\n", stderr);
        return EXIT_FAILURE;
    }
    // The user's own placement and settings stay out of the pictures and untouched.
    QTemporaryDir settingsDir;
    slabrating::ui::QtPlatform platform(std::make_unique<QSettings>(
        settingsDir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat));
    slabrating::ui::frmMain window(platform);
    return saveScreenshots(window, args[1], args[2]) ? EXIT_SUCCESS : EXIT_FAILURE;
}
