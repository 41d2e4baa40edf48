// Worked values of the shared helpers: great circle, day numbers, zones, text positions, numbers.
#include "Unit_Functions.h"
#include "Unit_GeoPoint.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace zm;

namespace {

struct CourseCase {
    double lat2, lon2, km, az;
};

TEST(GreatCircle, WorkedCoursesFromTheOrigin) {
    const CourseCase cases[] = {
        {0, 1, 111.19510, 90}, {0, -1, 111.19510, 270}, {1, 0, 111.19510, 0}, {-1, 0, 111.19510, 180}};
    for (const auto& c : cases) {
        const TGreatCircle r = GreatCircleKmDeg(0, 0, DegToRad(c.lat2), DegToRad(c.lon2));
        EXPECT_NEAR(static_cast<double>(r.Distance), c.km, 5e-6) << c.lat2 << "," << c.lon2;
        EXPECT_NEAR(static_cast<double>(r.Azimuth), c.az, 1e-9) << c.lat2 << "," << c.lon2;
    }
}

TEST(GreatCircle, NeverNaNAtDegeneratePoints) {
    const double pts[][4] = {{52.4, 13.5, 52.4, 13.5}, // same point
                             {0, 0, 0, 180},           // antipode
                             {90, 0, 10, 20},          // from the north pole
                             {-90, 0, 10, 20},         // from the south pole
                             {45.123456789, 7.1, 45.123456789, 7.1}};
    for (const auto& p : pts) {
        const TGreatCircle r =
            GreatCircleKmDeg(DegToRad(p[0]), DegToRad(p[1]), DegToRad(p[2]), DegToRad(p[3]));
        EXPECT_TRUE(std::isfinite(r.Distance) && std::isfinite(r.Azimuth)) << p[0] << "," << p[1];
        EXPECT_GE(r.Azimuth, 0);
        EXPECT_LE(r.Azimuth, 360);
    }
    EXPECT_EQ(GreatCircleKmDeg(DegToRad(52.4), DegToRad(13.5), DegToRad(52.4), DegToRad(13.5)).Azimuth, 0);
    EXPECT_NEAR(static_cast<double>(GreatCircleKmDeg(DegToRad(90), 0, DegToRad(10), 0).Azimuth), 180, 1e-9);
}

// At a pole every course leads one way, whatever the longitudes: the launch heading and the diagram
// get 180 from the north pole and 0 from the south pole, not 90, 270 or 360 from rounding.
TEST(GreatCircle, FromAPoleTheAzimuthIsExact) {
    const struct {
        double lat1, lon1, lat2, lon2, az;
    } cases[] = {
        {90, 0, 10, 20, 180},      {90, 0, 10, -20, 180}, {90, 13.4, 52.5, 13.4, 180},
        {90, 170, -45, -170, 180}, {90, -90, 0, 90, 180}, {-90, 0, 10, 20, 0},
        {-90, 0, 10, -20, 0},      {-90, 45, -60, 30, 0}, {-90, -120, 30, 150, 0},
    };
    for (const auto& c : cases) {
        const TGreatCircle r =
            GreatCircleKmDeg(DegToRad(c.lat1), DegToRad(c.lon1), DegToRad(c.lat2), DegToRad(c.lon2));
        EXPECT_EQ(static_cast<double>(r.Azimuth), c.az)
            << c.lat1 << "," << c.lon1 << " -> " << c.lat2 << "," << c.lon2;
        EXPECT_NEAR(static_cast<double>(r.Distance), 6371.01 * std::fabs(c.lat1 - c.lat2) * M_PI / 180, 1e-6);
    }
}

TEST(GreatCircle, WestOrEastByComparingLongitudes) {
    // 179.5 -> -179.5: the short way runs east, but the longitudes say west.
    const TGreatCircle r = GreatCircleKmDeg(0, DegToRad(179.5), 0, DegToRad(-179.5));
    EXPECT_NEAR(static_cast<double>(r.Azimuth), 270, 1e-9);
}

// The place holds the radians a track point is given in and gives the degrees the result file is written
// in, bit for bit as the reader always converted them; degrees read from a block reach the great circle
// the same way.
TEST(GeoPoint, RadiansHeldDegreesGivenAsTheResultsAlwaysConvertedThem) {
    const long double radians[][2] = {{0, 0},
                                      {0.8726646259971647L, 0.1396263401595464L},
                                      {-1.5707963267948966L, 3.141592653589793L},
                                      {1e-9L, -2.5L}};
    for (const auto& r : radians) {
        const TGeoPoint p = TGeoPoint::FromRadians(r[0], r[1]);
        EXPECT_EQ(p.LatDeg(), r[0] * 180.0L / Pi);
        EXPECT_EQ(p.LonDeg(), r[1] * 180.0L / Pi);
    }
    const TGeoPoint launch = TGeoPoint::FromDegrees(50.1L, 8.7L),
                    target = TGeoPoint::FromDegrees(52.5L, 13.4L);
    EXPECT_EQ(launch.LatRad, 50.1L / 180.0L * Pi);
    const TGreatCircle viaPoints = GreatCircleKmDeg(launch, target);
    const TGreatCircle viaRadians =
        GreatCircleKmDeg(50.1L / 180.0L * Pi, 8.7L / 180.0L * Pi, 52.5L / 180.0L * Pi, 13.4L / 180.0L * Pi);
    EXPECT_EQ(viaPoints.Distance, viaRadians.Distance);
    EXPECT_EQ(viaPoints.Azimuth, viaRadians.Azimuth);
    EXPECT_NEAR(static_cast<double>(viaPoints.Distance), 421.7, 0.1); // about Frankfurt to Berlin
}

TEST(DayNumbers, MjdAndCalendar) {
    double d = 0;
    ASSERT_TRUE(TryEncodeDate(2000, 1, 1, d));
    EXPECT_EQ(d, 36526);
    EXPECT_DOUBLE_EQ(DateTimeToMjd(36526.5), 51544.5);
    EXPECT_DOUBLE_EQ(MjdToDateTime(51544.5), 36526.5);
    ASSERT_TRUE(TryEncodeDate(1899, 12, 30, d));
    EXPECT_EQ(d, 0);
    EXPECT_FALSE(TryEncodeDate(1945, 2, 31, d));
    EXPECT_TRUE(TryEncodeDate(2024, 2, 29, d));
    EXPECT_FALSE(TryEncodeDate(2023, 2, 29, d));
    EXPECT_DOUBLE_EQ(AddMinutes(-60, 10.5), 10.5 - 1.0 / 24);
    EXPECT_DOUBLE_EQ(SubtractMinutes(-60, 10.5), 10.5 + 1.0 / 24);
}

TEST(DayNumbers, FormatAndParseFields) {
    EXPECT_EQ(FormatDate(36526.5), "01.01.2000");
    EXPECT_EQ(FormatTime(36526.5), "12:00");
    EXPECT_EQ(FormatTime(36526.0 + (23 * 60 + 59.999) / 1440), "23:59"); // seconds cut off
    EXPECT_EQ(FormatTime(36526.99999999999), "00:00");                   // rounds into the next day
    EXPECT_EQ(FormatDate(36526.99999999999), "02.01.2000");
    double d = -1, t = -1;
    EXPECT_TRUE(TryParseDate(" 1. 1.2000", d));
    EXPECT_EQ(d, 36526);
    EXPECT_TRUE(TryParseTime(" 9:05", t));
    EXPECT_DOUBLE_EQ(t, (9 * 60 + 5) / 1440.0);
    const char* badDates[] = {"31.02.1945", "  .  .    ", "1.1.20",
                              "01.13.2000", "aa.bb.cccc", "01.01.20000"};
    for (const char* s : badDates)
        EXPECT_FALSE(TryParseDate(s, d)) << s;
    const char* badTimes[] = {"24:00", "12:60", "  :  ", "12:5", "x:00"};
    for (const char* s : badTimes)
        EXPECT_FALSE(TryParseTime(s, t)) << s;
}

TEST(Zones, NominalZoneOfLongitude) {
    const std::pair<double, int> cases[] = {{7.5, 0},  {7.6, -60},  {180, -720}, {22.5, -120},
                                            {-7.5, 0}, {13.4, -60}, {-75, 300}};
    for (auto [lon, minutes] : cases)
        EXPECT_EQ(ZoneMinutesForLongitude(lon), minutes) << lon;
    // Beyond the date line the meridian wraps; absurd values from damaged files stay within a day.
    const std::pair<long double, int> wrapped[] = {{370, -60}, {-190, -660}, {-367.5L, 0}};
    for (auto [lon, minutes] : wrapped)
        EXPECT_EQ(ZoneMinutesForLongitude(lon), minutes) << static_cast<double>(lon);
    for (long double lon : {6.66667e21L, -1e300L, 1e4000L}) {
        const int minutes = ZoneMinutesForLongitude(lon);
        EXPECT_LE(std::abs(minutes), 720) << static_cast<double>(lon);
    }
}

TEST(TextHelpers, FileNamesAndSplitting) {
    EXPECT_FALSE(IsValidFileName(""));
    EXPECT_FALSE(IsValidFileName("what?.scn"));
    for (const char* bad : {"a\"b", "a*b", "a<b", "a>b", "a|b"})
        EXPECT_FALSE(IsValidFileName(bad)) << bad;
    EXPECT_TRUE(IsValidFileName("C:\\dir\\x.scn"));

    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"a b", {"a", "b"}}, {"a  b ", {"a", "", "b", ""}}, {"abc", {"abc"}}, {" ", {"", ""}}};
    for (const auto& [text, pieces] : cases) {
        std::vector<std::string> list;
        SplitText(text, " ", &list);
        EXPECT_EQ(list, pieces) << "'" << text << "'";
    }
    std::vector<std::string> list{"kept"};
    SplitText("", " ", &list);
    SplitText("a b", "", &list);
    SplitText("a b", " ", nullptr);
    EXPECT_EQ(list, std::vector<std::string>{"kept"});
}

