// The end of a flight: the missile becomes a wreck that carries its results.
#include "WreckHandoff.h"

#include "Teski.h"
#include "TeskiWreck.h"

#include <cctype>
#include <cstdio>

namespace {

// Class names compare with letter case ignored, as the host's class lookup does.
bool SameClassName(const char* a, const char* b) {
    for (; *a != '\0' && *b != '\0'; ++a, ++b)
        if (std::tolower(static_cast<unsigned char>(*a)) != std::tolower(static_cast<unsigned char>(*b)))
            return false;
    return *a == *b;
}

// The wreck object behind a new vessel, or null when the host gave no interface or the object is not a
// wreck of this add-on (the host makes a plain vessel when the wreck module is missing): nothing may then
// be written through it.
TeskiWreck* WreckBehind(OBJHANDLE hWreck) {
    VESSEL* v = hWreck != nullptr ? oapiGetVesselInterface(hWreck) : nullptr;
    if (v == nullptr || v->Version() < 1) return nullptr;
    const char* cls = v->GetClassName();
    if (cls == nullptr || !SameClassName(cls, TeskiWreckClassName)) return nullptr;
    return static_cast<TeskiWreck*>(static_cast<VESSEL2*>(v));
}

} // namespace

void Teski::CreateWreck(bool groundImpact) {
    if (groundImpact) {
        SetCW(LandedWreckDragCoefficient, LandedWreckDragCoefficient, LandedWreckDragCoefficient,
              LandedWreckDragCoefficient);
        SetEmptyMass(LandedWreckEmptyMass);
    }
    double lon = 0, lat = 0, radius = 0;
    GetEquPos(lon, lat, radius);

    AppendFinalTrackPoint(*this, lon, lat, groundImpact ? 0.0 : radius - launchRadius);
    const HandoffFigures figures =
        ComputeHandoffFigures(launchLatitude, launchLongitude, targetLatitude, targetLongitude, headingIdeal,
                              lat, lon, launchRadius);

    char wreckName[WreckNameSize];
    MakeWreckName(GetName(), wreckName);

    // A ground impact lies down where it hit, heading 0; a break-up in the air flies on from the missile's
    // state.
    VESSELSTATUS status;
    GetStatus(status);
    if (groundImpact) {
        status.status = 1;
        status.vdata[0] = _V(lon, lat, 0);
    }
    const OBJHANDLE hWreck = oapiCreateVessel(wreckName, TeskiWreckClassName, status);
    if (TeskiWreck* wreck = WreckBehind(hWreck)) {
        FillFlightResult(wreck->FlightResult, *this, lon, lat, GetAirspeed(), figures, groundImpact);
    } else {
        // Without a wreck object the results cannot be kept; say so on the host's debug line.
        char line[256];
        std::snprintf(line, sizeof line, "%s: no wreck object for %s, flight results lost", GetName(),
                      wreckName);
        oapiDebugString(line);
    }

    if (hWreck != nullptr && oapiGetFocusObject() == GetHandle()) oapiSetFocusObject(hWreck);
    oapiDeleteVessel(GetHandle());
}
