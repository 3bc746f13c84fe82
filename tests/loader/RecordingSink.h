#pragma once

#include <memory>
#include <string>
#include <vector>

#include "loader/SLSink.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDDevsModel.h"
#include "simdata/SDEvent.h"

// A sink that keeps what it is offered (or refuses it, so the loader must delete it) and notes the order
// of the offers.
class RecordingSink : public SLSink {
  public:
    bool takeModels = true;
    bool takeEvents = true;
    std::vector<std::unique_ptr<SDDevsModel>> models;
    std::vector<std::unique_ptr<SDEvent>> events;
    std::vector<std::string> offers;  // "model <name>" or "event"

    bool addModel(SDDevsModel* model) override {
        offers.push_back("model " + model->getName());
        if (takeModels) {
            models.emplace_back(model);
        }
        return takeModels;
    }
    bool addEvent(SDEvent* event) override {
        offers.push_back("event");
        if (takeEvents) {
            events.emplace_back(event);
        }
        return takeEvents;
    }

    SDCELLDevsModel* cells(size_t index) const {
        return dynamic_cast<SDCELLDevsModel*>(models.at(index).get());
    }
};
