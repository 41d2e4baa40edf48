// The missile vessel Teski: one object per missile of the class, holding everything the missile knows
// (commanded target, launch record, flight track, failure state) and receiving the host's callbacks.
#pragma once

#include "FlightResult.h"
#include "GreatCircle.h"
#include "Orbitersdk.h"
#include "Random.h"

#include <cstdint>

// Fixed text sizes, terminator included.
inline constexpr int TargetNameSize = 52;  // at most 51 characters
inline constexpr int FailStringSize = 256; // at most 255 characters

struct FallBody;

class Teski final : public VESSEL2 {
public:
    Teski(OBJHANDLE hVessel, int flightmodel);

    // VESSEL2 callbacks, in the base's slot order.
    void clbkSetClassCaps(FILEHANDLE cfg) override;
    void clbkSaveState(FILEHANDLE scn) override;
    void clbkLoadStateEx(FILEHANDLE scn, void* status) override;
    void clbkPreStep(double simt, double simdt, double mjd) override;
    void clbkPostStep(double simt, double simdt, double mjd) override;
    int clbkConsumeBufferedKey(DWORD key, bool down, char* kstate) override;

    // Flight sequence.
    void StartCountdown();
    void StepCountdown();
    void Ignite();
    void SampleTrack();

    // Propulsion and aerodynamic configurations.
    void SetupSimpleControls();
    void SetupRealisticControls();
    void SetupSimpleAero();
    void SetupRealisticAero();
    void DescribeFall(FallBody& b) const; // the falling missile's drag and turning in the air
    void CutOffEngine();
    void ZeroControls();
    void UpdateContrail();

    // Autopilots and cut-off.
    void SimpleAutopilot();
    void RealisticAutopilot();
    void CaptureLaunchAttitude();
    void ComputeBurnTime();
    // The range of a drag-free fall from here, m, from the velocity gained since launch.
    double DragFreeRange();
    void BallisticCutoffTest();
    void TimedCutoffTest();
    void PreciseCutoffTest(double stepLength);
    void AimPrecise();
    double HeldHeadingOffset() const; // degrees the precise guidance adds to the held heading
    bool PredictImpact(double azimuth, double& along, double& cross);

    // Failures.
    void DrawFailure();
    bool FailureDue();
    void TriggerFailure();
    void FormatFailureText();

    // End of the flight: the missile becomes a wreck.
    void CreateWreck(bool groundImpact);

    // Keys.
    void ShowDynPressure();

    // --- state, in this order ---
    double targetLatitude = 0;  // degrees
    double targetLongitude = 0; // degrees
    char targetName[TargetNameSize] = {};
    THRUSTER_HANDLE thMain = nullptr;
    THRUSTER_HANDLE mainGroupList[1] = {}; // the main engine again: main group, exhaust, streams, contrail
    THGROUP_HANDLE thgBankLeft = nullptr;
    THGROUP_HANDLE thgBankRight = nullptr;
    THGROUP_HANDLE thgYawLeft = nullptr;
    THGROUP_HANDLE thgYawRight = nullptr;
    THGROUP_HANDLE thgLowerVaneYawLeft = nullptr;
    THGROUP_HANDLE thgLowerVaneYawRight = nullptr;
    THGROUP_HANDLE thgUpperVaneYawLeft = nullptr;
    THGROUP_HANDLE thgUpperVaneYawRight = nullptr;
    THGROUP_HANDLE thgLowerRudderYawLeft = nullptr;
    THGROUP_HANDLE thgLowerRudderYawRight = nullptr;
    THGROUP_HANDLE thgUpperRudderYawLeft = nullptr;
    THGROUP_HANDLE thgUpperRudderYawRight = nullptr;
    THGROUP_HANDLE thgPitchUp = nullptr;
    THGROUP_HANDLE thgPitchDown = nullptr;
    PSTREAM_HANDLE contrail = nullptr;
    bool countdownRunning = false;
    bool launched = false;
    bool ignitionCommanded = false;
    bool engineBurning = false;
    bool contrailActive = false;
    bool autopilot = true;
    bool realistic = true;
    double launchLongitude = 0;  // radians
    double launchLatitude = 0;   // radians
    double launchRadius = 0;     // m from the planet centre
    double headingIdeal = 0;     // degrees
    double headingRealistic = 0; // degrees
    double launchDelay = 0;      // s
    double range = 500000;       // m
    double met = 0;              // s since ignition
    double altitude = 0;         // m, read this step
    double maxAltitude = 0;      // m
    double launchMJD = 0;        // the host's modified Julian date of the first ignition; 0 before it
    double stepLength = 0;       // s, last powered step of the realistic model
    double pitchDemand = 0;
    double pitchDeflection = 0;
    double yawDemandUpper = 0;
    double yawDemandLower = 0;
    double yawDeflectionUpper = 0;
    double yawDeflectionLower = 0;
    double bankDemand = 0;
    double bankDeflection = 0;
    double metMeco = 0; // s
    VECTOR3 launchVelocity = {};
    VECTOR3 launchAttitudeCos = {}; // cos gamma, cos beta, cos alpha
    VECTOR3 launchAttitudeSin = {}; // sin gamma, sin beta, sin alpha
    double nextTrackTime = 0;       // s
    std::int32_t trackCount = 0;    // 0..MaxTrackPoints
    double trackLongitude[MaxTrackPoints] = {};
    double trackLatitude[MaxTrackPoints] = {};
    double trackAltitude[MaxTrackPoints] = {}; // m above launchRadius
    std::int32_t trackPhase[MaxTrackPoints] = {};
    double reliability = 75; // percent
    bool failureArmed = false;
    double failTime = 0;       // s
    std::int32_t failType = 0; // 0..3
    double failPressure = 0;   // Pa
    bool headingFixed = false;
    bool bankFixed = false;
    bool pitchFixed = false;
    double fixedHeading = 0; // degrees
    double fixedBank = 0;    // degrees
    double fixedPitch = 0;   // degrees
    char failString[FailStringSize] = {};
    double failValue = 0;
    std::int32_t failIdx1 = 0;
    std::int32_t failIdx2 = 0;
    // The precise cut-off (PRECISE key): off, the missile flies exactly as without it.
    bool precise = false;
    double preciseAim = 0;   // degrees: the heading to hold, the target's azimuth off by the rotation's drift
    double preciseTrim = 0;  // degrees the flight's own predictions add to preciseAim
    double preciseMet = -1;  // s: when the last precise prediction was made; < 0 none yet
    double preciseAlong = 0; // m: its impact along the track
    double preciseFree = 0;  // m: the drag-free range then
    double preciseFreeRate = 0;    // m/s: how fast the drag-free range grows
    bool preciseEveryStep = false; // near the target: a prediction every step
    bool preciseLettingGo = false; // the last steps: the controls let go until the cut-off
    bool preciseLastStep = false;  // the engine burns a share of this step and stops at its end
};
