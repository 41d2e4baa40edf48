#include "Unit_DispersionPlot.h"

#include "Unit_Functions.h"
#include "Unit_GEFile.h"

#include "FailureKinds.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <set>

namespace zm {

namespace {

// The square plotting area, left of the legend.
constexpr double kLeft = 80, kTop = 50, kSize = 520;

std::string N(double v) {
    return FormatFixed(std::isfinite(v) ? v : 0.0, 2);
}

// A tick spacing of 1, 2 or 5 times a power of ten that gives a handful of ticks over `span`.
double TickStep(double span) {
    const double raw = span / 6, power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double f : {1.0, 2.0, 5.0})
        if (f * power >= raw) return f * power;
    return 10 * power;
}

struct TView {
    double CentreAlong = 0, CentreAcross = 0, Half = 1; // metres
    double X(double across) const { return kLeft + kSize / 2 + (across - CentreAcross) * kSize / (2 * Half); }
    double Y(double along) const { return kTop + kSize / 2 - (along - CentreAlong) * kSize / (2 * Half); }
    double Len(double metres) const { return metres * kSize / (2 * Half); }
};

// The picture fits the target, the flights without a failure (all flights when none), the outer ellipse
// and the CEP circles; a failure far away (an explosion on the pad) would shrink the spread to a dot, so
// such points are drawn hollow at the picture's edge.
TView ViewOf(const TMissileDispersion& m) {
    const TDispersionStats& s = m.Stats;
    double lo[2] = {0, 0}, hi[2] = {0, 0}; // along, across; the target (origin) is always in
    const auto take = [&](double along, double across, double r) {
        lo[0] = std::min(lo[0], along - r), hi[0] = std::max(hi[0], along + r);
        lo[1] = std::min(lo[1], across - r), hi[1] = std::max(hi[1], across + r);
    };
    const bool anyClean = std::any_of(m.Impacts.begin(), m.Impacts.end(),
                                      [](const TDispersionImpact& i) { return i.Outcome.Kind == "none"; });
    for (const TDispersionImpact& i : m.Impacts)
        if (!anyClean || i.Outcome.Kind == "none") take(i.Offset.Along, i.Offset.Across, 0);
    if (s.Count > 0) {
        take(s.Mean.Along, s.Mean.Across, std::max(s.Ellipses[2].SemiMajor, s.CepMean.Value));
        take(0, 0, s.CepTarget.Value);
    }
    TView v;
    v.CentreAlong = (lo[0] + hi[0]) / 2;
    v.CentreAcross = (lo[1] + hi[1]) / 2;
    v.Half = std::max({(hi[0] - lo[0]) / 2, (hi[1] - lo[1]) / 2, 50.0}) * 1.08;
    return v;
}

std::string Text(double x, double y, const std::string& s, const char* anchor = "start", int size = 12) {
    return "<text x=\"" + N(x) + "\" y=\"" + N(y) + "\" font-size=\"" + std::to_string(size) +
           "\" text-anchor=\"" + anchor + "\">" + KmlText(s) + "</text>\n";
}

} // namespace

// The colour of each failure cause, in the order of FailureCauses.
constexpr const char* CauseColours[] = {"#7f1f1f", "#d62728", "#ff7f0e", "#8c564b",
                                        "#bcbd22", "#2ca02c", "#17becf", "#9467bd"};
static_assert(std::size(CauseColours) == std::size(FailureCauses));

std::string FailureColour(const std::string& kind) {
    if (kind == "none") return "#1f5fbf";
    for (size_t i = 0; i < std::size(FailureCauses); ++i)
        if (kind == FailureCauses[i].words) return CauseColours[i];
    return "#7f7f7f";
}

