#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "loader/SLDeclarationFile.h"
#include "simdata/SDModelDeclaration.h"

// A grid scenario: the JSON file that tells a grid simulator the size of its cell space and the states its
// cells start in. It declares one cell space:
//
//     { "scenario": { "shape": [20, 20], "origin": [-10, -10], "wrapped": false },
//       "cells": { "default": { "model": "fire", "state": { "burning": 0, "fuel": 12.5 } },
//                  "spark":   { "state": { "burning": 1 }, "cell_map": [[0, 0], [1, -2]] } },
//       "viewer": [ { "field": "burning", "breaks": [0, 0.5, 1], "colors": [[0,0,0], [255,0,0]] } ] }
//
// shape is the size (1 to 3 positive whole numbers), origin the run's coordinates of the first cell (all 0
// when absent). A cell's value is the first number of its state (a bool is not one; nested objects and
// arrays count by their numbers in order). An entry of "cells" other than "default" gives the cells of its
// cell_map (in the run's coordinates) the default state with the entry's fields in place of the same ones.
// The space is named after default's model, "cells" without one. A viewer entry gives colours for the
// ranges between its breaks; the one for the field the value comes from is taken, else the first.
//
// What makes the file unusable (not JSON, no usable shape or origin, too many cells) fails open with
// "Scenario file <path>: <reason>"; a part that cannot be used (a cell outside the shape, a viewer that does
// not add up) is logged the same way and left out.
class SLScenarioFile : public SLDeclarationFile {
  public:
    SLScenarioFile(SLSink* sink, std::string fileName);
    ~SLScenarioFile() override;

    // The first character that is not blank is '{': the file is read as a scenario, so that one broken
    // says why.
    static bool looksLike(const std::string& path);
    // Looks like one, and is a JSON object with a "scenario" or a "cells" key.
    static bool recognise(const std::string& path);

    bool load() override;
    // Reads and checks the whole file.
    bool open() override;
    // Counts the lines read, for the progress of a large file; the file was read by open.
    bool readLines(size_t count) override;
    // Hands the sink the space's declaration.
    void finish() override;
    long long linesRead() const override { return m_lines; }
    uint64_t bytesRead() const override { return m_bytes; }
    uint64_t fileSize() const override { return m_size; }
    const std::vector<std::string>& getErrors() const override { return m_errors; }
    size_t getSkipped() const override { return m_skipped; }
    const std::string& getFileName() const override { return m_fileName; }
    const char* kind() const override { return "Scenario file"; }

  private:
    bool fail(const std::string& reason);
    void error(const std::string& reason);

    std::string m_fileName;
    std::string m_text;
    long long m_lines = 0;
    uint64_t m_bytes = 0;
    uint64_t m_size = 0;
    std::vector<std::string> m_errors;
    size_t m_skipped = 0;
    std::unique_ptr<SDModelDeclaration> m_declaration;  // from open to finish
};
