#include "view3d/VDCellOverlay.h"

#include <GL/gl.h>

#include <cstdio>
#include <cstring>
#include <limits>

#include "gui/VDBitmapFont.h"
#include "gui/VDDefaultTheme.h"
#include "gui/VDThemeStore.h"
#include "scene/SDColourRamp.h"

namespace {

// Column-major 4x4 times (x, y, z, w).
void transform(const double m[16], const double in[4], double out[4]) {
    for (int row = 0; row < 4; ++row) {
        out[row] = m[row] * in[0] + m[4 + row] * in[1] + m[8 + row] * in[2] + m[12 + row] * in[3];
    }
}

// Light grey, as the theme writes labels.
constexpr float kTextGrey = 0.85f;
constexpr int kBarSteps = 32;

}  // namespace

VDCellOverlay::VDCellOverlay(const double projection[16], const double view[16], const VDRect& viewport)
    : m_viewport(viewport) {
    std::memcpy(m_projection, projection, sizeof m_projection);
    std::memcpy(m_view, view, sizeof m_view);
}

bool VDCellOverlay::project(const Vector3& point, float& x, float& y) const {
    const double world[4] = {point.x, point.y, point.z, 1.0};
    double eye[4];
    double clip[4];
    transform(m_view, world, eye);
    transform(m_projection, eye, clip);
    if (!(clip[3] > 0.0)) {
        return false;
    }
    const double ndcX = clip[0] / clip[3];
    const double ndcY = clip[1] / clip[3];
    x = static_cast<float>(m_viewport.getX1() + (ndcX + 1.0) / 2.0 * m_viewport.getWidth());
    y = static_cast<float>(m_viewport.getY1() + (ndcY + 1.0) / 2.0 * m_viewport.getHeight());
    return true;
}

int VDCellOverlay::nearestToCentre(const std::vector<VCCellView::DrawnModel>& models) const {
    const float centreX = m_viewport.getX1() + m_viewport.getWidth() / 2.0f;
    const float centreY = m_viewport.getY1() + m_viewport.getHeight() / 2.0f;
    int nearest = -1;
    float best = std::numeric_limits<float>::max();
    for (size_t i = 0; i < models.size(); ++i) {
        float x = 0.0f;
        float y = 0.0f;
        if (!project(models[i].bounds.getCentre(), x, y) || x < m_viewport.getX1() ||
            x > m_viewport.getX2() || y < m_viewport.getY1() || y > m_viewport.getY2()) {
            continue;
        }
        const float distance = (x - centreX) * (x - centreX) + (y - centreY) * (y - centreY);
        if (distance < best) {
            best = distance;
            nearest = static_cast<int>(i);
        }
    }
    return nearest;
}

Vector3 VDCellOverlay::labelAnchor(const VCCellView::DrawnModel& model) {
    const Vector3& low = model.bounds.getMin();
    const Vector3& high = model.bounds.getMax();
    return Vector3(low.x, high.y + 0.25f, high.z);
}

VDRect VDCellOverlay::barRectangle() const {
    const float x2 = m_viewport.getX2() - kBarMargin;
    const float yMiddle = m_viewport.getY1() + m_viewport.getHeight() / 2.0f;
    return VDRect(x2 - kBarWidth, yMiddle - kBarHeight / 2.0f, x2, yMiddle + kBarHeight / 2.0f);
}

std::string VDCellOverlay::formatValue(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

void VDCellOverlay::draw(const std::vector<VCCellView::DrawnModel>& models) const {
    const auto* theme = dynamic_cast<const VDDefaultTheme*>(currentTheme());
    const VDBitmapFont* font = theme != nullptr ? theme->getTextFont() : nullptr;
    if (font != nullptr) {
        glColor4f(kTextGrey, kTextGrey, kTextGrey, 1.0f);
        for (const VCCellView::DrawnModel& model : models) {
            float x = 0.0f;
            float y = 0.0f;
            if (project(labelAnchor(model), x, y) && x >= m_viewport.getX1() && x < m_viewport.getX2() &&
                y >= m_viewport.getY1() && y < m_viewport.getY2()) {
                drawText(font, static_cast<int>(x), static_cast<int>(y) + 2, model.name);
            }
        }
    }
    const int nearest = nearestToCentre(models);
    if (nearest >= 0 && models[static_cast<size_t>(nearest)].hasRange) {
        drawLegend(models[static_cast<size_t>(nearest)]);
    }
}

void VDCellOverlay::drawLegend(const VCCellView::DrawnModel& model) const {
    const VDRect bar = barRectangle();
    const bool single = !(model.maximum > model.minimum);
    // Bottom to top, minimum to maximum; a single value is one colour.
    glBegin(GL_QUAD_STRIP);
    for (int step = 0; step <= kBarSteps; ++step) {
        const double t = static_cast<double>(step) / kBarSteps;
        const SDColourRamp::Colour colour = SDColourRamp::at(single ? 0.5 : t);
        glColor4f(colour[0], colour[1], colour[2], 1.0f);
        const float y = bar.getY1() + static_cast<float>(t) * bar.getHeight();
        glVertex2f(bar.getX1(), y);
        glVertex2f(bar.getX2(), y);
    }
    glEnd();

    const auto* theme = dynamic_cast<const VDDefaultTheme*>(currentTheme());
    const VDBitmapFont* font = theme != nullptr ? theme->getTextFont() : nullptr;
    if (font == nullptr) {
        return;
    }
    const float charWidth = theme->getCharWidth();
    const float charHeight = theme->getCharHeight();
    auto rightAligned = [&](const std::string& text, float y) {
        const float x = bar.getX1() - 6.0f - charWidth * static_cast<float>(text.size());
        drawText(font, static_cast<int>(x), static_cast<int>(y), text);
    };
    glColor4f(kTextGrey, kTextGrey, kTextGrey, 1.0f);
    rightAligned(formatValue(model.maximum), bar.getY2() - charHeight);
    rightAligned(formatValue(model.minimum), bar.getY1());
    const float nameX = bar.getX2() - charWidth * static_cast<float>(model.name.size());
    drawText(font, static_cast<int>(nameX), static_cast<int>(bar.getY2() + 6.0f), model.name);
}
