// The figures of a flight result and the geometry of its impact-area diagram.
#include "Unit_ImpactChart.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <climits>
#include <cmath>
#include <limits>

using namespace zm;

namespace {

// A font six pixels a character, thirteen high.
TTextSize Measure(const std::string& text) {
    return {static_cast<int>(text.size()) * 6, 13};
}

TTeskWreck Miss(long double rangeMiss, long double azimuthMiss, long double launchAz, long double longitudal,
                long double lateral) {
    TTeskWreck w;
    w.RangeMiss = rangeMiss;
    w.AzimuthMiss = azimuthMiss;
    w.LaunchAz = launchAz;
    w.LongitudalMiss = longitudal;
    w.LateralMiss = lateral;
    return w;
}

} // namespace

// ---- Figures ----

TEST(ResultFigures, RoundedToTheNearestIntegerHalvesToEven) {
    const struct {
        long double value;
        const char* text;
    } cases[] = {
        {89.5L, "90"},      {88.5L, "88"},       {2.5L, "2"},           {-2.5L, "-2"},      {-0.4L, "0"},
        {1234.49L, "1234"}, {-1200.5L, "-1200"}, {931456.7L, "931457"}, {1e7L, "10000000"}, {0, "0"}};
    for (const auto& c : cases)
        EXPECT_EQ(FigureText(c.value), c.text) << double(c.value);
}

TEST(ResultFigures, EveryLabelAndTheFailureLine) {
    TTeskWreck w = Miss(1834.25L, 310, 0, 1387.4L, -1200.5L);
    w.LaunchAz = 265.5L;
    w.PlannedRange = 930999.5L;
    w.RangeActual = 931000.7L;
    TResultFigures f = ResultFigures(w);
    EXPECT_EQ(f.LaunchAz, "266");
    EXPECT_EQ(f.PlannedRange, "931000");
    EXPECT_EQ(f.ActualRange, "931001");
    EXPECT_EQ(f.RangeMiss, "1834");
    EXPECT_EQ(f.LongitudalMiss, "1387");
    EXPECT_EQ(f.LateralMiss, "-1200");
    EXPECT_EQ(f.Failure, "");
    w.Failure = "Engine failure";
    EXPECT_EQ(ResultFigures(w).Failure, "Failure: Engine failure");
}

// ---- Label placement ----

