// What a page of the main window needs of the window, and no more: the settings, the dialogs and, for the
// planning page, the launch scenario folder the folder page shows and Randomize's generator. The window
// provides it, so a page never depends on the window or its other pages.
#pragma once
#include "Unit_Targeting.h"

#include <string>

class TPrompt;
namespace zm {
class TGlobalOptions;
}

class TPageContext {
public:
    virtual zm::TGlobalOptions& Options() = 0;
    virtual TPrompt& Prompt() = 0;
    // The launch scenario folder as the folder page shows it.
    virtual std::string ScenarioFolder() const = 0;
    // Randomize draws from it; empty until the window is first shown.
    virtual const zm::TRandomInt& RandomSource() const = 0;

protected:
    ~TPageContext() = default;
};
