#include "Prompt.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

bool TQtPrompt::AskYesNo(QWidget* parent, const QString& question) {
    return QMessageBox::question(parent, QApplication::applicationName(), question,
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == QMessageBox::Yes;
}

TUnsavedChoice TQtPrompt::AskSaveDiscardCancel(QWidget* parent, const QString& question) {
    const QMessageBox::StandardButton answer = QMessageBox::warning(
        parent, QApplication::applicationName(), question,
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (answer == QMessageBox::Save) return TUnsavedChoice::Save;
    if (answer == QMessageBox::Discard) return TUnsavedChoice::Discard;
    return TUnsavedChoice::Cancel;
}

void TQtPrompt::ShowError(QWidget* parent, const QString& message) {
    QMessageBox::critical(parent, QApplication::applicationName(), message);
}

void TQtPrompt::ShowInfo(QWidget* parent, const QString& message) {
    QMessageBox::information(parent, QApplication::applicationName(), message);
}

QString TQtPrompt::BrowseForFolder(QWidget* parent, const QString& title, const QString& initialDir) {
    // Only file-system folders; an empty answer means the user cancelled.
    return QFileDialog::getExistingDirectory(parent, title, initialDir, QFileDialog::ShowDirsOnly);
}
