// The "Dispersion" page: opens a folder written by "zielmark-cli dispersion" and shows, for the missile
// picked from its list, the dispersion picture and the figures.
#pragma once
#include <QJsonArray>
#include <QString>
#include <QWidget>

class QLabel;
class QListWidget;
class QPushButton;
class TPrompt;

class TDispersionPage : public QWidget {
public:
    TDispersionPage(QWidget* parent, TPrompt& prompt);

    void btnOpenDispersionClick();
    // Reads dispersion.json of `folder`; false (with the reason on the page) when it cannot be read.
    bool OpenFolder(const QString& folder);
    void lbMissilesClick();

    QPushButton* btnOpenDispersion;
    QLabel* lblDispersionDir;
    QListWidget* lbMissiles;
    QLabel* stFigures;
    QLabel* imgDispersion;

private:
    TPrompt& Prompt;
    QString Folder;
    QJsonArray Missiles;
};

// The figures of one missile of dispersion.json, as the page shows them.
QString DispersionFigures(const QJsonObject& missile);
