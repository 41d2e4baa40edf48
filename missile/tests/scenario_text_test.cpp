// Scenario key matching and the bounded, locale-independent value readers and writers.
#include "MissileBlockKeys.h"
#include "ScenarioText.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

TEST(MissileKeys, LongestKeyWinsAndCaseIsIgnored) {
    struct Case {
        const char* line;
        MissileKey key;
        const char* value;
    };
    const Case cases[] = {
        {"MET 12.5", MissileKey::MET, "12.5"},
        {"MET_MECO 60", MissileKey::MET_MECO, "60"},
        {"met_gps   3", MissileKey::MET_GPS, "3"},
        {"Met_Meco 1", MissileKey::MET_MECO, "1"},
        {"TARGET Berlin", MissileKey::TARGET, "Berlin"},
        {"LATITUDE_TARGET 52.1", MissileKey::LATITUDE_TARGET, "52.1"},
        {"longitude_target 13", MissileKey::LONGITUDE_TARGET, "13"},
        {"HEADING_IDEAL 45", MissileKey::HEADING_IDEAL, "45"},
        {"HEADING_REALISTIC 45", MissileKey::HEADING_REALISTIC, "45"},
        {"POS0 1 2 3", MissileKey::POS0, "1 2 3"},
        {"RVEL0 1 2 3", MissileKey::RVEL0, "1 2 3"},
        {"FAILIDX1 2", MissileKey::FAILIDX1, "2"},
        {"FAILIDX2 7", MissileKey::FAILIDX2, "7"},
        {"FAILSTRING Engine low throttle", MissileKey::FAILSTRING, "Engine low throttle"},
        {"TRACK 0 1 2 3 1", MissileKey::TRACK, "0 1 2 3 1"},
        {"RANGE", MissileKey::RANGE, ""},
        {"------", MissileKey::Separator, ""},
        {"------------", MissileKey::Separator, "------"},
    };
    for (const Case& c : cases) {
        const KeyMatch m = MatchMissileKey(c.line);
        EXPECT_EQ(m.key, c.key) << c.line;
        EXPECT_STREQ(m.value, c.value) << c.line;
    }
}

TEST(MissileKeys, HostLinesAreNotMissileKeys) {
    for (const char* line : {"STATUS Landed Earth", "POS 13.4 52.5", "HEADING 90.00", "RVEL 1 2 3",
                             "ALT 7.013", "AROT 1 2 3", "PRPLEVEL 0:1.000000", "", "-----", "ME", "TARGE"})
        EXPECT_EQ(MatchMissileKey(line).key, MissileKey::None) << line;
}

TEST(ValueReaders, RealsAndIntegers) {
    double d = -1;
    EXPECT_TRUE(ReadReal("  300000.5", d));
    EXPECT_EQ(d, 300000.5);
    EXPECT_TRUE(ReadReal("+1e3", d));
    EXPECT_EQ(d, 1000.0);
    EXPECT_TRUE(ReadReal("-.25xyz", d));
    EXPECT_EQ(d, -0.25);
    for (const char* bad : {"", "   ", "abc", "nan", "inf", "-inf", "1e999", "+-1", ",5"}) {
        d = 42;
        EXPECT_FALSE(ReadReal(bad, d)) << bad;
        EXPECT_EQ(d, 42.0) << bad;
    }
    int i = -1;
    EXPECT_TRUE(ReadInt("528", i));
    EXPECT_EQ(i, 528);
    EXPECT_TRUE(ReadInt("3.7", i));
    EXPECT_EQ(i, 3);
    EXPECT_TRUE(ReadInt("-1", i));
    EXPECT_EQ(i, -1);
    for (const char* bad : {"", "x", "99999999999", "--1"}) {
        i = 7;
        EXPECT_FALSE(ReadInt(bad, i)) << bad;
        EXPECT_EQ(i, 7) << bad;
    }
}

