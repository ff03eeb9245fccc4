#include "ui/screenshot_demo.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>

#include "ui/frm_main.h"
#include "ui/slab_output.h"

namespace slabrating::ui {

SlabFields exampleSlab() {
    SlabFields f;
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
    f.LoadType = StateTrucks;
    return f;
}

bool saveScreenshots(frmMain& window, const QString& directory) {
    window.setFields(exampleSlab());
    window.show();
    window.mnuFileRun_Click();
    QApplication::processEvents();
    SlabOutput* report = window.reportWindow();
    if (report == nullptr || !QDir().mkpath(directory)) {
        return false;
    }
    const QDir dir(directory);
    return window.grab().save(dir.filePath(QStringLiteral("main-window.png"))) &&
           report->grab().save(dir.filePath(QStringLiteral("report-window.png")));
}

}  // namespace slabrating::ui
