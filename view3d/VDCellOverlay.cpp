#include "view3d/VDCellOverlay.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <limits>
#include <utility>

#include "gui/VDBitmapFont.h"
#include "gui/VDDefaultTheme.h"
#include "gui/VDThemeStore.h"
#include "gui/VDUtf8.h"
#include "view3d/VDCellCoordinates.h"
#include "view3d/VDCellLegends.h"

namespace {

// Column-major 4x4 times (x, y, z, w).
void transform(const double m[16], const double in[4], double out[4]) {
    for (int row = 0; row < 4; ++row) {
        out[row] = m[row] * in[0] + m[4 + row] * in[1] + m[8 + row] * in[2] + m[12 + row] * in[3];
    }
}

// Light grey, as the theme writes labels.
constexpr float kTextGrey = 0.85f;
// Between the top of a block and its name.
constexpr float kNameGap = 3.0f;
// The text size when there is no theme to ask (the legends' bars are drawn all the same).
constexpr float kDefaultCharWidth = 8.0f;
constexpr float kDefaultCharHeight = 13.0f;

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

std::vector<const VCCellView::DrawnModel*> VDCellOverlay::inView(
    const std::vector<VCCellView::DrawnModel>& models) const {
    const float centreX = m_viewport.getX1() + m_viewport.getWidth() / 2.0f;
    const float centreY = m_viewport.getY1() + m_viewport.getHeight() / 2.0f;
    std::vector<std::pair<float, const VCCellView::DrawnModel*>> found;
    for (const VCCellView::DrawnModel& model : models) {
        float x = 0.0f;
        float y = 0.0f;
        if (!project(model.bounds.getCentre(), x, y) || x < m_viewport.getX1() || x > m_viewport.getX2() ||
            y < m_viewport.getY1() || y > m_viewport.getY2()) {
            continue;
        }
        found.emplace_back((x - centreX) * (x - centreX) + (y - centreY) * (y - centreY), &model);
    }
    // Of equal distances, the first in the list.
    std::stable_sort(found.begin(), found.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<const VCCellView::DrawnModel*> nearestFirst;
    for (const auto& entry : found) {
        nearestFirst.push_back(entry.second);
    }
    return nearestFirst;
}

int VDCellOverlay::nearestToCentre(const std::vector<VCCellView::DrawnModel>& models) const {
    const std::vector<const VCCellView::DrawnModel*> found = inView(models);
    return found.empty() ? -1 : static_cast<int>(found.front() - models.data());
}

bool VDCellOverlay::blockRectangle(const VCCellView::DrawnModel& model, VDRect& rectangle) const {
    const Vector3& low = model.bounds.getMin();
    const Vector3& high = model.bounds.getMax();
    float left = std::numeric_limits<float>::max();
    float right = std::numeric_limits<float>::lowest();
    float bottom = std::numeric_limits<float>::max();
    float top = std::numeric_limits<float>::lowest();
    for (int corner = 0; corner < 8; ++corner) {
        const Vector3 point((corner & 1) != 0 ? high.x : low.x, (corner & 2) != 0 ? high.y : low.y,
                            (corner & 4) != 0 ? high.z : low.z);
        float px = 0.0f;
        float py = 0.0f;
        if (!project(point, px, py)) {
            return false;
        }
        left = std::min(left, px);
        right = std::max(right, px);
        bottom = std::min(bottom, py);
        top = std::max(top, py);
    }
    rectangle = VDRect(left, bottom, right, top);
    return true;
}

bool VDCellOverlay::nameSpot(const VCCellView::DrawnModel& model, float textWidth, float textHeight,
                             const std::vector<VDRect>& others, float& x, float& y,
                             const std::vector<VDRect>& numbers) const {
    VDRect block;
    if (!blockRectangle(model, block)) {
        return false;
    }
    const float left = std::max(block.getX1(), m_viewport.getX1());
    auto clear = [&](float bottom) {
        if (left >= m_viewport.getX2() || bottom < m_viewport.getY1() ||
            bottom + textHeight > m_viewport.getY2()) {
            return false;
        }
        for (const VDRect& other : others) {
            const bool apart = other.getX2() < left || other.getX1() > left + textWidth ||
                               other.getY2() < bottom || other.getY1() > bottom + textHeight;
            if (!apart) {
                return false;
            }
        }
        return true;
    };
    // Moved on, up or down, past every number it would cover.
    auto pastNumbers = [&](float bottom, bool up) {
        for (size_t moves = 0; moves <= numbers.size(); ++moves) {
            bool moved = false;
            for (const VDRect& number : numbers) {
                const bool apart = number.getX2() < left || number.getX1() > left + textWidth ||
                                   number.getY2() < bottom || number.getY1() > bottom + textHeight;
                if (!apart) {
                    bottom = up ? number.getY2() + kNameGap : number.getY1() - kNameGap - textHeight;
                    moved = true;
                }
            }
            if (!moved) {
                break;
            }
        }
        return bottom;
    };
    for (float bottom : {pastNumbers(block.getY2() + kNameGap, true),
                         pastNumbers(block.getY1() - kNameGap - textHeight, false)}) {
        if (clear(bottom)) {
            x = left;
            y = bottom;
            return true;
        }
    }
    return false;
}

void VDCellOverlay::drawLayerLabels(const VCCellView::DrawnModel& model, const VDBitmapFont* font,
                                    float charWidth, float charHeight,
                                    const std::vector<VDRect>& numbers) const {
    const bool oneMap = model.sliceAxis == 2;
    for (size_t k = 0; k < model.layers.size(); ++k) {
        // Of a block sliced along z, only the map drawn.
        if (oneMap && model.sliceLayer != k) {
            continue;
        }
        VCCellView::DrawnModel layer;
        layer.bounds = model.layers[k]->bounds();
        VDRect rectangle;
        if (!blockRectangle(layer, rectangle)) {
            continue;
        }
        // Above the map, past the numbers it would cover (the top row's column numbers), as a name goes.
        const std::string text = layerLabel(static_cast<long long>(k) + model.origin[2]);
        float x = 0.0f;
        float y = 0.0f;
        if (!nameSpot(layer, charWidth * static_cast<float>(VDUtf8::length(text)), charHeight, {}, x, y,
                      numbers) ||
            y < rectangle.getY2()) {
            continue;
        }
        drawText(font, static_cast<int>(x), static_cast<int>(y), text);
    }
}

std::string VDCellOverlay::layerLabel(long long layer) {
    return "z = " + std::to_string(layer);
}

std::vector<VDRect> VDCellOverlay::numberRectangles(const std::vector<VCCellView::DrawnModel>& models,
                                                    float charWidth, float charHeight) const {
    std::vector<VDRect> numbers;
    for (const VCCellView::DrawnModel& model : models) {
        for (const VDCellCoordinates::Label& label :
             VDCellCoordinates::place(*this, model, charWidth, charHeight)) {
            const auto x = static_cast<float>(label.x);
            const auto y = static_cast<float>(label.y);
            numbers.emplace_back(x, y, x + charWidth * static_cast<float>(label.text.size()), y + charHeight);
        }
    }
    return numbers;
}

VDRect VDCellOverlay::barRectangle() const {
    const float x2 = m_viewport.getX2() - VDCellLegends::kMargin;
    const float yMiddle = m_viewport.getY1() + m_viewport.getHeight() / 2.0f;
    return VDRect(x2 - VDCellLegends::kBarWidth, yMiddle - VDCellLegends::kBarHeight / 2.0f, x2,
                  yMiddle + VDCellLegends::kBarHeight / 2.0f);
}

void VDCellOverlay::draw(const std::vector<VCCellView::DrawnModel>& models,
                         const VCCellView::DrawnModel* key) const {
    const auto* theme = dynamic_cast<const VDDefaultTheme*>(currentTheme());
    const VDBitmapFont* font = theme != nullptr ? theme->getTextFont() : nullptr;
    const float charWidth = theme != nullptr ? theme->getCharWidth() : kDefaultCharWidth;
    const float charHeight = theme != nullptr ? theme->getCharHeight() : kDefaultCharHeight;
    if (font != nullptr) {
        std::vector<VDRect> blocks;
        for (const VCCellView::DrawnModel& model : models) {
            VDRect block;
            blocks.push_back(blockRectangle(model, block) ? block : VDRect(0.0f, 0.0f, -1.0f, -1.0f));
        }
        const std::vector<VDRect> numbers = numberRectangles(models, charWidth, charHeight);
        glColor4f(kTextGrey, kTextGrey, kTextGrey, 1.0f);
        for (size_t i = 0; i < models.size(); ++i) {
            std::vector<VDRect> others = blocks;
            others.erase(others.begin() + static_cast<std::ptrdiff_t>(i));
            const float width = charWidth * static_cast<float>(VDUtf8::length(models[i].name));
            float x = 0.0f;
            float y = 0.0f;
            // Above the column numbers, when the block has them, and the laid-out maps' "z = k"; clear of
            // every number wherever they stand.
            const float lift = (VDCellCoordinates::labels(models[i]) ? charHeight + 2.0f : 0.0f) +
                               (models[i].layers.empty() ? 0.0f : charHeight + 2.0f);
            if (nameSpot(models[i], width, charHeight + lift, others, x, y, numbers)) {
                drawText(font, static_cast<int>(x),
                         static_cast<int>(y + (y > blocks[i].getY2() ? lift : 0.0f)), models[i].name);
            }
            drawLayerLabels(models[i], font, charWidth, charHeight, numbers);
        }
        for (const VCCellView::DrawnModel& model : models) {
            VDCellCoordinates::draw(*this, model, font, charWidth, charHeight);
        }
    }
    VDCellLegends legends(m_viewport, charWidth, charHeight);
    legends.place(inView(models), key);
    legends.draw(font);
}
