// The missile module's one pseudo-random generator, shared by all missiles: integers uniform in 0..32767.
#pragma once

// Restarts the sequence; the same seed gives the same draws.
void SeedRandom(unsigned seed);
// The next integer of the sequence, 0..32767.
int NextRandom();
// A value between a and a + b, both ends included: a + b x r / 32767.
double RandomRange(double a, double b);
