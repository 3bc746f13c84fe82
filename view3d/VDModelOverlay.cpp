#include "view3d/VDModelOverlay.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <tuple>

#include "gui/VDBitmapFont.h"
#include "gui/VDDefaultTheme.h"
#include "gui/VDThemeStore.h"
#include "gui/VDUtf8.h"
#include "scene/SDBlockLayout.h"

namespace {

constexpr float kNameGrey = 0.9f;
constexpr float kPortGrey = 0.72f;
// A name or a port whose line the picture makes lower than this part of a line of text is left out: it
// would cover the block below it, or stand among texts of the rows around it.
constexpr float kLeastRow = 0.6f;
// Room kept free left and right of a text, and how far its glyphs reach below and above its baseline, in
// lines of text.
constexpr float kMargin = 1.0f;
constexpr float kBelowBase = 0.2f;
constexpr float kAboveBase = 0.7f;
// Pixels between an arrow and a value written beside it.
constexpr float kBeside = 3.0f;
// The view's background (the theme clears to black): a port label's patch.
constexpr float kBackground[3] = {0.0f, 0.0f, 0.0f};

// The colours of the kinds of text, as indices.
enum { kInput, kOutput, kName, kPort, kColours };

}  // namespace

VDModelOverlay::TextSpace::TextSpace(const VDRect& viewport) : m_viewport(viewport) {
    m_columns = std::max(1, static_cast<int>(std::ceil(viewport.getWidth() / kBucket)));
    m_rows = std::max(1, static_cast<int>(std::ceil(viewport.getHeight() / kBucket)));
    m_buckets.resize(static_cast<size_t>(m_columns) * static_cast<size_t>(m_rows));
}

template <class Visit>
void VDModelOverlay::TextSpace::forBuckets(float x1, float y1, float x2, float y2, Visit visit) const {
    auto column = [&](float x) {
        return std::clamp(static_cast<int>((x - m_viewport.getX1()) / kBucket), 0, m_columns - 1);
    };
    auto row = [&](float y) {
        return std::clamp(static_cast<int>((y - m_viewport.getY1()) / kBucket), 0, m_rows - 1);
    };
    for (int r = row(y1); r <= row(y2); ++r) {
        for (int c = column(x1); c <= column(x2); ++c) {
            if (!visit(static_cast<size_t>(r) * static_cast<size_t>(m_columns) + static_cast<size_t>(c))) {
                return;
            }
        }
    }
}

bool VDModelOverlay::TextSpace::isFree(float x1, float y1, float x2, float y2) const {
    if (x1 < m_viewport.getX1() || x2 > m_viewport.getX2() || y1 < m_viewport.getY1() ||
        y2 > m_viewport.getY2()) {
        return false;
    }
    bool free = true;
    forBuckets(x1, y1, x2, y2, [&](size_t bucket) {
        for (size_t index : m_buckets[bucket]) {
            const Box& box = m_boxes[index];
            if (x1 < box.x2 && box.x1 < x2 && y1 < box.y2 && box.y1 < y2) {
                free = false;
                return false;
            }
        }
        return true;
    });
    return free;
}

void VDModelOverlay::TextSpace::add(float x1, float y1, float x2, float y2) {
    const size_t index = m_boxes.size();
    m_boxes.push_back(Box{x1, y1, x2, y2});
    forBuckets(x1, y1, x2, y2, [&](size_t bucket) {
        m_buckets[bucket].push_back(index);
        return true;
    });
}

VDModelOverlay::VDModelOverlay(const double projection[16], const double view[16], const VDRect& viewport)
    : m_projector(projection, view, viewport), m_viewport(viewport) {}

std::string VDModelOverlay::fitted(const std::string& text, float roomPixels, float charWidth) {
    if (!(charWidth > 0.0f) || !(roomPixels > 0.0f)) {
        return "";
    }
    const auto fits = static_cast<size_t>(std::floor(roomPixels / charWidth));
    if (fits >= VDUtf8::length(text)) {
        return text;
    }
    if (fits < kFewest) {
        return "";
    }
    return VDUtf8::head(text, fits - 1) + "~";
}

void VDModelOverlay::place(TextSpace& space, const VCModelView::Label& label, float charWidth,
                           float charHeight, bool centred, float rowWorld, int colour,
                           std::vector<Placed>& placed) const {
    float x = 0.0f;
    float y = 0.0f;
    float endX = 0.0f;
    float endY = 0.0f;
    const Vector3 end = label.anchor + Vector3(label.rightAligned ? -label.room : label.room, 0.0f, 0.0f);
    if (!m_projector.project(label.anchor, x, y) || !m_projector.project(end, endX, endY)) {
        return;
    }
    if (rowWorld > 0.0f) {
        float rowX = 0.0f;
        float rowY = 0.0f;
        if (!m_projector.project(label.anchor + Vector3(0.0f, rowWorld, 0.0f), rowX, rowY) ||
            std::fabs(rowY - y) < charHeight * kLeastRow) {
            return;
        }
    }
    // A block's name stands its descenders' depth higher, so that its frame does not cut them ("top").
    const float base = centred           ? y - charHeight * 0.35f
                       : colour == kName ? y + 2.0f + charHeight * kBelowBase
                                         : y + 2.0f;
    // The whole text if it meets no other, else what its room holds.
    for (const std::string& text : {label.text, fitted(label.text, std::fabs(endX - x), charWidth)}) {
        if (text.empty()) {
            return;
        }
        const float width = charWidth * static_cast<float>(VDUtf8::length(text));
        const float left = label.rightAligned ? x - width : x;
        // The glyphs' ink: a little below the baseline, and short of the line's full height, so that rows
        // of ports a line apart all show.
        const float x1 = left - kMargin;
        const float y1 = base - charHeight * kBelowBase;
        const float x2 = left + width + kMargin;
        const float y2 = base + charHeight * kAboveBase;
        if (space.isFree(x1, y1, x2, y2)) {
            space.add(x1, y1, x2, y2);
            placed.push_back(Placed{static_cast<int>(std::lround(left)), static_cast<int>(std::lround(base)),
                                    colour, text, colour == kPort, x1, y1, x2, y2});
            return;
        }
    }
}

