#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "control/VCEventList.h"
#include "control/VCModelList.h"
#include "control/VCSimulation.h"
#include "control/VCSimulationLink.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDDevsModelList.h"
#include "simdata/SDEventList.h"
#include "simdata/SDVisualization.h"
#include "tests/fuzz/FuzzSupport.h"

namespace fuzz {

// The model name a loader derives from an event's end: the text before its last '(', or all of it.
inline std::string modelNameOf(const std::string& end) {
    const size_t open = end.rfind('(');
    return open == std::string::npos ? end : end.substr(0, open);
}

inline bool writeWhole(const std::string& path, const uint8_t* data, size_t size) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) {
        return false;
    }
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written <= 0) {
            ::close(fd);
            return false;
        }
        data += written;
        size -= static_cast<size_t>(written);
    }
    return ::close(fd) == 0;
}

// The checks that hold for what any log leaves in a visualization's registry and event list.
inline void checkImported(const SDDevsModelList& models, const SDEventList& events) {
    for (const auto& [name, model] : models.getModels()) {
        FUZZ_CHECK(!name.empty() && name == model->getName());
        if (const auto* cells = dynamic_cast<const SDCELLDevsModel*>(model.get())) {
            const uint64_t count =
                uint64_t{cells->getWidth()} * cells->getHeight() * uint64_t{cells->getLength()};
            FUZZ_CHECK(count >= 1 && count <= SDCELLDevsModel::kMaxCells);
        }
    }
    double previous = -INFINITY;
    for (const SDEvent& event : events.getEvents()) {
        const double time = event.getTime().getMilliseconds();
        FUZZ_CHECK(std::isfinite(time) && time >= previous);
        previous = time;
        // Every named end of a message is a registered model, and the port the message shows is on it.
        const bool output = event.getType() != 0;
        const std::string source = modelNameOf(event.getSource());
        const std::string destination = modelNameOf(event.getDestination());
        const SDDevsModel* sender = source.empty() ? nullptr : models.findModel(source);
        const SDDevsModel* receiver = destination.empty() ? nullptr : models.findModel(destination);
        FUZZ_CHECK(source.empty() || sender != nullptr);
        FUZZ_CHECK(destination.empty() || receiver != nullptr);
        if (output && sender != nullptr) {
            FUZZ_CHECK(sender->hasOutputPort(event.getPort()));
        } else if (!output && receiver != nullptr) {
            FUZZ_CHECK(receiver->hasInputPort(event.getPort()));
        }
    }
}

// The whole import as the console command runs it: a visualization opened by the controller, the file
// imported into it, checked and closed.
inline void importThroughController(const std::string& path) {
    VCSimulation simulation;
    FUZZ_CHECK(simulation.newVisualization("fuzz"));
    // A readable file is always imported (malformed lines are passed over, never fatal), unless it holds
    // not one message.
    FUZZ_CHECK(simulation.importLogFile(path) ||
               simulation.getImportFailure() == path + " holds no simulation messages");
    SDVisualization* visualization = getVisualization();
    checkImported(*visualization->getModelList(), *visualization->getEventList());
    simulation.closeVisualization();
    FUZZ_CHECK(getVisualization() == nullptr);
}

// The same import without the visualization around the lists: the loader reads through a simulation link
// into the controller's model-list and event-list views over a fresh registry and event list. It skips
// only the building of a visualization (its scene graph's octree costs more than a small import) and the
// controller's hand-over to the link.
inline void importThroughLink(const std::string& path) {
    SDDevsModelList models;
    SDEventList events;
    VCModelList modelView(&models);
    VCEventList eventView(&events);
    VCSimulationLink link(&modelView, &eventView);
    FUZZ_CHECK(link.loadLogFile(path) || link.getFailure() == path + " holds no simulation messages");
    FUZZ_CHECK(!link.isLoading());
    checkImported(models, events);
}

// The fuzzer's entry: the bytes become the file at `path`, imported through the link, or through the
// controller for one input in sixteen (chosen by size, so that an input replays the same way; the sizes
// picked leave every remainder by 4, so these runs log sometimes too).
inline void importInput(const uint8_t* data, size_t size, const std::string& path) {
    chooseLogging(size);
    FUZZ_CHECK(writeWhole(path, data, size));
    if ((size / 4) % 16 == 1) {
        importThroughController(path);
    } else {
        importThroughLink(path);
    }
}

}  // namespace fuzz
