// Pictures of the main window's pages, for the manual and to check the layout by eye.
#pragma once
#include <QString>

class TDlgMain;

// Saves "setup.png", "targeting.png" and "results.png" (each page as the user sees it, tabs included) into
// folder. False when a picture cannot be written.
bool SavePageSnapshots(TDlgMain& window, const QString& folder);
