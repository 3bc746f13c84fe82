#pragma once

#include <cstddef>

class SDCELLDevsModel;

// Gives the cells of a space read with a grid scenario the initial values of field `field` of their
// scenario states (the field-th number of a state, 0 the first); a cell whose state has no number there
// has none. False, with nothing changed, when no scenario gave the space its states.
bool applyScenarioField(SDCELLDevsModel& space, size_t field);
