// The wreck's visual effects: a short flash where the missile ended, then smoke for the wreck's life. Each
// is a thruster without thrust that only carries a particle stream.
#include "TeskiWreck.h"

namespace {

constexpr double FlashSeconds = 1;
constexpr double EffectLevel = 0.1;

PARTICLESTREAMSPEC FlashSpec()
{
    PARTICLESTREAMSPEC s{};
    s.flags = 0;
    s.srcsize = 1.0;
    s.srcrate = 0.5;
    s.v0 = 0;
    s.srcspread = 0;
    s.lifetime = 2.0;
    s.growthrate = 400.0;
    s.atmslowdown = 0;
    s.ltype = PARTICLESTREAMSPEC::EMISSIVE;
    s.levelmap = PARTICLESTREAMSPEC::LVL_FLAT;
    s.lmin = 1.0;
    s.lmax = 1.0;
    s.atmsmap = PARTICLESTREAMSPEC::ATM_FLAT;
    s.amin = 1.0;
    s.amax = 1.0;
    s.tex = nullptr;
    return s;
}

PARTICLESTREAMSPEC SmokeSpec()
{
    PARTICLESTREAMSPEC s{};
    s.flags = 0;
    s.srcsize = 1.0;
    s.srcrate = 10.0;
    s.v0 = 0;
    s.srcspread = 0;
    s.lifetime = 2.0;
    s.growthrate = 20.0;
    s.atmslowdown = 5.0;
    s.ltype = PARTICLESTREAMSPEC::DIFFUSE;
    s.levelmap = PARTICLESTREAMSPEC::LVL_PSQRT;
    s.lmin = 0;
    s.lmax = 0.5;
    s.atmsmap = PARTICLESTREAMSPEC::ATM_FLAT;
    s.amin = 1.22;
    s.amax = 1.25;
    s.tex = nullptr;
    return s;
}

} // namespace

THRUSTER_HANDLE TeskiWreck::CreateEffect(const VECTOR3 &pos, PROPELLANT_HANDLE &resource, PARTICLESTREAMSPEC &spec)
{
    resource = CreatePropellantResource(1, -1, 1);
    const THRUSTER_HANDLE th = CreateThruster(pos, _V(0, 0, -1), 0, resource, 1, 4.9e7, 101400);
    AddExhaustStream(th, _V(0, 0, 0), &spec);
    SetThrusterLevel(th, EffectLevel);
    return th;
}

void TeskiWreck::StepEffects(double simt)
{
    switch (EffectStage) {
    case 0: {
        PARTICLESTREAMSPEC flash = FlashSpec();
        flashThruster = CreateEffect(_V(0, 0, 0.5), flashResource, flash);
        FlashEndTime = oapiGetSimTime() + FlashSeconds;
        EffectStage = 1;
        break;
    }
    case 1:
        if (FlashEndTime < simt) {
            SetThrusterLevel(flashThruster, 0);
            EffectStage = 2;
        }
        break;
    case 2: {
        PARTICLESTREAMSPEC smoke = SmokeSpec();
        smokeThruster = CreateEffect(_V(0, 0, 0), smokeResource, smoke);
        EffectStage = 3;
        break;
    }
    default: // 3: the smoke stays for the wreck's life
        break;
    }
}
