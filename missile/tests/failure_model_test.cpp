// The failure model: draws at their boundaries, the moment a failure strikes, what it does and its text.
#include "FailureModel.h"
#include "Random.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

// The missile's failure fields and the effects the failure model uses.
struct FakeMissile {
    double reliability = 0;
    bool realistic = true;
    bool engineBurning = true;
    double met = 0;
    bool failureArmed = false;
    double failTime = 0;
    int failType = 0;
    double failPressure = 0;
    bool headingFixed = false, bankFixed = false, pitchFixed = false;
    double fixedHeading = 0, fixedBank = 0, fixedPitch = 0;
    char failString[256] = {};
    double failValue = 0;
    int failIdx1 = 0, failIdx2 = 0;
    void* thMain = this;

    double dynPressure = 0;
    double thrusterLevel = 1;
    int cutOffs = 0;
    int wrecks = 0;
    double GetDynPressure() const { return dynPressure; }
    void SetThrusterLevel(void* th, double level) {
        EXPECT_EQ(th, thMain);
        thrusterLevel = level;
    }
    void CutOffEngine() { ++cutOffs; }
    void CreateWreck(bool groundImpact) {
        EXPECT_FALSE(groundImpact);
        ++wrecks;
    }
};

// Gives the chosen values in turn and notes the spans asked for.
struct Script {
    explicit Script(std::vector<double> v) : values(std::move(v)) {}
    std::vector<double> values;
    std::vector<std::pair<double, double>> spans;
    std::size_t next = 0;
    double operator()(double a, double b) {
        spans.emplace_back(a, b);
        EXPECT_LT(next, values.size()) << "more draws than scripted";
        return next < values.size() ? values[next++] : a;
    }
};

using Spans = std::vector<std::pair<double, double>>;

TEST(DrawFailure, ReliabilityDecidesWhetherAFailureIsArmed) {
    struct Case {
        double reliability, r;
        bool armed;
    };
    const Case cases[] = {{100, 100, false}, {100, 99.99, false}, {0, 0, false},  {0, 0.003, true},
                          {75, 75, false},   {75, 75.01, true},   {50, 100, true}};
    for (const Case& c : cases) {
        FakeMissile m;
        m.reliability = c.reliability;
        m.failureArmed = true; // a waiting failure is replaced by the new draw
        m.failType = 2;
        Script s{{c.r, 45, 10}};
        DrawFailureOf(m, s);
        EXPECT_EQ(m.failureArmed, c.armed) << c.reliability << " " << c.r;
        if (!c.armed) {
            EXPECT_EQ(m.failType, FailNone);
            EXPECT_EQ(s.spans, (Spans{{0, 100}})); // nothing more is drawn
        }
    }
}

TEST(DrawFailure, KindByKAndMomentOrThreshold) {
    struct Case {
        bool realistic;
        std::vector<double> draws; // r, k, then c and the pressure, or the time
        int type, idx1, idx2;
        Spans spans;
    };
    const Case cases[] = {
        {true,
         {50, 29.99, 4.99, 61000},
         FailDestruction,
         0,
         0,
         {{0, 100}, {0, 90}, {0, 100}, {50000, 20000}}},
        {false, {50, 0, 4.99, 61000}, FailDestruction, 0, 0, {{0, 100}, {0, 90}, {0, 100}, {50000, 50000}}},
        {true, {50, 0, 5, 61000}, FailDestruction, 0, 1, {{0, 100}, {0, 90}, {0, 100}, {70000, 330000}}},
        {false, {50, 10, 5, 61000}, FailDestruction, 0, 1, {{0, 100}, {0, 90}, {0, 100}, {100000, 700000}}},
        {true, {50, 30, 33}, FailControl, 2, -1, {{0, 100}, {0, 90}, {0, 70}}},
        {true, {50, 60, 33}, FailControl, 2, -1, {{0, 100}, {0, 90}, {0, 70}}},
        {true, {50, 60.01, 33}, FailEngine, 1, -1, {{0, 100}, {0, 90}, {0, 70}}},
        {false, {50, 90, 33}, FailEngine, 1, -1, {{0, 100}, {0, 90}, {0, 70}}},
    };
    for (const Case& c : cases) {
        FakeMissile m;
        m.realistic = c.realistic;
        m.failIdx2 = -1; // an engine or control failure picks its second word only when it strikes
        Script s{c.draws};
        DrawFailureOf(m, s);
        SCOPED_TRACE(c.draws[1]);
        EXPECT_TRUE(m.failureArmed);
        EXPECT_EQ(m.failType, c.type);
        EXPECT_EQ(m.failIdx1, c.idx1);
        EXPECT_EQ(m.failIdx2, c.idx2);
        EXPECT_EQ(s.spans, c.spans);
        if (c.type == FailDestruction) {
            EXPECT_EQ(m.failPressure, 61000);
            EXPECT_EQ(m.failValue, 61000);
        } else {
            EXPECT_EQ(m.failTime, 33);
        }
    }
}

