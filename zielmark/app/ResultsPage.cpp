// The behaviour of the "Orbiter to Google Earth" page: choosing the source, reading its wrecks, showing the
// figures and the diagram, and saving the result KML and the scenario copy.
#include "ResultsPage.h"

#include "CanvasImage.h"
#include "PageContext.h"
#include "Prompt.h"
#include "QtText.h"
#include "Unit_DM.h"
#include "Unit_Files.h"
#include "Unit_Functions.h"
#include "Unit_GEFile.h"
#include "Unit_GEReplay.h"
#include "Unit_GlobalOptions.h"
#include "Unit_ImpactChart.h"

#include <optional>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

namespace {

QColor PenColour(zm::TChartColour colour) {
    switch (colour) {
    case zm::TChartColour::Blue:
        return Qt::blue;
    case zm::TChartColour::Red:
        return Qt::red;
    case zm::TChartColour::Black:
        break;
    }
    return Qt::black;
}

void SelectEntry(QComboBox* combo, const std::string& text) {
    combo->setCurrentIndex(combo->findText(Q(text), Qt::MatchExactly));
    if (combo->currentIndex() < 0 && combo->isEditable()) combo->setEditText(QString());
}

} // namespace

TOrbToGePage::TOrbToGePage(QWidget* parent, TPageContext& context) : QWidget(parent), Context(context) {
    BuildControls();
    ConnectEvents();
}

void TOrbToGePage::ConnectEvents() {
    connect(rbNewOrbResFile, &QRadioButton::clicked, this, [this] { rbNewOrbResFileClick(); });
    connect(rbSavedOrbResFile, &QRadioButton::clicked, this, [this] { rbNewOrbResFileClick(); });
    connect(cbSavedOrbResFiles, &QComboBox::activated, this, [this] { cbSavedOrbResFilesChange(); });
    connect(lbOrbResults, &QListWidget::itemSelectionChanged, this, [this] {
        if (!FillingSource) lbOrbResultsClick();
    });
    connect(cbResultFiles, &QComboBox::activated, this, [this] { cbResultFilesChange(); });
    connect(cbResultFiles->lineEdit(), &QLineEdit::textEdited, this, [this] { cbResultFilesChange(); });
    connect(btnSaveGEFile, &QPushButton::clicked, this, [this] { btnSaveGEFileClick(); });
}

zm::TResultSourceInputs TOrbToGePage::SourceInputs() const {
    return zm::ResultSourceInputsOf(Context.Options());
}

void TOrbToGePage::OrbResFilesToGUI() {
    const zm::TResultSource source = zm::ChooseResultSource(SourceInputs());
    {
        const QSignalBlocker blockSaved(cbSavedOrbResFiles);
        cbSavedOrbResFiles->clear();
        for (const std::string& name : source.SavedFiles)
            cbSavedOrbResFiles->addItem(Q(name));
        cbSavedOrbResFiles->setCurrentIndex(source.SavedSelected);
    }
    rbNewOrbResFile->setEnabled(source.RecentEnabled);
    rbSavedOrbResFile->setEnabled(source.PreviousEnabled);
    // The two buttons form an exclusive group, which would refuse to leave both unchecked.
    rbNewOrbResFile->setAutoExclusive(false);
    rbSavedOrbResFile->setAutoExclusive(false);
    rbNewOrbResFile->setChecked(source.RecentChecked);
    rbSavedOrbResFile->setChecked(source.PreviousChecked);
    rbNewOrbResFile->setAutoExclusive(true);
    rbSavedOrbResFile->setAutoExclusive(true);
    UpdateSaveGEFileButton();
    rbNewOrbResFileClick();
}

void TOrbToGePage::rbNewOrbResFileClick() {
    lblCurrentState->setEnabled(rbNewOrbResFile->isChecked());
    cbSavedOrbResFiles->setEnabled(rbSavedOrbResFile->isChecked());
    if (rbNewOrbResFile->isChecked())
        LoadOrbResults(Context.Options().CurrentStateFile);
    else
        cbSavedOrbResFilesChange();
}

