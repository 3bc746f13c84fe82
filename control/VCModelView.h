#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "control/VCModelPorts.h"
#include "scene/BoundingBox.h"
#include "scene/SDBlockBatch.h"
#include "scene/SDBlockLayout.h"

class Frustum;
class SDCouplings;
class SDDevsModelList;
class SDModelStructure;
class SDTimeCursor;
class VCCellView;

// The models of the open visualization as the 3D view shows their hierarchy: each model that is not a cell
// a block (an atomic model solid, a coupled one a frame around its children, a cell space a solid block
// marked with a grid and tied to its cells), with its ports as markers on its sides, coloured by what it
// does at the current time, and the messages of that time as arrows between the ports and the frames. The
// couplings of model files are lines from port to port around the blocks of their frame, and a message on a
// coupled port follows its coupling's line.
//
// Drawn only when the run has a plain atomic model: a run of cell spaces alone (under the coupled models
// that hold them) shows its cells as it always has. The structure stands to the right of the cell spaces'
// row, clear of life's box and of every cell; it is laid out again when the hierarchy changes (a later
// import) or the row grows. Beside cell spaces it is drawn smaller, so that a picture of both leaves
// the cells most of the room (see getScale); what is said of places below is of the structure as drawn.
class VCModelView {
  public:
    using Colour = std::array<float, 4>;
    // A model's look when no colour rule holds: what it does at the current time.
    static constexpr Colour kActiveColour{1.0f, 0.82f, 0.2f, 1.0f};
    static constexpr Colour kWaitingColour{0.25f, 0.5f, 1.0f, 1.0f};
    static constexpr Colour kPassiveColour{0.42f, 0.44f, 0.48f, 1.0f};
    static constexpr Colour kUnknownColour{0.22f, 0.22f, 0.22f, 1.0f};
    static constexpr Colour kInputColour{0.35f, 0.95f, 0.45f, 1.0f};  // input markers, X arrows
    static constexpr Colour kOutputColour{1.0f, 0.45f, 0.75f, 1.0f};  // output markers, Y arrows
    static constexpr Colour kLinkColour{0.78f, 0.8f, 0.88f, 1.0f};    // couplings from model files
    // How far a coupling's line leaves its port straight out before it turns towards the other port.
    static constexpr float kLinkStub = 0.35f;
    // How much searching the couplings' lines may take at each layout, in points of their routers' grids
    // (a second or so): the lines after that take the plain shape of along, across, along.
    static constexpr size_t kRoutingBudget = 4000000;
    // Arrows drawn at most in one frame; a time with more messages shows the first ones.
    static constexpr size_t kMaxArrows = 4096;

    // Over data owned elsewhere (the visualization and the controller).
    VCModelView(SDModelStructure* structure, SDDevsModelList* registry, SDTimeCursor* cursor,
                VCCellView* cells);
    VCModelView(const VCModelView&) = delete;
    VCModelView& operator=(const VCModelView&) = delete;

    // The couplings model files declared (owned by the visualization); drawn as lines between the ports
    // they join. Null: none.
    void setCouplings(const SDCouplings* couplings) {
        m_couplings = couplings;
        m_routedLinks = SIZE_MAX;
    }

    // Lays the structure out again if the hierarchy or the cell spaces' row changed. Needs no GL.
    void updateLayout();
    // Brings the layout and the looks up to the current time and draws the blocks (nothing when the
    // structure is not drawn or the frustum sees none of it).
    void render(Frustum* frustum);

    // Whether the blocks are drawn: the run has a structure and vis_structure has not hidden it. Hidden
    // blocks have no bounds, no labels and cannot be picked.
    bool isDrawn() const { return m_drawn && m_shown; }
    void setShown(bool shown) { m_shown = shown; }
    bool isShown() const { return m_shown; }
    // A thin white frame around every drawn block a message (X or Y) from or to it at the current time
    // touches, and around a cell space's block when one of its cells changed then; off at first.
    void setChangesShown(bool shown) { m_changesShown = shown; }
    // The blocks framed by the last render.
    size_t getFramedCount() const { return m_framed; }
    // The box around the structure with its labels; false when it is not drawn.
    bool getBounds(BoundingBox& bounds) const;
    // How much smaller than laid out the structure is drawn, picked and labelled: 1 in a run without cell
    // spaces. Beside them, as small as makes it no wider than a share of their width (two thirds when a
    // block of several layers is drawn whole, and so seen from the side, which shows a flat structure at
    // about half its width; else a little over a third) and no higher than they are, yet no smaller than
    // a twentieth. It then stands right of the cells, bottom and back level with theirs, in the room a
    // view fitted to the cells leaves under the legends: seen from the side, beside the block rather than
    // in front of it.
    float getScale() const { return m_scale; }
    // The models that have a block, in the hierarchy's order of first appearance.
    std::vector<std::string> getBlockNames() const;

