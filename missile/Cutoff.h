// The two engine cut-off rules, as pure functions of the flight state.
#pragma once

// Burn time of the realistic model from the commanded range (m): 45 s below 41184.08 m, 75 s above
// 324799.44 m, a line in between (55.93 s at its lower end, 70 s at its upper end).
double BurnTimeForRange(double range);

// Range (m) at which a drag-free fall from the present state comes back to the launch radius r0.
// dv: velocity now minus the velocity at ignition, host vector; cosines and sines of the attitude angles at
// ignition, third angle first; r: present distance from the planet centre. Not a number when the state has
// no such fall (the caller then keeps the engine burning).
double PredictedBallisticRange(const double dv[3], const double attCos[3], const double attSin[3], double r,
                               double r0);
