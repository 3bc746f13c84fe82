#pragma once

#include <GL/gl.h>

// A shape that answers whether a point lies in it.
template <class T>
class VDContainer {
  public:
    VDContainer() = default;
    VDContainer(const VDContainer&) = default;
    VDContainer& operator=(const VDContainer&) = default;
    virtual ~VDContainer() = default;
    virtual bool contains(T x, T y) const = 0;
};

// An axis-aligned rectangle in GUI coordinates: y1 is the bottom edge, y2 the top edge.
template <class T>
class VDRectangleContainer : public VDContainer<T> {
  public:
    VDRectangleContainer() = default;
    VDRectangleContainer(T x1, T y1, T x2, T y2) : m_x1(x1), m_x2(x2), m_y1(y1), m_y2(y2) {}
    VDRectangleContainer(const VDRectangleContainer&) = default;
    VDRectangleContainer& operator=(const VDRectangleContainer&) = default;
    ~VDRectangleContainer() override = default;

    void copyFrom(const VDRectangleContainer& other) {
        m_x1 = other.m_x1;
        m_x2 = other.m_x2;
        m_y1 = other.m_y1;
        m_y2 = other.m_y2;
    }

    // Edges count as inside.
    bool contains(T x, T y) const override { return m_x1 <= x && x <= m_x2 && m_y1 <= y && y <= m_y2; }

    virtual VDRectangleContainer& setX1(T v) {
        m_x1 = v;
        return *this;
    }
    virtual VDRectangleContainer& setY1(T v) {
        m_y1 = v;
        return *this;
    }
    virtual VDRectangleContainer& setX2(T v) {
        m_x2 = v;
        return *this;
    }
    virtual VDRectangleContainer& setY2(T v) {
        m_y2 = v;
        return *this;
    }
    virtual T getX1() const { return m_x1; }
    virtual T getY1() const { return m_y1; }
    virtual T getX2() const { return m_x2; }
    virtual T getY2() const { return m_y2; }
    virtual T getWidth() const { return m_x2 - m_x1; }
    virtual T getHeight() const { return m_y2 - m_y1; }
    virtual VDRectangleContainer& set(T x1, T y1, T x2, T y2) {
        m_x1 = x1;
        m_y1 = y1;
        m_x2 = x2;
        m_y2 = y2;
        return *this;
    }
    virtual VDRectangleContainer& translate(T dx, T dy) {
        m_x1 += dx;
        m_x2 += dx;
        m_y1 += dy;
        m_y2 += dy;
        return *this;
    }
    // The corners (x1, y1), (x2, y1), (x2, y2), (x1, y2); the caller brackets them with glBegin/glEnd.
    virtual void emitVerticesInt() const {
        glVertex2i(static_cast<GLint>(m_x1), static_cast<GLint>(m_y1));
        glVertex2i(static_cast<GLint>(m_x2), static_cast<GLint>(m_y1));
        glVertex2i(static_cast<GLint>(m_x2), static_cast<GLint>(m_y2));
        glVertex2i(static_cast<GLint>(m_x1), static_cast<GLint>(m_y2));
    }
    virtual void emitVertices() const {
        glVertex2f(static_cast<GLfloat>(m_x1), static_cast<GLfloat>(m_y1));
        glVertex2f(static_cast<GLfloat>(m_x2), static_cast<GLfloat>(m_y1));
        glVertex2f(static_cast<GLfloat>(m_x2), static_cast<GLfloat>(m_y2));
        glVertex2f(static_cast<GLfloat>(m_x1), static_cast<GLfloat>(m_y2));
    }

  private:
    T m_x1 = 0;
    T m_x2 = 0;
    T m_y1 = 0;
    T m_y2 = 0;
};

using VDRect = VDRectangleContainer<float>;
