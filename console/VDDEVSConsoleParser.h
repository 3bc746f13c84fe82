#pragma once

#include <string>

#include "gui/VDConsoleParser.h"

// The program's command language: the commands that open, fill, list and close a visualization, move its
// current time and ask what its cells and models hold at that time, colour its cells, move, turn and fit
// the camera, and exit.
class VDDEVSConsoleParser : public VDConsoleParser {
  public:
    VDDEVSConsoleParser();
    ~VDDEVSConsoleParser() override;

    // Only blanks separate tokens, and the first token names the command exactly (case matters). A command
    // whose arguments are refused goes to the garbage can and `reply` holds its usage text.
    bool parse(std::string line, VDConsoleCommand** command, std::string& reply) override;
};
