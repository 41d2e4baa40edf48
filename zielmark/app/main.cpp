// Zielmark: the planning and analysis program. Creates the application and the main window and runs the
// event loop; the window's first show reads the settings and fills the pages.
#include "dlg_main.h"
#include "page_snapshots.h"
#include "prompt.h"
#include "startup.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QTimer>

#include <clocale>
#include <cstdio>

int main(int argc, char* argv[]) {
  QElapsedTimer startup;
  startup.start();
  QApplication app(argc, argv);
  // Qt sets the user's locale; numbers in files must not follow it.
  std::setlocale(LC_NUMERIC, "C");
  QApplication::setApplicationName("Zielmark");
  ApplyProgramLook(app);

  QCommandLineParser parser;
  parser.setApplicationDescription("Plans Teski launches from Google Earth files and analyses their results.");
  parser.addHelpOption();
  const QCommandLineOption settingsOption("settings", "Use this settings file.", "file");
  const QCommandLineOption screenshotOption("screenshot", "Save a picture of each page into the folder and quit.",
                                            "folder");
  const QCommandLineOption benchmarkOption("benchmark-startup",
                                           "Print the time from start until the window is filled, and quit.");
  parser.addOptions({settingsOption, screenshotOption, benchmarkOption});
  parser.process(app);

  MakeProgramFolderCurrent();
  const TSettingsLocation settings = ChooseSettingsFile(parser.value(settingsOption));
  TQtPrompt prompt;
  TDlgMain window(settings.IniFileName, prompt);
  window.show();
  if (!settings.Notice.isEmpty()) prompt.ShowInfo(&window, settings.Notice);

  if (parser.isSet(benchmarkOption)) {
    QApplication::processEvents();
    std::printf("Zielmark start-up: %lld ms\n", static_cast<long long>(startup.elapsed()));
    window.FormCloseQuery();
    return 0;
  }
  if (parser.isSet(screenshotOption)) {
    QApplication::processEvents();
    const bool ok = SavePageSnapshots(window, parser.value(screenshotOption));
    window.FormCloseQuery();
    return ok ? 0 : 1;
  }
  return app.exec();
}
