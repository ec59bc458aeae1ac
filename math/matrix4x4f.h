// 4x4 float matrix in OpenGL's column-major layout; angles in degrees.
#pragma once

#include "math/vector3f.h"

class matrix4x4f {
public:
    float m[16];

    matrix4x4f() { identity(); }
    // Arguments row by row, as the matrix is written on paper.
    matrix4x4f(float m0, float m4, float m8, float m12,
               float m1, float m5, float m9, float m13,
               float m2, float m6, float m10, float m14,
               float m3, float m7, float m11, float m15);

    void identity();
    void translate(const vector3f& v);
    void translate_x(float f);
    void translate_y(float f);
    void translate_z(float f);
    void scale(const vector3f& v);
    void rotate_x(float angle);
    void rotate_y(float angle);
    void rotate_z(float angle);
    // Writes only the rotation entries; normalizes the caller's axis in place.
    void rotate(float angle, vector3f& axis);
    void transformPoint(vector3f* p) const;
    void transformVector(vector3f* p) const;

    matrix4x4f operator+(const matrix4x4f& o) const;
    matrix4x4f operator-(const matrix4x4f& o) const;
    matrix4x4f operator*(const matrix4x4f& o) const;
    matrix4x4f operator*(float f) const;
};
