#include "control/VCScenarioField.h"

#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDScenarioStates.h"

bool applyScenarioField(SDCELLDevsModel& space, size_t field) {
    const SDScenarioStates* states = space.getScenario();
    if (states == nullptr) {
        return false;
    }
    std::unique_ptr<SDInitialValues> values =
        states->valuesOf(field, space.getOrigin(), {space.getWidth(), space.getHeight(), space.getLength()});
    const SDInitialValues* current = space.getInitialValues();
    if ((current == nullptr) != (values == nullptr) ||
        (current != nullptr && values != nullptr && *current != *values)) {
        space.setInitialValues(std::move(values));
    }
    return true;
}
