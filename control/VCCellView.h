#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "scene/BoundingBox.h"
#include "scene/SDBlockBatch.h"
#include "scene/SDCellBatch.h"
#include "scene/SDCellLayout.h"
#include "scene/SDColourScale.h"
#include "simdata/SDCellValues.h"

class Frustum;
class SDCELLDevsModel;
class SDDevsModelList;
class SDTimeCursor;

// The Cell-DEVS models of the open visualization as the 3D view shows them: each placed by the layout and
// drawn as one batch of cubes coloured by the cells' values at the current time.
//
// A cell's colour: the no-value look while it has no value (or a value that is not a finite number);
// otherwise the colour of the first of the model's colour rules whose range holds the value; otherwise the
// model's ramp over its range in use (VCColourRange). Only the cells whose
// value changed are recoloured from frame to frame; a new range, a change of look or a new layout
// recolours them all, as does another background (see setBackgroundShown) to leave out.
class VCCellView {
  public:
    // Over a registry owned elsewhere (the visualization).
    explicit VCCellView(SDDevsModelList* models);
    VCCellView(const VCCellView&) = delete;
    VCCellView& operator=(const VCCellView&) = delete;
    // Releases the batches' GL buffers: the context they were made in must be current if any were made.
    ~VCCellView();

    // Places every Cell-DEVS model of the registry. Needs no GL.
    void updateLayout();
    // Brings the layout and every batch up to date, then draws the batches whose block the frustum may
    // see (all of them without a frustum).
    void render(Frustum* frustum);

    // What a model's legend shows: the ramp over the range in use; one swatch per colour rule and one for
    // "no value"; or, for a model whose values are few whole numbers (SDCellValues::distinctValues), one
    // swatch per value. Besides the rules, what the ramp still colours keeps its entry: the values no rule
    // holds, or the colour bar when the rules leave part of the range to the ramp. Whenever cells without
    // a value are drawn (of the slice, when sliced), a "no value" swatch ends the list; a model whose
    // cells have no value at all has that swatch alone (a Values legend without values).
    enum class Legend { None, Ramp, Rules, Values };
    struct Swatch {
        std::array<float, 4> colour{};
        double low = 0.0;  // the rule's range, or the value (low == high)
        double high = 0.0;
        bool noValue = false;  // the swatch of cells without a value
        std::string text;      // written in place of the range when set (the block key's entries)
    };
    struct DrawnModel {
        std::string name;
        const SDCellPlacement* placement = nullptr;  // valid until the next layout update
        // When its z layers are laid out as a grid of maps (setLayers): where each stands, cell (x, y, 0)
        // of layers[k] being cell (x, y, k), and the maps a row of the grid holds; otherwise empty and 0.
        // Valid until the next layout update.
        std::vector<const SDCellPlacement*> layers;
        unsigned layerColumns = 0;
        // Its cells are drawn as flat squares, the front faces of their cubes: a map (a single layer, or
        // laid-out layers) seen head-on. Picks then hit the squares alone.
        bool flat = false;
        BoundingBox bounds;     // around every cube
        bool hasRange = false;  // whether minimum and maximum hold the range in use
        double minimum = 0.0;
        double maximum = 0.0;
        SDColourScale scale;       // the ramp's map and scale over that range
        bool belowRange = false;   // some value lies below the range (its end then reads "≤ ...")
        bool aboveRange = false;   // some value lies above it
        bool notPositive = false;  // on a log scale, some value is 0 or below (a "≤ 0" swatch)
        Legend legend = Legend::None;
        // The colour bar stands above the swatches: always for Ramp, for Rules when the ramp still colours
        // part of the range.
        bool bar = false;
        // For Rules: the rules in their order, the values left to the ramp, then "no value"; for Values:
        // the values, largest first, then "no value" when such cells are drawn; for Ramp: "no value" when
        // such cells are drawn.
        std::vector<Swatch> swatches;
        // The slice drawn: its axis (0 to 2) and layer; -1 when the whole block is drawn.
        int sliceAxis = -1;
        unsigned sliceLayer = 0;
        // The run's coordinates of the cell stored at (0, 0, 0): what numbers and labels add to a stored
        // index.
        std::array<int, 3> origin{};
    };
    // Every model the view draws, in name order, as of the last layout update.
    std::vector<DrawnModel> getDrawnModels() const;
    // Whether a block whose rows run down (any cell space but life's box) is drawn; cheaper than asking
    // getDrawnModels, which describes every legend.
    bool drawsRowsDown() const;
    // The box around every drawn model; false when none is drawn.
    bool getBounds(BoundingBox& bounds) const;
    const SDCellPlacement* findPlacement(std::string_view name) const { return m_layout.find(name); }
    // Whether a cell of a drawn model is drawn at all: false for a hidden cell (alpha 0), a model that is
    // not drawn and a cell number beyond its counts. What a pick may hit.
    bool isCellShown(const std::string& name, size_t cell);

