// The host's file and version functions as modules call them: oapiWriteScenario_* formats, oapiReadItem_*
// semantics on a class-style file, and Date2Int.
#include "CoreEntries.h"
#include "TestRoot.h"
#include "orbhost/World.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

std::string contentOf(const std::filesystem::path &file) {
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
    root.write("Config/items.cfg", "; items\r\nName = Teski Mk 2 ; comment\r\nCount = 3.7\r\nScale = 2.5e3\r\n"
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
        const char *date;
        int value;
    } cases[] = {{"Apr 25 2006", 60425}, {"Dec  1 2026", 261201}, {"jan 31 1999", 990131},
                 {"Foo 1 2000", 0},      {"Apr", 0},                {"", 0}};
    for (const Case &c : cases) EXPECT_EQ(Date2Int(text(c.date)), c.value) << c.date;
    EXPECT_EQ(Date2Int(nullptr), 0);
}

} // namespace
