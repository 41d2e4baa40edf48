// The hand-off in the host: a missile that hits the ground or breaks up in the air is replaced by a wreck
// whose record carries the flight's figures.
#include "Teski.h"
#include "TeskiWreck.h"
#include "TestRoot.h"
#include "orbhost/World.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

constexpr double Pi = 3.14159265358979;
constexpr double Deg = Pi / 180;

// A missile standing at 10 E 50 N that has flown for 10 s: its next step ends the flight at ground contact.
Teski* LaunchedMissileOnTheGround(orb::World& world, const char* name) {
    world.createVessel(name, "Teski",
                       "STATUS Landed Earth\nPOS 10 50\nHEADING 0\nPRPLEVEL 0:1\nREALISTIC 0\n");
    auto* m = world.moduleAs<Teski>(name);
    if (m == nullptr) return nullptr;
    double lon = 0, lat = 0, radius = 0;
    m->GetEquPos(lon, lat, radius);
    m->launched = true;
    m->met = 10;
    m->maxAltitude = 1234;
    m->launchLongitude = lon;
    m->launchLatitude = lat - 0.01; // launched 64 km south, due north
    m->launchRadius = radius;
    m->headingIdeal = 0;
    m->trackCount = 2;
    m->trackPhase[0] = 1;
    m->trackPhase[1] = 3;
    return m;
}

