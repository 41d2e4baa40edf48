// The missile's great-circle routines: worked values, limiting rule, and the two routines as inverses.
#include "Angles.h"
#include "GreatCircle.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {
constexpr double R0 = 6371000.0;
}

TEST(RangeAndAzimuth, PointToItselfIsZeroDistanceAzimuth180) {
    double d = -1, az = -1;
    RangeAndAzimuth(0.7, 0.2, 0.7, 0.2, R0, d, az);
    EXPECT_EQ(d, 0.0);
    EXPECT_NEAR(az, 180.0, 1e-9);
    EXPECT_FALSE(std::isnan(az));
}

TEST(RangeAndAzimuth, EastAndWestAlongTheEquator) {
    double d, az;
    RangeAndAzimuth(0, 0, 0, 0.1, R0, d, az);
    EXPECT_NEAR(az, 90.0, 1e-9);
    EXPECT_NEAR(d, 0.1 * R0, 1e-3);
    RangeAndAzimuth(0, 0, 0, -0.1, R0, d, az);
    EXPECT_NEAR(az, 270.0, 1e-9);
    EXPECT_NEAR(d, 0.1 * R0, 1e-3);
}

TEST(RangeAndAzimuth, DueNorthAndDueSouthAlongAMeridian) {
    double d, az;
    RangeAndAzimuth(RadFromDeg(50), RadFromDeg(10), RadFromDeg(51), RadFromDeg(10), R0, d, az);
    EXPECT_NEAR(az, 0.0, 1e-6);
    EXPECT_NEAR(d, RadFromDeg(1) * R0, 1e-3);
    RangeAndAzimuth(RadFromDeg(51), RadFromDeg(10), RadFromDeg(50), RadFromDeg(10), R0, d, az);
    EXPECT_NEAR(az, 180.0, 1e-6);
}

TEST(RangeAndAzimuth, LongitudesAreComparedRawAcrossTheDateLine) {
    // 179.9 E to 179.9 W is a short hop east, but the raw comparison (lon2 < lon1) mirrors the azimuth.
    double d, az;
    RangeAndAzimuth(0, RadFromDeg(179.9), 0, RadFromDeg(-179.9), R0, d, az);
    EXPECT_NEAR(d, RadFromDeg(0.2) * R0, 1.0);
    EXPECT_NEAR(az, 270.0, 1e-6);
}

TEST(PointAtRange, ZeroDistanceReturnsTheStartPoint) {
    double lat, lon;
    PointAtRange(0.9, -1.3, 0.0, 37.0, R0, lat, lon);
    EXPECT_NEAR(lat, 0.9, 1e-12);
    EXPECT_NEAR(lon, -1.3, 1e-7);
}

TEST(PointAtRange, InverseOfRangeAndAzimuth) {
    struct Case {
        double latDeg, lonDeg, distance, azimuth;
    };
    const Case cases[] = {
        {52.0, 13.0, 300000, 45},   {52.0, 13.0, 300000, 135}, {-33.9, 18.4, 150000, 200},
        {64.1, -21.9, 500000, 300}, {28.5, -80.6, 50000, 90},  {0.0, 0.0, 1000000, 10},
        {40.0, 100.0, 250000, 359},
    };
    for (const Case& c : cases) {
        double lat2, lon2, d, az;
        PointAtRange(RadFromDeg(c.latDeg), RadFromDeg(c.lonDeg), c.distance, c.azimuth, R0, lat2, lon2);
        RangeAndAzimuth(RadFromDeg(c.latDeg), RadFromDeg(c.lonDeg), lat2, lon2, R0, d, az);
        EXPECT_NEAR(d, c.distance, 0.01) << c.latDeg << " " << c.azimuth;
        EXPECT_NEAR(az, c.azimuth, 1e-6) << c.latDeg << " " << c.azimuth;
    }
}
