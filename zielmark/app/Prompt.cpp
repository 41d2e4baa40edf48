#include "Prompt.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

#include <cstdio>

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

bool TUnattendedPrompt::AskYesNo(QWidget*, const QString& question) {
    std::fprintf(stderr, "Zielmark: %s No\n", qPrintable(question));
    return false;
}

TUnsavedChoice TUnattendedPrompt::AskSaveDiscardCancel(QWidget*, const QString& question) {
    std::fprintf(stderr, "Zielmark: %s Discard\n", qPrintable(question));
    return TUnsavedChoice::Discard;
}

void TUnattendedPrompt::ShowError(QWidget*, const QString& message) {
    std::fprintf(stderr, "Zielmark: %s\n", qPrintable(message));
}

void TUnattendedPrompt::ShowInfo(QWidget*, const QString& message) {
    std::fprintf(stderr, "Zielmark: %s\n", qPrintable(message));
}

QString TUnattendedPrompt::BrowseForFolder(QWidget*, const QString&, const QString&) {
    return {};
}
