// Answers the window's dialogs in tests: queued Yes/No answers, a folder for the chooser, and a record of
// every question and error shown.
#pragma once
#include "Prompt.h"

#include <QStringList>

#include <deque>

class TScriptedPrompt : public TPrompt {
public:
    std::deque<bool> Answers; // Yes/No answers, in order; an unexpected question is answered No
    QString Folder;           // what the folder chooser returns (empty: cancelled)
    QStringList Questions;
    QStringList Errors;
    QStringList Infos;
    QStringList BrowseTitles;

    bool AskYesNo(QWidget*, const QString& question) override {
        Questions << question;
        if (Answers.empty()) return false;
        const bool answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
    void ShowError(QWidget*, const QString& message) override { Errors << message; }
    void ShowInfo(QWidget*, const QString& message) override { Infos << message; }
    QString BrowseForFolder(QWidget*, const QString& title, const QString&) override {
        BrowseTitles << title;
        return Folder;
    }
};