void TOrbToGePage::cbSavedOrbResFilesChange() {
    LoadOrbResults(Context.Options().FltResDir + S(cbSavedOrbResFiles->currentText()));
}

void TOrbToGePage::LoadOrbResults(const std::string& path) {
    zm::TFileStamp stamp = zm::FileStampOf(path);
    std::string bytes;
    zm::TResult read;
    // A file the folder check read and that has not changed since is shown from that read.
    if (std::optional<zm::TResultScenarioRead> kept = Context.Options().ResultReads.Take(path, stamp)) {
        OrbResults = std::move(kept->Results);
        bytes = std::move(kept->Bytes);
        read = std::move(kept->Outcome);
    } else {
        read = zm::LoadOrbResults(path, OrbResults, &bytes);
    }
    if (read.Code == zm::TResultCode::Missing) {
        // Nothing to read. A source that has gone missing keeps what was read of it; the wrecks of another
        // source are never shown under this one.
        if (path == Shown.Path && Shown.Read) return;
        OrbResults = {};
        Shown = {path, std::string(), stamp, false};
        ShowWreckList();
        lbOrbResultsClick();
        return;
    }
    Shown = {path, std::move(bytes), stamp, false};
    Shown.Read = read.Ok() || !Shown.Bytes.empty();
    ShowWreckList();
    if (!read.Ok()) {
        // The wrecks read before the bad line stay listed; the figures keep what they showed.
        Context.Prompt().ShowError(this, Q(read.Message));
        return;
    }
    FillResultFiles();
    lbOrbResultsClick();
}

bool TOrbToGePage::SourceChanged() {
    if (Shown.Path.empty()) return false;
    const zm::TFileStamp stamp = zm::FileStampOf(Shown.Path);
    // Unchanged, or gone (what was read of it stays shown, and is what a save writes).
    if (stamp == Shown.Stamp || !stamp.Exists) return false;
    std::string bytes;
    if (zm::ReadWholeFile(Shown.Path, bytes).Ok() && Shown.Read && bytes == Shown.Bytes) {
        Shown.Stamp = stamp; // saved again with the same content
        return false;
    }
    return true;
}

void TOrbToGePage::SourceMayHaveChanged() {
    if (SourceChanged()) LoadOrbResults(Shown.Path);
}

void TOrbToGePage::ShowWreckList() {
    FillingSource = true;
    lbOrbResults->clear();
    for (const zm::TTeskWreck& wreck : OrbResults.Wrecks) {
        auto* item = new QListWidgetItem(Q(wreck.Caption()), lbOrbResults);
        item->setSizeHint(QSize(item->sizeHint().width(), 13));
    }
    lbOrbResults->setCurrentRow(OrbResults.Selected);
    FillingSource = false;
}

void TOrbToGePage::lbOrbResultsClick() {
    OrbResults.Selected = lbOrbResults->currentRow();
    for (QLabel* label : {lblLaunchAz, lblPlannedRange, lblActualRange, lblRangeMiss, lblLongitudalMiss,
                          lblLateralMiss, lblFailure})
        label->clear();
    imgChart->Fill(Qt::white);
    const zm::TTeskWreck* wreck = OrbResults.SelectedWreck();
    if (!wreck) return;
    const zm::TResultFigures figures = zm::ResultFigures(*wreck);
    lblLaunchAz->setText(Q(figures.LaunchAz));
    lblPlannedRange->setText(Q(figures.PlannedRange));
    lblActualRange->setText(Q(figures.ActualRange));
    lblRangeMiss->setText(Q(figures.RangeMiss));
    lblLongitudalMiss->setText(Q(figures.LongitudalMiss));
    lblLateralMiss->setText(Q(figures.LateralMiss));
    lblFailure->setText(Q(figures.Failure));
    DrawChart(*wreck);
}

