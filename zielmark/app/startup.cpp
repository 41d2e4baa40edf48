#include "startup.h"

#include "Unit_GlobalOptions.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

void MakeProgramFolderCurrent() { QDir::setCurrent(QCoreApplication::applicationDirPath()); }

TSettingsLocation ChooseSettingsFile(const QString& explicitFile) {
  if (!explicitFile.isEmpty()) return {QFileInfo(explicitFile).absoluteFilePath(), QString()};
  std::string notice;
  const std::string file = zm::SettingsFileFor(QCoreApplication::applicationFilePath().toStdString(), &notice);
  return {QString::fromStdString(file), QString::fromStdString(notice)};
}
