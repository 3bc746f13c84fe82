#include "view3d/VDAxesTriad.h"

#include <GL/gl.h>

#include <algorithm>

#include "gui/VDBitmapFont.h"

std::vector<VDAxesTriad::Arm> VDAxesTriad::arms(const double view[16], bool cellCoordinates) {
    static const float kColours[3][3] = {{1.0f, 0.25f, 0.25f}, {0.25f, 0.9f, 0.25f}, {0.35f, 0.55f, 1.0f}};
    static const char* const kNames[3] = {"x", "y", "z"};
    // Each axis in the world: a cell's first coordinate runs down (-y), its second right (+x), its third
    // towards the viewer (+z).
    static const double kWorld[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    static const double kCells[3][3] = {{0, -1, 0}, {1, 0, 0}, {0, 0, 1}};
    const double(*directions)[3] = cellCoordinates ? kCells : kWorld;
    std::vector<Arm> arms;
    for (int axis = 0; axis < 3; ++axis) {
        // As the eye sees it: the view matrix's upper 3x3 times the direction.
        double eye[3] = {0.0, 0.0, 0.0};
        for (int row = 0; row < 3; ++row) {
            for (int column = 0; column < 3; ++column) {
                eye[row] += view[4 * column + row] * directions[axis][column];
            }
        }
        arms.push_back(Arm{static_cast<float>(eye[0]) * kArm, static_cast<float>(eye[1]) * kArm,
                           static_cast<float>(eye[2]), kColours[axis][0], kColours[axis][1],
                           kColours[axis][2], kNames[axis]});
    }
    // Farthest first, so that the arm towards the viewer is drawn over the others.
    std::stable_sort(arms.begin(), arms.end(), [](const Arm& a, const Arm& b) { return a.depth < b.depth; });
    return arms;
}

void VDAxesTriad::place(const VDRect& viewport, const std::vector<VDRect>& taken, float& centreX,
                        float& centreY) {
    auto clear = [&](float x) {
        for (const VDRect& other : taken) {
            const bool apart = other.getX2() < x - kInset || other.getX1() > x + kInset ||
                               other.getY2() < centreY - kInset || other.getY1() > centreY + kInset;
            if (!apart) {
                return false;
            }
        }
        return true;
    };
    centreY = viewport.getY1() + kInset;
    const float left = viewport.getX1() + kInset;
    const float right = viewport.getX2() - kInset;
    centreX = clear(left) || !clear(right) ? left : right;
}

void VDAxesTriad::draw(const std::vector<Arm>& arms, float cx, float cy, const VDBitmapFont* font) {
    glPushAttrib(GL_ENABLE_BIT | GL_LINE_BIT | GL_CURRENT_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glLineWidth(2.0f);
    glBegin(GL_LINES);
    for (const Arm& arm : arms) {
        glColor3f(arm.r, arm.g, arm.b);
        glVertex2f(cx, cy);
        glVertex2f(cx + arm.dx, cy + arm.dy);
    }
    glEnd();
    glPopAttrib();
    if (font != nullptr) {
        for (const Arm& arm : arms) {
            glColor3f(arm.r, arm.g, arm.b);
            drawText(font, static_cast<int>(cx + arm.dx * 1.25f - 3.0f),
                     static_cast<int>(cy + arm.dy * 1.25f - 5.0f), arm.name);
        }
    }
}
