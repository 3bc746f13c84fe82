#pragma once

#include <array>

// A 4x4 matrix of doubles in OpenGL's column-major order (element 4 * column + row), so that data() can
// go to glLoadMatrixd unchanged. Built directly rather than on the GL matrix stack, so that cameras work
// and can be checked without a GL context.
using Matrix4 = std::array<double, 16>;

Matrix4 identityMatrix4();

// a · b, as glMultMatrixd(b) on a current matrix a.
Matrix4 multiply(const Matrix4& a, const Matrix4& b);

// The matrix glRotated builds: `degrees` counter-clockwise about the axis (x, y, z), which need not have
// unit length. A zero axis gives the identity.
Matrix4 rotationMatrix(double degrees, double x, double y, double z);

// The matrix glTranslated builds.
Matrix4 translationMatrix(double x, double y, double z);