TEST(HandoffInHost, GroundImpactMissSplitAlongAndAcrossTheLaunchHeading) {
    struct Case {
        const char* name;
        double north, east; // impact relative to the target, metres
        double lateral, longitudal;
    };
    const Case cases[] = {
        {"2 km beyond the target", 2000, 0, 0, 2000},
        {"1 km right of the target", 0, 1000, 1000, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        orb::World world(Root());
        Teski* m = LaunchedMissileOnTheGround(world, "M1");
        ASSERT_NE(m, nullptr);
        double lon = 0, lat = 0, radius = 0;
        m->GetEquPos(lon, lat, radius);
        m->targetLatitude = (lat - c.north / radius) / Deg;
        m->targetLongitude = (lon - c.east / (radius * std::cos(lat))) / Deg;
        std::snprintf(m->targetName, sizeof m->targetName, "Ziel");
        ASSERT_TRUE(oapiSetFocusObject(world.findVessel("M1")) != nullptr ||
                    world.focus() == world.findVessel("M1"));

        world.step();
        EXPECT_EQ(world.findVessel("M1"), nullptr);
        const OBJHANDLE h = world.findVessel("M1-Wreck");
        ASSERT_NE(h, nullptr);
        EXPECT_EQ(world.focus(), h);
        auto* w = world.moduleAs<TeskiWreck>("M1-Wreck");
        const FlightResult& r = w->FlightResult;
        EXPECT_EQ(r.LANDED, 1);
        EXPECT_NEAR(r.RANGE_MISS, std::hypot(c.north, c.east), 0.05);
        EXPECT_NEAR(r.LATERAL_MISS, c.lateral, 0.5);
        EXPECT_NEAR(r.LONGITUDAL_MISS, c.longitudal, 0.5);
        EXPECT_NEAR(r.RANGE_ACTUAL, 0.01 * radius, 200);
        EXPECT_NEAR(r.LONGITUDE_LAST, lon, 1e-9);
        EXPECT_NEAR(r.LATITUDE_LAST, lat, 1e-9);
        EXPECT_EQ(r.FLIGHT_TIME, 10);
        EXPECT_EQ(r.MAX_ALTITUDE, 1234);
        EXPECT_STREQ(r.TARGET, "Ziel");
        EXPECT_STREQ(r.FAILURE, "");
        // The final point: the impact, height 0, engine off.
        ASSERT_EQ(r.trackCount, 3);
        EXPECT_EQ(r.trackAltitude[2], 0);
        EXPECT_EQ(r.trackPhase[2], 3);
        EXPECT_NEAR(r.trackLatitude[2], lat, 1e-9);

        // The wreck starts landed, at the impact point, heading 0.
        world.step();
        EXPECT_TRUE(world.isLanded(h));
        double heading = -1;
        oapiGetHeading(h, &heading);
        EXPECT_NEAR(std::fmod(heading + 1, 2 * Pi) - 1, 0, 1e-6);
    }
}

TEST(HandoffInHost, BreakUpInTheAirLeavesAFallingWreckWithTheFailureText) {
    orb::World world(Root());
    world.createVessel("Pad", "TeskiWreck", "STATUS Landed Earth\nPOS 10 50\nHEADING 0\nLANDED 1\n");
    world.createVessel("Other", "TeskiWreck", "STATUS Landed Earth\nPOS 10 50.1\nHEADING 0\nLANDED 1\n");
    world.step();
    VESSELSTATUS vs;
    world.vessel("Pad")->GetStatus(vs);
    double padLon = 0, padLat = 0, padRadius = 0;
    world.vessel("Pad")->GetEquPos(padLon, padLat, padRadius);
    const double len = std::sqrt(vs.rpos.x * vs.rpos.x + vs.rpos.y * vs.rpos.y + vs.rpos.z * vs.rpos.z);
    vs.rpos = vs.rpos * ((len + 30000) / len);
    vs.status = 0;
    world.createVessel("M2", "Teski", vs);
    oapiSetFocusObject(world.findVessel("Other"));
    auto* m = world.moduleAs<Teski>("M2");
    ASSERT_NE(m, nullptr);
    m->launched = true;
    m->met = 40.2;
    m->launchRadius = padRadius;
    m->launchLatitude = padLat;
    m->launchLongitude = padLon;
    m->failureArmed = true;
    m->failType = 1;
    m->failIdx1 = 0;
    m->failIdx2 = 0;
    m->failPressure = -1; // strikes at the first flying step
    m->failValue = 61234;

    world.step();
    EXPECT_EQ(world.findVessel("M2"), nullptr);
    const OBJHANDLE h = world.findVessel("M2-Wreck");
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(world.focus(), world.findVessel("Other")); // a missile without the focus leaves it where it is
    auto* w = world.moduleAs<TeskiWreck>("M2-Wreck");
    const FlightResult& r = w->FlightResult;
    EXPECT_EQ(r.LANDED, 0);
    EXPECT_STREQ(r.FAILURE, "Destructed on takeoff (61234) at 40 sec.");
    ASSERT_GE(r.trackCount, 1);
    EXPECT_NEAR(r.trackAltitude[r.trackCount - 1], 30000, 100);
    EXPECT_EQ(r.trackPhase[r.trackCount - 1], 3);
    EXPECT_NEAR(r.RANGE_ACTUAL, 0, 100);

    world.step();
    EXPECT_FALSE(world.isLanded(h));
    EXPECT_TRUE(w->FALLPHASE);
    VECTOR3 cs;
    world.vessel(h)->GetCrossSections(cs);
    EXPECT_EQ(cs.y, 20);
}

TEST(HandoffInHost, LongMissileNameIsCutSoTheWreckNameKeepsItsSuffix) {
    orb::World world(Root());
    const std::string name(120, 'N');
    ASSERT_NE(LaunchedMissileOnTheGround(world, name.c_str()), nullptr);
    world.step();
    EXPECT_EQ(world.findVessel(name), nullptr);
    EXPECT_NE(world.findVessel(std::string(93, 'N') + "-Wreck"), nullptr);
}

// Without the wreck module the host makes a plain vessel: the missile writes nothing through it, says so on
// the debug line, and still ends.
TEST(HandoffInHost, NoWreckObjectLosesTheResultsButNothingBreaks) {
    const TempRoot temp("nowreck");
    const std::filesystem::path root = temp.path();
    std::filesystem::remove(root / "Config" / "Vessels" / "TeskiWreck.cfg");
    {
        std::FILE* cfg = std::fopen((root / "Config" / "TeskiWreck.cfg").c_str(), "wb");
        ASSERT_NE(cfg, nullptr);
        std::fputs("ClassName = TeskiWreck\r\n", cfg);
        std::fclose(cfg);
    }
    {
        orb::World world(root);
        ASSERT_NE(LaunchedMissileOnTheGround(world, "M3"), nullptr);
        world.step();
        EXPECT_EQ(world.findVessel("M3"), nullptr);
        const OBJHANDLE h = world.findVessel("M3-Wreck");
        ASSERT_NE(h, nullptr);
        EXPECT_TRUE(world.isPlain(h));
        EXPECT_NE(world.debugString().find("flight results lost"), std::string::npos) << world.debugString();
        world.runSteps(5);
    }
}

} // namespace
