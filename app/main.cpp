#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>
#include <cstdlib>

#include "ui/app_icon.h"
#include "ui/frm_about.h"
#include "ui/frm_main.h"
#include "ui/qt_platform.h"

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
    parser.addPositionalArgument(QStringLiteral("file"),
                                 QStringLiteral("Slab input file (.qri) to open."),
                                 QStringLiteral("[file]"));
    parser.process(app);

    slabrating::ui::QtPlatform platform;
    slabrating::ui::frmMain window(platform);
    window.show();
    // A file manager opens an input file with the program: read it as File => Open would.
    if (!parser.positionalArguments().isEmpty()) {
        window.openInputFile(parser.positionalArguments().constFirst());
    }
    return QApplication::exec();
}
