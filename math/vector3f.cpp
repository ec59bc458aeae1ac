// vector3f operations that need a square root.
#include "math/vector3f.h"

#include <cmath>

float vector3f::length() const { return std::sqrt(x * x + y * y + z * z); }

void vector3f::normalize()
{
    float len = length();
    if (len == 0.0f)
        return;
    x /= len;
    y /= len;
    z /= len;
}

float distance(const vector3f& a, const vector3f& b)
{
    float dx = a.x - b.x, dy = a.y - b.y, dz = a.z - b.z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

float dotProduct(const vector3f& a, const vector3f& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

vector3f crossProduct(const vector3f& a, const vector3f& b)
{
    return vector3f(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}
