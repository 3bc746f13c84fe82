#include "view3d/Matrix4.h"

#include <cmath>

namespace {
constexpr double kPi = 3.141592653589793;
}

Matrix4 identityMatrix4() {
    return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
}

Matrix4 multiply(const Matrix4& a, const Matrix4& b) {
    Matrix4 m{};
    for (int column = 0; column < 4; ++column) {
        for (int row = 0; row < 4; ++row) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k) {
                sum += a[static_cast<size_t>(k * 4 + row)] * b[static_cast<size_t>(column * 4 + k)];
            }
            m[static_cast<size_t>(column * 4 + row)] = sum;
        }
    }
    return m;
}

Matrix4 rotationMatrix(double degrees, double x, double y, double z) {
    double length = std::sqrt(x * x + y * y + z * z);
    if (length == 0.0) {
        return identityMatrix4();
    }
    x /= length;
    y /= length;
    z /= length;
    double radians = degrees * kPi / 180.0;
    double c = std::cos(radians);
    double s = std::sin(radians);
    double t = 1.0 - c;
    Matrix4 m = identityMatrix4();
    m[0] = x * x * t + c;
    m[1] = y * x * t + z * s;
    m[2] = x * z * t - y * s;
    m[4] = x * y * t - z * s;
    m[5] = y * y * t + c;
    m[6] = y * z * t + x * s;
    m[8] = x * z * t + y * s;
    m[9] = y * z * t - x * s;
    m[10] = z * z * t + c;
    return m;
}

Matrix4 translationMatrix(double x, double y, double z) {
    Matrix4 m = identityMatrix4();
    m[12] = x;
    m[13] = y;
    m[14] = z;
    return m;
}
