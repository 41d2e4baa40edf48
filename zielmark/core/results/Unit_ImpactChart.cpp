// Figures and impact-area diagram of one flight result.
#include "Unit_ImpactChart.h"

#include "Unit_Functions.h"
#include "Unit_GEFile.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zm {

namespace {

// Coordinates are kept within this many pixels of the image: far enough out to be cut off like the
// unbounded line, near enough that absurd figures cannot overflow an int.
constexpr long double CoordinateLimit = 1000000.0L;

// To the nearest integer, halves to the even neighbour (the default rounding mode).
int RoundPixel(long double v) {
    if (std::isnan(v)) return 0;
    return static_cast<int>(std::nearbyint(std::clamp(v, -CoordinateLimit, CoordinateLimit)));
}

long double Radians(long double degrees) {
    return degrees * Pi / 180.0L;
}

} // namespace

std::string FigureText(long double value) {
    if (!std::isfinite(value)) return {};
    return FormatFixed(std::nearbyint(value), 0);
}

TResultFigures ResultFigures(const TTeskWreck& w) {
    TResultFigures f;
    const auto figure = [&](long double TTeskWreck::*field) {
        return w.Gives(field) ? FigureText(w.*field) : std::string(MissingFigure);
    };
    f.LaunchAz = figure(&TTeskWreck::LaunchAz);
    f.PlannedRange = figure(&TTeskWreck::PlannedRange);
    f.ActualRange = figure(&TTeskWreck::RangeActual);
    f.RangeMiss = figure(&TTeskWreck::RangeMiss);
    f.LongitudalMiss = figure(&TTeskWreck::LongitudalMiss);
    f.LateralMiss = figure(&TTeskWreck::LateralMiss);
    if (!w.Failure.empty()) f.Failure = "Failure: " + w.Failure;
    return f;
}

