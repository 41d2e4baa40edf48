// The missile's failure model: at every ignition a failure is drawn against the reliability; in flight it
// strikes when its moment has come and leaves a one-line text. The rules are written over any object with the
// missile's fields and effects, and over any source of random values, so that each branch can be driven with
// chosen draws; the missile itself uses its module's generator (Failure.cpp).
#pragma once

#include "FailureKinds.h"

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <iterator>

// failString = "<first word> <second word> (<failValue>) at <met> sec."
template <class M> void FormatFailureTextOf(M& m) {
    // "%.0f" carries no decimal separator, so the user's locale cannot change the text. The text is made in a
    // buffer that holds any two numbers and cut to the field (only damaged values make it that long).
    char text[1024];
    const int length = std::snprintf(text, sizeof text, "%s %s (%.0f) at %.0f sec.",
                                     FailureWord(FailureFirstWords, m.failIdx1),
                                     FailureWord(FailureSecondWords, m.failIdx2), m.failValue, m.met);
    std::size_t n = length < 0 ? 0 : static_cast<std::size_t>(length);
    if (n > std::size(m.failString) - 1) n = std::size(m.failString) - 1;
    std::memcpy(m.failString, text, n);
    m.failString[n] = '\0';
}

// At every ignition: whether this flight fails, how, and when. random(a, b) gives a value in a..a+b.
template <class M, class R> void DrawFailureOf(M& m, R&& random) {
    m.failureArmed = false;
    m.failType = FailNone;
    const double r = random(0, 100);
    if (!(r > m.reliability)) return;
    m.failureArmed = true;

    const double k = random(0, 90);
    if (k < 30) {
        m.failType = FailDestruction;
        m.failIdx1 = 0;
        const double c = random(0, 100);
        if (c < 5) { // on takeoff
            m.failPressure = m.realistic ? random(50000, 20000) : random(50000, 50000);
            m.failIdx2 = 0;
        } else { // on reentry
            m.failPressure = m.realistic ? random(70000, 330000) : random(100000, 700000);
            m.failIdx2 = 1;
        }
        m.failValue = m.failPressure;
    } else if (k <= 60) {
        m.failType = FailControl;
        m.failIdx1 = 2;
        m.failTime = random(0, 70);
    } else {
        m.failType = FailEngine;
        m.failIdx1 = 1;
        m.failTime = random(0, 70);
    }
}

// In every flying step while a failure is armed: has its moment come?
template <class M> bool FailureDueOf(M& m) {
    if (m.failType == FailDestruction) return m.GetDynPressure() > m.failPressure;
    return m.engineBurning && m.met > m.failTime;
}

// The failure strikes. A destruction or an explosion ends the missile through CreateWreck(false).
template <class M, class R> void TriggerFailureOf(M& m, R&& random) {
    if (m.failType == FailDestruction) {
        FormatFailureTextOf(m);
        m.failureArmed = false;
        m.CreateWreck(false);
        return;
    }
    m.failureArmed = false;
    const double j = random(0, 30);
    if (m.failType == FailEngine) {
        if (j < 10) {
            m.failIdx2 = 2; // explosion
            FormatFailureTextOf(m);
            m.CreateWreck(false);
            return;
        }
        if (random(0, 30) > 20) {
            m.failIdx2 = 3; // shutdown
            m.CutOffEngine();
        } else {
            m.failIdx2 = 4; // low throttle: the engine burns on at that level
            const double level = random(0, 1);
            m.SetThrusterLevel(m.thMain, level);
            m.failValue = level * 100;
        }
        FormatFailureTextOf(m);
        return;
    }
    // Any other kind: a control channel jams.
    if (j < 10) {
        const double v = random(-180, 360);
        m.fixedHeading = v;
        m.failValue = v;
        m.headingFixed = true;
        m.failIdx2 = 5;
    } else if (random(0, 30) > 20) {
        const double v = random(-180, 360);
        m.fixedBank = v;
        m.failValue = v;
        m.bankFixed = true;
        m.failIdx2 = 6;
    } else {
        const double v = random(0, 90);
        m.fixedPitch = v;
        m.failValue = v;
        m.pitchFixed = true;
        m.failIdx2 = 7;
    }
    FormatFailureTextOf(m);
}