void TOrbToGePage::DrawChart(const zm::TTeskWreck& wreck) {
    QImage& canvas = imgChart->Canvas();
    const QFontMetrics metrics(imgChart->font());
    const zm::TTextMeasure measure = [&metrics](const std::string& text) {
        const QString q = Q(text);
        return zm::TTextSize{metrics.horizontalAdvance(q), metrics.height()};
    };
    const zm::TImpactChart chart = zm::BuildImpactChart(wreck, measure, canvas.width(), canvas.height());
    if (!chart.HasScale) return; // no miss to scale by: the figures stand, the diagram stays white
    QPainter painter(&canvas);
    painter.setBrush(Qt::white);
    const auto drawLine = [&painter](const zm::TChartLine& line) {
        painter.setPen(QPen(PenColour(line.Pen), 1));
        painter.drawLine(line.From.X, line.From.Y, line.To.X, line.To.Y);
    };
    for (const zm::TChartLine& line : chart.Lines)
        drawLine(line);
    // The labels before the marks: an opaque label never hides the target, the impact or the foot point.
    painter.setFont(imgChart->font());
    for (const zm::TChartLabel& label : chart.Labels) {
        const QString text = Q(label.Text);
        painter.fillRect(label.TopLeft.X, label.TopLeft.Y, metrics.horizontalAdvance(text), metrics.height(),
                         Qt::white);
        painter.setPen(Qt::black);
        painter.drawText(label.TopLeft.X, label.TopLeft.Y + metrics.ascent(), text);
    }
    for (const zm::TChartCircle& circle : chart.Circles) {
        painter.setPen(QPen(PenColour(circle.Pen), 1));
        const int r = zm::TChartCircle::Radius;
        // The box runs from centre - r up to, not including, centre + r: a circle 2r pixels across.
        painter.drawEllipse(circle.Center.X - r, circle.Center.Y - r, 2 * r, 2 * r);
    }
    for (const zm::TChartLine& line : chart.Arrow)
        drawLine(line);
    painter.end();
    imgChart->update();
}

void TOrbToGePage::FillResultFiles() {
    {
        const QSignalBlocker block(cbResultFiles);
        cbResultFiles->clear();
        for (const std::string& name : zm::ListResultNames(Context.Options().FltResDir))
            cbResultFiles->addItem(Q(name));
        cbResultFiles->setCurrentIndex(-1);
        cbResultFiles->setEditText(QString());
    }
    // "Save!" follows the name shown, also when the program empties the box: an empty name saves a hidden
    // ".kml".
    UpdateSaveGEFileButton();
}

void TOrbToGePage::UpdateSaveGEFileButton() {
    btnSaveGEFile->setEnabled(zm::IsValidSaveName(S(cbResultFiles->currentText())));
}

void TOrbToGePage::cbResultFilesChange() {
    UpdateSaveGEFileButton();
}

