// Answers the window's dialogs in tests: queued Yes/No answers, queued answers about unsaved work, a folder
// for the chooser, and a record of every question and error shown.
#pragma once
#include "Prompt.h"

#include <QStringList>

#include <deque>
#include <functional>

class TScriptedPrompt : public TPrompt {
public:
    std::deque<bool> Answers; // Yes/No answers, in order; an unexpected question is answered No
    // Answers about unsaved work, in order; an unexpected question is answered Cancel.
    std::deque<TUnsavedChoice> UnsavedAnswers;
    QStringList UnsavedQuestions;
    QString Folder; // what the folder chooser returns (empty: cancelled)
    QStringList Questions;
    QStringList Errors;
    QStringList Infos;
    QStringList BrowseTitles;
    // Runs as a Yes/No question is asked, before it is answered (what else happens meanwhile).
    std::function<void(const QString& question)> WhileAsked;

    bool AskYesNo(QWidget*, const QString& question) override {
        Questions << question;
        if (WhileAsked) WhileAsked(question);
        if (Answers.empty()) return false;
        const bool answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
    TUnsavedChoice AskSaveDiscardCancel(QWidget*, const QString& question) override {
        UnsavedQuestions << question;
        if (UnsavedAnswers.empty()) return TUnsavedChoice::Cancel;
        const TUnsavedChoice answer = UnsavedAnswers.front();
        UnsavedAnswers.pop_front();
        return answer;
    }
    void ShowError(QWidget*, const QString& message) override { Errors << message; }
    void ShowInfo(QWidget*, const QString& message) override { Infos << message; }
    QString BrowseForFolder(QWidget*, const QString& title, const QString&) override {
        BrowseTitles << title;
        return Folder;
    }
};
