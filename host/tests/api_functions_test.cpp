// The host's file and version functions as modules call them: oapiWriteScenario_* formats, oapiReadItem_*
// semantics on a class-style file, and Date2Int.
#include "CoreEntries.h"
#include "TestRoot.h"
#include "orbhost/World.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

namespace {

std::string contentOf(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

TEST(ApiFunctions, ScenarioWritersFormatItemsLikeTheSimulator) {
    TestRoot root;
    orb::World world(root.path());
    FILEHANDLE f = oapiOpenFile("written.txt", FILE_OUT, SCENARIOS);
    ASSERT_NE(f, nullptr);
    oapiWriteScenario_string(f, text("TARGET"), text("Maralinga Range"));
    oapiWriteScenario_int(f, text("LAUNCHDELAY"), -3);
    oapiWriteScenario_float(f, text("RANGE"), 481071.0);
    oapiWriteScenario_float(f, text("SMALL"), 0.25);
    oapiWriteScenario_float(f, text("ROUNDED"), 1.23456789);
    oapiWriteScenario_vec(f, text("RVEL0"), _V(1.5, -2, 0.0000001));
    oapiWriteLine(f, text("------"));
    oapiWriteItem_bool(f, text("Flag"), true);
    oapiCloseFile(f, FILE_OUT);
    EXPECT_EQ(contentOf(root.path() / "Scenarios" / "written.txt"),
              "  TARGET Maralinga Range\r\n  LAUNCHDELAY -3\r\n  RANGE 481071.0\r\n  SMALL 0.25\r\n"
              "  ROUNDED 1.234568\r\n  RVEL0 1.5 -2.0 0.0\r\n------\r\nFlag = TRUE\r\n");
}

TEST(ApiFunctions, ItemReadersFollowTheSimulatorsRules) {
    TestRoot root;
    root.write("Config/items.cfg",
               "; items\r\nName = Teski Mk 2 ; comment\r\nCount = 3.7\r\nScale = 2.5e3\r\n"
               "flag = true\r\nBad = maybe\r\nVec = 1 2 3\r\nShort = 1 2\r\nEmpty =\r\n"
               "END_PARSE\r\nAfter = 1\r\n");
    orb::World world(root.path());
    FILEHANDLE f = oapiOpenFile("items.cfg", FILE_IN, CONFIG);
    char s[256] = "unchanged";
    EXPECT_TRUE(oapiReadItem_string(f, text("NAME"), s));
    EXPECT_STREQ(s, "Teski Mk 2");
    EXPECT_FALSE(oapiReadItem_string(f, text("Empty"), s));
    EXPECT_STREQ(s, "Teski Mk 2") << "left unchanged when absent";
    int i = -1;
    EXPECT_TRUE(oapiReadItem_int(f, text("Count"), i));
    EXPECT_EQ(i, 3);
    double d = 0;
    EXPECT_TRUE(oapiReadItem_float(f, text("Scale"), d));
    EXPECT_EQ(d, 2500.0);
    EXPECT_FALSE(oapiReadItem_float(f, text("After"), d)) << "nothing after END_PARSE";
    bool b = false;
    EXPECT_TRUE(oapiReadItem_bool(f, text("Flag"), b));
    EXPECT_TRUE(b);
    EXPECT_FALSE(oapiReadItem_bool(f, text("Bad"), b));
    VECTOR3 v = _V(9, 9, 9);
    EXPECT_TRUE(oapiReadItem_vec(f, text("Vec"), v));
    EXPECT_EQ(v.z, 3.0);
    EXPECT_FALSE(oapiReadItem_vec(f, text("Short"), v));
    EXPECT_EQ(v.x, 0.0) << "a failed vector read zeroes the vector";
    oapiCloseFile(f, FILE_IN);
    // A missing file reads as empty, or gives no handle with FILE_IN_ZEROONFAIL; no path leaves the root.
    FILEHANDLE missing = oapiOpenFile("none.cfg", FILE_IN, CONFIG);
    EXPECT_FALSE(oapiReadItem_int(missing, text("Count"), i));
    oapiCloseFile(missing, FILE_IN);
    EXPECT_EQ(oapiOpenFile("none.cfg", FILE_IN_ZEROONFAIL, CONFIG), nullptr);
    EXPECT_EQ(oapiOpenFile("../../etc/passwd", FILE_IN, ROOT), nullptr);
}

TEST(ApiFunctions, Date2Int) {
    struct Case {
        const char* date;
        int value;
    } cases[] = {{"Apr 25 2006", 60425},
                 {"Dec  1 2026", 261201},
                 {"jan 31 1999", 990131},
                 {"Foo 1 2000", 0},
                 {"Apr", 0},
                 {"", 0}};
    for (const Case& c : cases)
        EXPECT_EQ(Date2Int(text(c.date)), c.value) << c.date;
    EXPECT_EQ(Date2Int(nullptr), 0);
}

} // namespace

namespace {

// The test vessel landed at sea level: its main engine has Isp 3000 m/s in vacuum and 2500 m/s at 101.4 kPa.
struct LandedTestVessel {
    TestRoot root;
    orb::World world{root.path()};
    OBJHANDLE handle =
        world.createVessel("A", "HostTestVessel", "STATUS Landed Earth\nPOS 30 40\nPRPLEVEL 0:1\n");
    VESSEL* vessel = world.vessel("A");
    THRUSTER_HANDLE main = vessel->GetThrusterHandleByIndex(0);
};

TEST(ApiFunctions, ThrusterIspAndThrustAtAGivenPressure) {
    LandedTestVessel t;
    VESSEL* a = t.vessel;
    EXPECT_NEAR(a->GetThrusterIsp(t.main, 0), 3000, 1e-9);
    EXPECT_NEAR(a->GetThrusterIsp(t.main, 101.4e3), 2500, 1e-9);
    EXPECT_NEAR(a->GetThrusterIsp(t.main, 50.7e3), 2750, 1e-9) << "linear in the pressure";
    EXPECT_NEAR(a->GetThrusterMax(t.main, 101.4e3), 10000 * 2500.0 / 3000.0, 1e-6);
    EXPECT_NEAR(a->GetThrusterMax(t.main, 0), a->GetThrusterMax0(t.main), 1e-9);
    // The two-argument form sets one Isp for every pressure; the four-argument form a new pressure law.
    a->SetThrusterIsp(t.main, 2000);
    EXPECT_NEAR(a->GetThrusterIsp(t.main, 101.4e3), 2000, 1e-9);
    EXPECT_NEAR(a->GetThrusterIsp(t.main), 2000, 1e-9) << "at the landed vessel's own pressure";
    a->SetThrusterIsp(t.main, 3200, 1600, 80e3);
    EXPECT_NEAR(a->GetThrusterIsp(t.main, 80e3), 1600, 1e-9);
    EXPECT_NEAR(a->GetThrusterIsp0(t.main), 3200, 1e-9);
}

TEST(ApiFunctions, ForceVectorsReportWhetherTheyHoldAnything) {
    LandedTestVessel t;
    VECTOR3 v = _V(1, 1, 1);
    EXPECT_FALSE(t.vessel->GetThrustVector(v)) << "no thrust yet";
    EXPECT_EQ(length(v), 0.0);
    t.vessel->SetThrusterLevel(t.main, 1.0);
    EXPECT_TRUE(t.vessel->GetThrustVector(v));
    EXPECT_GT(v.z, 0.0) << "the main engine pushes along +z";
    EXPECT_TRUE(t.vessel->GetForceVector(v));
    EXPECT_TRUE(t.vessel->GetTorqueVector(v));
}

TEST(ApiFunctions, OneAttitudeAxisLeavesTheOthers) {
    LandedTestVessel t;
    VESSEL* a = t.vessel;
    a->SetAttitudeRotLevel(_V(0.5, 0.5, 0.5));
    struct Case {
        int axis;
        double level;
        THGROUP_TYPE on, off, untouched;
    } cases[] = {{0, 0.8, THGROUP_ATT_PITCHUP, THGROUP_ATT_PITCHDOWN, THGROUP_ATT_YAWLEFT},
                 {0, -0.3, THGROUP_ATT_PITCHDOWN, THGROUP_ATT_PITCHUP, THGROUP_ATT_BANKRIGHT},
                 {1, 0.6, THGROUP_ATT_YAWLEFT, THGROUP_ATT_YAWRIGHT, THGROUP_ATT_PITCHUP},
                 {2, -0.7, THGROUP_ATT_BANKLEFT, THGROUP_ATT_BANKRIGHT, THGROUP_ATT_YAWLEFT}};
    for (const Case& c : cases) {
        double before = a->GetThrusterGroupLevel(c.untouched);
        a->SetAttitudeRotLevel(c.axis, c.level);
        EXPECT_NEAR(a->GetThrusterGroupLevel(c.on), std::fabs(c.level), 1e-12) << c.axis << " " << c.level;
        EXPECT_EQ(a->GetThrusterGroupLevel(c.off), 0.0) << c.axis << " " << c.level;
        EXPECT_EQ(a->GetThrusterGroupLevel(c.untouched), before) << c.axis << " " << c.level;
    }
}

TEST(ApiFunctions, AtmosphereOfAVesselOrOfTheFocus) {
    LandedTestVessel t;
    ATMPARAM prm{};
    OBJHANDLE ref = nullptr;
    oapiGetAtm(t.handle, &prm, &ref);
    EXPECT_NEAR(prm.p, 101325, 1000) << "sea level";
    EXPECT_GT(prm.rho, 1.0);
    EXPECT_EQ(ref, oapiGetObjectByName(text("Earth")));
    ATMPARAM focus{};
    oapiSetFocusObject(t.handle);
    oapiGetAtm(nullptr, &focus);
    EXPECT_EQ(focus.p, prm.p) << "a null vessel is the focus vessel";
    oapiGetAtm(&focus, &prm, &ref);
    EXPECT_EQ(prm.p, 0.0) << "no vessel: no atmosphere";
    EXPECT_EQ(ref, nullptr);
}

} // namespace
