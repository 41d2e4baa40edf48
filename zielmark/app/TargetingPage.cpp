// The behaviour of the "Google Earth to Orbiter" page. The planning model does the work; this file moves the
// user's input into it and shows its state in the controls.
#include "TargetingPage.h"

#include "CanvasImage.h"
#include "PageContext.h"
#include "Prompt.h"
#include "QtText.h"
#include "Unit_Files.h"
#include "Unit_Functions.h"
#include "Unit_GlobalOptions.h"
#include "Unit_LaunchScenario.h"
#include "WaypointList.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>

namespace {

const QColor LinkedColour(0, 128, 0);
const QColor UnlinkedColour(255, 0, 0);
const QColor InvalidColour(255, 0, 0);

// The question before unsaved work is thrown away, naming the file "Save" writes when the name is one.
std::string UnsavedQuestion(const std::string& scenarioName) {
    const std::string question = "The plan has changes that are not saved.";
    if (!zm::IsValidSaveName(scenarioName) || !zm::StaysInFolder(scenarioName))
        return question + "\nSave them?";
    return question + "\nSave them as \"" + zm::ScenarioFileNameFor(scenarioName) + "\"?";
}

} // namespace

TGeToOrbPage::TGeToOrbPage(QWidget* parent, TPageContext& context) : QWidget(parent), Context(context) {
    BuildControls();
    ConnectEvents();
    SetTabOrder();
    ShowDescription();
}

TGeToOrbPage::~TGeToOrbPage() = default;

void TGeToOrbPage::ConnectEvents() {
    connect(cbLoadGEFiles, &QComboBox::activated, this, [this] {
        if (ConfirmLeavingUnsaved()) {
            cbLoadGEFilesChange();
            return;
        }
        // Cancelled: the file whose waypoints the page shows stays chosen.
        const QSignalBlocker block(cbLoadGEFiles);
        cbLoadGEFiles->setCurrentIndex(cbLoadGEFiles->findText(Q(Model.KmlFileName), Qt::MatchExactly));
    });
    lbTesks->SetDrawItem([this](QPainter& p, int i, const QRect& r, bool s) { lbTesksDrawItem(p, i, r, s); });
    lbTargets->SetDrawItem(
        [this](QPainter& p, int i, const QRect& r, bool s) { lbTargetsDrawItem(p, i, r, s); });
    lbTesks->MakeDragSource();
    lbTargets->MakeDropTarget([this] { return lbTargetsDragOver(); },
                              [this](int tesk, int x, int y) { lbTargetsDragDrop(tesk, x, y); });
    lbTargets->SetKeyPress([this](int key) { return lbTargetsKeyPress(key); });
    lbTesks->SetKeyPress([this](int key) { return lbTesksKeyPress(key); });
    connect(btnRandomize, &QPushButton::clicked, this, [this] { btnRandomizeClick(); });
    connect(chbFlipAllCheckBoxes, &QCheckBox::clicked, this, [this] { chbFlipAllCheckBoxesClick(); });
    connect(chbPrecise, &QCheckBox::clicked, this, [this] { chbPreciseClick(); });
    connect(lbTesks, &QListWidget::currentRowChanged, this, [this] { ShowPrecise(); });
    connect(rbTimeLocal, &QRadioButton::clicked, this, [this] { rbTimeLocalClick(); });
    connect(rbTimeUTC, &QRadioButton::clicked, this, [this] { rbTimeLocalClick(); });
    connect(meOrbDate, &QLineEdit::textChanged, this, [this] { meOrbDateChange(); });
    connect(meOrbTime, &QLineEdit::textChanged, this, [this] { meOrbDateChange(); });
    connect(mOrbDescr, &QPlainTextEdit::textChanged, this, [this] {
        if (Showing) return;
        Model.Description.clear();
        const QString text = mOrbDescr->toPlainText();
        if (!text.isEmpty())
            for (const QString& line : text.split('\n'))
                Model.Description.push_back(S(line));
    });
    connect(cbActiveVessel, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!Showing) Model.SelectFocusAt(index);
    });
    // Typed (the user's edits only), or picked from the list: each runs the change once.
    connect(cbSaveOrbFiles->lineEdit(), &QLineEdit::textEdited, this, [this] {
        if (!Showing) cbSaveOrbFilesChange();
    });
    connect(cbSaveOrbFiles, &QComboBox::activated, this, [this] { cbSaveOrbFilesChange(); });
    connect(btnSaveOrbFile, &QPushButton::clicked, this, [this] { btnSaveOrbFileClick(); });
}

