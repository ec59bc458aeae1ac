// The numeric helpers shared by every part of the game.
#include "math/numeric.h"

#include "math/global_time.h"

#include <cmath>
#include <cstdlib>
#include <ctime>

namespace {
const float kPi = 3.14159265358979f;
}

float RateInterpole(float start, float end, float rate) { return end / 100.0f * rate + start - start / 100.0f * rate; }

float GetRate(float val, float max)
{
    float rate = val * 100.0f / max;
    if (rate > 100.0f)
        rate = 100.0f;
    if (rate < 0.0f)
        rate = 0.0f;
    return rate;
}

bool Chance(int rate)
{
    if (rate < 0)
        rate = 0;
    if (rate > 100)
        rate = 100;
    return rand() % 100 < rate;
}

float rand_intvf(float s, float e, float precision)
{
    static bool instance_seed = false;
    if (!instance_seed) {
        srand(static_cast<unsigned>(time(nullptr)));
        instance_seed = true;
    }
    // Worked out in float, and the generator is drawn even when the range holds a
    // single value: every caller shares it, so a skipped draw would shift every
    // later carrot, eagle and effect. Only what C++ leaves undefined is pinned:
    // a span beyond an int, a span that is not a number, a remainder by zero.
    float span = (e - s) * precision;
    int n = 0;
    if (span >= 2147483520.0f)
        n = 2147483520;
    else if (span <= -2147483520.0f)
        n = -2147483520;
    else if (span == span)
        n = static_cast<int>(span);
    int draw = rand();
    int rest = n == -1 ? 0 : draw % (n + 1);
    return static_cast<float>(rest) / precision + s;
}

double ConvertDAM(int dd, int mm, int yy, int h, int m)
{
    double minutes = m;
    minutes += static_cast<double>(h) * 60.0;
    minutes += static_cast<double>(dd) * 24.0 * 60.0;
    minutes += static_cast<double>(mm) * 31.0 * 24.0 * 60.0;
    minutes += (static_cast<double>(yy) - 1900.0) * 12.0 * 31.0 * 24.0 * 60.0;
    return minutes;
}

float GetDistanceBetween(float x, float y, float z, float a, float b, float c)
{
    float d = x - a, e = y - b, f = z - c;
    return std::sqrt(d * d + e * e + f * f);
}

float SlopeV3F(vector3f u, vector3f v)
{
    float deg = (std::atan2(v.y, v.x) - std::atan2(u.y, u.x)) * 180.0f / kPi;
    while (deg > 360.0f)
        deg -= 360.0f;
    while (deg < 0.0f)
        deg += 360.0f;
    return deg;
}

bool OppositeSign(float a, float b) { return (a < 0.0f && b >= 0.0f) || (b < 0.0f && a >= 0.0f); }

bool SegmentPlaneIntersect(vector3f& start_pos, vector3f& end_pos, vector3f& pa, vector3f& pb, vector3f& pc)
{
    vector3f n = crossProduct(pa - pc, pb - pc);
    n.normalize();
    float dist_sp = dotProduct(start_pos - pc, n);
    float dist_ep = dotProduct(end_pos - pc, n);
    if (dist_sp == 0.0f || dist_ep == 0.0f)
        return true;
    return OppositeSign(dist_sp, dist_ep);
}

namespace {
float HeronArea(float s1, float s2, float s3)
{
    float p = (s1 + s2 + s3) * 0.5f;
    return std::sqrt(p * (p - s1) * (p - s2) * (p - s3));
}
} // namespace

bool GetIntersectionBetweenSegmentTriangle(vector3f A, vector3f B, vector3f C, vector3f P, vector3f Q,
                                           vector3f& intersection)
{
    if (!SegmentPlaneIntersect(P, Q, A, B, C))
        return false;
    vector3f n = crossProduct(B - A, C - A);
    float d = -(n.x * A.x + n.y * A.y + n.z * A.z);
    vector3f D = Q - P;
    float h = n.y * D.y, i = n.x * D.x, l = n.z * D.z;
    float div = i + h + l;
    // A segment lying in the plane has no single crossing point.
    if (div == 0.0f)
        return false;
    intersection.x = ((h + l) * P.x - n.y * D.x * P.y - n.z * D.x * P.z - d * D.x) / div;
    intersection.y = (-n.x * D.y * P.x + (i + l) * P.y - n.z * D.y * P.z - d * D.y) / div;
    intersection.z = (-n.x * D.z * P.x - n.y * D.z * P.y + (i + h) * P.z - d * D.z) / div;
    const vector3f& X = intersection;
    float a = GetDistanceBetween(A.x, A.y, A.z, B.x, B.y, B.z);
    float b = GetDistanceBetween(B.x, B.y, B.z, C.x, C.y, C.z);
    float c = GetDistanceBetween(A.x, A.y, A.z, C.x, C.y, C.z);
    float dA = GetDistanceBetween(A.x, A.y, A.z, X.x, X.y, X.z);
    float dB = GetDistanceBetween(X.x, X.y, X.z, B.x, B.y, B.z);
    float dC = GetDistanceBetween(X.x, X.y, X.z, C.x, C.y, C.z);
    float whole = HeronArea(a, b, c);
    float parts = HeronArea(dA, dB, a) + HeronArea(dA, dC, c) + HeronArea(dB, dC, b);
    return whole + whole / 100.0f >= parts;
}

Oscillator::Oscillator(float min, float max, float frq)
{
    set(min, max, frq);
    reset();
}

void Oscillator::set(float min, float max, float frq)
{
    wave_min = min;
    wave_max = max;
    wave_frq = frq;
}

void Oscillator::reset() { wave_fac = 0.0f; }

void Oscillator::simulate()
{
    wave_fac += wave_frq * global_time * 360.0f;
    // Brought back to at most one turn in one step, whatever a long frame or a
    // wild frequency made of it; a phase of exactly one turn stays.
    if (wave_fac > 360.0f) {
        wave_fac = std::fmod(wave_fac, 360.0f);
        if (wave_fac == 0.0f)
            wave_fac = 360.0f;
    }
}

float Oscillator::signal() const
{
    float r = std::sin(wave_fac * kPi / 180.0f);
    return wave_max / 2.0f * (r + 1.0f) + wave_min - wave_min / 2.0f * (r + 1.0f);
}
