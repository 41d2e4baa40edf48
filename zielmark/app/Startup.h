// What the program settles before its window opens: the working folder and where the settings live.
#pragma once
#include <QString>

// Makes the program's own folder the working directory, so the transformation files installed beside it and
// the relative simulator root resolve from there.
void MakeProgramFolderCurrent();

struct TSettingsLocation {
    QString IniFileName;
    // Not empty when the settings go to the user's configuration folder: the program says so.
    QString Notice;
    // Not empty when the file named on the command line is there but cannot be read (a pipe, a device):
    // the program refuses it at once, as zielmark-cli check does, instead of starting on it.
    QString Error;
};

// Beside the program with its name and ".ini", or in the user's configuration folder when the program's
// folder is not writable. An explicit file (from the command line) wins.
TSettingsLocation ChooseSettingsFile(const QString& explicitFile);

class QApplication;
// The program's look: one style on every platform and the font the fixed page layout was measured with,
// 11 pixels high, so that captions fit their places on every machine. The font (Liberation Sans, regular and
// bold) is built into the program; every page takes it from here.
void ApplyProgramLook(QApplication& app);
