// The wreck vessel: falls to the ground and stays there, keeps the flight's results and saves them.
#include "TeskiWreck.h"

#include "ScenarioLines.h"
#include "WreckBlock.h"

namespace {

// How long a wreck broken up in flight falls with the large cross sections of tumbling debris, s.
constexpr double FallPhaseSeconds = 13;

// Sends the wreck's lines to the host's scenario writers.
class HostScenarioWriter final : public WreckBlockWriter {
public:
    explicit HostScenarioWriter(FILEHANDLE scn) : scn_(scn) {}
    void WriteInt(const char* key, int value) override { WriteScenarioInt(scn_, key, value); }
    void WriteFloat(const char* key, double value) override { WriteScenarioFloat(scn_, key, value); }
    void WriteString(const char* key, const char* value) override { WriteScenarioString(scn_, key, value); }

private:
    FILEHANDLE scn_;
};

} // namespace

TeskiWreck::TeskiWreck(OBJHANDLE hVessel, int flightmodel) : VESSEL2(hVessel, flightmodel) {}

void TeskiWreck::clbkSaveState(FILEHANDLE scn) {
    SaveDefaultState(scn);
    HostScenarioWriter out(scn);
    WriteWreckBlock(FlightResult, FALLPHASE, out);
}

void TeskiWreck::clbkLoadStateEx(FILEHANDLE scn, void* status) {
    EffectStage = 2; // a loaded wreck shows its smoke without the flash
    char* line = nullptr;
    while (oapiReadScenario_nextline(scn, line)) {
        if (line == nullptr) continue;
        if (!ReadWreckBlockLine(line, FlightResult, FALLPHASE)) ParseScenarioLineEx(line, status);
    }
}

void TeskiWreck::clbkPreStep(double, double, double) {
    if (!SetupPending) return;
    // At the first step, not at construction: the missile has filled the record by now, a loaded block has
    // set the flags.
    StateSetup();
    SetupPending = false;
}

void TeskiWreck::clbkPostStep(double simt, double, double) {
    StepEffects(simt);
    if (FlightResult.LANDED != 0) return;
    if (FALLPHASE && simt - FallStartTime > FallPhaseSeconds) FlightSetup();
    if (GroundContact()) LandedSetup();
}

int TeskiWreck::clbkConsumeBufferedKey(DWORD, bool, char*) {
    return 0;
}

void TeskiWreck::StateSetup() {
    if (FlightResult.LANDED != 0)
        LandedSetup();
    else if (FALLPHASE)
        FallSetup();
    else
        FlightSetup();
}

void TeskiWreck::LandedSetup() {
    SetEmptyMass(LandedWreckEmptyMass);
    SetCW(LandedWreckDragCoefficient, LandedWreckDragCoefficient, LandedWreckDragCoefficient,
          LandedWreckDragCoefficient);

    // Put the wreck down where it is, heading 0; its resting place becomes the record's last position.
    double lon = 0, lat = 0, radius = 0;
    GetEquPos(lon, lat, radius);
    FlightResult.LONGITUDE_LAST = lon;
    FlightResult.LATITUDE_LAST = lat;
    VESSELSTATUS status;
    GetStatus(status);
    status.status = 1;
    status.vdata[0] = _V(lon, lat, 0);
    DefSetState(&status);

    FlightResult.LANDED = 1;
}

// The shape of debris in the air: light, high drag, no lift, weak aerodynamic moments.
static void DebrisAero(const TeskiWreck& w, double crossSection) {
    w.SetEmptyMass(1000);
    w.SetCW(1, 1, 1, 1);
    w.SetPMI(_V(1, 1, 1));
    w.SetRotDrag(_V(1, 1, 1));
    w.SetCrossSections(_V(crossSection, crossSection, crossSection));
    w.SetLiftCoeffFunc(nullptr);
    w.SetPitchMomentScale(0.0001);
    w.SetBankMomentScale(0.0001);
}

void TeskiWreck::FallSetup() {
    DebrisAero(*this, 20);
    FlightResult.LANDED = 0;
    FALLPHASE = true;
    FallStartTime = oapiGetSimTime();
}

void TeskiWreck::FlightSetup() {
    DebrisAero(*this, 2);
    FlightResult.LANDED = 0;
    FALLPHASE = false;
}
