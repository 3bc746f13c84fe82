#include "control/VCSimulationLink.h"

#include "control/VCEventList.h"
#include "control/VCModelList.h"
#include "loader/SLLogFile.h"
#include "shell/Log.h"

VCSimulationLink::VCSimulationLink(VCModelList* modelList, VCEventList* eventList)
    : m_modelList(modelList), m_eventList(eventList) {}

VCSimulationLink::~VCSimulationLink() = default;

bool VCSimulationLink::loadLogFile(const std::string& path) {
    if (m_loader != nullptr) {
        logMessage(
            "Unable to load log file as a simulation link since the simulation link is already linked to "
            "something else");
        return false;
    }
    m_loader = std::make_unique<SLLogFile>(this, path);
    const bool loaded = m_loader->load();
    m_failure = m_loader->getFailure();
    m_loader.reset();
    return loaded;
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

bool VCSimulationLink::offerEvent(const SDEvent& event) {
    return m_eventList != nullptr && m_eventList->offerEvent(event);
}
