#pragma once

#include <array>
#include <ostream>

#include "tools/HeatLog.h"

// Writes a heat diffusion run (the field of HeatLog) as a Cell-DEVS run logged in separated values, one
// row per message or state:
//   time;model_id;model_name;port_name;data
// The cells are the models "(x,y)" ("(x,y,z)" in a box), their coordinates shifted by `origin`, with ids
// from 1 in cell order (x outermost); the model "stepper", id 0, ticks every step. Step s is at s × 0.1 s,
// printed as "%g" does ("0.1", "2.5"). Every model writes its state at the start and again at the end; in
// between a cell that moved by the quantum since its last report writes its output on port out and then
// its state "{temperature: T, source: S}" (S is 1 for a held cell), and the stepper its tick.

struct CadmiumCsvOptions {
    HeatLogOptions field;  // size, steps, substeps, seed, sources, quantum (name and neighbours unused)
    std::array<int, 3> origin{};  // the coordinates of cell (0,0,0)
    char separator = ';';
    bool separatorLine = false;  // a "sep=;" line before the header
};

struct CadmiumCsvSummary {
    long long lines = 0;
    long long outputRows = 0;
    long long stateRows = 0;
};

// Whether the options describe a run that can be written; `why` receives the reason when not.
bool validCadmiumCsvOptions(const CadmiumCsvOptions& options, std::string* why = nullptr);
// Validates the options and writes the run. False when they are invalid (nothing is written) or writing
// failed.
bool writeCadmiumCsvLog(const CadmiumCsvOptions& options, std::ostream& out,
                        CadmiumCsvSummary* summary = nullptr);
