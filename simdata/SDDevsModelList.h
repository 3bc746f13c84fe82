#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "simdata/SDDevsModel.h"

// The model records of a visualization by name, at most one per name. The registry owns them.
class SDDevsModelList {
  public:
    SDDevsModelList() = default;
    SDDevsModelList(const SDDevsModelList&) = delete;
    SDDevsModelList& operator=(const SDDevsModelList&) = delete;

    virtual ~SDDevsModelList();
    // The registered record of that name, or null. The registry keeps it.
    virtual SDDevsModel* findModel(const std::string& name) const;
    // Hand-over: on true the registry owns `model` (and has printed it); on false it is still the
    // caller's: null or nameless (logged), or a record of that name already exists (silently).
    virtual bool addModel(SDDevsModel* model);
    // Unregisters the record without deleting it: the caller must already hold it (from findModel) and
    // owns it again. False when no record has that name. takeModel is the safer form.
    virtual bool removeModel(const std::string& name);
    // Writes the names and ports of every record to the log, in name order, and the size of a cell space.
    virtual void printAll() const;

    // Registers the record without printing it; false (the record is dropped) when it is null or nameless,
    // or a record of its name exists.
    bool addModelQuietly(std::unique_ptr<SDDevsModel> model);
    // Unregisters the record of that name and hands it back; null when there is none.
    std::unique_ptr<SDDevsModel> takeModel(const std::string& name);
    size_t size() const { return m_models.size(); }
    // Grows whenever a record joins or leaves: what is derived from the registry can tell it is out of
    // date. (A registered record that grows does not count; readers check its counts themselves.)
    uint64_t revision() const { return m_revision; }
    const std::map<std::string, std::unique_ptr<SDDevsModel>>& getModels() const { return m_models; }

  private:
    std::map<std::string, std::unique_ptr<SDDevsModel>> m_models;
    uint64_t m_revision = 0;
};
