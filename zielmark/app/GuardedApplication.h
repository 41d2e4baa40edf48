// The application object: an error that escapes an event handler is shown to the user, and the window goes
// on, instead of ending the program.
#pragma once
#include <QApplication>

class TPrompt;

class TGuardedApplication : public QApplication {
public:
    TGuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}
    void SetPrompt(TPrompt* prompt) { Prompt = prompt; }
    bool notify(QObject* receiver, QEvent* event) override;

private:
    TPrompt* Prompt = nullptr;
};
