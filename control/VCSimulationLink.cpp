#include "control/VCSimulationLink.h"

#include <algorithm>
#include <cstdint>

#include "control/VCEventList.h"
#include "control/VCModelList.h"
#include "loader/SLDataText.h"
#include "loader/SLLineCensus.h"
#include "loader/SLNamedCells.h"
#include "loader/SLRunReader.h"
#include "shell/Log.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDDevsModelList.h"
#include "simdata/SDEvent.h"
#include "simdata/SDModelStructure.h"
#include "simdata/SDStateTexts.h"

namespace {

// One read of at most `maxLines` lines, the lines of messages past the first ones held back.
SLRunReader::Step readSummarised(SLRunReader& reader, VCImportSummary& summary, size_t maxLines) {
    const bool hold = summary.holdsLines(reader.census().messages());
    holdLogLines(hold);
    const SLRunReader::Step step = reader.readLines(maxLines);
    holdLogLines(false);
    if (step == SLRunReader::Step::Failed && hold) {
        logText(reader.getFailure());  // held back with the rest, but a failure is never summarised away
    }
    summary.note(reader.census().messages(), reader.latestTime());
    return step;
}

}  // namespace

VCSimulationLink::VCSimulationLink(VCModelList* modelList, VCEventList* eventList)
    : m_modelList(modelList), m_eventList(eventList) {}

VCSimulationLink::~VCSimulationLink() = default;

bool VCSimulationLink::loadLogFile(const std::string& path) {
    if (!beginLogFile(path)) {
        return false;
    }
    while (readLines(SIZE_MAX)) {
    }
    return endLogFile();
}

bool VCSimulationLink::beginLogFile(const std::string& path) {
    if (m_loader != nullptr) {
        logMessage(
            "Unable to load log file as a simulation link since the simulation link is already linked to "
            "something else");
        return false;
    }
    m_readWhole = false;
    m_summary = VCImportSummary(logEveryMessage());
    m_openEvent.open = false;
    m_openState.open = false;
    m_keyedModels.clear();
    m_loader = openRunReader(this, path);
    if (!m_loader->open()) {
        endLogFile();
        return false;
    }
    return true;
}

bool VCSimulationLink::readLines(size_t maxLines) {
    if (m_loader == nullptr) {
        return false;
    }
    SLRunReader::Step step = SLRunReader::Step::More;
    // In pieces that end where the lines of messages stop being logged, or a summary line is due.
    for (size_t left = maxLines; left > 0 && step == SLRunReader::Step::More;) {
        const long long before = m_loader->linesRead();
        step = readSummarised(*m_loader, m_summary,
                              std::min(left, m_summary.linesToNextMark(m_loader->census().messages())));
        const long long read = m_loader->linesRead() - before;
        if (read <= 0) {
            break;
        }
        left -= std::min(left, static_cast<size_t>(read));
    }
    // Lines that are not events may name later times than the events do: the run lasts until then.
    if (m_eventList != nullptr) {
        m_eventList->extendRun(m_loader->latestTime());
    }
    m_readWhole = step == SLRunReader::Step::Done;
    return step == SLRunReader::Step::More;
}

bool VCSimulationLink::endLogFile() {
    if (m_loader == nullptr) {
        return false;
    }
    m_failure = m_loader->getFailure();
    if (m_modelList != nullptr) {
        m_modelList->growCellSpaces(m_loader->getNamedCells());
    }
    bool whole = m_readWhole;
    m_readWhole = false;
    // What was passed over or read as 0 is said once, here, rather than for each line. A file read whole
    // without one message is no log at all: the import has failed, whatever else it held.
    const SLLineCensus& census = m_loader->census();
    m_summary.end(census.messages());
    if (whole && census.messages() == 0) {
        m_failure = m_loader->getFileName() + " holds no simulation messages";
        logText(m_failure);
        logText("Formats tried: " + runFormatsTried());
        whole = false;
    } else {
        for (const std::string& report : census.reports()) {
            logText(report);
        }
    }
    m_loader.reset();
    return whole;
}

long long VCSimulationLink::linesRead() const {
    return m_loader != nullptr ? m_loader->linesRead() : 0;
}

uint64_t VCSimulationLink::bytesRead() const {
    return m_loader != nullptr ? m_loader->bytesRead() : 0;
}

uint64_t VCSimulationLink::fileSize() const {
    return m_loader != nullptr ? m_loader->fileSize() : 0;
}

bool VCSimulationLink::addModel(SDDevsModel* model) {
    return m_modelList != nullptr && m_modelList->addModel(model);
}

