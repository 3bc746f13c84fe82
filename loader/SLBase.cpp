#include "loader/SLBase.h"

#include <memory>

#include "loader/SLSink.h"
#include "simdata/ModelOffer.h"
#include "simdata/SDEvent.h"

SLSink::~SLSink() = default;

bool SLSink::offerModel(const SDDevsModel& model) {
    std::unique_ptr<SDDevsModel> copy = copyModelRecord(model);
    if (!addModel(copy.get())) {
        return false;
    }
    copy.release();  // the sink owns it now
    return true;
}

bool SLSink::offerEvent(const SDEvent& event) {
    auto copy = std::make_unique<SDEvent>(event);
    if (!addEvent(copy.get())) {
        return false;
    }
    copy.release();  // the sink owns it now
    return true;
}

SLBase::~SLBase() = default;
