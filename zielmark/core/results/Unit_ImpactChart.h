// The figures of one flight result and the geometry of its impact-area diagram: a north-up, east-right
// picture with the target at its origin, the impact point, the foot point of the impact on the line of
// flight, and a direction arrow. The geometry is plain data; a window draws it with its own painter, the
// command line renders it as SVG.
#pragma once

#include "Unit_Results.h"

#include <functional>
#include <string>
#include <vector>

namespace zm {

// ---- Figures ----

// A figure as the page shows it: the value rounded to the nearest integer (halves to the even neighbour),
// as a plain decimal integer without unit: 89.5 gives "90", 88.5 gives "88".
std::string FigureText(long double value);

// How a figure the wreck block does not give is shown (never as 0, which would read as a hit).
inline constexpr const char* MissingFigure = "-";

struct TResultFigures {
    std::string LaunchAz;       // degrees
    std::string PlannedRange;   // metres
    std::string ActualRange;    // metres
    std::string RangeMiss;      // metres
    std::string LongitudalMiss; // metres
    std::string LateralMiss;    // metres
    std::string Failure;        // "Failure: " and the text, or empty when the flight had none
};

TResultFigures ResultFigures(const TTeskWreck& w);

// ---- Diagram geometry (pixels, x to the right, y downwards, origin at the image's top-left corner) ----

inline constexpr int ChartWidth = 241;
inline constexpr int ChartHeight = 241;

struct TChartPoint {
    int X = 0;
    int Y = 0;
    bool operator==(const TChartPoint&) const = default;
};

struct TTextSize {
    int Width = 0;
    int Height = 0;
};

// Measures a text in the font the diagram's labels are written with.
using TTextMeasure = std::function<TTextSize(const std::string& text)>;

enum class TChartColour { Black, Blue, Red };

// A line one pixel wide.
struct TChartLine {
    TChartPoint From;
    TChartPoint To;
    TChartColour Pen = TChartColour::Black;
};

// A small circle filled white, pen one pixel wide, in the box from (Center.X - Radius, Center.Y - Radius)
// to (Center.X + Radius, Center.Y + Radius): diameter 6.
struct TChartCircle {
    static constexpr int Radius = 3;
    TChartPoint Center;
    TChartColour Pen = TChartColour::Black;
};

// Black text on an opaque white background; TopLeft is the text's top-left corner.
struct TChartLabel {
    std::string Text;
    TChartPoint TopLeft;
};

// The whole diagram. Draw on a white image of Width x Height, in this order: Lines, Labels, Circles, Arrow.
// The marks come last, so a label's opaque background never hides the target, the impact, the foot point or
// the arrow (a label lies between two marks and may reach over them). Points outside the image are cut off
// by the image's edges.
struct TImpactChart {
    int Width = ChartWidth;
    int Height = ChartHeight;
    bool HasScale = false; // false (no miss, or no usable numbers): the image stays white, all lists empty
    bool FiguresMissing = false;       // the block lacks a figure the diagram is drawn from (it stays white)
    TChartPoint Target;                // T, the origin
    TChartPoint Impact;                // I
    TChartPoint Foot;                  // P, the impact's foot point on the line of flight
    std::vector<TChartLine> Lines;     // the line of flight through T (black), the lateral miss I to P (blue)
    std::vector<TChartCircle> Circles; // around T (black), I (red), P (blue)
    std::vector<TChartLine> Arrow;     // the direction of flight in the image's middle: shaft, one barb
    std::vector<TChartLabel> Labels;   // longitudinal miss between T and P, lateral miss between I and P
};

// Where a label goes: centred on the middle of p and q, then pushed inside a width x height image.
TChartPoint PlaceChartLabel(const std::string& text, TChartPoint p, TChartPoint q, int width, int height,
                            const TTextMeasure& measure);

TImpactChart BuildImpactChart(const TTeskWreck& w, const TTextMeasure& measure, int width = ChartWidth,
                              int height = ChartHeight);

// ---- SVG rendering for the command line ----

// The size of a text in the SVG's label font (11-pixel sans-serif): about 6 pixels a character, 13 high.
TTextSize SvgTextSize(const std::string& text);

// The diagram as a stand-alone SVG document, measured with SvgTextSize.
std::string ImpactChartSvg(const TImpactChart& chart);

} // namespace zm
