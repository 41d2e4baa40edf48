// Folders and files for driving the window: a source KML folder, the simulator's scenario folder and
// scenario root, a results folder, and the settings file, all in one temporary folder.
#pragma once
#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

class TFixture {
public:
    TFixture();
    QString Root() const { return Dir.path(); }
    QString KmlDir() const { return Root() + "/kml/"; }
    QString ScnDir() const { return Root() + "/Orbiter/Scenarios/Teski/"; }
    QString ScenarioRoot() const { return Root() + "/Orbiter/Scenarios/"; }
    QString ResultsDir() const { return Root() + "/results/"; }
    QString Ini() const { return Root() + "/Zielmark.ini"; }

    // The settings file with the three folders, the active page and the two recent file names.
    void WriteIni(int activeTab, const QString& srcDir, const QString& scnDir, const QString& resDir,
                  const QString& mruKml = QString(), const QString& mruScn = QString()) const;
    void WriteIni(int activeTab) const { WriteIni(activeTab, KmlDir(), ScnDir(), ResultsDir()); }
    // A planning file: launch sites Tesk_1 (13.4 E), Tesk_2, Tesk_3 and targets Bornholm, Gotland, Oeland,
    // Skane.
    void WriteSourceKml(const QString& name) const;
    // A flight result scenario with two wrecks (the second with a failure); `bad` spoils a number of the
    // second.
    static QByteArray ResultScenario(bool bad = false);
    static void WriteFile(const QString& path, const QByteArray& bytes);
    static QByteArray ReadFile(const QString& path);

private:
    QTemporaryDir Dir;
};

// As the program starts: its look (style and font), and its folder (where the transformation files are
// installed) as the working folder.
void StartAsTheProgram();