    // A model's block, as of the last layout update; false when it has none.
    bool findBlock(const std::string& model, BoundingBox& box) const;
    // Where a port's marker stands (its centre), for lines drawn to it; false when the model has no block
    // or no such port.
    bool portPosition(const std::string& model, const std::string& port, bool input, Vector3& position) const;
    // The model whose block a line of sight points at (see pickBlock); hidden blocks let it through. Empty
    // when it points at none; `distance` is along the ray.
    std::string pick(const Vector3& origin, const Vector3& direction, float& distance);

    // What the overlay writes, as of the last render: each shown block's name and port labels, and the
    // values of the messages drawn.
    struct Label {
        Vector3 anchor;  // left end of the text's baseline, or right end when `rightAligned`
        std::string text;
        float room = 0.0f;  // world width the text may take
        bool rightAligned = false;
        // A message's arrow, from its tail to its head: where its value may stand.
        std::vector<Vector3> along;
    };
    struct Labels {
        std::vector<Label> names;
        std::vector<Label> ports;
        std::vector<Label> messages;
        float scale = 1.0f;  // the structure's (getScale): a row of text is SDBlockLayout::kRow times it
    };
    const Labels& getLabels() const { return m_labels; }

    // A coupling's line as drawn: from the port it leaves to the port it reaches, corner by corner. Around
    // the blocks of the coupled model that declares it, through the gaps between them.
    struct Route {
        uint32_t from = 0;  // the models of its two ends
        uint32_t to = 0;
        std::vector<Vector3> points;
    };
    // The couplings' lines as of the last render, as laid out (before the scale).
    const std::vector<Route>& getRoutes() const { return m_routes; }

  private:
    struct Entry {
        VCModelPorts ports;
        float inputRoom = 0.0f;  // width kept for the labels of its input ports
        float outputRoom = 0.0f;
        bool hidden = false;  // a colour rule of alpha 0 holds
    };

    Colour lookOf(uint32_t model, double now, bool& hidden);
    // From the layout's coordinates to the world's, and back.
    Vector3 toWorld(const Vector3& point) const { return m_target + (point - m_pivot) * m_scale; }
    Vector3 toLayout(const Vector3& point) const { return m_pivot + (point - m_target) / m_scale; }
    BoundingBox toWorld(const BoundingBox& box) const;
    // portPosition as laid out.
    bool laidOutPort(const std::string& model, const std::string& port, bool input, Vector3& position) const;
    // The scale for the structure beside the cells in `cells` (`anyCells` false: none); `side`: a block
    // of several layers is drawn whole.
    void chooseScale(bool anyCells, bool side, const BoundingBox& cells, float rowEnd);
    void addMessages(double now);
    void addLinks();
    void addChangeFrames(double now);
    // Lays the couplings' lines again when the layout or the couplings changed.
    void routeLinks();
    // One link's line, around the blocks of `coupled` while `budget` (what the search may still cost, less
    // what this one takes) allows.
    Route routeOf(uint32_t coupled, uint32_t from, const Vector3& start, uint32_t to, const Vector3& end,
                  size_t& budget) const;
    std::string valueText(uint32_t slot, double now) const;

    SDModelStructure* m_structure;
    SDDevsModelList* m_registry;
    SDTimeCursor* m_cursor;
    VCCellView* m_cells;
    const SDCouplings* m_couplings = nullptr;

    SDBlockLayout m_layout;
    std::vector<Entry> m_entries;  // per model of the tree
    uint64_t m_laidOutRevision = UINT64_MAX;
    uint64_t m_laidOutRegistry = UINT64_MAX;
    float m_laidOutCorner = 0.0f;
    float m_scale = 1.0f;
    Vector3 m_pivot;  // a point of the layout, drawn at m_target
    Vector3 m_target;
    bool m_drawn = false;  // the run has a plain atomic model
    bool m_shown = true;
    bool m_changesShown = false;
    size_t m_framed = 0;

    uint64_t m_layouts = 0;  // counts the layouts made
    uint64_t m_routedLayout = UINT64_MAX;
    size_t m_routedLinks = SIZE_MAX;
    std::vector<Route> m_routes;
    // The coupling a message between a coupled model and its child travels: by the coupled model, the
    // child, the child's port and whether it is an input.
    std::map<std::tuple<uint32_t, uint32_t, std::string, bool>, size_t> m_routeOf;

    SDBlockBatch m_batch;
    Labels m_labels;
};
