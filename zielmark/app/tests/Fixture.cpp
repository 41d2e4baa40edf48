#include "Fixture.h"

#include "Startup.h"

#include <QApplication>
#include <QDir>
#include <QFile>

TFixture::TFixture() {
    QDir().mkpath(KmlDir());
    QDir().mkpath(ScnDir());
    QDir().mkpath(ResultsDir());
}

void TFixture::WriteIni(int activeTab, const QString& srcDir, const QString& scnDir, const QString& resDir,
                        const QString& mruKml, const QString& mruScn) const {
    const QString text =
        QString("[Application]\r\nActiveMainTab=%1\r\n[SrcWptDir]\r\nDir=%2\r\n[OrbScnDir]\r\nDir=%3\r\n"
                "[FltResDir]\r\nDir=%4\r\n[MRUSourceKmlFile]\r\nFile=%5\r\n[MRUEditedScnFile]\r\nFile=%6\r\n")
            .arg(activeTab)
            .arg(srcDir, scnDir, resDir, mruKml, mruScn);
    WriteFile(Ini(), text.toUtf8());
}

void TFixture::WriteSourceKml(const QString& name) const {
    WriteFile(
        KmlDir() + name,
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<kml "
        "xmlns=\"http://www.opengis.net/kml/2.2\"><Document>\r\n"
        "<description>Baltic test file</description>\r\n"
        "<Placemark><name>Tesk_2</name><Point><coordinates>12.1,54.09,0</coordinates></Point></Placemark>\r\n"
        "<Placemark><name>Tesk_1</name><Point><coordinates>13.4,54.1,0</coordinates></Point></Placemark>\r\n"
        "<Placemark><name>Tesk_3</name><Point><coordinates>14.25,53.91</coordinates></Point></Placemark>\r\n"
        "<Placemark><name>Skane</name><Point><coordinates>13.5,55.8,0</coordinates></Point></Placemark>\r\n"
        "<Placemark><name>Bornholm</name><Point><coordinates>14.91,55.1,0</coordinates></Point></"
        "Placemark>\r\n"
        "<Placemark><name>Gotland</name><Point><coordinates>18.3,57.45,0</coordinates></Point></"
        "Placemark>\r\n"
        "<Placemark><name>Oeland</name><Point><coordinates>16.6,56.6,0</coordinates></Point></Placemark>\r\n"
        "</Document></kml>\r\n");
}

QByteArray TFixture::ResultScenario(bool bad) {
    QByteArray text =
        "BEGIN_ENVIRONMENT\r\n  System Sol\r\nEND_ENVIRONMENT\r\nBEGIN_SHIPS\r\n"
        "Tesk_1-Wreck:TeskiWreck\r\n  STATUS Landed Earth\r\n  LATITUDE_LAST 55.11\r\n  LONGITUDE_LAST "
        "14.92\r\n"
        "  LATITUDE_TARGET 55.1\r\n  LONGITUDE_TARGET 14.91\r\n  LATITUDE_LAUNCH 54.1\r\n  LONGITUDE_LAUNCH "
        "13.4\r\n"
        "  RANGE_ACTUAL 132000.5\r\n  RANGE_MISS 1000\r\n  AZIMUTH_MISS 90\r\n  LATERAL_MISS 600.4\r\n"
        "  LONGITUDAL_MISS 800.6\r\n  TARGET Bornholm\r\n"
        "  TRACK 0 0.2339 0.9442 10.0 1\r\n  TRACK 1 0.2400 0.9500 40000.0 2\r\n  TRACK 2 0.2602 0.9616 0.0 "
        "3\r\nEND\r\n"
        "Tesk_3-Wreck:TeskiWreck\r\n  STATUS Landed Earth\r\n  LATITUDE_TARGET 56.6\r\n  LONGITUDE_TARGET "
        "16.6\r\n"
        "  LATITUDE_LAUNCH 53.91\r\n  LONGITUDE_LAUNCH 14.25\r\n  RANGE_MISS 2500\r\n  AZIMUTH_MISS 200\r\n"
        "  LATERAL_MISS -300\r\n  LONGITUDAL_MISS BAD\r\n  TARGET Oeland\r\n  FAILURE Engine lost "
        "thrust\r\nEND\r\n"
        "END_SHIPS\r\n";
    if (!bad) text.replace("LONGITUDAL_MISS BAD", "LONGITUDAL_MISS -2400");
    return text;
}

void TFixture::WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(bytes);
}

QByteArray TFixture::ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void StartAsTheProgram() {
    ApplyProgramLook(*qApp);
    QDir::setCurrent(QCoreApplication::applicationDirPath());
}