// ---- Source file and scenario list ----

void TGeToOrbPage::FillSourceFileList() {
    const zm::TGlobalOptions& options = Context.Options();
    {
        const QSignalBlocker block(cbLoadGEFiles);
        cbLoadGEFiles->clear();
        for (const std::string& name : options.SrcKmlFiles)
            cbLoadGEFiles->addItem(Q(name));
        cbLoadGEFiles->setCurrentIndex(-1);
    }
    ClearTargetingPage();
    const auto select = [this](const std::string& name) {
        if (name.empty() || cbLoadGEFiles->currentIndex() >= 0) return;
        const int index = cbLoadGEFiles->findText(Q(name), Qt::MatchFixedString); // letter case ignored
        if (index < 0) return;
        const QSignalBlocker block(cbLoadGEFiles);
        cbLoadGEFiles->setCurrentIndex(index);
        cbLoadGEFilesChange();
    };
    select(options.MRUSourceKmlFile);
    select(options.NewestSrcKmlFile);
}

void TGeToOrbPage::cbLoadGEFilesChange() {
    ClearTargetingPage();
    if (cbLoadGEFiles->currentIndex() >= 0) {
        const zm::TResult loaded =
            Model.LoadKml(Context.Options().SrcWptDir, S(cbLoadGEFiles->currentText()), zm::NowLocal());
        if (loaded.Code == zm::TResultCode::Failed)
            Context.Prompt().ShowError(this, Q(loaded.Message));
        else if (loaded.Ok())
            CreateRowControls();
    }
    FillScenarioFileList();
}

void TGeToOrbPage::FillScenarioFileList() {
    zm::FillScenarioFileList(Model, Context.Options().OrbScnDir, Context.Options().MRUEditedScnFile);
    ModelToGUI();
    ShowScenarioRead();
}

void TGeToOrbPage::cbSaveOrbFilesChange() {
    const std::string folder = Context.ScenarioFolder();
    const std::string name = S(cbSaveOrbFiles->currentText());
    if (zm::ScenarioNameReadsFile(folder, name) && Model.HasUnsavedChanges()) {
        // Reading the scenario back would replace the unsaved work: the name is taken, the file read only
        // when the user saves the work first (under this name, which reads back what was saved) or
        // discards it.
        Model.ScenarioFileName = name;
        Model.UpdateGEtoOrbWarnings();
        ModelToGUI();
        const TUnsavedChoice choice = Context.Prompt().AskSaveDiscardCancel(this, Q(UnsavedQuestion(name)));
        if (choice == TUnsavedChoice::Save) SaveScenario();
        if (choice != TUnsavedChoice::Discard) return;
    }
    zm::ScenarioNameChanged(Model, folder, name);
    ShowScenarioRead();
    ModelToGUI();
}

bool TGeToOrbPage::ConfirmLeavingUnsaved() {
    if (!Model.HasUnsavedChanges()) return true;
    switch (Context.Prompt().AskSaveDiscardCancel(this, Q(UnsavedQuestion(Model.ScenarioFileName)))) {
    case TUnsavedChoice::Save:
        return SaveScenario();
    case TUnsavedChoice::Discard:
        return true;
    case TUnsavedChoice::Cancel:
        break;
    }
    return false;
}

void TGeToOrbPage::ShowScenarioRead() {
    const zm::TScenarioReadResult& read = Model.ScenarioRead;
    if (!read.Ok()) {
        Context.Prompt().ShowError(this, Q(read.Message));
        return;
    }
    if (!read.Value.empty()) {
        QString text;
        for (const std::string& problem : read.Value)
            text += Q(problem) + "\n";
        Context.Prompt().ShowError(this, text.trimmed());
    }
}

void TGeToOrbPage::ClearTargetingPage() {
    FreeRowControls();
    Model.Clear(zm::NowLocal());
    ModelToGUI();
}

// ---- Rows of the missile list ----