TEST(TextHelpers, PositionsAndTextBetween) {
    EXPECT_EQ(PosFrom("b", 1, "abcabc"), 2u);
    EXPECT_EQ(PosFrom("b", 3, "abcabc"), 5u);
    EXPECT_EQ(PosFrom("x", 1, "abc"), 0u);
    EXPECT_EQ(PosFrom("c", 7, "abc"), 0u);
    EXPECT_EQ(PosAfter("bc", 1, "abc"), 4u); // pattern ends the text: length + 1
    EXPECT_EQ(PosAfter("x", 1, "abc"), 0u);

    size_t pos = 1;
    EXPECT_EQ(TextBetween("<d>", "</d>", pos, "xx<d>hello</d>"), "hello");
    EXPECT_EQ(pos, 11u);
    pos = 1;
    EXPECT_EQ(TextBetween("<d>", "</d>", pos, "no markers"), "");
    EXPECT_EQ(pos, 0u);
    pos = 1;
    EXPECT_EQ(TextBetween("<d>", "</d>", pos, "<d>open only"), "");
    EXPECT_EQ(pos, 0u);
}

TEST(Numbers, FixedFormatKeepsEighteenSignificantDigits) {
    const std::tuple<long double, int, const char*> cases[] = {
        {5231.7L, 16, "5231.7000000000000000"},
        {51544.5L, 12, "51544.500000000000"},
        {13.5L, 13, "13.5000000000000"},
        {52.25L, 13, "52.2500000000000"},
        {111195.07973436L, 1, "111195.1"},
        {-0.0L, 4, "0.0000"},
        {89.99996L, 4, "90.0000"},
        {-12.5L, 1, "-12.5"},
        {0.1L, 20, "0.10000000000000000000"},
        {7.0L, 0, "7"},
    };
    for (const auto& [v, d, text] : cases)
        EXPECT_EQ(FormatFixed(v, d), text) << static_cast<double>(v);
    // 18 significant digits, then zeros: a double's binary tail does not show.
    EXPECT_EQ(FormatFixed(static_cast<long double>(0.1), 20), "0.10000000000000000600");
}

TEST(Numbers, ParsingIsStrictAndLocaleFree) {
    long double v = 0;
    const std::pair<const char*, long double> good[] = {
        {"13.5", 13.5L}, {" -52.25 ", -52.25L}, {"+1e3", 1000.0L}, {"\t7", 7.0L}, {".5", 0.5L}, {"1.", 1.0L}};
    for (auto [text, value] : good) {
        ASSERT_TRUE(TryParseFloat(text, v)) << text;
        EXPECT_EQ(v, value) << text;
    }
    for (const char* bad :
         {"", " ", "13,5", "1.000,5", "inf", "nan", "--1", "1e", "12abc", "0x10", "+ 1", "1 2"})
        EXPECT_FALSE(TryParseFloat(bad, v)) << bad;
    int i = 0;
    EXPECT_TRUE(TryParseInt("  42", i));
    EXPECT_EQ(i, 42);
    EXPECT_EQ(StrToIntDef("abc", 0), 0);
    EXPECT_EQ(StrToIntDef("99999999999999", -1), -1);
    EXPECT_EQ(StrToIntDef("-3", 0), -3);
}

} // namespace
