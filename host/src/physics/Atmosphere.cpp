#include "Atmosphere.h"

#include <cmath>
#include <iterator>

namespace orb::phys {
namespace {

// Standard Atmosphere 1976, lower layers in geopotential altitude.
struct Layer {
    double base;  // geopotential altitude of the layer's base [m]
    double T;     // temperature at the base [K]
    double lapse; // temperature gradient [K/m]
};
constexpr Layer kLayers[] = {
    {0.0, 288.15, -6.5e-3}, {11000.0, 216.65, 0.0},     {20000.0, 216.65, 1.0e-3},  {32000.0, 228.65, 2.8e-3},
    {47000.0, 270.65, 0.0}, {51000.0, 270.65, -2.8e-3}, {71000.0, 214.65, -2.0e-3},
};
constexpr int kLayerCount = int(std::size(kLayers));
constexpr double kGeopotRadius = 6369.0e3;             // earth radius of the geopotential conversion [m]
constexpr double kGMR = 9.80665 * 0.0289644 / 8.31432; // g0 M / R* [K/m]
constexpr double kRAir = 8.31432 / 0.0289644;          // R*/M for density from pressure [J/(kg K)]
constexpr double kLowerTop = 86000.0;                  // geometric altitude where the table takes over [m]
constexpr double kMinAlt = -10000.0;

// Upper atmosphere from the standard's tables: geometric altitude [m], T [K], p [Pa], rho [kg/m^3].
// The first row is replaced by the lower model's values at 86 km so the two join without a step.
struct Row {
    double alt, T, p, rho;
};
constexpr Row kUpper[] = {
    {86e3, 186.87, 3.7338e-1, 6.958e-6},    {90e3, 186.87, 1.8359e-1, 3.416e-6},
    {100e3, 195.08, 3.2011e-2, 5.604e-7},   {110e3, 240.00, 7.1042e-3, 9.708e-8},
    {120e3, 360.00, 2.5382e-3, 2.222e-8},   {130e3, 469.27, 1.2505e-3, 8.152e-9},
    {150e3, 634.39, 4.5422e-4, 2.076e-9},   {200e3, 854.56, 8.4736e-5, 2.541e-10},
    {250e3, 941.33, 2.4767e-5, 6.073e-11},  {300e3, 976.01, 8.7704e-6, 1.916e-11},
    {400e3, 995.83, 1.4518e-6, 2.803e-12},  {500e3, 999.24, 3.0236e-7, 5.215e-13},
    {600e3, 999.85, 8.2130e-8, 1.137e-13},  {700e3, 999.97, 3.1908e-8, 3.070e-14},
    {800e3, 999.99, 1.7036e-8, 1.136e-14},  {900e3, 1000.0, 1.0873e-8, 5.759e-15},
    {1000e3, 1000.0, 7.5138e-9, 3.561e-15},
};
constexpr int kUpperCount = int(std::size(kUpper));

struct Tables {
    double basePressure[kLayerCount];
    double lnP[kUpperCount], lnRho[kUpperCount], T[kUpperCount];
};

double layerPressure(const Layer& l, double pBase, double h) {
    double dh = h - l.base;
    if (l.lapse == 0.0) return pBase * std::exp(-kGMR * dh / l.T);
    return pBase * std::pow(l.T / (l.T + l.lapse * dh), kGMR / l.lapse);
}

AtmState lower(const Tables& t, double z) {
    double h = z * kGeopotRadius / (z + kGeopotRadius);
    int i = kLayerCount - 1;
    while (i > 0 && h < kLayers[i].base)
        --i;
    const Layer& l = kLayers[i];
    AtmState s;
    s.T = l.T + l.lapse * (h - l.base);
    s.p = layerPressure(l, t.basePressure[i], h);
    s.rho = s.p / (kRAir * s.T);
    return s;
}

Tables makeTables() {
    Tables t{};
    t.basePressure[0] = kAtmP0;
    for (int i = 1; i < kLayerCount; ++i)
        t.basePressure[i] = layerPressure(kLayers[i - 1], t.basePressure[i - 1], kLayers[i].base);
    for (int i = 0; i < kUpperCount; ++i) {
        t.lnP[i] = std::log(kUpper[i].p);
        t.lnRho[i] = std::log(kUpper[i].rho);
        t.T[i] = kUpper[i].T;
    }
    AtmState join = lower(t, kLowerTop);
    t.lnP[0] = std::log(join.p);
    t.lnRho[0] = std::log(join.rho);
    t.T[0] = join.T;
    return t;
}

const Tables& tables() {
    static const Tables t = makeTables();
    return t;
}

} // namespace

AtmState atmosphere(double altitude, double altLimit) {
    if (!(altitude < altLimit)) return {}; // also catches NaN
    const Tables& t = tables();
    if (altitude < kLowerTop) return lower(t, altitude < kMinAlt ? kMinAlt : altitude);
    // Log-linear between table rows; the last segment's slope continues up to the limit.
    int i = 0;
    while (i < kUpperCount - 2 && altitude >= kUpper[i + 1].alt)
        ++i;
    double f = (altitude - kUpper[i].alt) / (kUpper[i + 1].alt - kUpper[i].alt);
    AtmState s;
    s.p = std::exp(t.lnP[i] + f * (t.lnP[i + 1] - t.lnP[i]));
    s.rho = std::exp(t.lnRho[i] + f * (t.lnRho[i + 1] - t.lnRho[i]));
    s.T = f <= 1.0 ? t.T[i] + f * (t.T[i + 1] - t.T[i]) : t.T[kUpperCount - 1];
    return s;
}

double soundSpeed(double T) {
    return T > 0 ? std::sqrt(kAtmGamma * kAtmR * T) : 0.0;
}

} // namespace orb::phys