void TGeToOrbPage::CreateRowControls() {
    FreeRowControls();
    const int h = TWaypointList::ItemHeight;
    const int top = lbTesks->y();
    const int rows = std::min<int>(static_cast<int>(Model.Waypoints.Tesks.size()), zm::MaxWaypointsPerKind);
    for (int i = 0; i < rows; ++i) {
        auto* delay = new QSpinBox(pnlTargeting);
        delay->setRange(0, zm::MaxLaunchDelay);
        delay->setSingleStep(1);
        delay->setGeometry(2, top + i * h, 20 + 15, h);
        delay->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
        delay->setFrame(false);
        auto* realistic = new QCheckBox(pnlTargeting);
        realistic->setToolTip("Realistic");
        realistic->move(2 + 20 + 15 + 5, top + i * h + 2);
        realistic->resize(15, realistic->sizeHint().height());
        connect(delay, &QSpinBox::valueChanged, this, [this, i](int value) {
            if (!Showing && i < static_cast<int>(Model.Waypoints.Tesks.size()))
                Model.Waypoints.Tesks[static_cast<size_t>(i)].SetDelay(value);
        });
        connect(realistic, &QCheckBox::toggled, this, [this, i](bool checked) {
            if (Showing) return;
            Model.SetRealistic(i, checked);
            ShowWarnings();
        });
        delay->show();
        realistic->show();
        RowControls.push_back({delay, realistic});
    }
    SetTabOrder();
}

