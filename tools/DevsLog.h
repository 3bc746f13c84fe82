#pragma once

#include <cstdint>
#include <ostream>
#include <string>

// Writes a run of plain DEVS models (no cell space) as a message log in the simulator's line format, for
// samples, tests and benchmarks of the view of a model hierarchy.
//
// The hierarchy is Root(00) > top(01) > `depth` levels of models, each coupled model holding `fanout`
// children: coupled models g<path> (g2, g2_1, ...) down to atomic ones a<path> (a2_1_3) at the last level,
// ids counted from 02 level by level. Every model has an input port "in" and an output port "out".
//
// Step s happens at s × 100 ms. An input from Root goes down to an atomic model drawn from the seed, which
// schedules its internal transition 10 ms later: it then sends its output up to its parent, which passes
// it up to Root and on to the atomic model's next sibling (the first one after the last); that one
// answers 10 ms later in the same way, up to Root only. Every model reports its D line after each change,
// with its delay or "..." when it is passive.
struct DevsLogOptions {
    int depth = 2;
    int fanout = 3;
    int steps = 100;
    uint64_t seed = 1;
};

struct DevsLogSummary {
    long long lines = 0;
    long long models = 0;            // top and every model under it
    long long atomics = 0;           // models without children
    long long externalMessages = 0;  // X lines
    long long outputMessages = 0;    // Y lines
};

constexpr int kDevsLogMaxDepth = 8;
constexpr long long kDevsLogMaxModels = 1000000;
constexpr int kDevsLogMaxSteps = 10000000;

// Whether the options describe a run that can be written; `why` receives the reason when not.
bool validDevsLogOptions(const DevsLogOptions& options, std::string* why = nullptr);
// Validates the options and writes the run. False when they are invalid (nothing is written) or writing
// failed.
bool writeDevsLog(const DevsLogOptions& options, std::ostream& out, DevsLogSummary* summary = nullptr);