std::string DispersionSvg(const TMissileDispersion& m) {
    const TDispersionStats& s = m.Stats;
    const TView v = ViewOf(m);
    std::string svg =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
        std::to_string(DispersionPlotWidth) + "\" height=\"" + std::to_string(DispersionPlotHeight) +
        "\" viewBox=\"0 0 " + std::to_string(DispersionPlotWidth) + " " +
        std::to_string(DispersionPlotHeight) + "\" font-family=\"DejaVu Sans\">\n";
    svg += "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
    svg += Text(kLeft, 22,
                m.Missile + " to " + m.Target + ": " + std::to_string(m.Runs) + " runs, " +
                    std::to_string(s.Count) + " without a failure",
                "start", 15);
    svg += Text(kLeft, 40,
                "launch azimuth " + FormatFixed(m.LaunchAzimuth, 1) + " deg, range " +
                    FormatFixed(m.PlannedRange / 1000, 1) + " km" + (m.Precise ? ", precise cut-off" : ""),
                "start", 11);

    // Grid and axes: metres across (x) and along (y) the launch azimuth, from the target.
    svg += "<g stroke=\"#e4e4e4\" stroke-width=\"1\">\n";
    const double step = TickStep(2 * v.Half);
    std::string labels;
    for (double t = std::ceil((v.CentreAcross - v.Half) / step) * step; t <= v.CentreAcross + v.Half;
         t += step) {
        svg += "<line x1=\"" + N(v.X(t)) + "\" y1=\"" + N(kTop) + "\" x2=\"" + N(v.X(t)) + "\" y2=\"" +
               N(kTop + kSize) + "\"/>\n";
        labels += Text(v.X(t), kTop + kSize + 16, FormatFixed(t, 0), "middle", 11);
    }
    for (double t = std::ceil((v.CentreAlong - v.Half) / step) * step; t <= v.CentreAlong + v.Half;
         t += step) {
        svg += "<line x1=\"" + N(kLeft) + "\" y1=\"" + N(v.Y(t)) + "\" x2=\"" + N(kLeft + kSize) +
               "\" y2=\"" + N(v.Y(t)) + "\"/>\n";
        labels += Text(kLeft - 6, v.Y(t) + 4, FormatFixed(t, 0), "end", 11);
    }
    svg += "</g>\n" + labels;
    svg += "<rect x=\"" + N(kLeft) + "\" y=\"" + N(kTop) + "\" width=\"" + N(kSize) + "\" height=\"" +
           N(kSize) + "\" fill=\"none\" stroke=\"#404040\"/>\n";
    svg += Text(kLeft + kSize / 2, kTop + kSize + 34, "metres across the launch azimuth (right +)", "middle",
                12);
    svg += "<text x=\"20\" y=\"" + N(kTop + kSize / 2) +
           "\" font-size=\"12\" text-anchor=\"middle\" transform=\"rotate(-90 20 " + N(kTop + kSize / 2) +
           ")\">metres along the launch azimuth (beyond +)</text>\n";

    svg += "<svg x=\"" + N(kLeft) + "\" y=\"" + N(kTop) + "\" width=\"" + N(kSize) + "\" height=\"" +
           N(kSize) + "\" viewBox=\"" + N(kLeft) + " " + N(kTop) + " " + N(kSize) + " " + N(kSize) +
           "\" overflow=\"hidden\">\n";
    if (s.Count > 0) {
        const double cx = v.X(s.Mean.Across), cy = v.Y(s.Mean.Along);
        for (const TErrorEllipse& e : s.Ellipses)
            svg += "<ellipse cx=\"" + N(cx) + "\" cy=\"" + N(cy) + "\" rx=\"" + N(v.Len(e.SemiMajor)) +
                   "\" ry=\"" + N(v.Len(e.SemiMinor)) + "\" transform=\"rotate(" + N(s.MajorAngle - 90) +
                   " " + N(cx) + " " + N(cy) + ")\" fill=\"none\" stroke=\"#404040\" stroke-width=\"" +
                   (e.Sigma == 1 ? "1.6" : "1") + "\"/>\n";
        svg += "<circle cx=\"" + N(cx) + "\" cy=\"" + N(cy) + "\" r=\"" + N(v.Len(s.CepMean.Value)) +
               "\" fill=\"none\" stroke=\"#1f5fbf\" stroke-width=\"1.6\" stroke-dasharray=\"6 3\"/>\n";
        svg += "<circle cx=\"" + N(v.X(0)) + "\" cy=\"" + N(v.Y(0)) + "\" r=\"" +
               N(v.Len(s.CepTarget.Value)) +
               "\" fill=\"none\" stroke=\"#d62728\" stroke-width=\"1.2\" stroke-dasharray=\"2 3\"/>\n";
    }
    int outside = 0;
    for (const TDispersionImpact& i : m.Impacts) {
        const std::string colour = FailureColour(i.Outcome.Kind);
        double x = v.X(i.Offset.Across), y = v.Y(i.Offset.Along);
        const double cx = std::clamp(x, kLeft + 4, kLeft + kSize - 4),
                     cy = std::clamp(y, kTop + 4, kTop + kSize - 4);
        if (cx != x || cy != y) {
            ++outside;
            svg += "<circle cx=\"" + N(cx) + "\" cy=\"" + N(cy) + "\" r=\"3.5\" fill=\"white\" stroke=\"" +
                   colour + "\" stroke-width=\"1.5\"/>\n";
            continue;
        }
        if (i.Outcome.ReachedGround)
            svg += "<circle cx=\"" + N(x) + "\" cy=\"" + N(y) + "\" r=\"3\" fill=\"" + colour +
                   "\" fill-opacity=\"0.75\"/>\n";
        else // destroyed in the air: a cross
            svg += "<path d=\"M" + N(x - 4) + " " + N(y - 4) + "L" + N(x + 4) + " " + N(y + 4) + "M" +
                   N(x - 4) + " " + N(y + 4) + "L" + N(x + 4) + " " + N(y - 4) + "\" stroke=\"" + colour +
                   "\" stroke-width=\"2\"/>\n";
    }
    // Target: a red cross in a circle; mean point: a black diamond.
    svg += "<g stroke=\"#d62728\" stroke-width=\"2\" fill=\"none\"><circle cx=\"" + N(v.X(0)) + "\" cy=\"" +
           N(v.Y(0)) + "\" r=\"7\"/><path d=\"M" + N(v.X(0) - 10) + " " + N(v.Y(0)) + "H" + N(v.X(0) + 10) +
           "M" + N(v.X(0)) + " " + N(v.Y(0) - 10) + "V" + N(v.Y(0) + 10) + "\"/></g>\n";
    if (s.Count > 0) {
        const double cx = v.X(s.Mean.Across), cy = v.Y(s.Mean.Along);
        svg += "<path d=\"M" + N(cx) + " " + N(cy - 7) + "L" + N(cx + 7) + " " + N(cy) + "L" + N(cx) + " " +
               N(cy + 7) + "L" + N(cx - 7) + " " + N(cy) + "Z\" fill=\"black\"/>\n";
    }
    svg += "</svg>\n";

    // Legend: the kinds present, then the marks and the figures.
    double y = kTop + 10;
    const double lx = kLeft + kSize + 14;
    std::set<std::string> kinds;
    for (const TDispersionImpact& i : m.Impacts)
        kinds.insert(i.Outcome.Kind);
    for (const std::string& k : kinds) {
        svg += "<circle cx=\"" + N(lx + 5) + "\" cy=\"" + N(y - 4) + "\" r=\"4\" fill=\"" + FailureColour(k) +
               "\"/>\n";
        svg += Text(lx + 14, y, k == "none" ? "no failure" : k, "start", 10);
        y += 16;
    }
    y += 6;
    svg += Text(lx, y, "x  destroyed in the air", "start", 10), y += 16;
    svg += Text(lx, y, "\u25c6  mean point of impact", "start", 10), y += 16;
    svg += Text(lx, y, "\u2295  target", "start", 10), y += 16;
    if (outside > 0)
        svg += Text(lx, y, "o  " + std::to_string(outside) + " beyond the edge", "start", 10), y += 16;
    y += 6;
    if (s.Count > 0) {
        const auto line = [&](const std::string& t) { svg += Text(lx, y, t, "start", 10), y += 15; };
        line("ellipses 1, 2, 3 sigma");
        line("(68.3, 95.4, 99.7 %)");
        line("CEP about the mean point");
        line("(blue dashes) " + FormatFixed(s.CepMean.Value, 0) + " m");
        line("CEP about the target");
        line("(red dots) " + FormatFixed(s.CepTarget.Value, 0) + " m");
        line("R90 about mean " + FormatFixed(s.R90Mean.Value, 0) + " m");
        line("mean " + FormatFixed(s.Mean.Along, 0) + " m along,");
        line("     " + FormatFixed(s.Mean.Across, 0) + " m across");
        line("sd " + FormatFixed(s.SdAlong, 0) + " / " + FormatFixed(s.SdAcross, 0) + " m");
    }
    svg += "</svg>\n";
    return svg;
}

} // namespace zm
