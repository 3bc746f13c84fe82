#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "simdata/SDCoupledModel.h"
#include "simdata/SDInitialValues.h"
#include "simdata/SDScenarioStates.h"

// What one section of a model file declares about one model: for a cell space, its size and the values
// its cells start with; for a coupled model, its components, ports and links.
struct SDModelDeclaration {
    std::string name;
    bool cellSpace = false;  // "type : cell", or a size given
    int dimensions = 0;      // 2 or 3 when a size is declared (1 to 3 in a scenario), 0 when none is
    unsigned width = 1;
    unsigned height = 1;
    unsigned length = 1;
    // The size came from "width : W" with "height : H", read as dim (W,H): W rows of H cells.
    bool sizeFromWidthAndHeight = false;
    std::unique_ptr<SDInitialValues> initial;  // null when the file gives none
    SDCoupledModel coupling;

    // What only a grid scenario gives: the run's coordinates of cell (0,0,0), the states the initial
    // values come from (null for a model file), and the colours of its viewer, in order.
    struct Band {
        double low = 0.0;
        double high = 0.0;
        std::array<float, 4> colour{};  // components 0 .. 1
    };
    std::array<int, 3> origin{};
    std::unique_ptr<SDScenarioStates> scenario;
    std::vector<Band> palette;
    std::string paletteField;  // the state field the viewer's colours are for
};
