#include "startup.h"

#include "Unit_Files.h"
#include "Unit_GlobalOptions.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFont>

void MakeProgramFolderCurrent() { QDir::setCurrent(QCoreApplication::applicationDirPath()); }

TSettingsLocation ChooseSettingsFile(const QString& explicitFile) {
  if (!explicitFile.isEmpty()) {
    // A named settings file that is there but cannot be read (a pipe, a device) is said, not waited on.
    const QString path = QFileInfo(explicitFile).absoluteFilePath();
    std::string text, error;
    if (zm::FileExists(path.toStdString()) && !zm::ReadWholeFile(path.toStdString(), text, error))
      return {path, QString::fromStdString(error + "; the settings start from their defaults")};
    return {path, QString()};
  }
  std::string notice;
  const QString file =
      QString::fromStdString(zm::SettingsFileFor(QCoreApplication::applicationFilePath().toStdString(), &notice));
  // Said once: when the settings in the user's folder already exist, the user has been told.
  if (QFileInfo::exists(file)) notice.clear();
  return {file, QString::fromStdString(notice)};
}

void ApplyProgramLook(QApplication& app) {
  QApplication::setStyle("Fusion");
  QFont font = app.font();
  font.setFamilies({"Nimbus Sans", "Liberation Sans", "Arial", "Helvetica", "DejaVu Sans"});
  font.setPixelSize(11);
  QApplication::setFont(font);
}
