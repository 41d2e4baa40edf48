// The module's entry points, the missile object's creation and its class set-up: body, main engine and
// exhaust. Attitude thrusters, aerodynamics and the mesh follow once the scenario state is known.
#define ORBITER_MODULE // the module exports its build date and links the module library's entry
#include "Teski.h"

#include <ctime>
#include <new>

namespace {

// The permanent exhaust stream at the nozzle.
PARTICLESTREAMSPEC exhaustStreamSpec = {
    0, 1, 25, 5, 0, 5, 20, 5, PARTICLESTREAMSPEC::DIFFUSE, PARTICLESTREAMSPEC::LVL_PSQRT, 0, 0.5,
    PARTICLESTREAMSPEC::ATM_PLOG, 1.22, 1.25, nullptr};

} // namespace

Teski::Teski(OBJHANDLE hVessel, int flightmodel) : VESSEL2(hVessel, flightmodel) {}

void Teski::clbkSetClassCaps(FILEHANDLE)
{
    SetSize(7);
    SetEmptyMass(4008);
    SetTouchdownPoints(_V(0, -1, -7.013), _V(-0.7, 0.7, -7.013), _V(0.7, 0.7, -7.013));
    SetPitchMomentScale(0.0001);
    SetBankMomentScale(0.0001);
    SetLiftCoeffFunc(nullptr);
    SetCameraOffset(_V(0, 1.512, 0));
    SetSurfaceFrictionCoeff(0.5, 0.5);

    PROPELLANT_HANDLE propellant = CreatePropellantResource(8797, -1, 1);
    thMain = CreateThruster(_V(0, 0, -6.613), _V(0, 0, 1), 315000, propellant, 2520, 2000, 101400);
    mainGroupList[0] = thMain;
    CreateThrusterGroup(mainGroupList, 1, THGROUP_MAIN);
    AddExhaust(mainGroupList[0], 6, 0.8, _V(0, 0, -8), _V(0, 0, -1));
    AddExhaustStream(mainGroupList[0], _V(0, 0, -6.613), &exhaustStreamSpec);
    // The other fields keep their initial values from construction: realistic model under autopilot,
    // 500 km, 75 % reliability, everything else zero.
}

// ---------------------------------------------------------------------------------------------------------
// Module entry points

DLLCLBK VESSEL *ovcInit(OBJHANDLE hvessel, int flightmodel)
{
    // Every creation re-seeds the module's one generator with the calendar time in whole seconds.
    SeedRandom(static_cast<unsigned>(std::time(nullptr)));
    return new (std::nothrow) Teski(hvessel, flightmodel);
}

DLLCLBK void ovcExit(VESSEL *vessel)
{
    // VESSEL has no virtual destructor: delete through the derived type.
    delete static_cast<Teski *>(vessel);
}

// Lets a test (or a tool) restart the generator's sequence after the missiles have been created.
DLLCLBK void TeskiSeedRandom(unsigned seed) { SeedRandom(seed); }
