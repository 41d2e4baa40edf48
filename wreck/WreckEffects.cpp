// The wreck's visual effects: a short flash where the missile ended, then smoke for the wreck's life. Each
// is a thruster without thrust that only carries a particle stream.
#include "TeskiWreck.h"

namespace {

constexpr double FlashSeconds = 1;
constexpr double EffectLevel = 0.1;

// Fields in the host's order: flags, source size and rate, emission velocity and its spread, lifetime, growth
// rate, atmospheric slow-down, lighting, level mapping and range, atmosphere mapping and range, texture.
PARTICLESTREAMSPEC FlashSpec() {
    return {0,
            1.0,
            0.5,
            0,
            0,
            2.0,
            400.0,
            0,
            PARTICLESTREAMSPEC::EMISSIVE,
            PARTICLESTREAMSPEC::LVL_FLAT,
            1.0,
            1.0,
            PARTICLESTREAMSPEC::ATM_FLAT,
            1.0,
            1.0,
            nullptr};
}

PARTICLESTREAMSPEC SmokeSpec() {
    return {0,
            1.0,
            10.0,
            0,
            0,
            2.0,
            20.0,
            5.0,
            PARTICLESTREAMSPEC::DIFFUSE,
            PARTICLESTREAMSPEC::LVL_PSQRT,
            0,
            0.5,
            PARTICLESTREAMSPEC::ATM_FLAT,
            1.22,
            1.25,
            nullptr};
}

} // namespace

THRUSTER_HANDLE TeskiWreck::CreateEffect(const VECTOR3& pos, PROPELLANT_HANDLE& resource,
                                         PARTICLESTREAMSPEC& spec) {
    resource = CreatePropellantResource(1, -1, 1);
    const THRUSTER_HANDLE th = CreateThruster(pos, _V(0, 0, -1), 0, resource, 1, 4.9e7, 101400);
    AddExhaustStream(th, _V(0, 0, 0), &spec);
    SetThrusterLevel(th, EffectLevel);
    return th;
}

void TeskiWreck::StepEffects(double simt) {
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
