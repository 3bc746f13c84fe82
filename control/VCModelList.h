#pragma once

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

  private:
    SDDevsModelList* m_list;
};
