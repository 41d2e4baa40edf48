// The missile's failure model, driven by the module's one random generator.
#include "FailureModel.h"
#include "Teski.h"

void Teski::DrawFailure() {
    DrawFailureOf(*this, RandomRange);
}

bool Teski::FailureDue() {
    return FailureDueOf(*this);
}

void Teski::TriggerFailure() {
    TriggerFailureOf(*this, RandomRange);
}

void Teski::FormatFailureText() {
    FormatFailureTextOf(*this);
}
