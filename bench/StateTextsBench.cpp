// State texts fed through the simulation link as a reader feeds them (a 100x100 space over 50 steps, each
// state with its value event), the memory they take, and vis_field over all of them.
#include <benchmark/benchmark.h>

#include <string>

#include "control/VCSimulation.h"
#include "control/VCSimulationLink.h"
#include "shell/EngineVariables.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDEvent.h"
#include "simdata/SDStateTexts.h"
#include "simdata/SDTimeCursor.h"
#include "simdata/SDVisualization.h"

namespace {

constexpr int kSide = 100;
constexpr int kSteps = 50;

// Feeds every state; returns how many.
size_t feed(VCSimulation& simulation) {
    SDVisualization* visualization = getVisualization();
    VCSimulationLink link(simulation.getModelList(), simulation.getEventList());
    link.setStateTexts(visualization->getStateTexts());
    SDCELLDevsModel space;
    space.setName("cells");
    space.ensureCell(kSide - 1, kSide - 1, 0);
    link.offerModel(space);
    SDEvent event;
    event.m_type = 1;
    event.m_destination = "cells";
    event.m_port = "out";
    std::string text;
    size_t states = 0;
    for (int step = 0; step <= kSteps; ++step) {
        event.m_time = SDTime(step * 100.0);
        for (int x = 0; x < kSide; ++x) {
            for (int y = 0; y < kSide; ++y) {
                // Half the cells change at a step; a third of the texts repeat the state before.
                const int level = (x * 7 + y * 3 + (x + y) % 2 * step) % 10;
                event.m_source = "cells(" + std::to_string(x) + "," + std::to_string(y) + ")";
                event.m_value = level / 10.0;
                text = "<" + std::to_string(level / 10.0) + "," + std::to_string(level * 4) + ">";
                link.offerEvent(event);
                link.offerState(event.m_source, step * 100.0, text);
                ++states;
            }
        }
    }
    return states;
}

void BM_FeedStates(benchmark::State& state) {
    getEngineVariables()->setBool("file_logging", false);
    getEngineVariables()->setBool("console_logging", false);
    size_t states = 0;
    size_t bytes = 0;
    for (auto _ : state) {
        VCSimulation simulation;
        simulation.newVisualization("bench");
        states = feed(simulation);
        bytes = getVisualization()->getStateTexts()->memoryBytes();
        simulation.closeVisualization();
    }
    state.counters["states_per_s"] =
        benchmark::Counter(static_cast<double>(states) * state.iterations(), benchmark::Counter::kIsRate);
    state.counters["bytes_per_state"] = static_cast<double>(bytes) / static_cast<double>(states);
}
BENCHMARK(BM_FeedStates)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ChooseField(benchmark::State& state) {
    getEngineVariables()->setBool("file_logging", false);
    getEngineVariables()->setBool("console_logging", false);
    VCSimulation simulation;
    simulation.newVisualization("bench");
    const size_t states = feed(simulation);
    int field = 0;
    for (auto _ : state) {
        field = 1 - field;
        simulation.chooseField("cells", field);
        getVisualization()->getCursor()->sync();  // what the next picture waits for
    }
    state.counters["states"] = static_cast<double>(states);
    simulation.closeVisualization();
}
BENCHMARK(BM_ChooseField)->Unit(benchmark::kMillisecond)->Iterations(4);

}  // namespace
