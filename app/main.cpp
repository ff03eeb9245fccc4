#include <QApplication>
#include <QCommandLineParser>
#include <QSettings>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "ui/app_icon.h"
#include "ui/frm_about.h"
#include "ui/frm_main.h"
#include "ui/qt_platform.h"
#include "ui/screenshot_demo.h"

namespace {

// Without a display Qt would stop with a bare platform-plugin error; say what to do instead.
bool displayMissing() {
#if defined(Q_OS_LINUX) || defined(Q_OS_FREEBSD)
    return qEnvironmentVariableIsEmpty("DISPLAY") &&
           qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
           qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
#else
    return false;
#endif
}

bool asksForHelpOrVersion(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "-h" || arg == "--help" || arg == "-?" || arg == "-v" || arg == "--version") {
            return true;
        }
    }
    return false;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (displayMissing() && asksForHelpOrVersion(argc, argv)) {
        // Help and version need no window.
        qputenv("QT_QPA_PLATFORM", "offscreen");
    } else if (displayMissing()) {
        std::fputs(
            "slabrating: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
            "Run it under a virtual display:  xvfb-run -a slabrating\n"
            "or rate slabs without windows:   slabrating-cli --help\n",
            stderr);
        return EXIT_FAILURE;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(slabrating::ui::kApplicationTitle);
    QApplication::setApplicationVersion(slabrating::ui::versionNumber());
    QApplication::setDesktopFileName(QStringLiteral("slabrating"));
    QApplication::setWindowIcon(slabrating::ui::appIcon());

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Load rating of reinforced concrete slab bridges"));
    parser.addHelpOption();
    parser.addVersionOption();
    // Used by scripts/screenshots.sh: fills in the example slab, runs it, saves PNGs of
    // both windows into the directory and quits, with settings kept out of the user's store.
    QCommandLineOption screenshots(QStringLiteral("demo-screenshot"),
                                   QStringLiteral("Save screenshots into <directory>."),
                                   QStringLiteral("directory"));
    screenshots.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(screenshots);
    parser.addPositionalArgument(QStringLiteral("file"),
                                 QStringLiteral("Slab input file (.qri) to open."),
                                 QStringLiteral("[file]"));
    parser.process(app);

    if (parser.isSet(screenshots)) {
        QTemporaryDir settingsDir;
        slabrating::ui::QtPlatform platform(std::make_unique<QSettings>(
            settingsDir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat));
        slabrating::ui::frmMain window(platform);
        return slabrating::ui::saveScreenshots(window, parser.value(screenshots)) ? EXIT_SUCCESS
                                                                                  : EXIT_FAILURE;
    }

    slabrating::ui::QtPlatform platform;
    slabrating::ui::frmMain window(platform);
    window.show();
    // A file manager opens an input file with the program: read it as File => Open would.
    if (!parser.positionalArguments().isEmpty()) {
        window.openInputFile(parser.positionalArguments().constFirst());
    }
    return QApplication::exec();
}