TChartPoint PlaceChartLabel(const std::string& text, TChartPoint p, TChartPoint q, int width, int height,
                            const TTextMeasure& measure) {
    const TTextSize size = measure(text);
    // In 64 bits: any two int points and sizes are safe.
    const auto centred = [](long long a, long long b, long long extent) {
        const long long lo = std::min(a, b), hi = std::max(a, b);
        return lo + (hi - lo) / 2 - extent / 2;
    };
    long long x = centred(p.X, q.X, size.Width);
    long long y = centred(p.Y, q.Y, size.Height);
    if (x < 0) x = 0;
    if (x > 0LL + width - size.Width) x = 0LL + width - size.Width;
    if (y < 0) y = 0;
    if (y > 0LL + height - size.Height) y = 0LL + height - size.Height;
    const auto toInt = [](long long v) {
        return static_cast<int>(
            std::clamp<long long>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
    };
    return {toInt(x), toInt(y)};
}

TImpactChart BuildImpactChart(const TTeskWreck& w, const TTextMeasure& measure, int width, int height) {
    TImpactChart chart;
    chart.Width = width;
    chart.Height = height;
    // Impact and foot point need these; a figure taken as 0 would draw a hit that did not happen.
    for (long double TTeskWreck::*needed : {&TTeskWreck::RangeMiss, &TTeskWreck::AzimuthMiss,
                                            &TTeskWreck::LaunchAz, &TTeskWreck::LongitudalMiss})
        if (!w.Gives(needed)) chart.FiguresMissing = true;
    if (chart.FiguresMissing) return chart;

    // Impact vector and the foot point on the line of flight, metres north (A, C) and east (B, D).
    const long double a = Radians(w.AzimuthMiss), l = Radians(w.LaunchAz);
    const long double A = std::cos(a) * w.RangeMiss, B = std::sin(a) * w.RangeMiss;
    const long double C = std::cos(l) * w.LongitudalMiss, D = std::sin(l) * w.LongitudalMiss;
    const long double span = std::max(std::fabs(A), std::fabs(B));
    if (!(span > 0) || !std::isfinite(span)) return chart; // no miss, no scale: the image stays white
    const long double k = (width - 20) / span;             // the larger impact component spans W - 20 pixels
    if (!std::isfinite(k)) return chart;

    const TChartPoint t{0, 0}, i{RoundPixel(B * k), RoundPixel(A * k)},
        p{RoundPixel(D * k), RoundPixel(C * k)};
    const int minX = std::min({0, i.X, p.X}), minY = std::min({0, i.Y, p.Y});
    // The leftmost point 10 pixels from the left edge, the lowest 10 pixels above the bottom edge.
    const auto toPixel = [&](TChartPoint c) {
        return TChartPoint{c.X - minX + 10, height - 10 - (c.Y - minY)};
    };
    chart.HasScale = true;
    chart.Target = toPixel(t);
    chart.Impact = toPixel(i);
    chart.Foot = toPixel(p);

    const int s = RoundPixel(std::sin(l) * 300), c = RoundPixel(std::cos(l) * 300);
    const TChartPoint& T = chart.Target;
    chart.Lines.push_back({{T.X - s, T.Y + c}, {T.X + s, T.Y - c}, TChartColour::Black});
    chart.Lines.push_back({chart.Impact, chart.Foot, TChartColour::Blue});

    chart.Circles.push_back({chart.Target, TChartColour::Black});
    chart.Circles.push_back({chart.Impact, TChartColour::Red});
    chart.Circles.push_back({chart.Foot, TChartColour::Blue});

    const TChartPoint centre{width / 2, height / 2};
    const TChartPoint tip{centre.X + RoundPixel(std::sin(l) * 20), centre.Y - RoundPixel(std::cos(l) * 20)};
    const long double barb = l + Radians(45);
    const TChartPoint barbEnd{tip.X - RoundPixel(std::sin(barb) * 5), tip.Y + RoundPixel(std::cos(barb) * 5)};
    chart.Arrow.push_back({centre, tip, TChartColour::Black});
    chart.Arrow.push_back({tip, barbEnd, TChartColour::Black});

    const std::string longitudal = FigureText(w.LongitudalMiss);
    const std::string lateral = w.Gives(&TTeskWreck::LateralMiss) ? FigureText(w.LateralMiss) : MissingFigure;
    chart.Labels.push_back(
        {longitudal, PlaceChartLabel(longitudal, chart.Target, chart.Foot, width, height, measure)});
    chart.Labels.push_back(
        {lateral, PlaceChartLabel(lateral, chart.Impact, chart.Foot, width, height, measure)});
    return chart;
}

// ---- SVG ----

namespace {

constexpr int SvgCharWidth = 6;
constexpr int SvgTextHeight = 13;

std::string_view SvgColour(TChartColour c) {
    switch (c) {
    case TChartColour::Black:
        return "#000000";
    case TChartColour::Blue:
        return "#0000FF";
    case TChartColour::Red:
        return "#FF0000";
    }
    return "#000000";
}

std::string Num(int v) {
    return FormatInt(v);
}

// Pixel centres, so that one-pixel lines fall on whole pixels.
std::string Centre(int v) {
    return FormatFixed(v + 0.5L, 1);
}

void AppendLine(std::string& out, const TChartLine& line) {
    out += "<line x1=\"" + Centre(line.From.X) + "\" y1=\"" + Centre(line.From.Y) + "\" x2=\"" +
           Centre(line.To.X) + "\" y2=\"" + Centre(line.To.Y) + "\" stroke=\"";
    out += SvgColour(line.Pen);
    out += "\" stroke-width=\"1\"/>\n";
}

} // namespace

TTextSize SvgTextSize(const std::string& text) {
    return {static_cast<int>(std::min<size_t>(text.size(), 100000)) * SvgCharWidth, SvgTextHeight};
}

std::string ImpactChartSvg(const TImpactChart& chart) {
    const std::string w = Num(chart.Width), h = Num(chart.Height);
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                      w + "\" height=\"" + h + "\" viewBox=\"0 0 " + w + " " + h + "\">\n";
    out += "<rect x=\"0\" y=\"0\" width=\"" + w + "\" height=\"" + h + "\" fill=\"#FFFFFF\"/>\n";
    for (const TChartLine& line : chart.Lines)
        AppendLine(out, line);
    for (const TChartLabel& label : chart.Labels) {
        const TTextSize size = SvgTextSize(label.Text);
        out += "<rect x=\"" + Num(label.TopLeft.X) + "\" y=\"" + Num(label.TopLeft.Y) + "\" width=\"" +
               Num(size.Width) + "\" height=\"" + Num(size.Height) + "\" fill=\"#FFFFFF\"/>\n";
        out += "<text x=\"" + Num(label.TopLeft.X) + "\" y=\"" + Num(label.TopLeft.Y + SvgTextHeight - 3) +
               "\" font-family=\"sans-serif\" font-size=\"11\" fill=\"#000000\">" + KmlText(label.Text) +
               "</text>\n";
    }
    for (const TChartCircle& circle : chart.Circles) {
        out += "<circle cx=\"" + Num(circle.Center.X) + "\" cy=\"" + Num(circle.Center.Y) + "\" r=\"" +
               Num(TChartCircle::Radius) + "\" fill=\"#FFFFFF\" stroke=\"";
        out += SvgColour(circle.Pen);
        out += "\" stroke-width=\"1\"/>\n";
    }
    for (const TChartLine& line : chart.Arrow)
        AppendLine(out, line);
    out += "</svg>\n";
    return out;
}

} // namespace zm
