// The missile's sequencer, run once per simulation step: countdown, ignition, mission time, track,
// guidance hand-over, engine-out detection, failures, and the end of the flight at ground contact.
#include "Angles.h"
#include "ControlLaws.h"
#include "Teski.h"

void Teski::clbkPostStep(double, double simdt, double) {
    if (!launched) {
        if (countdownRunning)
            StepCountdown();
        else if (ignitionCommanded || GetEngineLevel(ENGINE_MAIN) > 0.1)
            Ignite();
        return;
    }

    // Ground contact ends the flight, but not in the first seconds on the pad.
    if (GroundContact() && met > 3.0) {
        CreateWreck(true);
        return;
    }
    met += simdt;
    altitude = GetAltitude();
    if (altitude > maxAltitude) maxAltitude = altitude;
    if (met >= nextTrackTime && trackCount < MaxTrackPoints) SampleTrack();

    if (engineBurning) {
        if (GetEngineLevel(ENGINE_MAIN) == 0.0) {
            CutOffEngine();
            return; // no failure test in this step
        }
        if (realistic) {
            stepLength = simdt;
            if (autopilot) RealisticAutopilot();
        } else if (autopilot) {
            SimpleAutopilot();
        }
        UpdateContrail();
    } else if (GetEngineLevel(ENGINE_MAIN) > 0.1) {
        Ignite(); // a re-ignition after a cut-off
    }

    if (failureArmed && FailureDue()) TriggerFailure();
}

// The precise cut-off decides before the step, where the host shows the state as it stands: after the step a
// module sees the position, velocity and rotation of the step's start, one step behind what the engine did.
void Teski::clbkPreStep(double, double simdt, double) {
    if (precise && engineBurning && autopilot && met >= AutopilotStartTime) PreciseCutoffTest(simdt);
}

void Teski::StartCountdown() {
    if (!launched) countdownRunning = true;
}

void Teski::StepCountdown() {
    launchDelay -= oapiGetSimStep();
    if (launchDelay < 0) {
        countdownRunning = false;
        ignitionCommanded = true;
    }
}

void Teski::Ignite() {
    if (!launched) {
        ignitionCommanded = false;
        launched = true;
        launchMJD = oapiGetSimMJD(); // the wreck keeps it, so a replay knows when each flight began
        CaptureLaunchAttitude();
        VESSELSTATUS vs{};
        GetStatus(vs);
        launchVelocity = vs.rvel;
        GetEquPos(launchLongitude, launchLatitude, launchRadius);
        double heading = 0;
        oapiGetHeading(GetHandle(), &heading);
        headingIdeal = heading / TeskiPi * 180.0;
        headingRealistic = headingIdeal;
        if (targetLatitude == 0.0 || targetLongitude == 0.0) {
            double lat = 0, lon = 0;
            PointAtRange(launchLatitude, launchLongitude, range, headingIdeal, launchRadius, lat, lon);
            targetLatitude = lat * 180.0 / TeskiPi;
            targetLongitude = lon * 180.0 / TeskiPi;
        }
        if (realistic) headingRealistic += RandomRange(-0.25, 0.5);
        if (precise) AimPrecise();
    }
    engineBurning = true;
    if (autopilot) SetThrusterLevel(thMain, 1);
    DrawFailure();
}

void Teski::SampleTrack() {
    const int n = trackCount;
    if (n < 0 || n >= MaxTrackPoints) return;
    nextTrackTime = met + 1;
    double radius = 0;
    GetEquPos(trackLongitude[n], trackLatitude[n], radius);
    trackAltitude[n] = radius - launchRadius;
    trackPhase[n] =
        contrailActive ? TrackPhaseContrail : (engineBurning ? TrackPhaseBurning : TrackPhaseEngineOff);
    trackCount = n + 1;
}
