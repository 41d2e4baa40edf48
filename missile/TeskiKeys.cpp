// Keys while a missile has the focus: O starts every missile's countdown, A switches the autopilot, D shows
// the dynamic pressure.
#include "Teski.h"

#include <cstdio>

namespace {

// Every missile of this module in the simulation, in the host's order.
void StartAllCountdowns() {
    const DWORD n = oapiGetVesselCount();
    for (DWORD i = 0; i < n; ++i) {
        VESSEL* v = oapiGetVesselInterface(oapiGetVesselByIndex(static_cast<int>(i)));
        if (!v || v->Version() < 1) continue; // no interface, or a plain vessel without callbacks
        if (Teski* missile = dynamic_cast<Teski*>(static_cast<VESSEL2*>(v))) missile->StartCountdown();
    }
}

} // namespace

int Teski::clbkConsumeBufferedKey(DWORD key, bool down, char* kstate) {
    if (!down) return 0;
    if (kstate && (KEYMOD_SHIFT(kstate) || KEYMOD_CONTROL(kstate))) return 0;
    switch (key) {
    case OAPI_KEY_O:
        StartAllCountdowns();
        return 1;
    case OAPI_KEY_A:
        if (autopilot) ZeroControls();
        autopilot = !autopilot;
        return 1;
    case OAPI_KEY_D:
        ShowDynPressure();
        return 0; // the host handles D as well
    default:
        return 0;
    }
}

void Teski::ShowDynPressure() {
    char* line = oapiDebugString();
    if (line) std::snprintf(line, 256, "Dtn: %f", GetDynPressure());
}