void TGeToOrbPage::SetTabOrder() {
    std::vector<QWidget*> order{cbLoadGEFiles};
    for (const TRowControls& row : RowControls) {
        order.push_back(row.DelayUpDown);
        order.push_back(row.RealisticBox);
    }
    for (QWidget* w : std::initializer_list<QWidget*>{
             lbTesks, lbTargets, chbFlipAllCheckBoxes, btnRandomize, chbPrecise, mOrbDescr, cbActiveVessel,
             rbTimeLocal, rbTimeUTC, meOrbDate, meOrbTime, cbSaveOrbFiles, btnSaveOrbFile})
        order.push_back(w);
    for (size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void TGeToOrbPage::FreeRowControls() {
    for (const TRowControls& row : RowControls) {
        delete row.DelayUpDown;
        delete row.RealisticBox;
    }
    RowControls.clear();
}

// ---- Showing the model ----

void TGeToOrbPage::ModelToGUI() {
    Showing = true;
    ShowWaypoints();
    ShowDescription();
    ShowFocus();
    ShowDateTime();
    ShowScenarioName();
    ShowWarnings();
    DrawLinks();
    Showing = false;
}

void TGeToOrbPage::ShowWaypoints() {
    const auto fill = [](TWaypointList* list, const std::vector<QString>& names) {
        const int selected = list->currentRow();
        const QSignalBlocker block(list);
        if (list->count() != static_cast<int>(names.size())) {
            list->clear();
            for (const QString& name : names)
                list->addItem(name);
        } else {
            for (int i = 0; i < list->count(); ++i)
                list->item(i)->setText(names[static_cast<size_t>(i)]);
        }
        if (selected >= list->count()) list->setCurrentRow(-1);
        list->viewport()->update();
    };
    std::vector<QString> tesks, targets;
    for (const zm::TTesk& tesk : Model.Waypoints.Tesks)
        tesks.push_back(Q(tesk.Name));
    for (const zm::TTarget& target : Model.Waypoints.Targets)
        targets.push_back(Q(target.Name));
    fill(lbTesks, tesks);
    fill(lbTargets, targets);
    for (size_t i = 0; i < RowControls.size() && i < Model.Waypoints.Tesks.size(); ++i) {
        RowControls[i].DelayUpDown->setValue(Model.Waypoints.Tesks[i].Delay);
        RowControls[i].RealisticBox->setChecked(Model.Waypoints.Tesks[i].Realistic);
    }
    chbFlipAllCheckBoxes->setChecked(Model.FlipAllChecked);
    ShowPrecise();
    stGEDescr->setText(Q(Model.KmlDescription));
}

void TGeToOrbPage::ShowPrecise() {
    const int row = lbTesks->currentRow();
    const bool selected = row >= 0 && row < static_cast<int>(Model.Waypoints.Tesks.size());
    chbPrecise->setEnabled(selected);
    chbPrecise->setChecked(selected && Model.Waypoints.Tesks[static_cast<size_t>(row)].Precise);
}

void TGeToOrbPage::ShowDescription() {
    QStringList lines;
    for (const std::string& line : Model.Description)
        lines << Q(line);
    const QString text = lines.join('\n');
    if (mOrbDescr->toPlainText() != text) {
        const bool wasShowing = Showing;
        Showing = true;
        mOrbDescr->setPlainText(text);
        Showing = wasShowing;
    }
}

void TGeToOrbPage::ShowFocus() {
    cbActiveVessel->clear();
    for (const std::string& name : Model.FocusList)
        cbActiveVessel->addItem(Q(name));
    cbActiveVessel->setEnabled(Model.FocusEnabled());
    cbActiveVessel->setCurrentIndex(Model.FocusIndex);
}

void TGeToOrbPage::ShowDateTime() {
    OrbDateTimeToGUI();
}

void TGeToOrbPage::ShowScenarioName() {
    QStringList names;
    for (const std::string& name : Model.ScenarioFiles)
        names << Q(name);
    QStringList shown;
    for (int i = 0; i < cbSaveOrbFiles->count(); ++i)
        shown << cbSaveOrbFiles->itemText(i);
    if (shown != names) {
        cbSaveOrbFiles->clear();
        cbSaveOrbFiles->addItems(names);
    }
    const QString name = Q(Model.ScenarioFileName);
    const int index = cbSaveOrbFiles->findText(name, Qt::MatchExactly);
    if (cbSaveOrbFiles->currentIndex() != index) cbSaveOrbFiles->setCurrentIndex(index);
    if (cbSaveOrbFiles->currentText() != name)
        cbSaveOrbFiles->setEditText(name); // keeps the caret while typing
}

void TGeToOrbPage::ShowWarnings() {
    // Notes (launch sites left out) and advice (waypoints beyond the first ten, a model that falls short) are
    // shown with the warnings but leave the save button alone.
    const std::string shown =
        zm::BulletedLines(Model.Warnings) + zm::BulletedLines(Model.Notes) + zm::BulletedLines(Model.Advice);
    stGEtoOrbWarnings->setText(Q(shown));
    pnlGEtoOrbWarnings->setVisible(!shown.empty());
    btnSaveOrbFile->setEnabled(Model.SaveEnabled());
}

void TGeToOrbPage::DrawLinks() {
    QImage& canvas = imgLinks->Canvas();
    canvas.fill(palette().color(QPalette::Window));
    const std::vector<zm::TLink> links = Model.RecountLinks();
    QPainter painter(&canvas);
    painter.setPen(QPen(Qt::black, 1, Qt::SolidLine));
    const int hm = TWaypointList::ItemHeight, ht = TWaypointList::ItemHeight, w = canvas.width();
    for (const zm::TLink& link : links)
        painter.drawLine(3, link.Tesk * hm + hm / 2, w - 6, link.Target * ht + ht / 2);
    painter.end();
    imgLinks->update();
    lbTesks->viewport()->update();
    lbTargets->viewport()->update();
}

// ---- Owner-drawn lists and drag and drop ----

void TGeToOrbPage::DrawWaypointItem(QPainter& painter, const QString& text, bool linked, const QRect& rect,
                                    bool selected, const QWidget* list) {
    painter.fillRect(rect, linked ? LinkedColour : UnlinkedColour);
    QFont font = list->font();
    font.setBold(selected);
    painter.setFont(font);
    painter.setPen(list->palette().color(selected ? QPalette::HighlightedText : QPalette::Text));
    painter.drawText(rect.topLeft() + QPoint(2, QFontMetrics(font).ascent() + 1), text);
}

void TGeToOrbPage::lbTesksDrawItem(QPainter& painter, int index, const QRect& rect, bool selected) {
    if (index < 0 || index >= static_cast<int>(Model.Waypoints.Tesks.size())) return;
    const zm::TTesk& tesk = Model.Waypoints.Tesks[static_cast<size_t>(index)];
    DrawWaypointItem(painter, Q(tesk.Name), tesk.IsAssigned(), rect, selected, lbTesks);
}

void TGeToOrbPage::lbTargetsDrawItem(QPainter& painter, int index, const QRect& rect, bool selected) {
    if (index < 0 || index >= static_cast<int>(Model.Waypoints.Targets.size())) return;
    const zm::TTarget& target = Model.Waypoints.Targets[static_cast<size_t>(index)];
    DrawWaypointItem(painter, Q(target.Name), target.LinkCount > 0, rect, selected, lbTargets);
}

bool TGeToOrbPage::lbTargetsKeyPress(int key) {
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        // As a drop of the selected missile on the current target.
        if (lbTesks->currentRow() < 0 || lbTargets->currentRow() < 0) return true;
        Model.DropOnTarget(lbTesks->currentRow(), lbTargets->currentRow());
        ModelToGUI();
        return true;
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
        return lbTesksKeyPress(key);
    default:
        return false;
    }
}

bool TGeToOrbPage::lbTesksKeyPress(int key) {
    if (key != Qt::Key_Delete && key != Qt::Key_Backspace) return false;
    // As a drop of the selected missile below the last target.
    Model.DropOnTarget(lbTesks->currentRow(), -1);
    ModelToGUI();
    return true;
}

bool TGeToOrbPage::lbTargetsDragOver() {
    return true;
}

void TGeToOrbPage::lbTargetsDragDrop(int tesk, int x, int y) {
    const int target = lbTargets->ItemAtPoint(x, y);
    if (tesk < 0) return;
    Model.DropOnTarget(tesk, target);
    ModelToGUI();
}

// ---- Buttons ----

void TGeToOrbPage::btnRandomizeClick() {
    const zm::TRandomInt& random = Context.RandomSource();
    Model.Randomize(random ? random : zm::ClockSeededRandom());
    ModelToGUI();
}

void TGeToOrbPage::chbFlipAllCheckBoxesClick() {
    Model.SetAllRealistic(chbFlipAllCheckBoxes->isChecked());
    ModelToGUI();
}

void TGeToOrbPage::chbPreciseClick() {
    Model.SetPrecise(lbTesks->currentRow(), chbPrecise->isChecked());
    ShowWarnings();
}

// ---- Date and time ----

void TGeToOrbPage::OrbDateTimeToGUI() {
    UpdatingDateTime = true;
    Model.OrbDateTimeToGUI();
    rbTimeUTC->setChecked(Model.ShowUtc);
    rbTimeLocal->setChecked(!Model.ShowUtc);
    meOrbDate->setText(Q(Model.DateText));
    meOrbTime->setText(Q(Model.TimeText));
    UpdatingDateTime = false;
    ShowDateTimeValidity();
}

void TGeToOrbPage::DateTimeGUItoUTC() {
    if (UpdatingDateTime) return;
    Model.DateText = S(meOrbDate->text());
    Model.TimeText = S(meOrbTime->text());
    Model.DateTimeGUItoUTC(); // text that does not parse leaves the stored date as it was
    ShowDateTimeValidity();
}

void TGeToOrbPage::ShowDateTimeValidity() {
    // The stored date keeps its last valid value: a field that shows another one says so, and the warning
    // it adds keeps "Save!" from writing a date the user does not see.
    Model.UpdateGEtoOrbWarnings();
    ShowWarnings();
    double parsed = 0;
    MarkField(meOrbDate, zm::TryParseDate(Model.DateText, parsed), "Not a valid date");
    MarkField(meOrbTime, zm::TryParseTime(Model.TimeText, parsed), "Not a valid time");
}

void TGeToOrbPage::MarkField(QLineEdit* field, bool valid, const QString& why) {
    QPalette palette = field->palette();
    palette.setColor(QPalette::Text, valid ? this->palette().color(QPalette::Text) : InvalidColour);
    field->setPalette(palette);
    field->setToolTip(valid ? QString() : why);
}

void TGeToOrbPage::meOrbDateChange() {
    DateTimeGUItoUTC();
}

void TGeToOrbPage::rbTimeLocalClick() {
    Model.SetShowUtc(rbTimeUTC->isChecked());
    OrbDateTimeToGUI();
}

// ---- Saving ----

void TGeToOrbPage::btnSaveOrbFileClick() {
    SaveScenario();
}

bool TGeToOrbPage::SaveScenario() {
    DateTimeGUItoUTC();
    zm::TGlobalOptions& options = Context.Options();
    const std::string path = zm::ScenarioSavePath(Model, options.OrbScnDir);
    const zm::TConfirm confirm = [this, &path](const std::string& question) {
        return Context.Prompt().AskYesNo(this, Q(zm::QuestionNamingFile(question, path)));
    };
    const zm::TResult saved =
        zm::SaveLaunchScenario(Model, options.OrbScnDir, confirm, options.MRUEditedScnFile);
    if (saved.Code == zm::TResultCode::Failed || saved.Code == zm::TResultCode::Refused)
        Context.Prompt().ShowError(this, Q(saved.Message));
    ModelToGUI();
    return saved.Ok();
}