    // A slice: only the cells whose coordinate along `axis` (0 the first, 1 the second, 2 the third) is
    // `layer` are drawn and can be picked; the others are left out as hidden cells are. False, changing
    // nothing, for a model that is not drawn or a layer beyond its counts.
    bool setSlice(const std::string& name, int axis, unsigned layer);
    void clearSlice(const std::string& name);
    // The model's slice; false when its whole block is drawn.
    bool getSlice(const std::string& name, int& axis, unsigned& layer) const;
    // Moves the model's slice by `step` layers along its axis, staying within the block; without a slice,
    // starts one along z (the third axis) at its first layer going up, at its last going down. False,
    // changing nothing, for a model that is not drawn or has a single layer along z and no slice.
    bool stepSlice(const std::string& name, int step);
    // A slice's layer and the counts are stored indices; what is said names the run's coordinates (the
    // index plus the model's origin).
    // "z = 3 of 0..7" for a sliced model (of a space starting at z = -2, "z = 1 of -2..5"); empty for
    // one drawn whole.
    std::string describeSlice(const std::string& name) const;
    // What a change of slice tells: "fallrock sliced at z = 3: 64 of its 512 cells", or
    // "fallrock drawn whole: 512 cells".
    std::string sliceReport(const std::string& name) const;
    // The one drawn model of more than one layer along z; empty when there is none or several.
    std::string onlyBlockOfLayers() const;
    // The model's counts along each axis as laid out; false for a model that is not drawn.
    bool getCounts(const std::string& name, unsigned counts[3]) const;
    // The run's coordinates of the model's stored cell (0, 0, 0); (0, 0, 0) for a model not registered.
    std::array<int, 3> originOf(const std::string& name) const;

    // Lays the z layers of a model out as a grid of maps (see SDCellLayers) shaped for a picture of width
    // over height `aspect`, or puts the block together again. False, changing nothing, for a model that is
    // not drawn or has a single layer along z.
    static constexpr float kDefaultAspect = 4.0f / 3.0f;
    bool setLayers(const std::string& name, bool on, float aspect = kDefaultAspect);
    bool hasLayers(const std::string& name) const { return m_layered.count(name) != 0; }
    // Where a cell's cube stands as drawn, its layer moved when laid out; false for a cell not drawn.
    bool cellCentre(const std::string& name, unsigned x, unsigned y, unsigned z, Vector3& centre) const;

    // A block's background: in a cell space of more than one layer along z, the cells holding the value
    // that at least half of its cells hold now (SDCellValues::background; cells without a value count as
    // one value) are hidden, unless a colour rule of the user's (or the user's look for cells without a
    // value) colours it. Hidden by default; shown again per model. False, changing nothing, for a model
    // that is not drawn or has a single layer along z.
    bool setBackgroundShown(const std::string& name, bool shown);
    bool isBackgroundShown(const std::string& name) const { return m_backgroundShown.count(name) != 0; }
    // What a change of that setting tells: "fallrock: the background 0 (467 of 512 cells) is hidden".
    std::string backgroundReport(const std::string& name) const;

    // How a model's cubes stand. Apart: cubes of edge 0.5, one unit between cells' centres, so a small
    // block's structure shows. Solid: each cube fills its cell (edge 1), a field seen as one surface, and
    // only faces that can show are drawn. Auto, the default: solid for a space of more than kSolidBeyond
    // cells along any edge. Life's box keeps its own cubes whatever is asked.
    enum class CellLook { Auto, Apart, Solid };
    static constexpr unsigned kSolidBeyond = 40;
    // False, changing nothing, for a model that is not drawn or is life.
    bool setCellLook(const std::string& name, CellLook look);
    CellLook getCellLook(const std::string& name) const;
    // Whether the model's cubes are drawn solid now (by the rule or by the model's own look).
    bool isSolid(const std::string& name) const;

