#include "simdata/ModelOffer.h"

#include <memory>

#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDDevsModel.h"

bool offerModel(SDDevsModelList& registry, SDDevsModel* model) {
    if (model == nullptr) {
        return registry.addModel(nullptr);
    }
    SDDevsModel* existing = registry.findModel(model->name());
    if (existing == nullptr) {
        return registry.addModel(model);
    }
    auto* offeredCells = dynamic_cast<SDCELLDevsModel*>(model);
    auto* existingCells = dynamic_cast<SDCELLDevsModel*>(existing);
    if (offeredCells == nullptr) {
        if (existing->mergePorts(model) > 0) {
            existing->print();
        }
        return false;
    }
    if (existingCells != nullptr) {
        existingCells->growTo(offeredCells);
        // The ports of a cell's line are kept too, or a port seen only on merged records would be lost.
        existingCells->mergePorts(offeredCells);
        existingCells->print();
        return false;
    }
    auto replacement = std::make_unique<SDCELLDevsModel>();
    replacement->initFrom(existing);
    replacement->growTo(offeredCells);
    replacement->mergePorts(offeredCells);
    std::unique_ptr<SDDevsModel> plain = registry.takeModel(existing->name());
    plain.reset();
    SDCELLDevsModel* registered = replacement.get();
    if (!registry.addModel(registered)) {
        return false;  // cannot happen: the name is non-empty and was just freed
    }
    replacement.release();  // the registry owns it now
    registered->print();
    return false;
}
