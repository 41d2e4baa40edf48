// Zielmark: the planning and analysis program. Creates the application and the main window and runs the
// event loop; the window's first show reads the settings and fills the pages.
#include "Dlg_Main.h"
#include "GuardedApplication.h"
#include "PageSnapshots.h"
#include "Prompt.h"
#include "Startup.h"
#include "Unit_GlobalOptions.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QScreen>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
// Without a display, the options that need no window (help, pictures, the start-up figure) still work: they
// run on the offscreen platform. A plain start without a display gets a clear message instead of Qt's abort.
bool PrepareDisplay(int argc, char* argv[]) {
    if (std::getenv("QT_QPA_PLATFORM") || std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY"))
        return true;
    for (int i = 1; i < argc; ++i) {
        for (const char* option : {"-h", "--help", "-?", "--screenshot", "--benchmark-startup"}) {
            if (std::strncmp(argv[i], option, std::strlen(option)) == 0) {
                setenv("QT_QPA_PLATFORM", "offscreen", 1);
                return true;
            }
        }
    }
    std::fprintf(stderr, "Zielmark needs a display: set DISPLAY (or run it under xvfb-run).\n");
    return false;
}
} // namespace

int main(int argc, char* argv[]) {
    QElapsedTimer startup;
    startup.start();
    if (!PrepareDisplay(argc, argv)) return 1;
    TGuardedApplication app(argc, argv);
    // Qt sets the user's locale; numbers in files must not follow it.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName("Zielmark");
    ApplyProgramLook(app);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Plans Teski launches from Google Earth files and analyses their results.");
    parser.addHelpOption();
    const QCommandLineOption settingsOption("settings", "Use this settings file.", "file");
    const QCommandLineOption screenshotOption(
        "screenshot", "Save a picture of each page into the folder and quit.", "folder");
    const QCommandLineOption benchmarkOption(
        "benchmark-startup", "Print the time from start until the window is filled, and quit.");
    parser.addOptions({settingsOption, screenshotOption, benchmarkOption});
    parser.process(app);

    // Paths given on the command line are taken before the working folder changes.
    const TSettingsLocation settings = ChooseSettingsFile(parser.value(settingsOption));
    if (!settings.Error.isEmpty()) {
        std::fprintf(stderr, "Zielmark: %s\n", qPrintable(settings.Error));
        return 2;
    }
    // The options that only look run to their end without anyone at the screen: no question may wait.
    const bool lookOnly = parser.isSet(benchmarkOption) || parser.isSet(screenshotOption);
    const QString screenshotFolder = parser.isSet(screenshotOption)
                                         ? QFileInfo(parser.value(screenshotOption)).absoluteFilePath()
                                         : QString();
    MakeProgramFolderCurrent();
    TQtPrompt onScreen;
    TUnattendedPrompt unattended;
    TPrompt& prompt = lookOnly ? static_cast<TPrompt&>(unattended) : onScreen;
    app.SetPrompt(&prompt);
    TDlgMain window(settings.IniFileName, prompt);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window.move(screen->availableGeometry().center() - window.rect().center());
    window.show();
    if (!settings.Notice.isEmpty()) prompt.ShowInfo(&window, settings.Notice);

    if (parser.isSet(benchmarkOption)) {
        QApplication::processEvents();
        std::printf("Zielmark start-up: %lld ms (%zu source KML files listed)\n",
                    static_cast<long long>(startup.elapsed()),
                    window.HasOptions() ? window.Options().SrcKmlFiles.size() : size_t{0});
        window.CloseWithoutSaving();
        return 0;
    }
    if (parser.isSet(screenshotOption)) {
        QApplication::processEvents();
        const bool ok = SavePageSnapshots(window, screenshotFolder);
        window.CloseWithoutSaving();
        return ok ? 0 : 1;
    }
    return app.exec();
}
