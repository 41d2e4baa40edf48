// Stand-ins for the failure model and the wreck hand-off until they arrive: no failures are drawn, and a
// missile at its end is simply removed.
#include "Teski.h"

void Teski::DrawFailure()
{
    failureArmed = false;
    failType = 0;
}

bool Teski::FailureDue() { return false; }

void Teski::TriggerFailure() { failureArmed = false; }

void Teski::FormatFailureText() {}

void Teski::CreateWreck(bool) { oapiDeleteVessel(GetHandle()); }
