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
  const std::string file = zm::SettingsFileFor(QCoreApplication::applicationFilePath().toStdString(), &notice);
  return {QString::fromStdString(file), QString::fromStdString(notice)};
}

void ApplyProgramLook(QApplication& app) {
  QApplication::setStyle("Fusion");
  QFont font = app.font();
  font.setFamilies({"Nimbus Sans", "Liberation Sans", "Arial", "Helvetica", "DejaVu Sans"});
  font.setPixelSize(11);
  QApplication::setFont(font);
}
