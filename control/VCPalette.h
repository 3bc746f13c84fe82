#pragma once

#include <string>
#include <vector>

#include "loader/SLPaletteFile.h"

class SDCELLDevsModel;

// Colours a cell space of the open visualization from a palette file (SLPaletteFile): each of its ranges
// becomes a colour rule, in the file's order, in place of the model's rules. An empty model name colours
// every cell space. Nothing changes when no line of the file could be read. Every reply goes to the log
// (and so to the console); `errors` gets the messages of the lines skipped. False, with `failure` saying
// why, when nothing was applied.
bool applyPalette(const std::string& model, const std::string& path, std::string& failure,
                  std::vector<std::string>& errors);

// Gives the space the entries as its colour rules, in order, in place of its rules, logging each rule and
// then "Palette <source>: N colour rules for <space>".
void colourCellSpace(SDCELLDevsModel& space, const std::vector<SLPaletteFile::Entry>& entries,
                     const std::string& source);
