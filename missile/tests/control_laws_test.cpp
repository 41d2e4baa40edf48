// The autopilots' control laws at their boundaries.
#include "ControlLaws.h"

#include <gtest/gtest.h>

TEST(SimpleHeadingLaw, ClockwiseTestAroundTheHeldHeading) {
    struct Case {
        double held, heading;
        bool clockwise; // true: yaw left fires
    };
    const Case cases[] = {
        {350, 10, true},   {350, 340, false}, {350, 350, false}, {350, 170.5, false}, {350, 169, true},
        {100, 280, false}, {100, 279, true},  {100, 100, false}, {100, 101, true},    {0, 0, false},
        {0, 179, true},    {0, 181, false},   {180, 181, true},  {180, 0, false},     {180, 359, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HeadingClockwiseOf(c.heading, c.held), c.clockwise) << c.held << " " << c.heading;
}

TEST(SimpleBankLaw, HeldBankIsInclusive) {
    EXPECT_TRUE(BankFiresRight(0, 0));
    EXPECT_FALSE(BankFiresRight(-0.1, 0));
    // A jammed bank channel of 30 degrees.
    EXPECT_FALSE(BankFiresRight(29, 30));
    EXPECT_TRUE(BankFiresRight(30, 30));
}

TEST(SimpleAngleOfAttackLaw, HeldValueOverTime) {
    EXPECT_EQ(HeldAngleOfAttack(4.0, false, 0), -10.0);
    EXPECT_EQ(HeldAngleOfAttack(19.9, false, 0), -10.0);
    EXPECT_EQ(HeldAngleOfAttack(20.0, false, 0), 0.0);
    EXPECT_EQ(HeldAngleOfAttack(10.0, true, 60), 15.0);
    EXPECT_EQ(HeldAngleOfAttack(30.0, true, 0), -45.0);
}

TEST(RealisticActuator, MovesAndDithersWithinLimits) {
    const double s = 0.01 / 0.125; // step 0.01 s
    double x = MoveDeflection(0.95, 1.0, s);
    EXPECT_EQ(x, 1.0);
    x = MoveDeflection(x, 1.0, s);
    EXPECT_NEAR(x, 0.92, 1e-12);
    EXPECT_NEAR(MoveDeflection(0.0, 0.0, s), -0.08, 1e-12); // equal counts as above: moves down
    EXPECT_EQ(MoveDeflection(-0.95, -1.0, s), -1.0);
    EXPECT_NEAR(MoveDeflection(-0.5, 0.3, s), -0.42, 1e-12);
}

TEST(RealisticLaws, DemandsFromErrors) {
    EXPECT_EQ(DemandFromError(0), 0.0);
    EXPECT_NEAR(DemandFromError(3), -1.0, 1e-15);
    EXPECT_NEAR(DemandFromError(10), -1.0, 1e-15);
    EXPECT_NEAR(DemandFromError(-7), 1.0, 1e-15);
    EXPECT_NEAR(DemandFromError(1.5), -0.5, 1e-15);
    // Heading errors: 181 is taken as -179 (demand 1); exactly 180 stays (demand -1).
    EXPECT_EQ(WrappedHeadingError(181), -179.0);
    EXPECT_EQ(WrappedHeadingError(180), 180.0);
    EXPECT_EQ(WrappedHeadingError(-181), 179.0);
    EXPECT_NEAR(DemandFromError(WrappedHeadingError(181)), 1.0, 1e-15);
    EXPECT_NEAR(DemandFromError(WrappedHeadingError(180)), -1.0, 1e-15);
}

TEST(RealisticLaws, PitchProgramme) {
    EXPECT_EQ(ProgrammedPitch(4), 90.0);
    EXPECT_EQ(ProgrammedPitch(10), 84.0);
    EXPECT_EQ(ProgrammedPitch(46.5), 47.5);
    EXPECT_EQ(ProgrammedPitch(47), 47.0);
    EXPECT_EQ(ProgrammedPitch(70), 47.0);
}

TEST(RealisticLaws, YawDemandGoesToOnePairBySigns) {
    struct Case {
        double demand, bank, upper, lower;
    };
    const Case cases[] = {
        {0.5, 1, 0, 0.5},   {-0.5, 1, -0.5, 0}, {0.5, 0, 0.5, 0},
        {-0.5, 0, 0, -0.5}, {0, 2, 0, 0},       {-0.5, -2, 0, -0.5},
    };
    for (const Case& c : cases) {
        const YawDemands y = SplitYawDemand(c.demand, c.bank);
        EXPECT_EQ(y.upper, c.upper) << c.demand << " " << c.bank;
        EXPECT_EQ(y.lower, c.lower) << c.demand << " " << c.bank;
    }
}
