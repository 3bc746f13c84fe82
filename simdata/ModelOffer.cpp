#include "simdata/ModelOffer.h"

#include <array>
#include <memory>
#include <string>

#include "shell/Log.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDDevsModel.h"

namespace {

std::string originText(const std::array<int, 3>& origin) {
    return "(" + std::to_string(origin[0]) + "," + std::to_string(origin[1]) + "," +
           std::to_string(origin[2]) + ")";
}

// Merges an offered record into the registered record of its name; nothing of `offered` is kept.
void mergeInto(SDDevsModelList& registry, SDDevsModel* existing, const SDDevsModel& offered) {
    const auto* offeredCells = dynamic_cast<const SDCELLDevsModel*>(&offered);
    auto* existingCells = dynamic_cast<SDCELLDevsModel*>(existing);
    if (offeredCells == nullptr) {
        if (existing->mergePorts(&offered) > 0) {
            existing->print();
        }
        return;
    }
    if (existingCells != nullptr) {
        // The stored cells cannot be shifted: counted from another first cell, the offer names other cells.
        if (existingCells->getOrigin() != offeredCells->getOrigin()) {
            if (existingCells->firstOriginRefusal()) {
                logText("Refused CELL model " + offered.name() + " from cell " +
                        originText(offeredCells->getOrigin()) + ": its cells start at " +
                        originText(existingCells->getOrigin()));
            }
            return;
        }
        existingCells->growTo(offeredCells);
        // The ports of a cell's line are kept too, or a port seen only on merged records would be lost.
        existingCells->mergePorts(offeredCells);
        existingCells->print();
        return;
    }
    auto replacement = std::make_unique<SDCELLDevsModel>();
    replacement->initFrom(existing);
    replacement->setOrigin(offeredCells->getOrigin());
    replacement->growTo(offeredCells);
    replacement->mergePorts(offeredCells);
    std::unique_ptr<SDDevsModel> plain = registry.takeModel(existing->name());
    plain.reset();
    SDCELLDevsModel* registered = replacement.get();
    if (!registry.addModel(registered)) {
        return;  // cannot happen: the name is non-empty and was just freed
    }
    replacement.release();  // the registry owns it now
    registered->print();
}

}  // namespace

bool offerModel(SDDevsModelList& registry, SDDevsModel* model) {
    if (model == nullptr) {
        return registry.addModel(nullptr);
    }
    SDDevsModel* existing = registry.findModel(model->name());
    if (existing == nullptr) {
        return registry.addModel(model);
    }
    mergeInto(registry, existing, *model);
    return false;
}

bool offerModelCopy(SDDevsModelList& registry, const SDDevsModel& model) {
    SDDevsModel* existing = registry.findModel(model.name());
    if (existing != nullptr) {
        mergeInto(registry, existing, model);
        return false;
    }
    std::unique_ptr<SDDevsModel> copy = copyModelRecord(model);
    if (!registry.addModel(copy.get())) {
        return false;  // a nameless record, refused with its log line
    }
    copy.release();  // the registry owns it now
    return true;
}

bool offerChangesNothing(const SDDevsModel& registered, const SDDevsModel& model) {
    return registered.holds(model) && !(model.isCellSpace() && logWanted());
}

std::unique_ptr<SDDevsModel> copyModelRecord(const SDDevsModel& model) {
    const auto* cells = dynamic_cast<const SDCELLDevsModel*>(&model);
    if (cells == nullptr) {
        return std::make_unique<SDDevsModel>(model);
    }
    auto copy = std::make_unique<SDCELLDevsModel>();
    static_cast<SDDevsModel&>(*copy) = model;
    copy->setOrigin(cells->getOrigin());
    copy->growTo(cells);
    return copy;
}

void growCellSpace(SDDevsModelList& registry, const SDCELLDevsModel& cells) {
    SDDevsModel* existing = registry.findModel(cells.name());
    if (auto* existingCells = dynamic_cast<SDCELLDevsModel*>(existing)) {
        // Counts from another first cell would grow the wrong edges.
        if (existingCells->getOrigin() == cells.getOrigin()) {
            existingCells->growTo(&cells);
        }
        return;
    }
    auto grown = std::make_unique<SDCELLDevsModel>();
    grown->setOrigin(cells.getOrigin());
    if (existing != nullptr) {
        grown->initFrom(existing);
        registry.takeModel(cells.name());
    } else {
        grown->setName(cells.name());
    }
    grown->growTo(&cells);
    registry.addModelQuietly(std::move(grown));
}
