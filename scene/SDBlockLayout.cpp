#include "scene/SDBlockLayout.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Grids are made about this much wider than high: the view is wider than high, and names run sideways.
constexpr double kAspect = 1.3;
constexpr float kBlockWidth = 1.2f;
constexpr float kBlockHeight = 1.0f;
// Above a plain block's first port and below its last.
constexpr float kPortMargin = 0.1f;
constexpr size_t kAllShapes = 64;

}  // namespace

void SDBlockLayout::place(const std::vector<Model>& models, const std::vector<uint32_t>& top,
                          const Vector3& corner) {
    const size_t count = models.size();
    m_blocks.assign(count, Block{});
    m_measures.assign(count, Measure{});
    m_held.assign(count, {});
    m_any = false;

    // Parents before children, each model where it is first reached; sized from the last back.
    std::vector<uint32_t> order;
    std::vector<uint32_t> tops;
    std::vector<bool> reached(count, false);
    for (uint32_t model : top) {
        if (model < count && !reached[model]) {
            reached[model] = true;
            order.push_back(model);
            tops.push_back(model);
        }
    }
    for (size_t i = 0; i < order.size(); ++i) {
        const uint32_t parent = order[i];
        for (uint32_t child : models[parent].children) {
            if (child < count && !reached[child]) {
                reached[child] = true;
                m_held[parent].push_back(child);
                m_blocks[child].level = m_blocks[parent].level + 1;
                order.push_back(child);
            }
        }
    }
    for (size_t i = order.size(); i-- > 0;) {
        measure(models[order[i]], order[i], m_held[order[i]]);
    }

    std::vector<float> widths;
    std::vector<float> heights;
    for (uint32_t model : tops) {
        widths.push_back(m_measures[model].slotWidth);
        heights.push_back(m_measures[model].slotHeight);
    }
    std::vector<float> offsetX;
    std::vector<float> offsetY;
    float width = 0.0f;
    float height = 0.0f;
    arrange(widths, heights, offsetX, offsetY, width, height);
    const float left = corner.x + kOutside;
    const float topY = corner.y + height;
    for (size_t i = 0; i < tops.size(); ++i) {
        setBlock(tops[i], left + offsetX[i] + m_measures[tops[i]].left, topY - offsetY[i] - kRow, corner.z);
    }
    for (uint32_t parent : order) {
        const BoundingBox& box = m_blocks[parent].box;
        const Measure& frame = m_measures[parent];
        for (size_t i = 0; i < m_held[parent].size(); ++i) {
            const uint32_t child = m_held[parent][i];
            setBlock(child, box.getMin().x + kPad + kArrowRoom + frame.offsetX[i] + m_measures[child].left,
                     box.getMax().y - kPad - frame.offsetY[i] - kRow, box.getMax().z - kFrameDepth);
        }
    }

    // The top models' arrows from and to the root run outside them.
    for (uint32_t model : tops) {
        const BoundingBox& box = m_blocks[model].box;
        const Vector3 low(box.getMin().x - m_measures[model].left - kOutside, box.getMin().y, box.getMin().z);
        const Vector3 high(box.getMax().x + m_measures[model].right + kOutside, box.getMax().y,
                           box.getMax().z);
        m_low = Vector3(std::min(m_low.x, low.x), std::min(m_low.y, low.y), std::min(m_low.z, low.z));
        m_high = Vector3(std::max(m_high.x, high.x), std::max(m_high.y, high.y), std::max(m_high.z, high.z));
    }
}

void SDBlockLayout::measure(const Model& model, uint32_t index, const std::vector<uint32_t>& held) {
    Measure& m = m_measures[index];
    m.left = model.inputs > 0 ? kLabelGap + static_cast<float>(model.inputChars) * kChar : 0.0f;
    m.right = model.outputs > 0 ? kLabelGap + static_cast<float>(model.outputChars) * kChar : 0.0f;
    const float ports = static_cast<float>(std::max(model.inputs, model.outputs)) * kPortPitch;
    if (held.empty()) {
        m.width = kBlockWidth;
        m.height = std::max(kBlockHeight, ports + 2.0f * kPortMargin);
        m.depth = kDepth;
    } else {
        std::vector<float> widths;
        std::vector<float> heights;
        float deepest = 0.0f;
        for (uint32_t child : held) {
            widths.push_back(m_measures[child].slotWidth);
            heights.push_back(m_measures[child].slotHeight);
            deepest = std::max(deepest, m_measures[child].depth);
        }
        float width = 0.0f;
        float height = 0.0f;
        arrange(widths, heights, m.offsetX, m.offsetY, width, height);
        m.width = width + 2.0f * (kPad + kArrowRoom);
        m.height = std::max(height, ports) + 2.0f * kPad;
        m.depth = deepest + 2.0f * kFrameDepth;
    }
    m_blocks[index].frame = !held.empty();
    m.slotWidth = m.left + std::max(m.width + m.right, static_cast<float>(model.nameChars) * kChar);
    m.slotHeight = kRow + m.height;
}

