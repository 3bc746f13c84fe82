#include "view3d/VDCellLegends.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <utility>

#include "control/VCModelView.h"
#include "gui/VDBitmapFont.h"
#include "gui/VDUtf8.h"
#include "scene/SDColourRamp.h"
#include "scene/SDNiceNumbers.h"
#include "shell/LogFormat.h"
#include "simdata/SDCellLook.h"

namespace {

// Light grey, as the theme writes labels; the swatches' frames a darker grey.
constexpr float kTextGrey = 0.85f;
constexpr float kFrameGrey = 0.5f;
constexpr int kBarSteps = 32;
// Between a legend's name and its column, and between two legends.
constexpr float kNameGap = 6.0f;
constexpr float kLegendGap = 10.0f;
// A ramp cut shorter than this would not read.
constexpr float kShortestBar = 40.0f;

std::string format(double value) {
    return numberText(value);
}

void frame(float x1, float y1, float x2, float y2) {
    glColor4f(kFrameGrey, kFrameGrey, kFrameGrey, 1.0f);
    glBegin(GL_LINE_LOOP);
    glVertex2f(x1 + 0.5f, y1 + 0.5f);
    glVertex2f(x2 - 0.5f, y1 + 0.5f);
    glVertex2f(x2 - 0.5f, y2 - 0.5f);
    glVertex2f(x1 + 0.5f, y2 - 0.5f);
    glEnd();
}

// A ramp's legend is its bar; rules may have one too.
bool hasBar(const VCCellView::DrawnModel& model) {
    return model.bar || model.legend == VCCellView::Legend::Ramp;
}

}  // namespace

VDCellLegends::VDCellLegends(const VDRect& viewport, float charWidth, float charHeight)
    : m_viewport(viewport), m_charWidth(charWidth), m_charHeight(charHeight) {}

std::string VDCellLegends::swatchLabel(const VCCellView::Swatch& swatch) {
    if (!swatch.text.empty()) {
        return swatch.text;
    }
    if (swatch.noValue) {
        return "no value";
    }
    if (swatch.low == swatch.high) {
        return format(swatch.low);
    }
    return format(swatch.low) + " .. " + format(swatch.high);
}

VCCellView::DrawnModel VDCellLegends::blockKey() {
    VCCellView::DrawnModel key;
    key.name = "model blocks";
    key.legend = VCCellView::Legend::Values;
    const std::pair<VCModelView::Colour, const char*> entries[] = {
        {VCModelView::kActiveColour, "active"},
        {VCModelView::kWaitingColour, "waiting"},
        {VCModelView::kPassiveColour, "passive"},
        {VCModelView::kUnknownColour, "no D yet"},
    };
    for (const auto& [colour, text] : entries) {
        VCCellView::Swatch swatch;
        swatch.colour = colour;
        swatch.text = text;
        key.swatches.push_back(swatch);
    }
    return key;
}

void VDCellLegends::place(const std::vector<const VCCellView::DrawnModel*>& models,
                          const VCCellView::DrawnModel* key) {
    m_placed.clear();
    std::vector<const VCCellView::DrawnModel*> shown;
    const size_t places = key != nullptr ? kMaxLegends - 1 : kMaxLegends;
    for (const VCCellView::DrawnModel* model : models) {
        if (model->legend != VCCellView::Legend::None && shown.size() < places) {
            shown.push_back(model);
        }
    }
    if (key != nullptr) {
        shown.push_back(key);
    }
    if (shown.empty()) {
        return;
    }
    const bool single = shown.size() == 1;
    const float right = m_viewport.getX2() - kMargin;
    const float rowHeight = m_charHeight + 4.0f;
    const float middle = m_viewport.getY1() + m_viewport.getHeight() / 2.0f;
    // The room for the legends: below the strip, above the bottom margin.
    const float top = m_viewport.getY2() - kTopClearance - kMargin / 2.0f;
    const float bottom = m_viewport.getY1() + kMargin / 2.0f;
    const float titleHeight = m_charHeight + kNameGap;
    const float share = (top - bottom) / static_cast<float>(shown.size());

    float nextTop = top;
    for (const VCCellView::DrawnModel* model : shown) {
        Placed placed;
        placed.model = model;
        placed.rowHeight = rowHeight;
        const float room = std::max(share - titleHeight - kLegendGap, rowHeight);
        const size_t swatches = model->swatches.size();
        float barHeight = 0.0f;
        float swatchRoom = room;
        if (hasBar(*model)) {
            const float below = swatches > 0 ? static_cast<float>(swatches) * rowHeight + kBarGap : 0.0f;
            barHeight = single ? kBarHeight : std::clamp(room - below, kShortestBar, kBarHeight);
            // One bar stays in the middle: its swatches have the room below it.
            swatchRoom = single ? middle - barHeight / 2.0f - kBarGap - bottom : room - barHeight - kBarGap;
        }
        placed.rows = swatches;
        const size_t fit =
            std::max<size_t>(1, static_cast<size_t>(std::max(swatchRoom, rowHeight) / rowHeight));
        if (placed.rows > fit) {
            placed.hiddenRows = placed.rows - (fit - 1);
            placed.rows = fit;
        }
        const float swatchHeight = static_cast<float>(placed.rows) * rowHeight;
        const float height = barHeight + (hasBar(*model) && placed.rows > 0 ? kBarGap : 0.0f) + swatchHeight;
        // One legend stands in the middle of the right edge (its bar, when it has one); several stack from
        // the top.
        float y2 = nextTop - titleHeight;
        if (single) {
            y2 = middle + (hasBar(*model) ? barHeight : height) / 2.0f;
        }
        placed.column = VDRect(right - kBarWidth, y2 - height, right, y2);
        placed.bar = VDRect(right - kBarWidth, y2 - barHeight, right, y2);
        nextTop = y2 - height - kLegendGap;
        m_placed.push_back(placed);
    }
}

