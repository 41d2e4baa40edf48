// The controls of the "Google Earth to Orbiter" page, at their fixed places.
#include "CanvasImage.h"
#include "TargetingPage.h"
#include "UiKit.h"
#include "Unit_Targeting.h"
#include "WaypointList.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

QComboBox* MakeCombo(QWidget* parent, int left, int top, int width, bool editable) {
    auto* combo = new QComboBox(parent);
    combo->setEditable(editable);
    combo->move(left, top);
    combo->resize(width, combo->sizeHint().height());
    return combo;
}

} // namespace

void TGeToOrbPage::BuildControls() {
    QFrame* source = MakePanel(this, 8, 0, 169, 409);
    MakePicture(source, TIcon::GoogleEarth, 8, 8);
    MakeBoldLabel(source, "Google Earth", 48, 16, 16);
    MakeLabel(source, "Select kml file:", 8, 64);
    cbLoadGEFiles = MakeCombo(source, 8, 88, 145, false);
    stGEDescr = MakeStaticText(source, 8, 120, 145, 281);

    pnlTargeting = MakePanel(this, 184, 0, 393, 409);
    MakeBoldLabel(pnlTargeting, "Targeting", 8, 8, 16);
    MakeLabel(pnlTargeting, "[ Use drag and drop to point missiles to targets ]", 8, 36);
    MakeLabel(pnlTargeting, "Delay", 4, 62);
    MakeLabel(pnlTargeting, "Realistic", 34, 62)->setToolTip("Realistic");
    MakeBoldLabel(pnlTargeting, "Missiles", 92, 62);
    MakeBoldLabel(pnlTargeting, "Targets", 288, 62);
    lbTesks = new TWaypointList(pnlTargeting, 64, 80, 105, 289);
    imgLinks = new TCanvasImage(pnlTargeting, 176, 80, 73, 289);
    lbTargets = new TWaypointList(pnlTargeting, 256, 80, 105, 289);
    chbFlipAllCheckBoxes = new QCheckBox("Flip all checkboxes", pnlTargeting);
    chbFlipAllCheckBoxes->move(40, 376);
    chbFlipAllCheckBoxes->adjustSize();
    chbFlipAllCheckBoxes->setChecked(true);
    btnRandomize = MakeButton(pnlTargeting, "Randomize", 176, 376, 75, 25);
    // The selected missile's cut-off, right of the buttons under the target list; off until a missile is
    // selected.
    chbPrecise = new QCheckBox("Precise cut-off", pnlTargeting);
    chbPrecise->move(264, 376);
    chbPrecise->adjustSize();
    chbPrecise->setToolTip("The selected missile's engine stops when its fall, predicted with drag and the "
                           "Earth's rotation, reaches the target");
    chbPrecise->setEnabled(false);

    QFrame* details = MakePanel(this, 184, 416, 393, 193);
    MakeBoldLabel(details, "Additional scenario details", 8, 8, 16);
    MakeLabel(details, "Edit description:", 8, 44);
    MakeLabel(details, "Set focused vessel:", 296, 44);
    MakeLabel(details, "Set date and time:", 232, 100);
    MakeLabel(details, "DD.MM.YYYY", 232, 144);
    MakeLabel(details, "HH:MM", 320, 144);
    mOrbDescr = new QPlainTextEdit(details);
    mOrbDescr->setGeometry(8, 64, 217, 121);
    mOrbDescr->setLineWrapMode(QPlainTextEdit::NoWrap);
    // The prompt is no content: it shows only while the box is empty, and an empty box saves no line.
    mOrbDescr->setPlaceholderText(zm::DefaultScenarioDescription);
    // Tab leaves the box (as everywhere on the page) instead of typing a tab into the description.
    mOrbDescr->setTabChangesFocus(true);
    cbActiveVessel = MakeCombo(details, 296, 64, 89, false);
    cbActiveVessel->setEnabled(false);
    rbTimeLocal = new QRadioButton("Local", details);
    rbTimeLocal->move(232, 120);
    rbTimeLocal->adjustSize();
    rbTimeLocal->setChecked(true);
    rbTimeUTC = new QRadioButton("UTC", details);
    rbTimeUTC->move(328, 120);
    rbTimeUTC->adjustSize();
    // Day and month take one or two digits, the year four; '_' marks an empty place.
    meOrbDate = new QLineEdit(details);
    meOrbDate->setInputMask("00.00.9999;_");
    meOrbDate->move(232, 160);
    meOrbDate->resize(71, meOrbDate->sizeHint().height());
    // Hours take one or two digits, the minutes two.
    meOrbTime = new QLineEdit(details);
    meOrbTime->setInputMask("09:99;_");
    meOrbTime->move(320, 160);
    meOrbTime->resize(41, meOrbTime->sizeHint().height());

    QFrame* orbiter = MakePanel(this, 584, 0, 169, 409);
    MakePicture(orbiter, TIcon::Orbiter, 8, 8);
    MakeBoldLabel(orbiter, "Orbiter", 48, 16, 16);
    MakeLabel(orbiter, "Select scenario to edit:", 8, 52);
    MakeLabel(orbiter, "(or type new scenario name...)", 8, 68);
    cbSaveOrbFiles = MakeCombo(orbiter, 8, 88, 145, true);
    cbSaveOrbFiles->setInsertPolicy(QComboBox::NoInsert);
    // A name that exists is read back at once, throwing the page's edits away: so the box holds only what the
    // user typed or picked, never a name completed from the first letters.
    cbSaveOrbFiles->setCompleter(nullptr);
    btnSaveOrbFile = MakeButton(orbiter, "Save!", 48, 136, 75, 25);
    pnlGEtoOrbWarnings = new QFrame(orbiter);
    pnlGEtoOrbWarnings->setGeometry(0, 168, 169, 241);
    MakeBoldLabel(pnlGEtoOrbWarnings, "Warnings", 8, 8);
    stGEtoOrbWarnings = MakeStaticText(pnlGEtoOrbWarnings, 0, 32, 169, 209);
    pnlGEtoOrbWarnings->hide();
}