bool VDModelOverlay::placeAlong(const TextSpace& space, const std::vector<ScreenPoint>& arrow, float width,
                                float charHeight, float& left, float& base) {
    std::vector<size_t> segments;
    for (size_t i = 0; i + 1 < arrow.size(); ++i) {
        segments.push_back(i);
    }
    const auto length = [&](size_t i) {
        return std::hypot(arrow[i + 1].x - arrow[i].x, arrow[i + 1].y - arrow[i].y);
    };
    std::stable_sort(segments.begin(), segments.end(),
                     [&](size_t a, size_t b) { return length(a) > length(b); });
    for (size_t i : segments) {
        const ScreenPoint& a = arrow[i];
        const ScreenPoint& b = arrow[i + 1];
        const bool level = std::fabs(b.x - a.x) >= std::fabs(b.y - a.y);
        for (float along : {0.5f, 0.25f, 0.75f, 0.1f, 0.9f}) {
            const float x = a.x + (b.x - a.x) * along;
            const float y = a.y + (b.y - a.y) * along;
            for (int side = 0; side < 2; ++side) {
                if (level) {
                    left = x - width / 2.0f;
                    base = side == 0 ? y + kBeside : y - kBeside - charHeight * kAboveBase;
                } else {
                    left = side == 0 ? x + kBeside + kMargin : x - kBeside - kMargin - width;
                    base = y - charHeight * 0.35f;
                }
                const float x1 = left - kMargin;
                const float y1 = base - charHeight * kBelowBase;
                const float x2 = left + width + kMargin;
                const float y2 = base + charHeight * kAboveBase;
                if (space.isFree(x1, y1, x2, y2)) {
                    return true;
                }
            }
        }
    }
    return false;
}

void VDModelOverlay::draw(const VCModelView::Labels& labels) const {
    const auto* theme = dynamic_cast<const VDDefaultTheme*>(currentTheme());
    const VDBitmapFont* font = theme != nullptr ? theme->getTextFont() : nullptr;
    if (font == nullptr) {
        return;
    }
    const float charWidth = theme->getCharWidth();
    const float charHeight = theme->getCharHeight();
    const float colours[kColours][3] = {
        {VCModelView::kInputColour[0], VCModelView::kInputColour[1], VCModelView::kInputColour[2]},
        {VCModelView::kOutputColour[0], VCModelView::kOutputColour[1], VCModelView::kOutputColour[2]},
        {kNameGrey, kNameGrey, kNameGrey},
        {kPortGrey, kPortGrey, kPortGrey},
    };
    TextSpace space(m_viewport);
    std::vector<Placed> placed;
    // Names and ports first: a message's value gives way to them.
    for (const VCModelView::Label& label : labels.names) {
        place(space, label, charWidth, charHeight, false, SDBlockLayout::kRow * labels.scale, kName, placed);
    }
    for (const VCModelView::Label& label : labels.ports) {
        place(space, label, charWidth, charHeight, true, SDBlockLayout::kPortPitch * labels.scale, kPort,
              placed);
    }
    std::vector<ScreenPoint> arrow;
    for (const VCModelView::Label& label : labels.messages) {
        arrow.clear();
        for (const Vector3& point : label.along) {
            ScreenPoint p{0.0f, 0.0f};
            if (!m_projector.project(point, p.x, p.y)) {
                break;
            }
            arrow.push_back(p);
        }
        const float width = charWidth * static_cast<float>(VDUtf8::length(label.text));
        float left = 0.0f;
        float base = 0.0f;
        if (arrow.size() != label.along.size() || !placeAlong(space, arrow, width, charHeight, left, base)) {
            continue;
        }
        space.add(left - kMargin, base - charHeight * kBelowBase, left + width + kMargin,
                  base + charHeight * kAboveBase);
        placed.push_back(Placed{static_cast<int>(std::lround(left)), static_cast<int>(std::lround(base)),
                                label.rightAligned ? kOutput : kInput, label.text, false, 0.0f, 0.0f, 0.0f,
                                0.0f});
    }
    // The ports' patches first, over the lines of the 3D picture, then every text.
    glColor4f(kBackground[0], kBackground[1], kBackground[2], 1.0f);
    glBegin(GL_QUADS);
    for (const Placed& text : placed) {
        if (text.backed) {
            glVertex2f(text.x1, text.y1);
            glVertex2f(text.x2, text.y1);
            glVertex2f(text.x2, text.y2);
            glVertex2f(text.x1, text.y2);
        }
    }
    glEnd();
    // Written colour by colour, row by row: the GL draws the glyphs of neighbouring texts of one colour
    // together, where it would flush its glyphs at every move to another row.
    std::sort(placed.begin(), placed.end(), [](const Placed& a, const Placed& b) {
        return std::tie(a.colour, a.y, a.x) < std::tie(b.colour, b.y, b.x);
    });
    int current = -1;
    for (const Placed& text : placed) {
        if (text.colour != current) {
            current = text.colour;
            glColor4f(colours[current][0], colours[current][1], colours[current][2], 1.0f);
        }
        drawText(font, text.x, text.y, text.text);
    }
}
