// Small numeric kit: percentages, chances, bounded random numbers, a sine
// oscillator for pulsing values, and segment/plane/triangle tests.
#pragma once

#include "math/vector3f.h"

// The rule of three: a is to b as c is to the result.
template <typename T>
T proportional(T a, T b, T c)
{
    return b * c / a;
}

// Value at `rate` percent of the way from start to end (not clamped).
float RateInterpole(float start, float end, float rate);
// val as a percentage of max, clamped to [0, 100].
float GetRate(float val, float max);
// True with a probability of `rate` percent.
bool Chance(int rate);
// Random value from s to e in steps of 1/precision; seeds the generator once.
float rand_intvf(float s, float e, float precision);
double ConvertDAM(int dd, int mm, int yy, int h, int m);
float GetDistanceBetween(float x, float y, float z, float a, float b, float c);
float SlopeV3F(vector3f u, vector3f v);
bool OppositeSign(float a, float b);
bool SegmentPlaneIntersect(vector3f& start_pos, vector3f& end_pos, vector3f& pa, vector3f& pb, vector3f& pc);
bool GetIntersectionBetweenSegmentTriangle(vector3f A, vector3f B, vector3f C, vector3f P, vector3f Q,
                                           vector3f& intersection);

// A sine wave between wave_min and wave_max, advanced once per frame by its owner.
class Oscillator {
public:
    float wave_max;
    float wave_min;
    float wave_fac;
    float wave_frq;

    Oscillator(float min, float max, float frq);
    void set(float min, float max, float frq);
    void reset();
    void simulate();
    float signal() const;
    operator float() const { return signal(); }
};
