#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "scene/BoundingBox.h"
#include "scene/Vector3.h"

// Where the blocks of a model hierarchy stand: every model a box, a coupled model's children inside its
// frame in a grid (in their order, row by row), the models at the top side by side in a grid of their own.
// The structure is flat along z: each frame stands a little in front of and behind what it holds.
//
// Sizes are in world units, with room kept for text measured in characters (kChar wide, kRow high): each
// block's name above it, its input ports' labels left of it and its output ports' labels right of it, and
// room inside each frame for the arrows of messages between the frame and its children. Ports are markers
// on a block's left (inputs) and right (outputs) face, one row each, from the top down.
class SDBlockLayout {
  public:
    static constexpr uint32_t kNone = UINT32_MAX;
    static constexpr float kChar = 0.3f;         // one character's width
    static constexpr float kRow = 0.7f;          // one line of text
    static constexpr float kPortPitch = 0.75f;   // between two ports' rows
    static constexpr float kMarkerHalf = 0.12f;  // a port marker's half edge
    static constexpr float kLabelGap = 0.2f;     // from a marker's centre to its label
    static constexpr float kPad = 0.3f;          // inside a frame, around its content
    static constexpr float kArrowRoom = 0.6f;    // inside a frame, left and right of its children
    static constexpr float kGap = 0.5f;          // between neighbours in a grid
    static constexpr float kDepth = 0.5f;        // a block's depth
    static constexpr float kFrameDepth = 0.12f;  // a frame's depth in front of and behind its content

    // One model as the layout needs it; models are numbered by their position in the vector given to place.
    struct Model {
        std::vector<uint32_t> children;
        unsigned inputs = 0;
        unsigned outputs = 0;
        unsigned nameChars = 0;
        unsigned inputChars = 0;   // the longest input port label
        unsigned outputChars = 0;  // the longest output port label
    };
    struct Block {
        bool placed = false;
        bool frame = false;  // it has children
        unsigned level = 0;  // 0 at the top
        BoundingBox box;
        float nameWidth = 0.0f;  // room for the name, from the box's left edge
    };

    // Lays out the models reachable from `top` (each placed once, where it is first reached) with the
    // structure's left, bottom, front corner at `corner`. Models not reached are not placed.
    void place(const std::vector<Model>& models, const std::vector<uint32_t>& top, const Vector3& corner);

    size_t size() const { return m_blocks.size(); }
    const Block& block(uint32_t model) const { return m_blocks[model]; }
    // The centre of a port's marker: input or output port `index` of a placed model.
    Vector3 portPosition(uint32_t model, bool input, unsigned index) const;
    // Around every placed block with the room for its labels, and for the arrows that cross the top
    // models' frames from outside; false when nothing is placed.
    bool bounds(BoundingBox& box) const;
    // How far outside the top models the arrows from and to the root start and end.
    static constexpr float kOutside = 0.9f;

  private:
    struct Measure {
        float width = 0.0f;  // the block
        float height = 0.0f;
        float depth = 0.0f;
        float left = 0.0f;   // room for input labels
        float right = 0.0f;  // room for output labels
        float slotWidth = 0.0f;
        float slotHeight = 0.0f;
        std::vector<float> offsetX;  // each child's slot, from the content's left and top
        std::vector<float> offsetY;
    };

    // Places `items` (slot sizes) in a grid of the most fitting shape; their offsets and the whole size.
    static void arrange(const std::vector<float>& widths, const std::vector<float>& heights,
                        std::vector<float>& offsetX, std::vector<float>& offsetY, float& width,
                        float& height);

    void measure(const Model& model, uint32_t index, const std::vector<uint32_t>& held);
    void setBlock(uint32_t model, float left, float top, float front);

    std::vector<Block> m_blocks;
    std::vector<Measure> m_measures;
    std::vector<std::vector<uint32_t>> m_held;  // per model: the children placed in it
    bool m_any = false;
    Vector3 m_low;
    Vector3 m_high;
};