    // Thin dark edges around every cube of every model; off at first.
    void setOutlined(bool outlined) { m_outlined = outlined; }
    bool isOutlined() const { return m_outlined; }
    // A thin white frame around every drawn cell a message at the cursor's current time set (see
    // SDTimeCursor::cellsChangedNow); off at first, and never without a cursor.
    // White: no colour of the ramp, of the blocks' looks or of a selection reaches it.
    static constexpr SDBlockBatch::Colour kChangeColour{1.0f, 1.0f, 1.0f, 1.0f};
    void setCursor(SDTimeCursor* cursor) { m_cursor = cursor; }
    void setChangesShown(bool shown) { m_changesShown = shown; }
    bool areChangesShown() const { return m_changesShown; }
    // The cells framed by the last frame drawn, over every model.
    size_t getFramedCount() const { return m_framed; }
    // The cells of a model the last frame drew (hidden ones left out); 0 for a model not drawn.
    size_t getShownCount(const std::string& name) const;

    // GL buffer memory held by the batches.
    size_t getBufferBytes() const;

  private:
    struct Entry {
        SDCELLDevsModel* model = nullptr;  // owned by the registry; checked against it on every update
        // The whole block, or one per z layer when its layers are laid out as a grid of maps.
        std::vector<std::unique_ptr<SDCellBatch>> batches;
        SDCellPlacement source;               // the layout's placement the batches were made for
        std::vector<SDCellPlacement> layers;  // the laid-out layers; empty when the block is whole
        SDCellPlacement layersOf;             // the placement `layers` were made from
        unsigned layerColumns = 0;            // the maps a row of the grid of `layers` holds
        bool layered = false;                 // the batches are of layers
        bool placed = false;                  // the batches match the layout's placement
        bool failed = false;                  // the batch could not be built for this placement; not retried
        bool recolourAll = true;              // the next recolouring visits every cell
        unsigned long lookVersion = 0;
        // The range the cells were last coloured over.
        bool hadRange = false;
        double minimum = 0.0;
        double maximum = 0.0;
        // The background the cells were last coloured with hidden.
        bool hadBackground = false;
        SDCellValues::Background background;
    };

    struct Slice {
        int axis = 0;
        unsigned layer = 0;
    };

    void recolour(const std::string& name, Entry& entry);
    // The background to hide of a model by the rule alone, before the user's colours are looked at.
    bool backgroundToHide(const std::string& name, SDCELLDevsModel& model,
                          SDCellValues::Background& background) const;
    const Slice* findSlice(const std::string& name) const;
    // Whether the model's cells are drawn as flat squares (DrawnModel::flat).
    static bool drawsFlat(const std::string& name, const Entry& entry, const SDCellPlacement& placement);
    // Brings the entry's laid-out layers up to date with the layout and the models laid out.
    void refreshLayers(const std::string& name, Entry& entry);
    // Around every cube of the model as drawn.
    BoundingBox drawnBounds(const std::string& name, const SDCellPlacement& placement) const;
    // Adds the frames around the model's cells changed now to m_changeFrames.
    void addChangeFrames(const std::string& name, Entry& entry);

    SDDevsModelList* m_models;
    SDCellLayout m_layout;
    std::map<std::string, SDCellLayout::Counts> m_laidOut;  // what the layout was last given
    std::map<std::string, Entry> m_entries;
    std::vector<uint32_t> m_changed;  // reused from model to model
    bool m_outlined = false;
    SDTimeCursor* m_cursor = nullptr;
    bool m_changesShown = false;
    SDBlockBatch m_changeFrames;
    size_t m_framed = 0;
    std::map<std::string, Slice> m_slices;
    std::map<std::string, float> m_layered;  // the models laid out, with the picture's aspect asked for
    std::set<std::string> m_backgroundShown;
    std::map<std::string, CellLook> m_looks;  // models whose look is not Auto
};
