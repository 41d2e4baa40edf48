// The "Orbiter to Google Earth" page: the source of the results (recent or previous flight), the wreck list,
// the figures and impact-area diagram of the selected wreck, and saving the result KML and a scenario copy.
#pragma once
#include "Unit_Files.h"
#include "Unit_Results.h"

#include <QWidget>

class QCheckBox;
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
    // The window or the page came to the front: when the scenario shown has changed since it was read (a
    // new firing saved a new current state), it is read again.
    void SourceMayHaveChanged();

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
    QCheckBox* chbSaveReplay; // "Save!" also writes the replay for the time slider

private:
    void BuildControls();
    void ConnectEvents();
    void ShowWreckList();
    void DrawChart(const zm::TTeskWreck& wreck);
    zm::TResultSourceInputs SourceInputs() const;
    // Whether the file shown now holds other bytes than those its wrecks were read from.
    bool SourceChanged();
    void ShowSavedCopies(const std::string& remembered);
    // Asks for and writes the replay beside the KML file `kmlName`; false when a write failed.
    bool SaveReplay(const std::string& kmlName);

    TPageContext& Context;
    zm::TOrbResults OrbResults;
    // What the wrecks shown were read from: the file, its bytes (the scenario copy is made of them) and its
    // stamp then; Read is false when nothing could be read from it.
    struct TShownSource {
        std::string Path;
        std::string Bytes;
        zm::TFileStamp Stamp;
        bool Read = false;
    } Shown;
    bool FillingSource = false; // the program, not the user, is changing the source controls
};