TEST(ChartLabels, CentredBetweenTwoPointsAndKeptInsideTheImage) {
    const struct {
        const char* what;
        TChartPoint p, q;
        const char* text;
        TChartPoint place;
    } cases[] = {
        {"centred", {10, 231}, {231, 231}, "1000", {108, 225}}, // x: 10 + 110 - 12, y: 231 - 6
        {"centred inside", {20, 40}, {120, 100}, "12", {64, 64}},
        {"left of the image", {-200, 100}, {-100, 100}, "500", {0, 94}},
        {"right of the image", {230, 100}, {240, 100}, "-12345", {205, 94}},
        {"above the image", {100, -50}, {100, -10}, "7", {97, 0}},
        {"below the image", {100, 300}, {100, 400}, "7", {97, 228}},
        {"odd distances truncate", {0, 0}, {5, 5}, "123", {0, 0}},
        {"points in either order", {231, 231}, {10, 231}, "1000", {108, 225}},
        {"extreme points", {INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}, "1", {0, 0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PlaceChartLabel(c.text, c.p, c.q, 241, 241, Measure), c.place) << c.what;
}

// ---- Diagram geometry ----

TEST(ImpactChart, MissDueEastOfTheTarget) {
    // 1000 m due east, flown due east: k = 0.221, the impact 221 pixels east of the target, the line of
    // flight running east-west through the target.
    const TImpactChart chart = BuildImpactChart(Miss(1000, 90, 90, 1000, 0), Measure);
    ASSERT_TRUE(chart.HasScale);
    EXPECT_EQ(chart.Target, (TChartPoint{10, 231}));
    EXPECT_EQ(chart.Impact, (TChartPoint{231, 231}));
    EXPECT_EQ(chart.Foot, (TChartPoint{231, 231}));
    ASSERT_EQ(chart.Lines.size(), 2u);
    EXPECT_EQ(chart.Lines[0].From, (TChartPoint{-290, 231}));
    EXPECT_EQ(chart.Lines[0].To, (TChartPoint{310, 231}));
    EXPECT_EQ(chart.Lines[0].Pen, TChartColour::Black);
    EXPECT_EQ(chart.Lines[1].Pen, TChartColour::Blue);
    ASSERT_EQ(chart.Arrow.size(), 2u);
    EXPECT_EQ(chart.Arrow[0].From, (TChartPoint{120, 120}));
    EXPECT_EQ(chart.Arrow[0].To, (TChartPoint{140, 120}));
    EXPECT_EQ(chart.Arrow[1].To,
              (TChartPoint{136, 116})); // sin 135 deg x 5 and cos 135 deg x 5 round to 4, -4
    ASSERT_EQ(chart.Labels.size(), 2u);
    EXPECT_EQ(chart.Labels[0].Text, "1000");
    EXPECT_EQ(chart.Labels[0].TopLeft, (TChartPoint{108, 225}));
    EXPECT_EQ(chart.Labels[1].Text, "0");
    EXPECT_EQ(chart.Labels[1].TopLeft, (TChartPoint{228, 225}));
}

TEST(ImpactChart, MissNorthWestOfATargetFlownNorth) {
    // 1000 m north and 1000 m west of the target, flown due north: 1000 m long, 1000 m to the left.
    const TImpactChart chart = BuildImpactChart(Miss(1000 * std::sqrt(2.0L), 315, 0, 1000, -1000), Measure);
    ASSERT_TRUE(chart.HasScale);
    EXPECT_EQ(chart.Target, (TChartPoint{231, 231}));
    EXPECT_EQ(chart.Impact, (TChartPoint{10, 10}));
    EXPECT_EQ(chart.Foot, (TChartPoint{231, 10}));
    EXPECT_EQ(chart.Lines[0].From, (TChartPoint{231, 531}));
    EXPECT_EQ(chart.Lines[0].To, (TChartPoint{231, -69}));
    EXPECT_EQ(chart.Lines[1].From, chart.Impact);
    EXPECT_EQ(chart.Lines[1].To, chart.Foot);
    ASSERT_EQ(chart.Circles.size(), 3u);
    EXPECT_EQ(chart.Circles[0].Center, chart.Target);
    EXPECT_EQ(chart.Circles[0].Pen, TChartColour::Black);
    EXPECT_EQ(chart.Circles[1].Center, chart.Impact);
    EXPECT_EQ(chart.Circles[1].Pen, TChartColour::Red);
    EXPECT_EQ(chart.Circles[2].Center, chart.Foot);
    EXPECT_EQ(chart.Circles[2].Pen, TChartColour::Blue);
    EXPECT_EQ(chart.Arrow[0].To, (TChartPoint{120, 100}));
    EXPECT_EQ(chart.Arrow[1].To, (TChartPoint{116, 104}));
    EXPECT_EQ(chart.Labels[0].TopLeft, (TChartPoint{217, 114})); // pushed left off the right edge
    EXPECT_EQ(chart.Labels[1].Text, "-1000");
    EXPECT_EQ(chart.Labels[1].TopLeft, (TChartPoint{105, 4}));
}

TEST(ImpactChart, TheLargerImpactComponentSpansTheImageWhateverTheMissSize) {
    for (const long double miss : {0.001L, 1.0L, 1e6L}) {
        const TImpactChart chart = BuildImpactChart(Miss(miss, 180, 180, miss, 0), Measure);
        ASSERT_TRUE(chart.HasScale) << double(miss);
        EXPECT_EQ(chart.Target, (TChartPoint{10, 10})) << double(miss); // due south: the target on top
        EXPECT_EQ(chart.Impact, (TChartPoint{10, 231})) << double(miss);
    }
}

TEST(ImpactChart, NoScaleLeavesTheImageWhite) {
    const long double inf = std::numeric_limits<long double>::infinity();
    const TTeskWreck cases[] = {Miss(0, 45, 90, 0, 0), Miss(inf, 45, 90, 0, 0), Miss(1e-4950L, 45, 90, 0, 0)};
    for (const TTeskWreck& w : cases) {
        const TImpactChart chart = BuildImpactChart(w, Measure);
        EXPECT_FALSE(chart.HasScale) << double(w.RangeMiss);
        EXPECT_TRUE(chart.Lines.empty() && chart.Circles.empty() && chart.Arrow.empty() &&
                    chart.Labels.empty());
    }
}

TEST(ImpactChart, AbsurdFiguresStayWithinBounds) {
    // A foot point far beyond the impact (figures that contradict each other) is cut off, never overflows.
    const TImpactChart chart = BuildImpactChart(Miss(1, 90, 0, 1e300L, 1e300L), Measure);
    ASSERT_TRUE(chart.HasScale);
    EXPECT_LE(std::abs(chart.Foot.Y), 2000000);
    EXPECT_LE(std::abs(chart.Lines[1].To.Y), 2000000);
    EXPECT_LE(chart.Labels[0].TopLeft.Y, 241 - 13);
}

TEST(ImpactChart, SvgIsWellFormedAndDrawsEveryShape) {
    TTeskWreck w = Miss(1000 * std::sqrt(2.0L), 315, 0, 1000, -1000);
    const std::string svg = ImpactChartSvg(BuildImpactChart(w, SvgTextSize));
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(svg.c_str())) << svg;
    const pugi::xml_node root = doc.child("svg");
    EXPECT_STREQ(root.attribute("width").value(), "241");
    size_t lines = 0, circles = 0, texts = 0;
    for (const pugi::xml_node n : root.children()) {
        lines += std::string(n.name()) == "line";
        circles += std::string(n.name()) == "circle";
        texts += std::string(n.name()) == "text";
    }
    EXPECT_EQ(lines, 4u);
    EXPECT_EQ(circles, 3u);
    EXPECT_EQ(texts, 2u);
    // The labels (white boxes) lie under the marks: every circle and the arrow come after the last text.
    EXPECT_LT(svg.rfind("<text"), svg.find("<circle")) << svg;
    EXPECT_LT(svg.rfind("<text"), svg.rfind("<line")) << svg;
    // Without a scale only the white background remains.
    pugi::xml_document white;
    ASSERT_TRUE(
        white.load_string(ImpactChartSvg(BuildImpactChart(Miss(0, 0, 0, 0, 0), SvgTextSize)).c_str()));
    EXPECT_EQ(std::distance(white.child("svg").children().begin(), white.child("svg").children().end()), 1);
}
