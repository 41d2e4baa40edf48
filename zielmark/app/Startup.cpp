#include "Startup.h"

#include "Unit_Files.h"
#include "Unit_GlobalOptions.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QStringList>
#include <QtGlobal>

void MakeProgramFolderCurrent() {
    QDir::setCurrent(QCoreApplication::applicationDirPath());
}

TSettingsLocation ChooseSettingsFile(const QString& explicitFile) {
    if (!explicitFile.isEmpty()) {
        // A named settings file that is there but cannot be read (a pipe, a device) is refused, not waited
        // on.
        const QString path = QFileInfo(explicitFile).absoluteFilePath();
        std::string text;
        if (zm::FileExists(path.toStdString()))
            if (const zm::TResult read = zm::ReadWholeFile(path.toStdString(), text); !read.Ok())
                return {path, QString(), QString::fromStdString(read.Message)};
        return {path, QString(), QString()};
    }
    std::string notice;
    const QString file = QString::fromStdString(
        zm::SettingsFileFor(QCoreApplication::applicationFilePath().toStdString(), &notice));
    // Said once: when the settings in the user's folder already exist, the user has been told.
    if (QFileInfo::exists(file)) notice.clear();
    return {file, QString::fromStdString(notice), QString()};
}

namespace {
// The font files are built into the program (Qt resource "fonts"), so no machine's own fonts decide the width
// of a caption. A machine's font of the same metrics only stands in should they ever fail to load.
const QStringList kProgramFontFamilies{"Liberation Sans", "Arial", "Nimbus Sans", "Helvetica"};

bool LoadProgramFont() {
    bool loaded = true;
    for (const char* file : {":/fonts/LiberationSans-Regular.ttf", ":/fonts/LiberationSans-Bold.ttf"})
        loaded = QFontDatabase::addApplicationFont(file) >= 0 && loaded;
    return loaded;
}
} // namespace

void ApplyProgramLook(QApplication& app) {
    QApplication::setStyle("Fusion");
    static const bool loaded = LoadProgramFont(); // once, however often the look is applied
    if (!loaded)
        qWarning("Zielmark: the built-in font could not be loaded; captions may not fit their places");
    QFont font = app.font();
    font.setFamilies(kProgramFontFamilies);
    font.setPixelSize(11);
    QApplication::setFont(font);
}