void TOrbToGePage::btnSaveGEFileClick() {
    const QString typed = cbResultFiles->currentText();
    if (!zm::IsValidSaveName(S(typed))) return; // the button is disabled then
    zm::TGlobalOptions& options = Context.Options();
    if (SourceChanged()) {
        // A newer firing was saved since the page read its scenario: the page shows it first, so that what
        // is saved is what the user has seen.
        LoadOrbResults(Shown.Path);
        Context.Prompt().ShowInfo(this, Q("\"" + Shown.Path +
                                          "\" has changed since it was read; the page now shows it as it "
                                          "is. Press \"Save!\" again to save it."));
        cbResultFiles->setEditText(typed);
        UpdateSaveGEFileButton();
        return;
    }
    const std::string name = zm::ChangeFileExt(S(typed), ".kml");
    const std::string path = options.FltResDir + name;
    const std::string kmlQuestion = zm::QuestionNamingFile(zm::GEFileQuestion(zm::FileExists(path)), path);
    bool failed = false;
    if (Context.Prompt().AskYesNo(this, Q(kmlQuestion))) {
        const zm::TResult written = zm::WriteGEFile(options.FltResDir, name, OrbResults.Wrecks);
        if (!written.Ok()) Context.Prompt().ShowError(this, Q(written.Message));
        failed = !written.Ok();
    }
    if (chbSaveReplay->isChecked()) failed = !SaveReplay(name) || failed;
    if (rbNewOrbResFile->isChecked()) {
        const std::string copyPath = options.FltResDir + zm::ChangeFileExt(name, ".scn");
        const std::string question = zm::ScenarioCopyQuestion(zm::FileExists(copyPath));
        if (Context.Prompt().AskYesNo(this, Q(zm::QuestionNamingFile(question, copyPath)))) {
            // The copy is made of the bytes the wrecks were read from, so that the KML file and the copy
            // describe the same firing. A failed copy is reported too: the user would otherwise believe the
            // scenario kept.
            const zm::TResult copied =
                Shown.Read
                    ? zm::WriteFileAtomic(copyPath, Shown.Bytes)
                    : zm::TResult::Failure("\"" + Shown.Path + "\" could not be read; no copy is made");
            if (!copied.Ok()) Context.Prompt().ShowError(this, Q(copied.Message));
            failed = failed || !copied.Ok();
        }
    }
    ShowSavedCopies(S(cbSavedOrbResFiles->currentText()));
    FillResultFiles();
    {
        const QSignalBlocker block(cbResultFiles);
        SelectEntry(cbResultFiles, zm::ResultNameOf(name));
        // A save that did not happen keeps the name the user typed, to correct or try again.
        if (cbResultFiles->currentIndex() < 0 || failed) cbResultFiles->setEditText(typed);
    }
    UpdateSaveGEFileButton();
}

bool TOrbToGePage::SaveReplay(const std::string& kmlName) {
    const std::string& dir = Context.Options().FltResDir;
    const std::string name = zm::ReplayFileName(kmlName);
    const std::string question = zm::FileExists(dir + name)
                                     ? "Google Earth replay file already exists. Overwrite?"
                                     : "Create new Google Earth replay file?";
    if (!Context.Prompt().AskYesNo(this, Q(zm::QuestionNamingFile(question, dir + name)))) return true;
    const zm::TResultOf<std::vector<std::string>> written = zm::WriteGEReplay(dir, name, OrbResults.Wrecks);
    if (!written.Ok()) {
        Context.Prompt().ShowError(this, Q(written.Message));
        return false;
    }
    // Wrecks saved without their launch date cannot be placed in time: the user learns which, and why.
    if (!written.Value.empty()) {
        std::string text = "The replay \"" + dir + name + "\" leaves out:";
        for (const std::string& note : written.Value)
            text += "\n- " + note;
        Context.Prompt().ShowInfo(this, Q(text));
    }
    return true;
}

void TOrbToGePage::ShowSavedCopies(const std::string& remembered) {
    zm::TGlobalOptions& options = Context.Options();
    options.ListFltResScnFiles();
    {
        const QSignalBlocker block(cbSavedOrbResFiles);
        cbSavedOrbResFiles->clear();
        for (const std::string& saved : options.FltResScnFiles)
            cbSavedOrbResFiles->addItem(Q(saved));
        SelectEntry(cbSavedOrbResFiles, remembered);
        // As at the start: the newest copy waits preselected when none was chosen.
        if (cbSavedOrbResFiles->currentIndex() < 0 && cbSavedOrbResFiles->count() > 0) {
            const int newest = cbSavedOrbResFiles->findText(Q(options.NewestFltResScnFile), Qt::MatchExactly);
            cbSavedOrbResFiles->setCurrentIndex(std::max(newest, 0));
        }
    }
    // "Previous flights" is offered exactly while there is a copy to choose.
    rbSavedOrbResFile->setEnabled(cbSavedOrbResFiles->count() > 0);
}
