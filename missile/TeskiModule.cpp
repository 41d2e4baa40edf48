// The module's entry points, the missile object's creation and its class set-up: body, main engine and
// exhaust. Attitude thrusters, aerodynamics and the mesh follow once the scenario state is known.
#define ORBITER_MODULE // the module exports its build date and links the module library's entry
#include "Teski.h"

#include <ctime>
#include <new>

namespace {

// Body: overall size (radius, m), dry mass (kg), the three touchdown points (m, vessel frame; the pad under
// the tail), the legacy aerodynamic moment scales and the ground friction coefficients.
constexpr double BodySize = 7;     // m
constexpr double EmptyMass = 4008; // kg
constexpr double TailZ = -7.013;   // m, the touchdown plane
// The tripod under the tail: one point below (-y, the side the heading points to) and two to the sides
// above. They stand at equal distances around the centre of mass in both directions, so each spring carries
// a third of the weight and the missile stands upright: the simulator rests a vessel where the sunk points'
// plane is level, and with the side points at +0.7 instead of +0.5 it stood 6 degrees off vertical, leaning
// toward its target, and flew far short of it.
constexpr double TouchdownFront = -1;   // m, the point below
constexpr double TouchdownSpread = 0.7; // m, the two side points left and right
constexpr double TouchdownRear = 0.5;   // m, and up: -TouchdownFront / 2 balances the tripod
constexpr double MomentScale = 0.0001;
constexpr double FrictionCoeff = 0.5;  // along and across
constexpr double CameraHeight = 1.512; // m

// Propellant and main engine: fuel mass (kg), thrust (N), vacuum and sea-level specific impulse (m/s) at the
// reference pressure (Pa), nozzle position and the exhaust flame's size (m).
constexpr double PropellantMass = 8797;         // kg
constexpr double MainThrust = 315000;           // N
constexpr double IspVacuum = 2520;              // m/s
constexpr double IspSeaLevel = 2000;            // m/s
constexpr double IspReferencePressure = 101400; // Pa
constexpr double NozzleZ = -6.613;              // m
constexpr double FlameLength = 6;               // m
constexpr double FlameWidth = 0.8;              // m
constexpr double FlameZ = -8;                   // m, where the flame is drawn from

// The permanent exhaust stream at the nozzle: sizes in m, rates per s, speeds in m/s, lifetime in s.
PARTICLESTREAMSPEC exhaustStreamSpec = {.flags = 0,
                                        .srcsize = 1,
                                        .srcrate = 25,
                                        .v0 = 5,
                                        .srcspread = 0,
                                        .lifetime = 5,
                                        .growthrate = 20,
                                        .atmslowdown = 5,
                                        .ltype = PARTICLESTREAMSPEC::DIFFUSE,
                                        .levelmap = PARTICLESTREAMSPEC::LVL_PSQRT,
                                        .lmin = 0,
                                        .lmax = 0.5,
                                        .atmsmap = PARTICLESTREAMSPEC::ATM_PLOG,
                                        .amin = 1.22,
                                        .amax = 1.25,
                                        .tex = nullptr};

} // namespace

Teski::Teski(OBJHANDLE hVessel, int flightmodel) : VESSEL2(hVessel, flightmodel) {}

void Teski::clbkSetClassCaps(FILEHANDLE) {
    SetSize(BodySize);
    SetEmptyMass(EmptyMass);
    SetTouchdownPoints(_V(0, TouchdownFront, TailZ), _V(-TouchdownSpread, TouchdownRear, TailZ),
                       _V(TouchdownSpread, TouchdownRear, TailZ));
    SetPitchMomentScale(MomentScale);
    SetBankMomentScale(MomentScale);
    SetLiftCoeffFunc(nullptr);
    SetCameraOffset(_V(0, CameraHeight, 0));
    SetSurfaceFrictionCoeff(FrictionCoeff, FrictionCoeff);

    PROPELLANT_HANDLE propellant = CreatePropellantResource(PropellantMass, -1, 1);
    thMain = CreateThruster(_V(0, 0, NozzleZ), _V(0, 0, 1), MainThrust, propellant, IspVacuum, IspSeaLevel,
                            IspReferencePressure);
    mainGroupList[0] = thMain;
    CreateThrusterGroup(mainGroupList, 1, THGROUP_MAIN);
    AddExhaust(mainGroupList[0], FlameLength, FlameWidth, _V(0, 0, FlameZ), _V(0, 0, -1));
    AddExhaustStream(mainGroupList[0], _V(0, 0, NozzleZ), &exhaustStreamSpec);
    // The other fields keep their initial values from construction: realistic model under autopilot,
    // 500 km, 75 % reliability, everything else zero.
}

// ---------------------------------------------------------------------------------------------------------
// Module entry points

DLLCLBK VESSEL* ovcInit(OBJHANDLE hvessel, int flightmodel) {
    // Every creation re-seeds the module's one generator with the calendar time in whole seconds.
    SeedRandom(static_cast<unsigned>(std::time(nullptr)));
    return new (std::nothrow) Teski(hvessel, flightmodel);
}

DLLCLBK void ovcExit(VESSEL* vessel) {
    // The host's destructor is not the class's own: delete through the derived type (null deletes nothing).
    delete static_cast<Teski*>(vessel);
}

// Lets a test (or a tool) restart the generator's sequence after the missiles have been created.
DLLCLBK void TeskiSeedRandom(unsigned seed) {
    SeedRandom(seed);
}
