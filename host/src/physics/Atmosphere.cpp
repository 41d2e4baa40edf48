#include "Atmosphere.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace orb::phys {
namespace {

// Below 90 km the simulator's Earth takes the Standard Atmosphere 1976 as the Jacchia-77 model writes it:
// temperature, number density and mean molecular weight of geometric altitude Z in km, with the layers chosen
// by Z and their gradients in geopotential km. Its temperature and density choose their layers at slightly
// different bounds (11 km against 12, and so on), as in the model's code; the pressure follows from the gas
// law. Between 85 and 90 km the density comes from the model's integration of the barometric equation in
// kilometre steps.
constexpr double kAvogadro = 6.02257e26; // [1/kmol]
constexpr double kBoltzmann = 1.38066e-23;
constexpr double kMolWeight0 = 28.96;
constexpr double kJ77Radius = 6369.0; // the geopotential conversion's earth radius [km]
constexpr double kGeoFactor = 34.163195;
constexpr double kLowerTop = 90.0; // [km]
constexpr double kMinAlt = -10.0;  // [km]

struct J77Layer {
    double top;   // the layer holds altitudes up to this [km]
    double hBase; // geopotential altitude of its base [km]
    double pBase; // pressure at the base, of sea level's
    double tBase; // [K]
    double grad;  // [K per geopotential km]
};
// The density's layers (altitudes up to and including the top) and the temperature's (below the top).
constexpr J77Layer kDensityLayers[] = {
    {11, 0, 1.0, 288.15, -6.5},          {20, 11, 2.233611e-1, 216.65, 0},
    {32, 20, 5.403295e-2, 216.65, 1},    {47, 32, 8.5666784e-3, 228.65, 2.8},
    {51, 47, 1.0945601e-3, 270.65, 0},   {71, 51, 6.6063531e-4, 270.65, -2.8},
    {1e9, 71, 3.9046834e-5, 214.65, -2},
};
constexpr double kTemperatureTops[] = {12, 21, 33, 48, 52, 72, 1e9};

double molFraction(double Z) { // the share of the molecular weight lost to dissociation
    return std::pow(10.0, -3.7469 + (Z - 85.0) * (0.226434 - (Z - 85.0) * 5.945e-3));
}

double j77Temperature(double Z) {
    if (Z >= 86.0) return 188.0;
    int i = 0;
    while (!(Z < kTemperatureTops[i]))
        ++i;
    const J77Layer& l = kDensityLayers[i];
    double h = Z * kJ77Radius / (Z + kJ77Radius);
    return l.grad == 0 ? l.tBase : l.tBase + l.grad * (h - l.hBase);
}

double j77Density(double Z) {
    double cm = 0; // number density [1/cm^3]
    if (Z <= 85.0) {
        int i = 0;
        while (!(Z <= kDensityLayers[i].top))
            ++i;
        const J77Layer& l = kDensityLayers[i];
        double h = Z * kJ77Radius / (Z + kJ77Radius), T, x;
        if (l.grad != 0) {
            T = l.tBase + l.grad * (h - l.hBase);
            x = std::pow(l.tBase / T, kGeoFactor / l.grad);
        } else {
            T = l.tBase;
            x = std::exp(-kGeoFactor * (h - l.hBase) / l.tBase);
        }
        cm = 2.547e19 * (288.15 / T) * l.pBase * x;
    } else {
        double pZ = 85.0, pT = 188.8889, pCM = 1.7083677e14, pWM = 28.954813, CM = pCM;
        double hZ = std::ceil(Z);
        for (double sZ = 86.0; sZ <= hZ + 0.5; sZ += 1.0) {
            const double T = 188.0, WM = kMolWeight0 * (1 - molFraction(sZ));
            CM = pCM * (pT / T) * (WM / pWM) *
                 std::exp(-0.5897446 * ((pWM / pT) * std::pow(1 + pZ / 6356.766, -2) +
                                        (WM / T) * std::pow(1 + sZ / 6356.766, -2)));
            if (sZ <= hZ - 0.5) {
                pZ = sZ, pT = T, pCM = CM, pWM = WM;
            }
        }
        cm = (Z - pZ) * (CM - pCM) + pCM;
    }
    return kMolWeight0 * (1 - molFraction(Z)) * cm * (1e3 / 6.02257e23);
}

AtmState lower(double Z) {
    AtmState s;
    s.T = j77Temperature(Z);
    s.rho = j77Density(Z);
    s.p = s.rho * kAvogadro * kBoltzmann / (kMolWeight0 * (1 - molFraction(Z))) * s.T;
    return s;
}

// Above 90 km the standard's tables: geometric altitude [m], T [K], p [Pa], rho [kg/m^3], log-linear between
// rows, joined to the lower model at 90 km (its pressure and density scaled to meet it there). The
// simulator's thermosphere model differs there, where nothing the add-on flies feels the air.
struct Row {
    double alt, T, p, rho;
};
constexpr Row kUpper[] = {
    {90e3, 186.87, 1.8359e-1, 3.416e-6},   {100e3, 195.08, 3.2011e-2, 5.604e-7},
    {110e3, 240.00, 7.1042e-3, 9.708e-8},  {120e3, 360.00, 2.5382e-3, 2.222e-8},
    {130e3, 469.27, 1.2505e-3, 8.152e-9},  {150e3, 634.39, 4.5422e-4, 2.076e-9},
    {200e3, 854.56, 8.4736e-5, 2.541e-10}, {250e3, 941.33, 2.4767e-5, 6.073e-11},
    {300e3, 976.01, 8.7704e-6, 1.916e-11}, {400e3, 995.83, 1.4518e-6, 2.803e-12},
    {500e3, 999.24, 3.0236e-7, 5.215e-13}, {600e3, 999.85, 8.2130e-8, 1.137e-13},
    {700e3, 999.97, 3.1908e-8, 3.070e-14}, {800e3, 999.99, 1.7036e-8, 1.136e-14},
    {900e3, 1000.0, 1.0873e-8, 5.759e-15}, {1000e3, 1000.0, 7.5138e-9, 3.561e-15},
};
constexpr int kUpperCount = int(std::size(kUpper));

struct Tables {
    double lnP[kUpperCount], lnRho[kUpperCount], T[kUpperCount];
};

Tables makeTables() {
    Tables t{};
    AtmState join = lower(kLowerTop);
    double fp = join.p / kUpper[0].p, frho = join.rho / kUpper[0].rho;
    for (int i = 0; i < kUpperCount; ++i) {
        t.lnP[i] = std::log(kUpper[i].p * fp);
        t.lnRho[i] = std::log(kUpper[i].rho * frho);
        t.T[i] = kUpper[i].T;
    }
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
    if (altitude < kLowerTop * 1e3) return lower(std::max(altitude * 1e-3, kMinAlt));
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
