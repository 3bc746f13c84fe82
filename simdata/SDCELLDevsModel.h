#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "scene/Vector3.h"
#include "simdata/SDCell.h"
#include "simdata/SDCellLook.h"
#include "simdata/SDCellValues.h"
#include "simdata/SDDevsModel.h"
#include "simdata/SDInitialValues.h"
#include "simdata/SDScenarioStates.h"

// The record of a Cell-DEVS model: a plain record plus a three-dimensional array of cells that only
// grows, and the box over which the cells are spread for drawing.
//
// The loader makes one record per cell reference and most of them are merged into a registered record
// and thrown away, so a record keeps only its counts until someone asks for cells (getCell, arrange,
// drawCells). The cells are then stored in one flat array, x outermost, then y, then z.
class SDCELLDevsModel : public SDDevsModel {
  public:
    // Largest cell space of one record (width × height × length): a corrupt log must not be able to make
    // the viewer allocate without bound.
    static constexpr uint64_t kMaxCells = 16777216;

    SDCELLDevsModel();
    SDCELLDevsModel(const SDCELLDevsModel&) = delete;
    SDCELLDevsModel& operator=(const SDCELLDevsModel&) = delete;

    ~SDCELLDevsModel() override;
    void print() const override;
    // An offered cell space is held when it has this origin, its counts are within these and its ports are
    // held (and no report of a size outside the model file's is due).
    bool holds(const SDDevsModel& offered) const override;
    bool isCellSpace() const override { return true; }
    // The lines of print that give the size: "CELL Space:", "Width: 25", then "Height: 25" and "Length: 8"
    // for counts above 1.
    void printSize() const;
    // Appends the lines of printSize.
    void describeSize(std::vector<std::string>& lines) const;
    // The cell at (x, y, z), or null when an index is not below its count. The pointer is good until the
    // record grows; the cell's cube stays where it is for the record's whole life.
    virtual SDCell* getCell(unsigned x, unsigned y, unsigned z);
    // Grows the array so that cell (x, y, z) exists. A cell space beyond kMaxCells is refused with a log
    // line and the counts stay as they were.
    virtual void ensureCell(unsigned x, unsigned y, unsigned z);
    // Grows to at least the other record's counts; takes nothing else from it. False (after a log line,
    // nothing grown) when null or when the result would exceed kMaxCells.
    virtual bool growTo(const SDCELLDevsModel* other);

    // For coordinates read from text, the run's own: refuses those below the origin (negative ones, for
    // origin 0) and a cell space beyond kMaxCells with one log line naming the model and the coordinates
    // (so name the record and set its origin first) and returns false; otherwise grows as ensureCell does
    // for the cell at (x, y, z) - origin and returns true.
    bool acceptCell(long long x, long long y, long long z);

    // Spreads the cells over the box of the given centre and edge lengths: cell (x, y, z) goes to
    // centre - extent / 2 + (x, y, z) * extent / counts, with edge 0.5. Edge lengths that are not
    // positive are refused with a log line and nothing changes.
    void arrange(const Vector3& centre, float extentX, float extentY, float extentZ);
    // Draws every shown cube, in the order arrange visits the cells.
    void drawCells();
    // As reuseAs, and back to a single cell.
    void reuseAsCell(std::string_view name);
    // Makes this new record stand for a plain one: its name, tag and ports. The counts stay.
    void initFrom(const SDDevsModel* plain);

    // The coordinates the run itself gives cell (0, 0, 0): formats whose cells may have negative
    // coordinates store cell (x, y, z) of the run at (x, y, z) - origin, and everything that names a cell
    // to the user adds the origin back. (0, 0, 0) for formats without them.
    const std::array<int, 3>& getOrigin() const { return m_origin; }
    void setOrigin(const std::array<int, 3>& origin) { m_origin = origin; }
    // True the first time only: a reader offers a record per line, and a refusal of each would flood the
    // log.
    bool firstOriginRefusal() { return !std::exchange(m_originRefused, true); }

    unsigned getWidth() const { return m_width; }
    unsigned getHeight() const { return m_height; }
    unsigned getLength() const { return m_length; }
    const Vector3& getCentre() const { return m_centre; }
    const Vector3& getExtent() const { return m_extent; }

    // The cells' values at the current time, sized to the current counts on each call (records that are
    // merged away never allocate them).
    SDCellValues& getValues();

    // How the user wants the cells coloured; the rules it selects from are this record's transition
    // rules. Built on first use: the many records an import merges away never need one.
    SDCellLook& getLook();
    // Null while the cells have the default look.
    const SDCellLook* findLook() const { return m_look.get(); }

    // The size a model file declares: the space grows to it at once, and still grows to hold every cell
    // the log names. The first cell found outside it (now or later) is logged, once per record:
    // "fallrock(9,0,0) lies outside the model file's 8x8x8". `dimensions` (2 or 3) is how many
    // coordinates the file gives a cell. False (after a log line, nothing changed) beyond kMaxCells.
    bool declareSize(unsigned width, unsigned height, unsigned length, int dimensions);
    bool hasDeclaredSize() const { return m_declaredDimensions > 0; }
    // The values the cells hold before their first output (null: none).
    void setInitialValues(std::unique_ptr<SDInitialValues> initial);
    const SDInitialValues* getInitialValues() const { return m_initial.get(); }
    // The value cell (x, y, z) holds before its first output; false when it has none.
    bool initialValue(unsigned x, unsigned y, unsigned z, double& value) const;
    // Changes whenever the initial values are set, so that what was worked out from them can tell.
    unsigned long getInitialRevision() const { return m_initialRevision; }
    // The states a grid scenario gave the cells (null: none), kept for the initial values of another
    // field; whether it wraps the space is shown with the size ("Wrapped: yes").
    void setScenario(std::unique_ptr<SDScenarioStates> states);
    const SDScenarioStates* getScenario() const { return m_scenario.get(); }

  private:
    // Grows to hold cell (x, y, z) of non-negative coordinates; logs and returns false beyond kMaxCells.
    bool growToHold(uint64_t x, uint64_t y, uint64_t z);
    // Applies counts that are known to fit, keeping every existing cell at its coordinates.
    void resize(unsigned width, unsigned height, unsigned length);
    // Builds the cell storage if it does not exist yet.
    void materialise();
    // Logs the first cell beyond the declared size, once.
    void reportOutsideDeclared();

    std::vector<SDCell> m_cells;  // empty until first needed; then width * height * length cells
    std::array<int, 3> m_origin{};
    bool m_originRefused = false;
    unsigned m_width = 1;
    unsigned m_height = 1;
    unsigned m_length = 1;
    Vector3 m_centre;
    Vector3 m_extent;
    SDCellValues m_values;
    std::unique_ptr<SDCellLook> m_look;

    // Per axis, the cell whose coordinate set its count: the cell to name when it lies outside the
    // declared size.
    std::array<std::array<unsigned, 3>, 3> m_reach{};
    std::array<unsigned, 3> m_declared{};
    int m_declaredDimensions = 0;  // 0: no declared size
    bool m_outsideReported = false;
    std::unique_ptr<SDInitialValues> m_initial;
    unsigned long m_initialRevision = 0;
    std::unique_ptr<SDScenarioStates> m_scenario;

    // What print wrote last and the record it described. A cell space is printed again for each line of
    // its log, nearly always unchanged, and formatting its lines took a tenth of an import.
    struct Printed {
        std::string name;
        std::vector<std::string> inputPorts;
        std::vector<std::string> outputPorts;
        std::array<unsigned, 3> counts{};
        std::vector<std::string> lines;
    };
    mutable Printed m_printed;
};
