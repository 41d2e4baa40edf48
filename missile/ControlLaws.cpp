#include "ControlLaws.h"

bool HeadingClockwiseOf(double h, double b) {
    if (b < 180.0) return b < h && h < b + 180.0;
    return h > b || h < b - 180.0;
}

bool BankFiresRight(double bank, double heldBank) {
    return bank >= heldBank;
}

double HeldAngleOfAttack(double met, bool pitchFixed, double fixedPitch) {
    if (pitchFixed) return fixedPitch - 45.0;
    return met < 20.0 ? -10.0 : 0.0;
}

double MoveDeflection(double x, double d, double s) {
    if (x < d) {
        x += s;
        if (x > 1.0) x = 1.0;
    } else {
        x -= s;
        if (x < -1.0) x = -1.0;
    }
    return x;
}

double DemandFromError(double e) {
    if (e > 3.0) e = 3.0;
    if (e < -3.0) e = -3.0;
    return e * -0.3333333333333333;
}

double WrappedHeadingError(double e) {
    if (e > 180.0) return e - 360.0;
    if (e < -180.0) return e + 360.0;
    return e;
}

double ProgrammedPitch(double met) {
    return met < 47.0 ? 90.0 - (met - 4.0) : 47.0;
}

YawDemands SplitYawDemand(double demand, double bank) {
    YawDemands y{demand, demand};
    if ((bank > 0.0 && demand >= 0.0) || (bank <= 0.0 && demand < 0.0))
        y.upper = 0.0;
    else
        y.lower = 0.0;
    return y;
}
