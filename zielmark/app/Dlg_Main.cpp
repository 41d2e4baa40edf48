#include "Dlg_Main.h"

#include "DispersionPage.h"
#include "Prompt.h"
#include "QtText.h"
#include "ResultsPage.h"
#include "SetupPage.h"
#include "TargetingPage.h"
#include "Unit_Files.h"
#include "Unit_Functions.h"
#include "Unit_GlobalOptions.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTabBar>
#include <QTabWidget>

const char* const MainCaption = "Zielmark - Teski";

TDlgMain::TDlgMain(const QString& iniFileName, TPrompt& prompt)
    : IniFileName(iniFileName), PromptRef(prompt) {
    setWindowTitle(MainCaption);
    setFixedSize(772, 640);
    pcMain = new QTabWidget(this);
    pcMain->setGeometry(0, 0, 772, 640);
    pcMain->setDocumentMode(true); // flat tabs
    tabSetup = new TSetupPage(pcMain);
    tabGeToOrb = new TGeToOrbPage(pcMain, *this);
    tabOrbToGE = new TOrbToGePage(pcMain, *this);
    pcMain->addTab(tabSetup, "Folder Setup");
    pcMain->addTab(tabGeToOrb, "Google Earth to Orbiter");
    pcMain->addTab(tabOrbToGE, "Orbiter to Google Earth");
    tabDispersion = new TDispersionPage(pcMain, PromptRef);
    pcMain->addTab(tabDispersion, "Dispersion");

    connect(tabSetup->btnSrcWprDirBrowse, &QPushButton::clicked, this, [this] { btnSrcWprDirBrowseClick(); });
    connect(tabSetup->btnOrbScnDirBrowse, &QPushButton::clicked, this, [this] { btnOrbScnDirBrowseClick(); });
    connect(tabSetup->btnSaveGEDirBrowse, &QPushButton::clicked, this, [this] { btnSaveGEDirBrowseClick(); });
    connect(tabSetup->btnGlobalWarningsRefresh, &QPushButton::clicked, this,
            [this] { btnGlobalWarningsRefreshClick(); });
    // The folders are read again at any time, not only while warnings show the button.
    auto* refresh = new QShortcut(QKeySequence(Qt::Key_F5), this);
    connect(refresh, &QShortcut::activated, this, [this] {
        if (OptionsPtr) btnGlobalWarningsRefreshClick();
    });
    connect(pcMain, &QTabWidget::currentChanged, this, [this](int index) {
        if (index == PageOrbToGE && OptionsPtr) tabOrbToGE->SourceMayHaveChanged();
    });
}

TDlgMain::~TDlgMain() = default;

void TDlgMain::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (Shown) return;
    Shown = true;
    FormShow();
}

void TDlgMain::closeEvent(QCloseEvent* event) {
    // Unsaved planning work is saved or given up first; a cancel keeps the window open.
    if (!Closed && OptionsPtr && !tabGeToOrb->ConfirmLeavingUnsaved()) {
        event->ignore();
        return;
    }
    FormCloseQuery();
    event->accept();
}

void TDlgMain::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && OptionsPtr && !Closed &&
        pcMain->currentIndex() == PageOrbToGE)
        tabOrbToGE->SourceMayHaveChanged();
}

void TDlgMain::FormShow() {
    if (!Random) Random = zm::ClockSeededRandom();
    SystemBiasMinutes = zm::SystemBiasMinutes();
    tabGeToOrb->Model.SystemBiasMinutes = SystemBiasMinutes;
    tabGeToOrb->Model.ZoneMinutes = SystemBiasMinutes;
    OptionsPtr = std::make_unique<zm::TGlobalOptions>();
    OptionsPtr->LoadFromIni(S(IniFileName));
    OptionsPtr->CheckFolders();
    OptionsToGUI();
}

void TDlgMain::FormCloseQuery() {
    if (Closed || !OptionsPtr) return;
    Closed = true;
    GUItoOptions();
    tabGeToOrb->ClearTargetingPage();
}

void TDlgMain::OptionsToGUI() {
    const zm::TGlobalOptions& options = Options();
    tabSetup->lblSrcWptDir->setText(Q(options.SrcWptDir));
    tabSetup->lblOrbScnDir->setText(Q(options.OrbScnDir));
    tabSetup->lblFltResDir->setText(Q(options.FltResDir));
    for (QLabel* label : {tabSetup->lblSrcWptDir, tabSetup->lblOrbScnDir, tabSetup->lblFltResDir})
        label->setToolTip(label->text());
    pcMain->setTabVisible(PageGeToOrb, options.GeToOrbEnabled);
    pcMain->setTabVisible(PageOrbToGE, options.OrbToGeEnabled);
    // Files the check had to skip (unreadable, not XML) are named below the warnings.
    if (options.HasWarnings || !options.FileProblems.empty()) {
        QString text;
        for (const std::string& line : options.Warnings)
            text += Q(line) + "\r\n";
        for (const std::string& line : options.FileProblems)
            text += Q(line) + "\r\n";
        tabSetup->stGlobalWarnings->setText(text);
        tabSetup->pnlGlobalWarnings->show();
    } else {
        tabSetup->pnlGlobalWarnings->hide();
    }
    const int active = options.ActiveMainTab;
    pcMain->setCurrentIndex(
        active >= 0 && active < pcMain->count() && pcMain->isTabVisible(active) ? active : PageSetup);
    tabGeToOrb->FillSourceFileList();
    tabOrbToGE->OrbResFilesToGUI();
}

void TDlgMain::CopyGUIToOptions() {
    zm::TGlobalOptions& options = Options();
    options.ActiveMainTab = pcMain->currentIndex();
    options.SrcWptDir = S(tabSetup->lblSrcWptDir->text());
    options.OrbScnDir = S(tabSetup->lblOrbScnDir->text());
    options.FltResDir = S(tabSetup->lblFltResDir->text());
    options.MRUSourceKmlFile = S(tabGeToOrb->cbLoadGEFiles->currentText());
    options.MRUEditedScnFile = S(tabGeToOrb->cbSaveOrbFiles->currentText());
}

bool TDlgMain::GUItoOptions() {
    CopyGUIToOptions();
    const zm::TResult saved = Options().SaveToIni();
    if (saved.Ok()) return true;
    Prompt().ShowError(this, Q(saved.Message));
    return false;
}

void TDlgMain::btnSrcWprDirBrowseClick() {
    BrowseDir("Google Earth waypoint files directory", tabSetup->lblSrcWptDir);
}

void TDlgMain::btnOrbScnDirBrowseClick() {
    BrowseDir("Orbiter Tesk scenario files directory", tabSetup->lblOrbScnDir);
}

void TDlgMain::btnSaveGEDirBrowseClick() {
    BrowseDir("Flight results files directory", tabSetup->lblFltResDir);
}

void TDlgMain::BrowseDir(const QString& title, QLabel* label) {
    const QString chosen = Prompt().BrowseForFolder(this, title, label->text());
    if (chosen.isEmpty()) return; // cancelled: nothing changes
    label->setText(Q(zm::IncludeTrailingPathDelimiter(S(chosen))));
    label->setToolTip(label->text());
    GUItoOptions();
}

std::string TDlgMain::ScenarioFolder() const {
    return S(tabSetup->lblOrbScnDir->text());
}

void TDlgMain::btnGlobalWarningsRefreshClick() {
    if (!tabGeToOrb->ConfirmLeavingUnsaved()) return; // the planning page is filled again
    // The page, the KML file and the scenario shown stay chosen where the folders still offer them.
    CopyGUIToOptions();
    Options().CheckFolders();
    OptionsToGUI();
}