bool VCSimulationLink::addEvent(SDEvent* event) {
    return m_eventList != nullptr && m_eventList->addEvent(event);
}

bool VCSimulationLink::offerModel(const SDDevsModel& model) {
    return m_modelList != nullptr && m_modelList->offerModel(model);
}

bool VCSimulationLink::modelsStamp(uint64_t& stamp) const {
    if (m_modelList == nullptr) {
        return false;
    }
    stamp = m_modelList->offerStamp();
    return true;
}

bool VCSimulationLink::offerEvent(const SDEvent& event) {
    if (m_eventList == nullptr || !m_eventList->offerEvent(event)) {
        return false;
    }
    if (m_states == nullptr || event.m_type != SDEvent::kStateType || event.m_port != "out") {
        return true;
    }
    const double time = event.m_time.getMilliseconds();
    if (m_openState.open && m_openState.model == event.m_source && m_openState.time == time) {
        m_states->setEvent(m_openState.ref, m_eventList->lastIndex());
        m_openState.open = false;
        m_openEvent.open = false;
        return true;
    }
    m_openEvent.open = true;
    m_openEvent.source = event.m_source;
    m_openEvent.time = time;
    m_openEvent.index = m_eventList->lastIndex();
    return true;
}

void VCSimulationLink::foreseeNames(uint32_t source, uint32_t destination, bool next) {
    if (m_eventList != nullptr) {
        m_eventList->foreseeNames(source, destination, next);
    }
}

void VCSimulationLink::offerState(std::string_view model, double milliseconds, std::string_view text) {
    if (m_states == nullptr) {
        return;
    }
    double number = 0.0;
    offerReadState(model, milliseconds, text, SLDataText::number(text, 0, number));
}

void VCSimulationLink::offerReadState(std::string_view model, double milliseconds, std::string_view text,
                                      bool numbered) {
    if (m_states != nullptr) {
        keepState(m_states->modelNumber(model), model, milliseconds, text, numbered);
    }
}

void VCSimulationLink::offerKeyedState(uint32_t key, std::string_view model, double milliseconds,
                                       std::string_view text, bool numbered) {
    if (m_states == nullptr) {
        return;
    }
    if (key == kNoModelKey) {
        offerReadState(model, milliseconds, text, numbered);
        return;
    }
    // A run of many cells would otherwise look every cell's name up twice a state: here and in the events.
    if (key >= m_keyedModels.size()) {
        m_keyedModels.resize(std::max<size_t>(size_t{key} + 1, m_keyedModels.size() * 2), kNoModel);
    }
    uint32_t& number = m_keyedModels[key];
    if (number == kNoModel) {
        number = m_states->modelNumber(model);
    }
    keepState(number, model, milliseconds, text, numbered);
}

void VCSimulationLink::keepState(uint32_t number, std::string_view model, double milliseconds,
                                 std::string_view text, bool numbered) {
    const SDStateTexts::Ref ref = m_states->add(number, milliseconds, text);
    m_openState.open = false;
    if (!numbered) {
        return;  // no number, no event
    }
    if (m_openEvent.open && m_openEvent.source == model && m_openEvent.time == milliseconds) {
        m_states->setEvent(ref, m_openEvent.index);
        m_openEvent.open = false;
        // That event may have been a message of the cell on "out": the state's own event, should it
        // follow, is the one the cell shows, and takes the state over.
    }
    m_openState.open = true;
    m_openState.model.assign(model);
    m_openState.time = milliseconds;
    m_openState.ref = ref;
}

void VCSimulationLink::offerMessage(const SDLogMessage& message) {
    if (m_structure != nullptr) {
        m_structure->add(message);
    }
}

bool VCSimulationLink::declaredCellSpace(std::string& name, std::array<int, 3>& origin) const {
    SDDevsModelList* registry = m_modelList != nullptr ? m_modelList->getModelList() : nullptr;
    if (registry == nullptr) {
        return false;
    }
    const SDCELLDevsModel* declared = nullptr;
    for (const auto& entry : registry->getModels()) {
        const auto* space = dynamic_cast<const SDCELLDevsModel*>(entry.second.get());
        if (space == nullptr || !space->hasDeclaredSize()) {
            continue;
        }
        if (declared != nullptr) {
            return false;  // which of them the run means, it does not say
        }
        declared = space;
    }
    if (declared == nullptr) {
        return false;
    }
    name = declared->name();
    origin = declared->getOrigin();
    return true;
}
