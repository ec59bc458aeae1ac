// Building and applying 4x4 transforms.
#include "math/matrix4x4f.h"

#include <cmath>

namespace {
const float kDegToRad = 0.017453292f;
}

matrix4x4f::matrix4x4f(float m0, float m4, float m8, float m12,
                       float m1, float m5, float m9, float m13,
                       float m2, float m6, float m10, float m14,
                       float m3, float m7, float m11, float m15)
    : m{m0, m1, m2, m3, m4, m5, m6, m7, m8, m9, m10, m11, m12, m13, m14, m15}
{
}

void matrix4x4f::identity()
{
    for (int i = 0; i < 16; ++i)
        m[i] = (i % 5 == 0) ? 1.0f : 0.0f;
}

void matrix4x4f::translate(const vector3f& v)
{
    identity();
    m[12] = v.x;
    m[13] = v.y;
    m[14] = v.z;
}

void matrix4x4f::translate_x(float f)
{
    identity();
    m[12] = f;
}

void matrix4x4f::translate_y(float f)
{
    identity();
    m[13] = f;
}

void matrix4x4f::translate_z(float f)
{
    identity();
    m[14] = f;
}

void matrix4x4f::scale(const vector3f& v)
{
    identity();
    m[0] = v.x;
    m[5] = v.y;
    m[10] = v.z;
}

void matrix4x4f::rotate_x(float angle)
{
    float s = std::sin(angle * kDegToRad), c = std::cos(angle * kDegToRad);
    identity();
    m[5] = c;
    m[6] = s;
    m[9] = -s;
    m[10] = c;
}

void matrix4x4f::rotate_y(float angle)
{
    float s = std::sin(angle * kDegToRad), c = std::cos(angle * kDegToRad);
    identity();
    m[0] = c;
    m[2] = -s;
    m[8] = s;
    m[10] = c;
}

void matrix4x4f::rotate_z(float angle)
{
    float s = std::sin(angle * kDegToRad), c = std::cos(angle * kDegToRad);
    identity();
    m[0] = c;
    m[1] = s;
    m[4] = -s;
    m[5] = c;
}

void matrix4x4f::rotate(float angle, vector3f& axis)
{
    float s = std::sin(angle * kDegToRad), c = std::cos(angle * kDegToRad);
    axis.normalize();
    float x = axis.x, y = axis.y, z = axis.z, t = 1.0f - c;
    m[0] = t * (x * x - 1.0f) + 1.0f;
    m[1] = z * s + t * x * y;
    m[2] = -y * s + t * x * z;
    m[4] = -z * s + t * x * y;
    m[5] = t * (y * y - 1.0f) + 1.0f;
    m[6] = x * s + t * y * z;
    m[8] = y * s + t * x * z;
    m[9] = -x * s + t * y * z;
    m[10] = t * (z * z - 1.0f) + 1.0f;
    m[15] = 1.0f;
}

void matrix4x4f::transformPoint(vector3f* p) const
{
    vector3f v = *p;
    p->x = m[0] * v.x + m[4] * v.y + m[8] * v.z + m[12];
    p->y = m[1] * v.x + m[5] * v.y + m[9] * v.z + m[13];
    p->z = m[2] * v.x + m[6] * v.y + m[10] * v.z + m[14];
}

void matrix4x4f::transformVector(vector3f* p) const
{
    vector3f v = *p;
    p->x = m[0] * v.x + m[4] * v.y + m[8] * v.z;
    p->y = m[1] * v.x + m[5] * v.y + m[9] * v.z;
    p->z = m[2] * v.x + m[6] * v.y + m[10] * v.z;
}

matrix4x4f matrix4x4f::operator+(const matrix4x4f& o) const
{
    matrix4x4f r;
    for (int i = 0; i < 16; ++i)
        r.m[i] = m[i] + o.m[i];
    return r;
}

matrix4x4f matrix4x4f::operator-(const matrix4x4f& o) const
{
    matrix4x4f r;
    for (int i = 0; i < 16; ++i)
        r.m[i] = m[i] - o.m[i];
    return r;
}

matrix4x4f matrix4x4f::operator*(const matrix4x4f& o) const
{
    matrix4x4f r;
    for (int c = 0; c < 4; ++c)
        for (int row = 0; row < 4; ++row) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k)
                sum += m[k * 4 + row] * o.m[c * 4 + k];
            r.m[c * 4 + row] = sum;
        }
    return r;
}

matrix4x4f matrix4x4f::operator*(float f) const
{
    matrix4x4f r;
    for (int i = 0; i < 16; ++i)
        r.m[i] = m[i] * f;
    return r;
}
