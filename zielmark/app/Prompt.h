// The window's dialogs go through this interface, so tests can answer them instead of a person.
#pragma once
#include <QString>

class QWidget;

// The answer to a question about unsaved work.
enum class TUnsavedChoice { Save, Discard, Cancel };

class TPrompt {
public:
    virtual ~TPrompt() = default;
    // A confirmation question with Yes and No; true only for Yes.
    virtual bool AskYesNo(QWidget* parent, const QString& question) = 0;
    // Unsaved work is about to be thrown away: Save, Discard or Cancel (closing the dialog cancels).
    virtual TUnsavedChoice AskSaveDiscardCancel(QWidget* parent, const QString& question) = 0;
    // An error inside an event: shown, then the window goes on.
    virtual void ShowError(QWidget* parent, const QString& message) = 0;
    // A plain notice (for instance where the settings are kept).
    virtual void ShowInfo(QWidget* parent, const QString& message) = 0;
    // The folder chooser: the chosen folder's full path, or empty when cancelled.
    virtual QString BrowseForFolder(QWidget* parent, const QString& title, const QString& initialDir) = 0;
};

// The toolkit's own dialogs.
class TQtPrompt : public TPrompt {
public:
    bool AskYesNo(QWidget* parent, const QString& question) override;
    TUnsavedChoice AskSaveDiscardCancel(QWidget* parent, const QString& question) override;
    void ShowError(QWidget* parent, const QString& message) override;
    void ShowInfo(QWidget* parent, const QString& message) override;
    QString BrowseForFolder(QWidget* parent, const QString& title, const QString& initialDir) override;
};

// For the options that only look (--benchmark-startup, --screenshot), which run with nobody at the screen:
// messages go to the error output, every question is answered No (unsaved work: Discard, nothing is written)
// and no folder is chosen, so nothing waits.
class TUnattendedPrompt : public TPrompt {
public:
    bool AskYesNo(QWidget* parent, const QString& question) override;
    TUnsavedChoice AskSaveDiscardCancel(QWidget* parent, const QString& question) override;
    void ShowError(QWidget* parent, const QString& message) override;
    void ShowInfo(QWidget* parent, const QString& message) override;
    QString BrowseForFolder(QWidget* parent, const QString& title, const QString& initialDir) override;
};
