// The two autopilots and the two engine cut-off tests, and the launch record they steer by.
#include "Angles.h"
#include "ControlLaws.h"
#include "Cutoff.h"
#include "Teski.h"

#include <cmath>

namespace {

// Host groups take any level; the other model's groups are empty and skipped.
void SetLevel(const Teski& t, THGROUP_HANDLE group, double level) {
    if (group) t.SetThrusterGroupLevel(group, level);
}

// Fires one of two opposite groups fully.
void Fire(const Teski& t, THGROUP_HANDLE on, THGROUP_HANDLE off) {
    SetLevel(t, off, 0);
    SetLevel(t, on, 1);
}

} // namespace

void Teski::SimpleAutopilot() {
    if (met < AutopilotStartTime) return;

    double heading = 0;
    oapiGetHeading(GetHandle(), &heading);
    const double h = headingFixed ? fixedHeading : DegFromRad(heading);
    // The heading law compares headings of 0..360 degrees: the precise guidance's offset stays inside them.
    const double held = precise ? std::fmod(headingIdeal + HeldHeadingOffset() + 360.0, 360.0) : headingIdeal;
    if (HeadingClockwiseOf(h, held)) {
        SetLevel(*this, thgYawRight, 0);
        SetLevel(*this, thgYawLeft, 1);
    } else {
        SetLevel(*this, thgYawRight, 1);
        SetLevel(*this, thgYawLeft, 0);
    }

    if (BankFiresRight(DegFromRad(GetBank()), bankFixed ? fixedBank : 0.0))
        Fire(*this, thgBankRight, thgBankLeft);
    else
        Fire(*this, thgBankLeft, thgBankRight);

    if (DegFromRad(GetAOA()) < HeldAngleOfAttack(met, pitchFixed, fixedPitch)) {
        SetLevel(*this, thgPitchUp, 1);
        SetLevel(*this, thgPitchDown, 0);
    } else {
        SetLevel(*this, thgPitchUp, 0);
        SetLevel(*this, thgPitchDown, 1);
    }

    if (!precise) BallisticCutoffTest(); // the precise cut-off decides before the step
}

void Teski::RealisticAutopilot() {
    if (met < AutopilotStartTime) return;

    // Actuators first: they follow the demands of the previous step.
    const double s = stepLength / 0.125;
    bankDeflection = MoveDeflection(bankDeflection, bankDemand, s);
    const double q = GetDynPressure() * 1.5384615384615384e-05; // rudders work with dynamic pressure / 65000
    SetLevel(*this, thgBankLeft, q * bankDeflection);
    SetLevel(*this, thgBankRight, -(q * bankDeflection));
    yawDeflectionUpper = MoveDeflection(yawDeflectionUpper, yawDemandUpper, s);
    yawDeflectionLower = MoveDeflection(yawDeflectionLower, yawDemandLower, s);
    SetLevel(*this, thgUpperVaneYawRight, yawDeflectionUpper);
    SetLevel(*this, thgUpperVaneYawLeft, -yawDeflectionUpper);
    SetLevel(*this, thgLowerVaneYawRight, yawDeflectionLower);
    SetLevel(*this, thgLowerVaneYawLeft, -yawDeflectionLower);
    SetLevel(*this, thgUpperRudderYawRight, q * yawDeflectionUpper);
    SetLevel(*this, thgUpperRudderYawLeft, -(q * yawDeflectionUpper));
    SetLevel(*this, thgLowerRudderYawRight, q * yawDeflectionLower);
    SetLevel(*this, thgLowerRudderYawLeft, -(q * yawDeflectionLower));
    pitchDeflection = MoveDeflection(pitchDeflection, pitchDemand, s);
    SetLevel(*this, thgPitchDown, pitchDeflection);
    SetLevel(*this, thgPitchUp, -pitchDeflection);

    // Heading law.
    double heading = 0;
    oapiGetHeading(GetHandle(), &heading);
    double e = DegFromRad(heading) - (headingRealistic + HeldHeadingOffset());
    if (headingFixed) e += fixedHeading;
    const double bankDeg = DegFromRad(GetBank());
    const YawDemands yaw = SplitYawDemand(DemandFromError(WrappedHeadingError(e)), bankDeg);
    yawDemandUpper = yaw.upper;
    yawDemandLower = yaw.lower;

    // Bank law.
    bankDemand = DemandFromError(bankFixed ? bankDeg + fixedBank : bankDeg);

    // Pitch law: the pitch programme.
    double pitchError = ProgrammedPitch(met) - DegFromRad(GetPitch());
    if (pitchFixed) pitchError += fixedPitch - 45.0;
    pitchDemand = DemandFromError(pitchError);

    if (!precise) TimedCutoffTest();
}

void Teski::CaptureLaunchAttitude() {
    // The ballistic cut-off test turns velocities of the host's global frame with these angles, so they must
    // be the angles of the vessel -> global rotation. The host's state record (GetStatusEx) holds those in
    // free flight, but for a landed vessel - and a missile ignites on its pad - it holds the angles against
    // the rotating planet frame, which would tilt the launch vertical and spoil the predicted range.
    // GetGlobalOrientation gives the global angles in both states.
    VECTOR3 arot = {};
    GetGlobalOrientation(arot);
    // alpha, beta, gamma are the x, y, z Euler angles; stored third angle first.
    launchAttitudeCos = _V(std::cos(arot.z), std::cos(arot.y), std::cos(arot.x));
    launchAttitudeSin = _V(std::sin(arot.z), std::sin(arot.y), std::sin(arot.x));
}

void Teski::ComputeBurnTime() {
    metMeco = BurnTimeForRange(range);
}

double Teski::DragFreeRange() {
    VESSELSTATUS vs{};
    GetStatus(vs);
    const double dv[3] = {vs.rvel.x - launchVelocity.x, vs.rvel.y - launchVelocity.y,
                          vs.rvel.z - launchVelocity.z};
    double lon = 0, lat = 0, r = 0;
    GetEquPos(lon, lat, r);
    return PredictedBallisticRange(dv, launchAttitudeCos.data, launchAttitudeSin.data, r, launchRadius);
}

void Teski::BallisticCutoffTest() {
    if (DragFreeRange() >= range) CutOffEngine(); // a prediction that is not a number never cuts
}

void Teski::TimedCutoffTest() {
    if (met > metMeco) CutOffEngine();
}
