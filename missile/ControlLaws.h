// The control laws of the two autopilots, as pure functions: angles in degrees, times in seconds.
#pragma once

// Neither autopilot acts before this mission time.
inline constexpr double AutopilotStartTime = 4.0;

// --- simple autopilot: bang-bang thruster groups ---

// True when heading h lies clockwise of the held heading b (then the yaw-left group fires); h equal to b is
// not clockwise.
bool HeadingClockwiseOf(double h, double b);
// True when the bank-right group fires: bank at or above the held bank.
bool BankFiresRight(double bank, double heldBank);
// Held angle of attack: -10 before 20 s, then 0; a jammed pitch channel holds fixedPitch - 45.
double HeldAngleOfAttack(double met, bool pitchFixed, double fixedPitch);

// --- realistic autopilot: rate-limited actuators driven by proportional demands ---

// Moves a deflection x by s towards demand d, limited to -1..1. It never rests on the demand.
double MoveDeflection(double x, double d, double s);
// An error limited to -3..3 and scaled to a demand of -1..1 of opposite sign.
double DemandFromError(double e);
// A heading error brought into -180..180 (a single turn added or taken away).
double WrappedHeadingError(double e);
// The pitch programme: vertical until 4 s, 1 degree per second over, 47 degrees from 47 s on.
double ProgrammedPitch(double met);

// Yaw demands of the upper and lower vane-and-rudder pairs: one of the two is zeroed by the signs of the
// bank angle and the demand.
struct YawDemands {
    double upper;
    double lower;
};
YawDemands SplitYawDemand(double demand, double bank);
