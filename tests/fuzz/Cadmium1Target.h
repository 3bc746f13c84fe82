#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "control/VCEventList.h"
#include "control/VCModelList.h"
#include "loader/SLCadmium1File.h"
#include "loader/SLSink.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDCellName.h"
#include "simdata/SDDevsModelList.h"
#include "simdata/SDEventList.h"
#include "tests/fuzz/FuzzSupport.h"
#include "tests/fuzz/ImportTarget.h"

namespace fuzz {

// Hands what the reader offers to the controller's views, as the simulation link does.
class ViewSink : public SLSink {
  public:
    ViewSink(VCModelList& models, VCEventList& events) : m_models(models), m_events(events) {}
    bool addModel(SDDevsModel* model) override { return m_models.addModel(model); }
    bool addEvent(SDEvent* event) override { return m_events.addEvent(event); }
    bool offerModel(const SDDevsModel& model) override { return m_models.offerModel(model); }
    bool offerEvent(const SDEvent& event) override { return m_events.offerEvent(event); }
    void offerState(std::string_view model, double milliseconds, std::string_view) override {
        FUZZ_CHECK(!model.empty() && milliseconds == milliseconds);
    }

  private:
    VCModelList& m_models;
    VCEventList& m_events;
};

// Every cell an event names lies in its space as stored: its coordinates less the origin within the counts.
inline void checkCellsInSpace(const SDDevsModelList& models, const SDEventList& events) {
    std::string scratch;
    for (const SDEvent& event : events.getEvents()) {
        const std::string source = event.getSource();  // the name's view points into it
        std::string_view space;
        long long coordinates[3];
        if (!splitCellName(source, space, coordinates, scratch)) {
            continue;
        }
        const auto* cells = dynamic_cast<const SDCELLDevsModel*>(models.findModel(std::string(space)));
        FUZZ_CHECK(cells != nullptr);
        const unsigned counts[3] = {cells->getWidth(), cells->getHeight(), cells->getLength()};
        for (int axis = 0; axis < 3; ++axis) {
            const long long stored = coordinates[axis] - cells->getOrigin()[static_cast<size_t>(axis)];
            FUZZ_CHECK(stored >= 0 && stored < counts[axis]);
        }
    }
}

// The fuzzer's entry: the bytes become the file at `path`, read whole by the Cadmium 1 reader, whatever
// their first lines, in slices of 7 lines, into a fresh registry and event list.
inline void cadmium1Input(const uint8_t* data, size_t size, const std::string& path) {
    chooseLogging(size);
    FUZZ_CHECK(writeWhole(path, data, size));
    SDDevsModelList models;
    SDEventList events;
    VCModelList modelView(&models);
    VCEventList eventView(&events);
    ViewSink sink(modelView, eventView);
    SLCadmium1File reader(&sink, path);
    FUZZ_CHECK(reader.open());
    SLRunReader::Step step = SLRunReader::Step::More;
    while (step == SLRunReader::Step::More) {
        step = reader.readLines(7);
    }
    FUZZ_CHECK(step == SLRunReader::Step::Done);
    FUZZ_CHECK(reader.linesRead() >= reader.census().messages() + reader.census().others());
    checkImported(models, events);
    checkCellsInSpace(models, events);
}

}  // namespace fuzz
