#include "startup.h"

#include "Unit_GlobalOptions.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFont>

void MakeProgramFolderCurrent() { QDir::setCurrent(QCoreApplication::applicationDirPath()); }

TSettingsLocation ChooseSettingsFile(const QString& explicitFile) {
  if (!explicitFile.isEmpty()) return {QFileInfo(explicitFile).absoluteFilePath(), QString()};
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
