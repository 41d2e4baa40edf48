// The main window: a fixed-size frame with three pages ("Folder Setup", "Google Earth to Orbiter",
// "Orbiter to Google Earth"), the shared settings object, and the folder page's events.
#pragma once
#include "PageContext.h"
#include "Unit_Targeting.h"

#include <QString>
#include <QWidget>

#include <memory>

class QLabel;
class QTabWidget;
class TDispersionPage;
class TGeToOrbPage;
class TOrbToGePage;
class TPrompt;
class TSetupPage;
namespace zm {
class TGlobalOptions;
}

class TDlgMain : public QWidget, public TPageContext {
public:
    // Page indices, as the settings store the active page.
    enum { PageSetup = 0, PageGeToOrb = 1, PageOrbToGE = 2, PageDispersion = 3 };

    // iniFileName: the settings file; prompt: the dialogs (the toolkit's, or a test's answers).
    TDlgMain(const QString& iniFileName, TPrompt& prompt);
    ~TDlgMain() override;

    // Window events.
    void FormShow();
    void FormCloseQuery();
    // Closes without saving anything: for runs that only look (pictures, the start-up figure), which must
    // leave the user's settings file as it was.
    void CloseWithoutSaving() { Closed = true; }

    // Folder page events and operations.
    void btnSrcWprDirBrowseClick();
    void btnOrbScnDirBrowseClick();
    void btnSaveGEDirBrowseClick();
    // "Refresh" and its key F5 on every page: reads the folders again, after asking about unsaved work.
    void btnGlobalWarningsRefreshClick();
    void BrowseDir(const QString& title, QLabel* label);
    void OptionsToGUI();
    // Copies the window's state into the settings and saves them; false (after an error dialog) when the
    // settings file cannot be written.
    bool GUItoOptions();
    // The copy alone, without saving the settings file.
    void CopyGUIToOptions();

    // What the pages get of the window.
    zm::TGlobalOptions& Options() override { return *OptionsPtr; }
    TPrompt& Prompt() override { return PromptRef; }
    std::string ScenarioFolder() const override;
    const zm::TRandomInt& RandomSource() const override { return Random; }

    bool HasOptions() const { return OptionsPtr != nullptr; }
    int SystemBiasMinutes = 0;
    // Randomize draws from it; seeded from the clock at the first show, replaceable by tests.
    zm::TRandomInt Random;

    QTabWidget* pcMain;
    TSetupPage* tabSetup;
    TGeToOrbPage* tabGeToOrb;
    TOrbToGePage* tabOrbToGE;
    TDispersionPage* tabDispersion; // a page of our own beyond the three

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // The window comes to the front: the results page looks whether its scenario has changed.
    void changeEvent(QEvent* event) override;

private:
    QString IniFileName;
    TPrompt& PromptRef;
    std::unique_ptr<zm::TGlobalOptions> OptionsPtr;
    bool Shown = false;
    bool Closed = false;
};

// The window's caption: the program's name and the missile type's name.
extern const char* const MainCaption;
