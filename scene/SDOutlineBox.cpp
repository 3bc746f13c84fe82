#include "scene/SDOutlineBox.h"

#include <GL/gl.h>

void SDOutlineBox::draw(const BoundingBox& box) {
    const Vector3& low = box.getMin();
    const Vector3& high = box.getMax();
    const float xs[2] = {low.x, high.x};
    const float ys[2] = {low.y, high.y};
    const float zs[2] = {low.z, high.z};
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_LINE_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glLineWidth(1.0f);
    glColor4f(kGrey, kGrey, kGrey, 1.0f);
    glBegin(GL_LINES);
    // Four edges along each axis, through the corners of the other two.
    for (int i = 0; i < 2; ++i) {
        for (int j = 0; j < 2; ++j) {
            glVertex3f(xs[0], ys[i], zs[j]);
            glVertex3f(xs[1], ys[i], zs[j]);
            glVertex3f(xs[i], ys[0], zs[j]);
            glVertex3f(xs[i], ys[1], zs[j]);
            glVertex3f(xs[i], ys[j], zs[0]);
            glVertex3f(xs[i], ys[j], zs[1]);
        }
    }
    glEnd();
    glPopAttrib();
}