void SDBlockLayout::setBlock(uint32_t model, float left, float top, float front) {
    const Measure& m = m_measures[model];
    Block& block = m_blocks[model];
    block.placed = true;
    block.box.setMinMax(Vector3(left, top - m.height, front - m.depth), Vector3(left + m.width, top, front));
    block.nameWidth = m.slotWidth - m.left;
    // Names and labels stand around the block.
    const Vector3 low(left - m.left, top - m.height, front - m.depth);
    const Vector3 high(left + m.width + m.right, top + kRow, front);
    if (!m_any) {
        m_low = low;
        m_high = high;
        m_any = true;
        return;
    }
    m_low = Vector3(std::min(m_low.x, low.x), std::min(m_low.y, low.y), std::min(m_low.z, low.z));
    m_high = Vector3(std::max(m_high.x, high.x), std::max(m_high.y, high.y), std::max(m_high.z, high.z));
}

Vector3 SDBlockLayout::portPosition(uint32_t model, bool input, unsigned index) const {
    const Block& block = m_blocks[model];
    const float first = block.frame ? kPad : kPortMargin;
    const float y = block.box.getMax().y - first - (static_cast<float>(index) + 0.5f) * kPortPitch;
    const float x = input ? block.box.getMin().x : block.box.getMax().x;
    return Vector3(x, y, block.box.getMax().z - kMarkerHalf);
}

bool SDBlockLayout::bounds(BoundingBox& box) const {
    if (!m_any) {
        return false;
    }
    box.setMinMax(m_low, m_high);
    return true;
}

void SDBlockLayout::arrange(const std::vector<float>& widths, const std::vector<float>& heights,
                            std::vector<float>& offsetX, std::vector<float>& offsetY, float& width,
                            float& height) {
    const size_t count = widths.size();
    offsetX.assign(count, 0.0f);
    offsetY.assign(count, 0.0f);
    width = 0.0f;
    height = 0.0f;
    if (count == 0) {
        return;
    }
    auto shape = [&](size_t columns, std::vector<float>& columnWidths, std::vector<float>& rowHeights) {
        const size_t rows = (count + columns - 1) / columns;
        columnWidths.assign(columns, 0.0f);
        rowHeights.assign(rows, 0.0f);
        for (size_t i = 0; i < count; ++i) {
            columnWidths[i % columns] = std::max(columnWidths[i % columns], widths[i]);
            rowHeights[i / columns] = std::max(rowHeights[i / columns], heights[i]);
        }
    };
    std::vector<float> columnWidths;
    std::vector<float> rowHeights;
    // Every shape for a few items; around the shape of average items for many, so a frame of a thousand
    // children costs a few dozen tries.
    size_t low = 1;
    size_t high = count;
    size_t step = 1;
    if (count > kAllShapes) {
        double w = 0.0;
        double h = 0.0;
        for (size_t i = 0; i < count; ++i) {
            w += widths[i];
            h += heights[i];
        }
        const double guess = std::sqrt(static_cast<double>(count) * kAspect * h / std::max(w, 1e-3));
        low = std::clamp<size_t>(static_cast<size_t>(guess / 2.0), 1, count);
        high = std::clamp<size_t>(static_cast<size_t>(guess * 2.0) + 1, low, count);
        step = std::max<size_t>(1, (high - low) / kAllShapes);
    }
    size_t best = low;
    double bestScore = std::numeric_limits<double>::infinity();
    for (size_t columns = low; columns <= high; columns += step) {
        shape(columns, columnWidths, rowHeights);
        double w = kGap * static_cast<double>(columns - 1);
        double h = kGap * static_cast<double>(rowHeights.size() - 1);
        for (float c : columnWidths) {
            w += c;
        }
        for (float r : rowHeights) {
            h += r;
        }
        const double score = std::fabs(std::log(w / std::max(h, 1e-3) / kAspect));
        if (score < bestScore) {
            bestScore = score;
            best = columns;
        }
    }
    shape(best, columnWidths, rowHeights);
    std::vector<float> columnX(best, 0.0f);
    for (size_t c = 1; c < best; ++c) {
        columnX[c] = columnX[c - 1] + columnWidths[c - 1] + kGap;
    }
    std::vector<float> rowY(rowHeights.size(), 0.0f);
    for (size_t r = 1; r < rowHeights.size(); ++r) {
        rowY[r] = rowY[r - 1] + rowHeights[r - 1] + kGap;
    }
    for (size_t i = 0; i < count; ++i) {
        offsetX[i] = columnX[i % best];
        offsetY[i] = rowY[i / best];
    }
    width = columnX.back() + columnWidths.back();
    height = rowY.back() + rowHeights.back();
}
