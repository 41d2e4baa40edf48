// Default bodies of the VESSEL2 callbacks: what the host does for a module that does not override one.
#include "Orbitersdk.h"

VESSEL2::VESSEL2(OBJHANDLE hVessel, int fmodel) : VESSEL(hVessel, fmodel) {
    version = 1;
}

void VESSEL2::clbkSetClassCaps(FILEHANDLE) {}
void VESSEL2::clbkSaveState(FILEHANDLE scn) {
    SaveDefaultState(scn);
}
void VESSEL2::clbkLoadStateEx(FILEHANDLE scn, void* status) {
    char* line;
    while (oapiReadScenario_nextline(scn, line))
        ParseScenarioLineEx(line, status);
}
void VESSEL2::clbkSetStateEx(const void* status) {
    DefSetStateEx(status);
}
void VESSEL2::clbkPostCreation() {}
void VESSEL2::clbkFocusChanged(bool, OBJHANDLE, OBJHANDLE) {}
void VESSEL2::clbkPreStep(double, double, double) {}
void VESSEL2::clbkPostStep(double, double, double) {}
bool VESSEL2::clbkPlaybackEvent(double, double, const char*, const char*) {
    return false;
}
void VESSEL2::clbkVisualCreated(VISHANDLE, int) {}
void VESSEL2::clbkVisualDestroyed(VISHANDLE, int) {}
void VESSEL2::clbkDrawHUD(int, const HUDPAINTSPEC*, HDC) {}
void VESSEL2::clbkRCSMode(int) {}
void VESSEL2::clbkADCtrlMode(DWORD) {}
void VESSEL2::clbkHUDMode(int) {}
void VESSEL2::clbkMFDMode(int, int) {}
void VESSEL2::clbkNavMode(int, bool) {}
void VESSEL2::clbkDockEvent(int, OBJHANDLE) {}
void VESSEL2::clbkAnimate(double) {}
int VESSEL2::clbkConsumeDirectKey(char*) {
    return 0;
}
int VESSEL2::clbkConsumeBufferedKey(DWORD, bool, char*) {
    return 0;
}
bool VESSEL2::clbkLoadGenericCockpit() {
    return false;
}
bool VESSEL2::clbkLoadPanel(int) {
    return false;
}
bool VESSEL2::clbkPanelMouseEvent(int, int, int, int) {
    return false;
}
bool VESSEL2::clbkPanelRedrawEvent(int, int, SURFHANDLE) {
    return false;
}
bool VESSEL2::clbkLoadVC(int) {
    return false;
}
bool VESSEL2::clbkVCMouseEvent(int, int, VECTOR3&) {
    return false;
}
bool VESSEL2::clbkVCRedrawEvent(int, int, SURFHANDLE) {
    return false;
}
