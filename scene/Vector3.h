#pragma once

#include <cmath>

// Three floats, copied by value: positions, directions and box extents throughout the scene and camera
// code.
struct Vector3 {
    float x, y, z;

    Vector3() : x(0.0f), y(0.0f), z(0.0f) {}
    Vector3(float px, float py, float pz) : x(px), y(py), z(pz) {}

    Vector3 operator+(const Vector3& o) const { return Vector3(x + o.x, y + o.y, z + o.z); }
    Vector3 operator-(const Vector3& o) const { return Vector3(x - o.x, y - o.y, z - o.z); }
    Vector3 operator-() const { return Vector3(-x, -y, -z); }
    Vector3 operator*(float s) const { return Vector3(x * s, y * s, z * s); }
    Vector3 operator/(float s) const { return Vector3(x / s, y / s, z / s); }
    Vector3& operator+=(const Vector3& o) {
        x += o.x;
        y += o.y;
        z += o.z;
        return *this;
    }
    Vector3& operator-=(const Vector3& o) {
        x -= o.x;
        y -= o.y;
        z -= o.z;
        return *this;
    }
    Vector3& operator*=(float s) {
        x *= s;
        y *= s;
        z *= s;
        return *this;
    }
    Vector3& operator/=(float s) {
        x /= s;
        y /= s;
        z /= s;
        return *this;
    }
    bool operator==(const Vector3& o) const { return x == o.x && y == o.y && z == o.z; }
    bool operator!=(const Vector3& o) const { return !(*this == o); }

    float dot(const Vector3& o) const { return x * o.x + y * o.y + z * o.z; }
    Vector3 cross(const Vector3& o) const {
        return Vector3(y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x);
    }
    float length() const { return std::sqrt(dot(*this)); }

    // Below this length a vector has no usable direction and is left as it is.
    static constexpr float kNormaliseEpsilon = 1e-5f;

    // In place; returns the vector for chaining.
    Vector3& normalise() {
        float len = length();
        if (len > kNormaliseEpsilon) {
            *this /= len;
        }
        return *this;
    }
    Vector3 normalised() const {
        Vector3 v(*this);
        return v.normalise();
    }
};

inline Vector3 operator*(float s, const Vector3& v) {
    return v * s;
}
inline float dot(const Vector3& a, const Vector3& b) {
    return a.dot(b);
}
inline Vector3 cross(const Vector3& a, const Vector3& b) {
    return a.cross(b);
}
inline float length(const Vector3& v) {
    return v.length();
}
inline Vector3 normalise(const Vector3& v) {
    return v.normalised();
}
