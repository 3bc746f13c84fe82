#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

class SDDevsModel;
class SDDevsModelList;
class SLNamedCells;

// The controller's view of a visualization's model registry: what an import offers goes through here, so
// that a name met again is merged into the registered record instead of being registered twice.
class VCModelList {
  public:
    // Over a registry owned elsewhere (the visualization).
    explicit VCModelList(SDDevsModelList* list) : m_list(list) {}
    VCModelList(const VCModelList&) = delete;
    VCModelList& operator=(const VCModelList&) = delete;

    virtual ~VCModelList();
    // Hand-over: true when the registry took `model` (a new name); false when the caller keeps it, which
    // includes every record merged into one already registered.
    virtual bool addModel(SDDevsModel* model);
    // The same for a record that the caller keeps: a new name registers a copy (true).
    bool offerModel(const SDDevsModel& model);
    virtual SDDevsModelList* getModelList();
    // After an import: every cell space grows, without a log line, to hold the cells the log's other
    // lines named (and one only they name is registered).
    void growCellSpaces(const SLNamedCells& cells);
    // Changes with every record that joins or leaves the registry and every call that may have changed a
    // registered record; an offer found to change nothing leaves it as it was.
    uint64_t offerStamp() const;

  private:
    // The records the last offers named. A log names the same one or two records on every line (a cell
    // space and its parent), and most offers bring nothing new: found here, they skip the registry's
    // lookup and the merge.
    struct Recent {
        SDDevsModel* model = nullptr;
        uint64_t revision = 0;  // the registry's when found; any record that joins or leaves ends it
    };
    SDDevsModel* recent(const SDDevsModel& offered) const;
    void remember(const SDDevsModel& offered);

    SDDevsModelList* m_list;
    uint64_t m_changes = 0;  // calls that may have changed a record
    std::array<Recent, 2> m_recent{};
    size_t m_older = 0;
};
