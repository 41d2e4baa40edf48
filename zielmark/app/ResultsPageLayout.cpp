// The controls of the "Orbiter to Google Earth" page, at their fixed places.
#include "CanvasImage.h"
#include "ResultsPage.h"
#include "UiKit.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

namespace {

QRadioButton* MakeRadio(QWidget* parent, const QString& caption, int left, int top, int width, int height) {
    auto* radio = new QRadioButton(caption, parent);
    radio->setGeometry(left, top, width, height);
    return radio;
}

// A caption and its bold figure beside it.
QLabel* MakeFigure(QWidget* parent, const QString& caption, int left, int figureLeft, int top) {
    const QLabel* text = MakeLabel(parent, caption, left, top);
    // In a wide font the figure moves right rather than cover its caption.
    QLabel* figure =
        MakeBoldLabel(parent, QString(), std::max(figureLeft, text->geometry().right() + 4), top);
    figure->resize(std::min(96, parent->width() - figure->x() - 4), figure->sizeHint().height());
    return figure;
}

} // namespace

void TOrbToGePage::BuildControls() {
    QFrame* source = MakePanel(this, 8, 16, 169, 193);
    MakePicture(source, TIcon::Orbiter, 8, 8);
    MakeBoldLabel(source, "Orbiter", 48, 16, 16);
    MakeLabel(source, "Select flight to analyze:", 8, 64);
    rbNewOrbResFile = MakeRadio(source, "Recent flight", 8, 88, 129, 17);
    lblCurrentState = MakeLabel(source, "(Current state).scn", 32, 112);
    rbSavedOrbResFile = MakeRadio(source, "Previous flights", 8, 136, 129, 17);
    auto* group = new QButtonGroup(source);
    group->addButton(rbNewOrbResFile);
    group->addButton(rbSavedOrbResFile);
    cbSavedOrbResFiles = new QComboBox(source);
    cbSavedOrbResFiles->move(8, 160);
    cbSavedOrbResFiles->resize(145, cbSavedOrbResFiles->sizeHint().height());

    QFrame* results = MakePanel(this, 184, 16, 385, 425);
    MakePicture(results, TIcon::FlightResults, 8, 8);
    MakeBoldLabel(results, "Flight results", 48, 16, 16);
    MakeBoldLabel(results, "Tesk impacts", 40, 48);
    MakeBoldLabel(results, "Impact area diagram", 200, 48);
    lbOrbResults = new QListWidget(results);
    lbOrbResults->setGeometry(8, 72, 121, 241);
    lbOrbResults->setUniformItemSizes(true);
    lbOrbResults->setStyleSheet("QListWidget::item { height: 13px; padding: 0px; }");
    imgChart = new TCanvasImage(results, 136, 72, 241, 241);
    imgChart->Fill(Qt::white);
    lblFailure = MakeLabel(results, QString(), 8, 320);
    lblFailure->resize(369, lblFailure->sizeHint().height());
    lblLaunchAz = MakeFigure(results, "Launch azimuth:", 8, 88, 344);
    lblPlannedRange = MakeFigure(results, "Target range:", 8, 88, 360);
    lblActualRange = MakeFigure(results, "Actual range:", 192, 272, 360);
    lblRangeMiss = MakeFigure(results, "Miss:", 192, 272, 376);
    lblLongitudalMiss = MakeFigure(results, "Longitudal miss:", 192, 272, 392);
    lblLateralMiss = MakeFigure(results, "Lateral miss:", 192, 272, 408);

    QFrame* save = MakePanel(this, 576, 16, 169, 249);
    MakePicture(save, TIcon::GoogleEarth, 8, 8);
    MakePicture(save, TIcon::Orbiter, 8, 48);
    MakeBoldLabel(save, "Google Earth", 45, 16, 16);
    MakeBoldLabel(save, "Orbiter", 45, 56, 16);
    MakeLabel(save, "Save flight results copy for use", 8, 96);
    MakeLabel(save, "in Obiter and Google Earth:", 8, 112);
    cbResultFiles = new QComboBox(save);
    cbResultFiles->setEditable(true);
    cbResultFiles->setInsertPolicy(QComboBox::NoInsert);
    cbResultFiles->move(8, 136);
    cbResultFiles->resize(145, cbResultFiles->sizeHint().height());
    MakeLabel(save, "(type file name or select from", 8, 160);
    MakeLabel(save, "the list to overwrite)", 8, 176);
    btnSaveGEFile = MakeButton(save, "Save!", 48, 208, 75, 25);

    // The replay, on request: a panel of its own below, so the save panel keeps its places.
    QFrame* replay = MakePanel(this, 576, 272, 169, 57);
    chbSaveReplay = new QCheckBox("Also save a replay", replay);
    chbSaveReplay->setGeometry(8, 8, 153, 17);
    chbSaveReplay->setToolTip("\"Save!\" also writes NAME-replay.kml: every flight stamped with its times, "
                              "for Google Earth's time slider");
    MakeLabel(replay, "for the time slider", 27, 28); // under the check box's caption
}
