#include "GuardedApplication.h"

#include "Prompt.h"

#include <cstdio>
#include <exception>

bool TGuardedApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        if (Prompt)
            Prompt->ShowError(activeWindow(), QString::fromLocal8Bit(error.what()));
        else
            std::fprintf(stderr, "%s\n", error.what());
    } catch (...) {
        if (Prompt) Prompt->ShowError(activeWindow(), "An unexpected error occurred.");
    }
    return false;
}
