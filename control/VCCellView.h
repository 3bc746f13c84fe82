#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "scene/BoundingBox.h"
#include "scene/SDCellBatch.h"
#include "scene/SDCellLayout.h"

class Frustum;
class SDCELLDevsModel;
class SDDevsModelList;

// The Cell-DEVS models of the open visualization as the 3D view shows them: each placed by the layout and
// drawn as one batch of cubes coloured by the cells' values at the current time.
//
// A cell's colour: the no-value look while it has no value (or a value that is not a finite number);
// otherwise the colour of the first of the model's colour rules whose range holds the value; otherwise the
// default ramp over the model's range in use: its values over the whole log (initial values included),
// the values its cells hold at the current time, or a fixed range (SDCellLook::Range). Only the cells whose
// value changed are recoloured from frame to frame; a new range, a change of look or a new layout
// recolours them all.
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
    // swatch per value.
    enum class Legend { None, Ramp, Rules, Values };
    struct Swatch {
        std::array<float, 4> colour{};
        double low = 0.0;  // the rule's range, or the value (low == high)
        double high = 0.0;
        bool noValue = false;  // the swatch of cells without a value
    };
    struct DrawnModel {
        std::string name;
        const SDCellPlacement* placement = nullptr;  // valid until the next layout update
        BoundingBox bounds;                          // around every cube
        bool hasRange = false;                       // whether minimum and maximum hold the range in use
        double minimum = 0.0;
        double maximum = 0.0;
        Legend legend = Legend::None;
        // For Rules: the rules in their order, then "no value"; for Values: the values, largest first.
        std::vector<Swatch> swatches;
    };
    // Every model the view draws, in name order, as of the last layout update.
    std::vector<DrawnModel> getDrawnModels() const;
    // The box around every drawn model; false when none is drawn.
    bool getBounds(BoundingBox& bounds) const;
    const SDCellPlacement* findPlacement(const std::string& name) const { return m_layout.find(name); }
    // Whether a cell of a drawn model is drawn at all: false for a hidden cell (alpha 0), a model that is
    // not drawn and a cell number beyond its counts. What a pick may hit.
    bool isCellShown(const std::string& name, size_t cell);

    // GL buffer memory held by the batches.
    size_t getBufferBytes() const;

  private:
    struct Entry {
        SDCELLDevsModel* model = nullptr;  // owned by the registry; checked against it on every update
        std::unique_ptr<SDCellBatch> batch;
        bool placed = false;      // the batch matches the layout's placement
        bool failed = false;      // the batch could not be built for this placement; not retried
        bool recolourAll = true;  // the next recolouring visits every cell
        unsigned long lookVersion = 0;
        // The range the cells were last coloured over.
        bool hadRange = false;
        double minimum = 0.0;
        double maximum = 0.0;
    };

    void recolour(Entry& entry);

    SDDevsModelList* m_models;
    SDCellLayout m_layout;
    std::map<std::string, SDCellLayout::Counts> m_laidOut;  // what the layout was last given
    std::map<std::string, Entry> m_entries;
    std::vector<uint32_t> m_changed;  // reused from model to model
};
