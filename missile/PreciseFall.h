// The precise cut-off's prediction: the fall from the present state to the ground with the missile's own drag
// through the atmosphere and the planet's rotation, integrated in the planet's rotating frame.
#pragma once

// How the falling body meets the air and turns in it, the host's loads for a vessel without airfoils: drag
// is the dynamic pressure times the sum of each body axis's drag area times the airflow's share along it; the
// air turns the nose into the airflow with a moment in proportion to density, airspeed and the angle's sine,
// and damps the rotation in proportion to density and rate. The body is symmetric about its nose: it spins
// about it and its nose cones about the angular momentum, as a free top does.
struct FallBody {
    bool turns = false; // false: the body falls nose first, with FallModel::dragPerMass
    double forward = 0, side = 0, vertical = 0; // drag area / mass, airflow along z, x, y [m^2/kg]
    double inertiaAcross = 0, inertiaAlong = 0; // moments of inertia / mass, across and about the nose [m^2]
    double turn = 0; // moment / (mass x density x airspeed x sine of the angle) [m^4/kg]
    double dampAcross = 0,
           dampAlong = 0; // moment / (mass x density x rate), across and about the nose [m^5/kg]
    // At the start, in the planet frame: the nose (body z), the side (body x), and the angular velocity in
    // inertial space [rad/s].
    double nose[3] = {0, 0, 1}, sideAxis[3] = {1, 0, 0}, spin[3] = {0, 0, 0};
};

// The planet and the body that falls. The planet frame has z along the rotation axis (north), x through
// longitude 0 on the equator.
struct FallModel {
    double gm = 0;           // planet's gravitational parameter [m^3/s^2]
    double omega = 0;        // rotation rate about +z [rad/s]
    double groundRadius = 0; // the fall ends at this distance from the centre [m]
    double dragPerMass = 0;  // drag force / (dynamic pressure x mass), nose first [m^2/kg]
    FallBody body;
    // Air density [kg/m^3] at a distance from the centre; null for a planet without air.
    double (*density)(const void* context, double radius) = nullptr;
    const void* context = nullptr;
};

// Where the fall meets the ground, in the planet's frame as it stands at the fall's start.
struct FallImpact {
    bool found = false; // false: no ground within the integration's bound (an escape, a climb)
    double latitude = 0, longitude = 0; // [rad]
    double time = 0;                    // [s] from now
};

// Bounds of the integration: the cost of one prediction is at most FallMaxSteps steps of four force
// evaluations, and the air is looked up only below FallAirTop. A step is FallStep, shorter where the body
// turns: it then turns by no more than FallTurnPerStep (radians) in a step.
inline constexpr int FallMaxSteps = 6000;
inline constexpr double FallStep = 1.0;        // [s]
inline constexpr double FallTurnPerStep = 0.2; // [rad]
inline constexpr double FallAirTop = 150e3;    // [m] above groundRadius

// pos: position in the planet frame [m]; vel: velocity relative to the ground, planet frame [m/s].
FallImpact PredictFall(const double pos[3], const double vel[3], const FallModel& model);

// Position and ground-relative velocity in the planet frame from longitude, latitude (rad), radius and the
// velocity over the ground in the local horizon frame (east, up, north).
void PlanetState(double longitude, double latitude, double radius, const double horizonVel[3], double pos[3],
                 double vel[3]);

// Along-track and cross-track distance [m] of a point from the great circle that leaves a start point at an
// azimuth [deg]; cross is positive to the right of the track. Radians in, on a sphere of the given radius.
void TrackOffsets(double lat0, double lon0, double azimuth, double lat, double lon, double radius,
                  double& along, double& cross);