void VDCellLegends::draw(const VDBitmapFont* font) const {
    for (const Placed& placed : m_placed) {
        if (hasBar(*placed.model)) {
            drawRamp(placed, font);
        }
        drawSwatches(placed, font);
        if (font != nullptr) {
            glColor4f(kTextGrey, kTextGrey, kTextGrey, 1.0f);
            // A colour bar's title names the port its values come from.
            const std::string name =
                hasBar(*placed.model) ? placed.model->name + "." + SDCellLook::kPort : placed.model->name;
            const float nameX =
                placed.column.getX2() - m_charWidth * static_cast<float>(VDUtf8::length(name));
            drawText(font, static_cast<int>(nameX), static_cast<int>(placed.column.getY2() + kNameGap), name);
        }
    }
}

void VDCellLegends::rightAligned(const VDBitmapFont* font, const std::string& text, float right,
                                 float y) const {
    const float x = right - m_charWidth * static_cast<float>(VDUtf8::length(text));
    drawText(font, static_cast<int>(x), static_cast<int>(y), text);
}

std::vector<double> VDCellLegends::ticks(const VCCellView::DrawnModel& model) {
    if (!model.hasRange || !(model.maximum > model.minimum)) {
        return {};
    }
    if (model.scale.log) {
        return model.minimum > 0.0 ? SDNiceNumbers::logTicks(model.minimum, model.maximum)
                                   : std::vector<double>{};
    }
    return SDNiceNumbers::ticks(model.minimum, model.maximum);
}

std::string VDCellLegends::endLabel(const VCCellView::DrawnModel& model, bool high) {
    if (high) {
        return (model.aboveRange ? "≥ " : "") + format(model.maximum);
    }
    return (model.belowRange ? "≤ " : "") + format(model.minimum);
}

void VDCellLegends::drawRamp(const Placed& placed, const VDBitmapFont* font) const {
    const VDRect& bar = placed.bar;
    const VCCellView::DrawnModel& model = *placed.model;
    const SDColourScale& scale = model.scale;
    // Bottom to top, minimum to maximum, in the colours the cells take; a single value is one colour.
    glBegin(GL_QUAD_STRIP);
    for (int step = 0; step <= kBarSteps; ++step) {
        const double t = static_cast<double>(step) / kBarSteps;
        const SDColourRamp::Colour colour = scale.colour(scale.valueAt(t));
        glColor4f(colour[0], colour[1], colour[2], 1.0f);
        const float y = bar.getY1() + static_cast<float>(t) * bar.getHeight();
        glVertex2f(bar.getX1(), y);
        glVertex2f(bar.getX2(), y);
    }
    glEnd();
    if (font == nullptr) {
        return;
    }
    glColor4f(kTextGrey, kTextGrey, kTextGrey, 1.0f);
    const float labelRight = bar.getX1() - kTickLength - 3.0f;
    rightAligned(font, endLabel(model, true), labelRight, bar.getY2() - m_charHeight);
    rightAligned(font, endLabel(model, false), labelRight, bar.getY1());
    // Ticks: a mark at the bar's left edge and the number beside it, left out where it would run into
    // an end's number.
    for (double tick : ticks(model)) {
        const float y = bar.getY1() + static_cast<float>(scale.heightOf(tick)) * bar.getHeight();
        glBegin(GL_LINES);
        glVertex2f(bar.getX1() - kTickLength, y + 0.5f);
        glVertex2f(bar.getX1(), y + 0.5f);
        glEnd();
        const float textY = y - m_charHeight / 2.0f + 1.0f;
        if (textY > bar.getY1() + m_charHeight && textY + m_charHeight < bar.getY2() - m_charHeight) {
            rightAligned(font, format(tick), labelRight, textY);
        }
    }
}

void VDCellLegends::drawSwatches(const Placed& placed, const VDBitmapFont* font) const {
    const VDRect& column = placed.column;
    const std::vector<VCCellView::Swatch>& swatches = placed.model->swatches;
    const size_t drawn = placed.hiddenRows > 0 ? placed.rows - 1 : placed.rows;
    const float top = hasBar(*placed.model) ? placed.bar.getY1() - kBarGap : column.getY2();
    for (size_t row = 0; row < placed.rows; ++row) {
        const float y2 = top - static_cast<float>(row) * placed.rowHeight;
        const float y1 = y2 - placed.rowHeight + 3.0f;
        std::string label;
        if (row < drawn) {
            const VCCellView::Swatch& swatch = swatches[row];
            // A hidden look (alpha 0) is an empty frame.
            if (swatch.colour[3] > 0.0f) {
                glColor4f(swatch.colour[0], swatch.colour[1], swatch.colour[2], 1.0f);
                glBegin(GL_QUADS);
                glVertex2f(column.getX1(), y1);
                glVertex2f(column.getX2(), y1);
                glVertex2f(column.getX2(), y2);
                glVertex2f(column.getX1(), y2);
                glEnd();
            }
            frame(column.getX1(), y1, column.getX2(), y2);
            label = swatch.colour[3] > 0.0f ? swatchLabel(swatch) : swatchLabel(swatch) + " (hidden)";
        } else {
            label = "+" + std::to_string(placed.hiddenRows) + " more";
        }
        if (font != nullptr) {
            glColor4f(kTextGrey, kTextGrey, kTextGrey, 1.0f);
            rightAligned(font, label, column.getX1() - 6.0f, y1 + 1.0f);
        }
    }
}
