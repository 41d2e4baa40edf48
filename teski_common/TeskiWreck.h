// The wreck vessel class TeskiWreck: what a missile turns into at the end of its flight. Both vessel modules
// build against this one definition: the missile module only writes FlightResult of a wreck the host has just
// created (and must reach it with static_cast, never dynamic_cast: the class's type information lives in the
// wreck module); the wreck module implements the methods.
#pragma once

#include "FlightResult.h"
#include "VesselClasses.h"
#include <Orbitersdk.h>

class TeskiWreck final : public VESSEL2 {
public:
    TeskiWreck(OBJHANDLE hVessel, int flightmodel);

    // VESSEL2 callbacks, in slot order. The class capabilities come from the host's configuration.
    void clbkSaveState(FILEHANDLE scn) override;
    void clbkLoadStateEx(FILEHANDLE scn, void* status) override;
    void clbkPreStep(double simt, double simdt, double mjd) override;
    void clbkPostStep(double simt, double simdt, double mjd) override;
    int clbkConsumeBufferedKey(DWORD key, bool down, char* kstate) override;

    // The physical states and their set-ups.
    void StateSetup();
    void LandedSetup();
    void FallSetup();
    void FlightSetup();
    // One effect stage action per post-step.
    void StepEffects(double simt);

    ::FlightResult FlightResult{}; // written by the missile at the hand-off, saved with every scenario
    bool SetupPending = true;      // the state set-up runs at the first step
    bool FALLPHASE = true;         // in the fall phase; a wreck broken up in flight starts falling
    double FallStartTime = 0;      // simulation time at which the fall phase began, s
    std::int32_t EffectStage = 0;  // 0 nothing yet, 1 flash, 2 flash over, 3 smoke
    double FlashEndTime = 0;       // simulation time at which the flash ends, s
    PROPELLANT_HANDLE flashResource = nullptr;
    THRUSTER_HANDLE flashThruster = nullptr;
    PROPELLANT_HANDLE smokeResource = nullptr;
    THRUSTER_HANDLE smokeThruster = nullptr;

private:
    THRUSTER_HANDLE CreateEffect(const VECTOR3& pos, PROPELLANT_HANDLE& resource, PARTICLESTREAMSPEC& spec);
};
