// The "Orbiter to Google Earth" page: the source of the results (recent or previous flight), the wreck list,
// the figures and impact-area diagram of the selected wreck, and saving the result KML and a scenario copy.
#pragma once
#include "Unit_Results.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class TCanvasImage;
class TPageContext;

class TOrbToGePage : public QWidget {
public:
    TOrbToGePage(QWidget* parent, TPageContext& context);

    // Operations the shell calls.
    void OrbResFilesToGUI();

    // Published handlers and the page's operations.
    void rbNewOrbResFileClick();
    void cbSavedOrbResFilesChange();
    void lbOrbResultsClick();
    void FillResultFiles();
    void UpdateSaveGEFileButton();
    void cbResultFilesChange();
    void btnSaveGEFileClick();
    void LoadOrbResults(const std::string& path);

    const zm::TOrbResults& Results() const { return OrbResults; }

    // Controls.
    QRadioButton* rbNewOrbResFile;
    QLabel* lblCurrentState;
    QRadioButton* rbSavedOrbResFile;
    QComboBox* cbSavedOrbResFiles;
    QListWidget* lbOrbResults;
    TCanvasImage* imgChart;
    QLabel* lblFailure;
    QLabel* lblLaunchAz;
    QLabel* lblPlannedRange;
    QLabel* lblActualRange;
    QLabel* lblRangeMiss;
    QLabel* lblLongitudalMiss;
    QLabel* lblLateralMiss;
    QComboBox* cbResultFiles;
    QPushButton* btnSaveGEFile;

private:
    void BuildControls();
    void ConnectEvents();
    void ShowWreckList();
    void DrawChart(const zm::TTeskWreck& wreck);
    zm::TResultSourceInputs SourceInputs() const;

    TPageContext& Context;
    zm::TOrbResults OrbResults;
    bool FillingSource = false; // the program, not the user, is changing the source controls
};
