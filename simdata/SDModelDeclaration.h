#pragma once

#include <memory>
#include <string>

#include "simdata/SDCoupledModel.h"
#include "simdata/SDInitialValues.h"

// What one section of a model file declares about one model: for a cell space, its size and the values
// its cells start with; for a coupled model, its components, ports and links.
struct SDModelDeclaration {
    std::string name;
    bool cellSpace = false;  // "type : cell", or a size given
    int dimensions = 0;      // 2 or 3 when a size is declared, 0 when none is
    unsigned width = 1;
    unsigned height = 1;
    unsigned length = 1;
    // The size came from "width : W" with "height : H", read as dim (W,H): W rows of H cells.
    bool sizeFromWidthAndHeight = false;
    std::unique_ptr<SDInitialValues> initial;  // null when the file gives none
    SDCoupledModel coupling;
};
