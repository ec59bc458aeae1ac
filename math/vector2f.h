// Two-component float point: pointer and panel button positions. No arithmetic.
#pragma once

class vector2f {
public:
    float x, y;
    vector2f() : x(0.0f), y(0.0f) {}
    vector2f(float x_, float y_) : x(x_), y(y_) {}
};