// With the module's own generator: reliability 0 fails nearly always, the kinds come about equally often,
// and every threshold and moment lies in its span.
TEST(DrawFailure, SeededGeneratorSpreadsKindsAndKeepsSpans) {
    SeedRandom(20261209);
    int kinds[4] = {};
    int takeoff = 0;
    const int draws = 9000;
    for (int i = 0; i < draws; ++i) {
        FakeMissile m;
        m.realistic = i % 2 == 0;
        DrawFailureOf(m, RandomRange);
        ++kinds[m.failType];
        if (m.failType == FailDestruction) {
            const bool onTakeoff = m.failIdx2 == 0;
            takeoff += onTakeoff;
            const double lo = onTakeoff ? 50000 : (m.realistic ? 70000 : 100000);
            const double hi = onTakeoff ? (m.realistic ? 70000 : 100000) : (m.realistic ? 400000 : 800000);
            EXPECT_GE(m.failPressure, lo);
            EXPECT_LE(m.failPressure, hi);
        } else if (m.failType != FailNone) {
            EXPECT_GE(m.failTime, 0);
            EXPECT_LE(m.failTime, 70);
        }
    }
    EXPECT_LT(kinds[FailNone], 10);
    for (int kind : {FailDestruction, FailEngine, FailControl})
        EXPECT_NEAR(kinds[kind], draws / 3.0, 250) << kind;
    EXPECT_NEAR(takeoff, kinds[FailDestruction] * 0.05, 60);

    SeedRandom(7);
    for (int i = 0; i < 2000; ++i) {
        FakeMissile m;
        m.reliability = 100;
        DrawFailureOf(m, RandomRange);
        ASSERT_FALSE(m.failureArmed);
    }
}

TEST(FailureDue, DestructionByPressureOthersByTimeWhileBurning) {
    FakeMissile m;
    m.failType = FailDestruction;
    m.failPressure = 100000;
    m.engineBurning = false; // a reentry destruction strikes in the unpowered descent
    m.dynPressure = 100000;
    EXPECT_FALSE(FailureDueOf(m));
    m.dynPressure = 100000.5;
    EXPECT_TRUE(FailureDueOf(m));

    for (int type : {FailEngine, FailControl}) {
        FakeMissile t;
        t.failType = type;
        t.failTime = 65;
        t.met = 65;
        t.dynPressure = 1e9;
        EXPECT_FALSE(FailureDueOf(t));
        t.met = 65.01;
        EXPECT_TRUE(FailureDueOf(t));
        t.engineBurning = false; // cut off at 60 s: the failure never strikes
        t.met = 200;
        EXPECT_FALSE(FailureDueOf(t));
    }
}

TEST(TriggerFailure, EachOutcomeWithItsEffectAndText) {
    struct Case {
        int type;
        std::vector<double> draws;
        double met;
        const char* text;
        int wrecks, cutOffs;
        Spans spans;
    };
    const Case cases[] = {
        {FailEngine, {9.99}, 45.4, "Engine explosion (0) at 45 sec.", 1, 0, {{0, 30}}},
        {FailEngine, {10, 20.01}, 50.6, "Engine shutdown (0) at 51 sec.", 0, 1, {{0, 30}, {0, 30}}},
        {FailEngine,
         {10, 20, 0.4},
         12,
         "Engine low throttle (40) at 12 sec.",
         0,
         0,
         {{0, 30}, {0, 30}, {0, 1}}},
        {FailControl, {9.9, 123.4}, 20, "Control yaw (123) at 20 sec.", 0, 0, {{0, 30}, {-180, 360}}},
        {FailControl,
         {10, 20.5, -37.2},
         31.6,
         "Control roll (-37) at 32 sec.",
         0,
         0,
         {{0, 30}, {0, 30}, {-180, 360}}},
        {FailControl, {10, 20, 12.6}, 8, "Control pitch (13) at 8 sec.", 0, 0, {{0, 30}, {0, 30}, {0, 90}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        FakeMissile m;
        m.failType = c.type;
        m.failIdx1 = c.type == FailEngine ? 1 : 2;
        m.failureArmed = true;
        m.met = c.met;
        Script s{c.draws};
        TriggerFailureOf(m, s);
        EXPECT_FALSE(m.failureArmed);
        EXPECT_STREQ(m.failString, c.text);
        EXPECT_EQ(m.wrecks, c.wrecks);
        EXPECT_EQ(m.cutOffs, c.cutOffs);
        EXPECT_EQ(s.spans, c.spans);
    }

    // The jammed channel keeps its value; the engine burns on at a low throttle.
    FakeMissile roll;
    roll.failType = FailControl;
    roll.failIdx1 = 2;
    Script bank{{10, 21, -37.2}};
    TriggerFailureOf(roll, bank);
    EXPECT_TRUE(roll.bankFixed);
    EXPECT_FALSE(roll.headingFixed || roll.pitchFixed);
    EXPECT_EQ(roll.fixedBank, -37.2);
    EXPECT_EQ(roll.failIdx2, 6);

    FakeMissile low;
    low.failType = FailEngine;
    low.failIdx1 = 1;
    Script throttle{{29, 3, 0.4}};
    TriggerFailureOf(low, throttle);
    EXPECT_EQ(low.thrusterLevel, 0.4);
    EXPECT_EQ(low.failValue, 40);
}

TEST(TriggerFailure, DestructionTellsItsThresholdAndEndsTheMissile) {
    FakeMissile m;
    m.failType = FailDestruction;
    m.failIdx1 = 0;
    m.failIdx2 = 1;
    m.failPressure = m.failValue = 234567.4;
    m.failureArmed = true;
    m.met = 301.5;
    Script none{{}};
    TriggerFailureOf(m, none);
    EXPECT_STREQ(m.failString, "Destructed on reentry (234567) at 302 sec.");
    EXPECT_EQ(m.wrecks, 1);
    EXPECT_FALSE(m.failureArmed);
    EXPECT_TRUE(none.spans.empty());
}

TEST(FormatFailureText, IndicesFromADamagedScenarioGiveEmptyWords) {
    FakeMissile m;
    m.failIdx1 = 7;
    m.failIdx2 = -3;
    m.failValue = 1e300; // a huge value is cut at the text's size, never written past it
    m.met = 5;
    FormatFailureTextOf(m);
    EXPECT_EQ(std::string(m.failString).substr(0, 4), "  (1");
    EXPECT_EQ(std::strlen(m.failString), 255u);
}

} // namespace