TEST(ValueReaders, GroupsAreAllOrNothing) {
    double v[3] = {1, 2, 3};
    EXPECT_FALSE(ReadReals("4 5", v, 3));
    EXPECT_FALSE(ReadReals("4 x 6", v, 3));
    EXPECT_EQ(v[0], 1.0);
    EXPECT_EQ(v[1], 2.0);
    EXPECT_TRUE(ReadReals("4 5 6", v, 3));
    EXPECT_EQ(v[2], 6.0);

    int idx = -1, phase = -1;
    double lon = 0, lat = 0, h = 0;
    EXPECT_FALSE(ReadTrackPoint("3 0.1 0.2 1500", idx, lon, lat, h, phase));
    EXPECT_EQ(idx, -1);
    EXPECT_TRUE(ReadTrackPoint("3 0.1 0.2 1500 2", idx, lon, lat, h, phase));
    EXPECT_EQ(idx, 3);
    EXPECT_EQ(h, 1500.0);
    EXPECT_EQ(phase, 2);
}

TEST(TextReaders, BoundedNamesAndRestOfLine) {
    char name[52];
    std::strcpy(name, "old");
    EXPECT_FALSE(ReadName("   ", name, sizeof name));
    EXPECT_FALSE(ReadName(" \t\r\n", name, sizeof name));
    EXPECT_STREQ(name, "old");
    EXPECT_TRUE(ReadName("  Moscow Kremlin \t\r\n", name, sizeof name));
    EXPECT_STREQ(name, "Moscow Kremlin");
    const std::string longWord(300, 'W');
    EXPECT_TRUE(ReadName(longWord.c_str(), name, sizeof name));
    EXPECT_EQ(std::strlen(name), 51u);
    // Cut inside a run of blanks, the name ends with its last word, as it reads back when saved.
    const std::string wordsApart = "Ma" + std::string(60, '\t') + "Lake";
    EXPECT_TRUE(ReadName(wordsApart.c_str(), name, sizeof name));
    EXPECT_STREQ(name, "Ma");

    char text[256] = "old";
    EXPECT_FALSE(ReadRest("  \r\n", text, sizeof text));
    EXPECT_STREQ(text, "old");
    EXPECT_TRUE(ReadRest("  Control roll (-37) at 32 sec.\r\n", text, sizeof text));
    EXPECT_STREQ(text, "Control roll (-37) at 32 sec.");
    const std::string longText(1000, 'x');
    EXPECT_TRUE(ReadRest(longText.c_str(), text, sizeof text));
    EXPECT_EQ(std::strlen(text), 255u);
}

TEST(TextReaders, BoundedCopyCutsAndTerminates) {
    char full[8];
    std::memset(full, 'A', sizeof full); // a field without its terminator
    char small[5] = "xxxx";
    CopyBounded(small, full);
    EXPECT_STREQ(small, "AAAA");
    char large[12];
    CopyBounded(large, full);
    EXPECT_STREQ(large, "AAAAAAAA") << "stops at the end of an unterminated source field";
    CopyBounded(large, sizeof large, "Mesa North", 4);
    EXPECT_STREQ(large, "Mesa");
}

TEST(Writers, FixedNotationAndTrackLines) {
    char buf[400];
    FormatFixed(52.5, 13, buf, sizeof buf);
    EXPECT_STREQ(buf, "52.5000000000000");
    FormatFixed(-0.1234567890123456, 13, buf, sizeof buf);
    EXPECT_STREQ(buf, "-0.1234567890123");
    FormatFixed(1e300, 13, buf, sizeof buf); // huge values still fit
    EXPECT_EQ(std::strlen(buf), 301u + 14u);
    char small[8];
    FormatFixed(1e300, 13, small, sizeof small); // and never overrun a small buffer
    EXPECT_LT(std::strlen(small), sizeof small);

    char line[200];
    FormatTrackPoint(17, 0.2276, 0.9163, 1234.5, 2, line, sizeof line);
    EXPECT_STREQ(line, "17 0.2276000000000 0.9163000000000 1234.5000000000000 2");
    int idx, phase;
    double lon, lat, h;
    ASSERT_TRUE(ReadTrackPoint(line, idx, lon, lat, h, phase));
    EXPECT_EQ(idx, 17);
    EXPECT_EQ(lat, 0.9163);
    EXPECT_EQ(phase, 2);
}
