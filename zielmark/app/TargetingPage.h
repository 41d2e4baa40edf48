// The "Google Earth to Orbiter" page: a KML file's launch sites and targets, their assignment by drag and
// drop or at random, the per-missile delay, "Realistic" flag and precise cut-off, description, focus, date
// and time, and saving the launch scenario. The page's state lives in the core's planning model; the controls
// show it.
#pragma once
#include "Unit_Targeting.h"

#include <QWidget>

#include <vector>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPainter;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class TCanvasImage;
class TPageContext;
class TWaypointList;

class TGeToOrbPage : public QWidget {
public:
    TGeToOrbPage(QWidget* parent, TPageContext& context);
    ~TGeToOrbPage() override;

    // Operations the shell calls.
    void FillSourceFileList();
    void ClearTargetingPage();
    // Before the page's work is thrown away (closing, "Refresh", another KML file or scenario): true when
    // nothing is unsaved, or the user saved it or chose to discard it; false when the user cancelled (or the
    // save did not happen), and the caller leaves everything as it is.
    bool ConfirmLeavingUnsaved();

    // Published handlers, named after control and event.
    void cbLoadGEFilesChange();
    void lbTesksDrawItem(QPainter& painter, int index, const QRect& rect, bool selected);
    void lbTargetsDrawItem(QPainter& painter, int index, const QRect& rect, bool selected);
    bool lbTargetsDragOver();
    // The missile dragged (-1: none) dropped at a point of the target list.
    void lbTargetsDragDrop(int tesk, int x, int y);
    // The keyboard's drop: Enter or Space on the target list points the missile selected in the missile list
    // at the current target; Delete or Backspace on either list clears the selected missile's target. True
    // when the key was one of these.
    bool lbTargetsKeyPress(int key);
    bool lbTesksKeyPress(int key);
    void btnRandomizeClick();
    void chbFlipAllCheckBoxesClick();
    void chbPreciseClick();
    void rbTimeLocalClick();
    void meOrbDateChange();
    void cbSaveOrbFilesChange();
    void btnSaveOrbFileClick();
    // The save of "Save!"; true when the scenario was written.
    bool SaveScenario();
    void OrbDateTimeToGUI();
    void DateTimeGUItoUTC();

    // Controls.
    QComboBox* cbLoadGEFiles;
    QLabel* stGEDescr;
    QFrame* pnlTargeting;
    TWaypointList* lbTesks;
    TCanvasImage* imgLinks;
    TWaypointList* lbTargets;
    QCheckBox* chbFlipAllCheckBoxes;
    QPushButton* btnRandomize;
    QCheckBox* chbPrecise; // the selected missile's precise cut-off
    QPlainTextEdit* mOrbDescr;
    QComboBox* cbActiveVessel;
    QRadioButton* rbTimeLocal;
    QRadioButton* rbTimeUTC;
    QLineEdit* meOrbDate;
    QLineEdit* meOrbTime;
    QComboBox* cbSaveOrbFiles;
    QPushButton* btnSaveOrbFile;
    QFrame* pnlGEtoOrbWarnings;
    QLabel* stGEtoOrbWarnings;

    // Each missile row's delay spinner and "Realistic" box, in list order.
    struct TRowControls {
        QSpinBox* DelayUpDown;
        QCheckBox* RealisticBox;
    };
    const std::vector<TRowControls>& Rows() const { return RowControls; }

    // The page's state: waypoints, delays, flags, description, focus, date, scenario name.
    zm::TTargetingPage Model;

private:
    void BuildControls();
    void ConnectEvents();
    void CreateRowControls();
    void FreeRowControls();
    // The keyboard's path through the page: source, rows, lists, buttons, details, scenario name, save.
    void SetTabOrder();
    void FillScenarioFileList();
    // Shows the model in the controls; the program's own changes do not run the change handlers.
    void ModelToGUI();
    void ShowWaypoints();
    // The precise box shows the selected missile's cut-off, and is off without a selection.
    void ShowPrecise();
    void ShowDescription();
    void ShowFocus();
    void ShowDateTime();
    void ShowScenarioName();
    void ShowWarnings();
    void ShowDateTimeValidity();
    void MarkField(QLineEdit* field, bool valid, const QString& why);
    void DrawLinks();
    // Names what the last read of a scenario could not take (the model keeps it).
    void ShowScenarioRead();
    void DrawWaypointItem(QPainter& painter, const QString& text, bool linked, const QRect& rect,
                          bool selected, const QWidget* list);

    TPageContext& Context;
    std::vector<TRowControls> RowControls;
    bool Showing = false; // set while ModelToGUI writes into the controls
    // Keeps the date and time fields' change events from writing back what is being displayed.
    bool UpdatingDateTime = false;
};
