// Three-component float vector used for positions and directions everywhere.
#pragma once

class vector3f {
public:
    float x, y, z;

    vector3f() : x(0.0f), y(0.0f), z(0.0f) {}
    vector3f(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}

    void set(float x_, float y_, float z_)
    {
        x = x_;
        y = y_;
        z = z_;
    }
    float length() const;
    float quadratic_length() const { return x * x + y * y + z * z; }
    void normalize();

    vector3f operator+(const vector3f& v) const { return vector3f(x + v.x, y + v.y, z + v.z); }
    vector3f operator-(const vector3f& v) const { return vector3f(x - v.x, y - v.y, z - v.z); }
    vector3f operator*(const vector3f& v) const { return vector3f(x * v.x, y * v.y, z * v.z); }
    vector3f operator/(const vector3f& v) const { return vector3f(x / v.x, y / v.y, z / v.z); }
    vector3f operator*(float f) const { return vector3f(x * f, y * f, z * f); }
    vector3f operator/(float f) const { return vector3f(x / f, y / f, z / f); }
    vector3f operator+() const { return *this; }
    vector3f operator-() const { return vector3f(-x, -y, -z); }
    vector3f& operator+=(const vector3f& v)
    {
        x += v.x;
        y += v.y;
        z += v.z;
        return *this;
    }
    vector3f& operator-=(const vector3f& v)
    {
        x -= v.x;
        y -= v.y;
        z -= v.z;
        return *this;
    }
    bool operator==(const vector3f& v) const { return x == v.x && y == v.y && z == v.z; }
    bool operator!=(const vector3f& v) const { return !(*this == v); }
};

inline vector3f operator*(float f, const vector3f& v) { return v * f; }

float distance(const vector3f& a, const vector3f& b);
float dotProduct(const vector3f& a, const vector3f& b);
vector3f crossProduct(const vector3f& a, const vector3f& b);
