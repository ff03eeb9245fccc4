// The screenshot tool of scripts/screenshots.sh: fills the main window with an example
// slab as a user would type it, runs the rating and saves pictures of both windows.
// Usage: slabrating-screenshots <directory>   (writes main-window.png and report-window.png)

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QSettings>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "engine/fields.h"
#include "ui/frm_main.h"
#include "ui/qt_platform.h"
#include "ui/slab_output.h"

namespace {

// The example slab of the input-file description (structure B-12-AC, 18.5 ft span, 14 in
// slab, f'c 3000 psi, Fy 40000 psi, state trucks), as a user would type it.
slabrating::SlabFields exampleSlab() {
    slabrating::SlabFields f;
    f.StructNo = "B-12-AC";
    f.Rater = "JD";
    f.Hwy = "50";
    f.Comments = "SH 50 OVER CREEK";
    f.Bitum = "2";
    f.EffSpan = "18.5";
    f.SlabThick = "14";
    f.StAreaTop = "0.31";
    f.StDistTop = "12.5";
    f.STAreaBot = "0.6";
    f.StDistBot = "1.5";
    f.Concfc = "3000";
    f.SteelFy = "40000";
    f.LoadType = slabrating::LoadType::StateTrucks;
    return f;
}

bool saveScreenshots(slabrating::ui::frmMain& window, const QString& directory) {
    window.setFields(exampleSlab());
    window.show();
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
    if (args.size() != 2) {
        std::fputs("usage: slabrating-screenshots <directory>\n", stderr);
        return EXIT_FAILURE;
    }
    // The user's own placement and settings stay out of the pictures and untouched.
    QTemporaryDir settingsDir;
    slabrating::ui::QtPlatform platform(std::make_unique<QSettings>(
        settingsDir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat));
    slabrating::ui::frmMain window(platform);
    return saveScreenshots(window, args[1]) ? EXIT_SUCCESS : EXIT_FAILURE;
}
